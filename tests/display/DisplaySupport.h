// A simulation window drawn off screen, and the picture a frame should show,
// built pixel by pixel from the canvas and the sprite sheet.
#pragma once

#include <QImage>
#include <memory>
#include <tuple>
#include <vector>

#include "engine/SimulationDlg.h"

struct BodySpec {
    double x, y;
    double mass = 1.0;
    const char* name = "P";
};

const QRgb kBg = qRgb(0, 0, 32), kWhite = qRgb(255, 255, 255);

// Paused by default, so that positions stay where the test puts them.
inline std::unique_ptr<CSimulationDlg> MakeRun(const std::vector<BodySpec>& bodies, bool paused = true)
{
    CSystemDlg sys;
    sys.m_strName = "Prova";
    for (const BodySpec& b : bodies) {
        CPlanet p;
        p.m_strName = b.name;
        std::tie(p.m_dX, p.m_dY, p.m_dMass, p.m_nSpriteX) = std::make_tuple(b.x, b.y, b.mass, SpriteOffsetForMass(b.mass));
        sys.m_Planets.Add(p);
    }
    auto dlg = std::make_unique<CSimulationDlg>(&sys);
    dlg->m_bPaused = paused ? 1 : 0;
    dlg->SetUpDisplay(nullptr);
    return dlg;
}

inline const QImage& Frame(const CSimulationDlg& dlg) { return dlg.m_pPrimarySurface->Image(); }
inline const QImage& Canvas(const CSimulationDlg& dlg) { return dlg.m_pCanvasSurface->Image(); }

// What the frame of a tick shows without vectors and labels: the canvas as it
// was before the tick, then each body's cell wherever it is not black and on screen.
inline QImage ExpectedFrame(const CSimulationDlg& dlg, const QImage& canvasBefore)
{
    QImage out = canvasBefore.copy();
    const QImage& sheet = dlg.m_pSpriteSurface->Image();
    for (int i = 0; i < dlg.m_nPlanets; ++i) {
        const CPlanet& p = dlg.m_system.m_Planets[i];
        if (!(std::abs(p.m_dX) < 2e9 && std::abs(p.m_dY) < 2e9)) continue;
        const long long px = static_cast<long long>(p.m_dX), py = static_cast<long long>(p.m_dY);
        for (int cy = 0; cy < 30; ++cy)
            for (int cx = 0; cx < 40; ++cx) {
                const long long sx = px - 20 + cx, sy = py - 15 + cy;
                if (sx < 0 || sy < 0 || sx >= 800 || sy >= 600) continue;
                const QRgb s = sheet.pixel(p.m_nSpriteX + cx, 30 * (i % 5) + cy);
                if ((s & 0xFFFFFF) != 0) out.setPixel(static_cast<int>(sx), static_cast<int>(sy), s);
            }
    }
    return out;
}

// Pixels that differ between two images of the same size.
inline int DiffCount(const QImage& a, const QImage& b)
{
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if ((a.pixel(x, y) & 0xFFFFFF) != (b.pixel(x, y) & 0xFFFFFF)) ++n;
    return n;
}
