// The screen that shows the frame: the window side of the display, with the
// scaling of the 800 × 600 frame to whatever screen there is.
#pragma once

#include <QFont>
#include <QImage>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QWidget>
#include <memory>
#include <vector>

#include "display/Surface.h"

// The display font as Qt draws it: DejaVu Sans, 13 pixels, without anti-aliasing.
QFont QvDisplayFont();
// The surface's pixels as a read-only image, without a copy; valid while the
// surface lives and is not flipped.
QImage QvImageOf(const CSurface& surface);

// The rectangle of a screen of the given size in which a frame of the given
// size is shown: the largest scale that fits with the aspect kept, centred.
QRect QvFrameRect(const QSize& screen, const QSize& frame);
// The frame scaled to the given size with the nearest pixel (crisp, no
// smoothing); `out` is reused when it already has that size.
void QvScaleFrame(const QImage& frame, const QSize& size, QImage& out);
// Paints the frame into the painter's device of the given size: black bars,
// the frame scaled into QvFrameRect; `scaled` keeps the scaled picture between
// calls. Only what lies in `exposed` is painted (a null rectangle: everything).
class QPainter;
void QvPaintFrame(QPainter& painter, const QSize& device, const QImage& frame, QImage& scaled,
                  const QRect& exposed = QRect());

// Stands for the display object and the exclusive screen. Without a window it
// works off screen: the same surfaces and flips, nothing shown.
class CScreen : private CPresenter {
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
    friend class QvScreenPainter;
    void Present() override;
    void PrimaryGone(CSurface* pPrimary) override;
    void PaintWindow(QWidget* pWidget, const QRect& exposed);

    QPointer<QWidget> m_pWindow;
    QObject* m_pPainter = nullptr;  // event filter that paints the window
    int m_nWidth = 0;
    int m_nHeight = 0;
    CSurface* m_pPrimary = nullptr;
    QImage m_scaled;
    std::vector<std::unique_ptr<CSurface>> m_surfaces;
};
