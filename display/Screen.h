// The screen that shows the frame: stands for the display object and the
// exclusive full-screen mode. It owns the surfaces; the window it shows them
// in belongs to the platform. Without a window it works off screen: the same
// surfaces and flips, nothing shown.
#pragma once

#include <memory>
#include <vector>

#include "display/Surface.h"

class CScreen final : private CPresenter {
public:
    CScreen();
    ~CScreen();
    CScreen(const CScreen&) = delete;
    CScreen& operator=(const CScreen&) = delete;

    // Exclusive use of the window's screen: the window becomes a borderless
    // black window over the whole screen that shows the frame on every flip.
    // nullptr: off screen. FALSE when there is no screen to take.
    BOOL SetCooperativeLevel(HWND hWnd);
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
    HWND Window() const { return m_hWnd; }

private:
    void Present() override;
    void PrimaryGone(CSurface* pPrimary) override;

    HWND m_hWnd = nullptr;
    int m_nWidth = 0;
    int m_nHeight = 0;
    CSurface* m_pPrimary = nullptr;
    std::vector<std::unique_ptr<CSurface>> m_surfaces;
};
