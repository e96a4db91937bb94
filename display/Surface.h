// The small 2-D layer under the simulation display: 32-bit pixel surfaces with
// the few operations the frame needs (rectangle copies with or without black as
// the transparent colour, filled rectangles, lines, text), and the screen that
// owns them: a primary surface with one back buffer that Flip swaps and shows.
#pragma once

#include <QFont>
#include <QImage>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QString>
#include <QWidget>
#include <memory>
#include <vector>

#include "platform/Afx.h"

// Colours as 0x00BBGGRR, like the original platform's.
typedef unsigned int COLORREF;
constexpr COLORREF RGB(int r, int g, int b)
{
    return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int GetRValue(COLORREF c) { return static_cast<int>(c & 0xFF); }
constexpr int GetGValue(COLORREF c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int GetBValue(COLORREF c) { return static_cast<int>((c >> 16) & 0xFF); }
// The pixel value of a colour in a surface.
constexpr QRgb QvPixelOf(COLORREF c)
{
    return 0xFF000000u | (static_cast<QRgb>(GetRValue(c)) << 16) | (static_cast<QRgb>(GetGValue(c)) << 8) |
           static_cast<QRgb>(GetBValue(c));
}

struct RECT {
    int left, top, right, bottom;
};

// Copy flags: black source pixels are not copied with DDBLTFAST_SRCCOLORKEY.
enum : UINT { DDBLTFAST_NOCOLORKEY = 0x0, DDBLTFAST_SRCCOLORKEY = 0x1, DDBLTFAST_WAIT = 0x10 };
// Text alignment: the point given to TextOut is the left, right, top, bottom or
// baseline of the text's cell as these flags say.
enum : UINT { TA_LEFT = 0x0, TA_RIGHT = 0x2, TA_CENTER = 0x6, TA_TOP = 0x0, TA_BOTTOM = 0x8, TA_BASELINE = 0x18 };
enum : int { TRANSPARENT = 1, OPAQUE = 2 };

class CScreen;

class CSurface {
public:
    // A black surface; IsNull() when it could not be allocated.
    CSurface(int nWidth, int nHeight);
    ~CSurface();
    CSurface(const CSurface&) = delete;
    CSurface& operator=(const CSurface&) = delete;

    bool IsNull() const { return m_image.isNull(); }
    int Width() const { return m_image.width(); }
    int Height() const { return m_image.height(); }
    const QImage& Image() const { return m_image; }
    QRgb Pixel(int x, int y) const { return m_image.pixel(x, y); }

    // Copies rcSrc of src to (x, y). The parts of the rectangle that lie outside
    // either surface are skipped, so any rectangle is safe. With
    // DDBLTFAST_SRCCOLORKEY black source pixels leave the destination as it was.
    void BltFast(int x, int y, const CSurface& src, const RECT& rcSrc, UINT nFlags);
    // Copies an image pixel for pixel to (0, 0), converting its format.
    void BitBlt(const QImage& image);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF color);
    // A straight line from (x1, y1) to (x2, y2), both end points drawn. Width 1 is
    // one pixel per step of the longer axis; wider pens put a round dot of their
    // width on each of those pixels, which also gives round end caps.
    void DrawLine(int x1, int y1, int x2, int y2, COLORREF color, int nWidth);
    // Text in the display font at (x, y) placed by the TA_ flags; with OPAQUE the
    // text's cell is first filled with bkColor.
    void TextOut(int x, int y, const QString& text, COLORREF textColor, UINT nAlign, int nBkMode,
                 COLORREF bkColor = RGB(255, 255, 255));

    // Primary surfaces only: the attached back buffer, and Flip, which makes the
    // back buffer's content the visible one and shows it.
    CSurface* GetAttachedSurface() const { return m_pBackBuffer.get(); }
    void Flip();

private:
    friend class CScreen;
    void Plot(long long x, long long y, QRgb pixel);

    QImage m_image;
    std::unique_ptr<CSurface> m_pBackBuffer;
    CScreen* m_pScreen = nullptr;  // the screen that shows this primary surface
};

// The display font: DejaVu Sans, 13 pixels, without anti-aliasing.
QFont QvDisplayFont();

// The rectangle of a screen of the given size in which a frame of the given
// size is shown: the largest scale that fits with the aspect kept, centred.
QRect QvFrameRect(const QSize& screen, const QSize& frame);
// The frame scaled to the given size by area (CFrameScale: crisp, every frame
// pixel keeps its shape); `out` is reused when it already has that size.
void QvScaleFrame(const QImage& frame, const QSize& size, QImage& out);
// Paints the frame into the painter's device of the given size: black bars,
// the frame scaled into QvFrameRect; `scaled` keeps the scaled picture between
// calls. Only what lies in `exposed` is painted (a null rectangle: everything).
class QPainter;
void QvPaintFrame(QPainter& painter, const QSize& device, const QImage& frame, QImage& scaled,
                  const QRect& exposed = QRect());

// Stands for the display object and the exclusive screen. Without a window it
// works off screen: the same surfaces and flips, nothing shown.
class CScreen {
public:
    CScreen();
    ~CScreen();
    CScreen(const CScreen&) = delete;
    CScreen& operator=(const CScreen&) = delete;

    // Exclusive use of the window's screen: borderless black window over the
    // whole screen, the frame painted in it on every flip. nullptr: off screen.
    // FALSE when there is no screen to take.
    BOOL SetCooperativeLevel(QWidget* pWindow);
    // Gives the window back.
    void SetNormalCooperativeLevel();
    // The frame size; FALSE when it cannot be shown (no screen area).
    BOOL SetDisplayMode(int nWidth, int nHeight);
    void RestoreDisplayMode() {}
    // The primary surface with one back buffer, owned by the caller; nullptr on failure.
    std::unique_ptr<CSurface> CreatePrimarySurface();
    // An off-screen surface owned by the screen; nullptr on failure.
    CSurface* CreateSurface(int nWidth, int nHeight);

    int FrameWidth() const { return m_nWidth; }
    int FrameHeight() const { return m_nHeight; }
    QWidget* Window() const { return m_pWindow; }

private:
    friend class CSurface;
    friend class QvScreenPainter;
    void Present();
    void PaintWindow(QWidget* pWidget, const QRect& exposed);
    void PrimaryGone(CSurface* pPrimary);

    QPointer<QWidget> m_pWindow;
    QObject* m_pPainter = nullptr;  // event filter that paints the window
    int m_nWidth = 0;
    int m_nHeight = 0;
    CSurface* m_pPrimary = nullptr;
    QImage m_scaled;
    std::vector<std::unique_ptr<CSurface>> m_surfaces;
};

// Truncation toward zero of a value into a pixel coordinate; false when the
// value is not finite or its truncation does not fit an int.
bool QvTruncToPixel(double d, int& n);
