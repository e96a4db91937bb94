// The simulation window: its own copy of a system, the force law's constants,
// the integration settings and view flags (engine/), and the full-screen
// display that draws it (display/).
#pragma once

#include <memory>

#include "display/Screen.h"
#include "engine/Euler.h"
#include "platform/Dialog.h"
#include "store/SystemDlg.h"

class CSimulationDlg : public CDialog {
public:
    CSimulationDlg(CSystemDlg* pSystem, CWnd* pParent = nullptr);
    ~CSimulationDlg() override;

    // engine/: the integration phase of one tick (nothing while paused).
    void Integrate();
    // The law the integration applies: the type as read, its constant and parameter.
    CForceLaw ForceLaw() const;

    // display/
    BOOL OnInitDialog() override;
    void OnDestroy() override;
    void OnTimer(UINT nIDEvent) override;
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) override;
    void DrawLegend();
    // The display without its window parts (nullptr: off screen), used by
    // OnInitDialog and OnDestroy, and by drawing without a window.
    void SetUpDisplay(HWND hWindow);
    void TearDownDisplay();

    // display: the canvas and the sprite surface belong to the screen object,
    // the back buffer to the primary surface.
    UINT m_nTimerId = 0;
    int m_nScreenWidth = 0;
    int m_nScreenHeight = 0;
    CSurface* m_pSpriteSurface = nullptr;
    CSurface* m_pCanvasSurface = nullptr;
    CSurface* m_pBackBuffer = nullptr;
    std::unique_ptr<CSurface> m_pPrimarySurface;
    std::unique_ptr<CScreen> m_pDirectDraw;

    // engine
    CSystemDlg m_system;
    double m_dForceConst = 0.0;
    double m_dTimeStep = 0.0;
    double m_dForceParam = 0.0;
    int m_nStepsPerTick = 0;
    int m_nPlanets = 0;
    int m_nThreads = 0;  // threads of the integration, 0: one per core

    // view flags
    int m_bTraces = 0;
    int m_bVectors = 0;
    int m_bPaused = 0;
    int m_bLabels = 0;
};
