// The run's full screen: a canvas over the whole page, in the browser's full
// screen where the browser allows it.
#include "platform/web/Windows.h"

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
    if (QvFindWebWindow(QvWindowHandle(hWnd))) qv_page_screen_show(QvWindowHandle(hWnd), pixels, w, h);
}

void QvReleaseScreen(HWND hWnd)
{
    qv_page_screen_release(QvWindowHandle(hWnd));
}
