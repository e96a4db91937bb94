// The display side of CSimulationDlg: set-up and tear-down of the full-screen
// display, the frame of every tick, the legend and the keys of a run.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "display/Bitmap.h"
#include "engine/InternalError.h"
#include "engine/SimulationDlg.h"
#include "numerics/CorrectlyRounded.h"
#include "platform/Text.h"
#include "res/SpriteSheet.h"

namespace {

const UINT kTimerId = 101;
const UINT kTimerPeriodMs = 20;
const int kFrameWidth = 800;
const int kFrameHeight = 600;
const int kCellWidth = 40;
const int kCellHeight = 30;
const int kSheetWidth = 400;
const int kSheetHeight = 150;

// One colour per body index, the same hues as the rows of the sprite sheet;
// bodies from index 5 on reuse them in turn.
const COLORREF kBodyColors[5] = {RGB(255, 255, 255), RGB(0, 255, 0), RGB(255, 255, 0), RGB(0, 255, 255),
                                 RGB(255, 0, 0)};
const COLORREF kBackground = RGB(0, 0, 32);
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kLegendColor = RGB(255, 255, 0);

// The end of a vector from p: p + trunc(scale · v); false when the scaled
// value or the end point is not a finite 32-bit pixel coordinate.
bool VectorEnd(int p, double v, double scale, int& end)
{
    int t;
    if (!QvTruncToPixel(scale * v, t)) return false;
    const long long e = static_cast<long long>(p) + t;
    if (e < INT32_MIN || e > INT32_MAX) return false;
    end = static_cast<int>(e);
    return true;
}

}  // namespace

BOOL CSimulationDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    ShowCursor(FALSE);
    SetUpDisplay(GetSafeHwnd());
    m_nTimerId = SetTimer(kTimerId, kTimerPeriodMs);
    return TRUE;
}

void CSimulationDlg::SetUpDisplay(HWND hWindow)
{
    m_nScreenWidth = kFrameWidth;
    m_nScreenHeight = kFrameHeight;
    // Off screen the drawing needs nothing of the platform; a window needs a screen.
    m_pDirectDraw = std::make_unique<CScreen>();
    if (hWindow && !AfxHaveDisplay()) InternalErrorExit(3);
    if (!m_pDirectDraw->SetCooperativeLevel(hWindow)) InternalErrorExit(31);
    if (!m_pDirectDraw->SetDisplayMode(m_nScreenWidth, m_nScreenHeight)) InternalErrorExit(32);
    m_pPrimarySurface = m_pDirectDraw->CreatePrimarySurface();
    if (!m_pPrimarySurface) InternalErrorExit(4);
    m_pBackBuffer = m_pPrimarySurface->GetAttachedSurface();
    if (!m_pBackBuffer) InternalErrorExit(5);
    m_pCanvasSurface = m_pDirectDraw->CreateSurface(m_nScreenWidth, m_nScreenHeight);
    if (!m_pCanvasSurface) InternalErrorExit(19);
    DrawLegend();
    m_pSpriteSurface = m_pDirectDraw->CreateSurface(kSheetWidth, kSheetHeight);
    if (!m_pSpriteSurface) InternalErrorExit(6);
    // A sheet that fails to load leaves the surface black, that is, no sprites.
    QvLoadBitmap(kQvSpriteSheet, kQvSpriteSheetSize, *m_pSpriteSurface);
}

void CSimulationDlg::OnDestroy()
{
    CDialog::OnDestroy();
    KillTimer(m_nTimerId);
    TearDownDisplay();
    ShowCursor(TRUE);
}

void CSimulationDlg::TearDownDisplay()
{
    if (m_pDirectDraw) {
        m_pDirectDraw->SetNormalCooperativeLevel();
        m_pDirectDraw->RestoreDisplayMode();
    }
    m_pBackBuffer = nullptr;
    m_pPrimarySurface.reset();
    m_pCanvasSurface = nullptr;
    m_pSpriteSurface = nullptr;
    m_pDirectDraw.reset();
}

void CSimulationDlg::DrawLegend()
{
    if (!m_pCanvasSurface) return;
    m_pCanvasSurface->FillSolidRect(0, 0, m_nScreenWidth, m_nScreenHeight, kBackground);
    const UINT align = TA_RIGHT | TA_BOTTOM;
    m_pCanvasSurface->TextOut(790, 570, U"[V]ettori; [T]racce; [E]tichette; [P]ausa; [1..9] velocità", kLegendColor,
                              align, OPAQUE, kBackground);
    m_pCanvasSurface->TextOut(790, 590, U"ESC o INVIO per terminare", kLegendColor, align, OPAQUE, kBackground);
}

void CSimulationDlg::OnTimer(UINT nIDEvent)
{
    (void)nIDEvent;
    if (!m_pBackBuffer || !m_pCanvasSurface || !m_pSpriteSurface || !m_pPrimarySurface) return;

    // 1. The canvas (background, legend, traces) under everything else.
    m_pBackBuffer->BltFast(0, 0, *m_pCanvasSurface, RECT{0, 0, m_nScreenWidth, m_nScreenHeight}, DDBLTFAST_WAIT);

    // 2. The bodies move (nothing while paused).
    Integrate();

    const int nPlanets = std::min(m_nPlanets, static_cast<int>(m_system.m_Planets.GetSize()));

    // A body's pixel position; a position that is not a finite 32-bit pixel
    // draws nothing of that body.
    auto position = [this](int i, int& px, int& py) {
        const CPlanet& p = m_system.m_Planets[i];
        return QvTruncToPixel(p.m_dX, px) && QvTruncToPixel(p.m_dY, py);
    };

    // 3. Trace pixels into the canvas (seen from the next frame on), sprites
    // into the frame, clipped to the screen.
    for (int i = 0; i < nPlanets; ++i) {
        int px, py;
        if (!position(i, px, py)) continue;
        const CPlanet& planet = m_system.m_Planets[i];
        const int color = i % 5;
        if (m_bTraces && px >= 0 && px < m_nScreenWidth && py >= 0 && py < m_nScreenHeight)
            m_pCanvasSurface->FillSolidRect(px, py, 1, 1, kBodyColors[color]);

        long long dx = static_cast<long long>(px) - kCellWidth / 2;
        long long dy = static_cast<long long>(py) - kCellHeight / 2;
        long long w = kCellWidth, h = kCellHeight, left = 0, top = 0;
        if (dx + kCellWidth > m_nScreenWidth) {
            w = m_nScreenWidth - dx;
        } else if (dx < 0) {
            left = -dx;
            w = dx + kCellWidth;
            dx = 0;
        }
        if (dy + kCellHeight > m_nScreenHeight) {
            h = m_nScreenHeight - dy;
        } else if (dy < 0) {
            top = -dy;
            h = dy + kCellHeight;
            dy = 0;
        }
        if (w > 0 && h > 0) {
            const int sx = planet.m_nSpriteX + static_cast<int>(left);
            const int sy = kCellHeight * color + static_cast<int>(top);
            m_pBackBuffer->BltFast(static_cast<int>(dx), static_cast<int>(dy), *m_pSpriteSurface,
                                   RECT{sx, sy, sx + static_cast<int>(w), sy + static_cast<int>(h)},
                                   DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT);
        }
    }

    // 4. Force vectors (3 pixels, body colour) under velocity vectors (1 pixel, white).
    if (m_bVectors) {
        for (int i = 0; i < nPlanets; ++i) {
            int px, py;
            if (!position(i, px, py)) continue;
            const CPlanet& planet = m_system.m_Planets[i];
            int ex, ey;
            if (VectorEnd(px, planet.m_dFx, 10.0, ex) && VectorEnd(py, planet.m_dFy, 10.0, ey))
                m_pBackBuffer->DrawLine(px, py, ex, ey, kBodyColors[i % 5], 3);
            if (VectorEnd(px, planet.m_dVx, 2.0, ex) && VectorEnd(py, planet.m_dVy, 2.0, ey))
                m_pBackBuffer->DrawLine(px, py, ex, ey, kWhite, 1);
        }
    }

    // 5. Names, left end of the baseline 10 pixels right of the body.
    if (m_bLabels) {
        for (int i = 0; i < nPlanets; ++i) {
            int px, py;
            if (!position(i, px, py) || px > INT32_MAX - 10) continue;
            m_pBackBuffer->TextOut(px + 10, py, QvDisplayChars(m_system.m_Planets[i].m_strName),
                                   kWhite, TA_LEFT | TA_BASELINE, TRANSPARENT);
        }
    }

    // 6. Show the frame.
    m_pPrimarySurface->Flip();
}

void CSimulationDlg::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    (void)nRepCnt;
    (void)nFlags;
    // Setting bit 0x20 turns a letter's code into its lower-case one; it also
    // makes F1, F5, F7 and keypad 5 act as P, T, V and E.
    const UINT c = nChar | 0x20;
    if (c == 0x74) {
        m_bTraces = m_bTraces ? 0 : 1;
        DrawLegend();
    } else if (c == 0x76) {
        m_bVectors = m_bVectors ? 0 : 1;
    } else if (c == 0x70) {
        m_bPaused = m_bPaused ? 0 : 1;
    } else if (c == 0x65) {
        m_bLabels = m_bLabels ? 0 : 1;
    } else if (nChar >= 0x31 && nChar <= 0x39) {
        m_dTimeStep = CrPow(2.0, static_cast<int>(nChar) - 0x35) * 0.0002;
    }
}
