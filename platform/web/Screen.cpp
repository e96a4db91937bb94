// The run's full screen: a canvas over the whole page, in the browser's full
// screen where the browser allows it. The frame is scaled here, to the
// viewport's device pixels, so that the page only puts the box's pixels up.
#include "platform/ScreenImage.h"
#include "platform/web/Windows.h"

namespace {
CScreenImage& Image()
{
    static CScreenImage image;
    return image;
}
}  // namespace

bool QvTakeScreen(HWND hWnd)
{
    return QvFindWebWindow(QvWindowHandle(hWnd)) && qv_page_screen_take(QvWindowHandle(hWnd));
}

bool QvScreenHasArea(HWND hWnd)
{
    return QvFindWebWindow(QvWindowHandle(hWnd)) && qv_page_screen_has_area(QvWindowHandle(hWnd));
}

void QvShowFrame(HWND hWnd, const uint32_t* pixels, int w, int h)
{
    const int window = QvWindowHandle(hWnd);
    if (!QvFindWebWindow(window)) return;
    // Asked at every frame: a resized window shows the next frame at its new size.
    int size[2] = {0, 0};
    if (pixels) qv_page_screen_size(size);
    const QvFrameBox box = Image().Show(pixels, w, h, size[0], size[1]);
    qv_page_screen_show(window, size[0], size[1], box.width > 0 ? Image().Pixels() : nullptr, box.x, box.y, box.width,
                        box.height);
}

void QvReleaseScreen(HWND hWnd)
{
    Image().Release();
    qv_page_screen_release(QvWindowHandle(hWnd));
}
