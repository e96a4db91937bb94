// A simulation window drawn off screen, the picture a frame should show built
// pixel by pixel from the canvas and the sprite sheet, and a plain image to
// compare surfaces with.
#pragma once

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "engine/SimulationDlg.h"

// Pixels as the surfaces hold them, 0xFFRRGGBB.
const QvPixel kBg = QvPixelOf(RGB(0, 0, 32)), kWhite = QvPixelOf(RGB(255, 255, 255)), kGreen = QvPixelOf(RGB(0, 255, 0)),
              kYellow = QvPixelOf(RGB(255, 255, 0)), kBlack = QvPixelOf(RGB(0, 0, 0));

// A copy of a picture, rows top to bottom, so that it outlives the surface's
// next frame and can be changed pixel by pixel.
struct Image {
    int width = 0, height = 0;
    std::vector<QvPixel> pixels;

    Image(int w, int h, QvPixel fill) : width(w), height(h), pixels(static_cast<size_t>(w) * static_cast<size_t>(h), fill) {}
    explicit Image(const CSurface& s)
        : width(s.Width()), height(s.Height()), pixels(s.Bits(), s.Bits() + static_cast<size_t>(s.Width()) * static_cast<size_t>(s.Height()))
    {
    }
    QvPixel pixel(int x, int y) const { return pixels[Index(x, y)]; }
    void setPixel(int x, int y, QvPixel p) { pixels[Index(x, y)] = p; }
    // The w×h rectangle at (x, y), which must lie inside.
    Image copy(int x, int y, int w, int h) const
    {
        Image out(w, h, 0);
        for (int k = 0; k < w * h; ++k) out.pixels[static_cast<size_t>(k)] = pixel(x + k % w, y + k / w);
        return out;
    }
    bool operator==(const Image& o) const { return width == o.width && height == o.height && pixels == o.pixels; }

private:
    size_t Index(int x, int y) const { return static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x); }
};

// Pixels whose colour differs; images of different sizes differ everywhere.
inline int DiffCount(const Image& a, const Image& b)
{
    if (a.width != b.width || a.height != b.height) return std::max(a.width * a.height, b.width * b.height) + 1;
    int n = 0;
    for (size_t k = 0; k < a.pixels.size(); ++k) n += ((a.pixels[k] ^ b.pixels[k]) & 0xFFFFFF) != 0;
    return n;
}

// Bodies {x, y, mass}, named "P"; paused, so that they stay where the test puts them.
inline std::unique_ptr<CSimulationDlg> MakeRun(const std::vector<std::vector<double>>& bodies, bool paused = true)
{
    CSystemDlg sys;
    for (const auto& b : bodies) {
        CPlanet p;
        p.m_strName = "P";
        p.m_dX = b[0], p.m_dY = b[1], p.m_dMass = b.size() > 2 ? b[2] : 1.0, p.m_nSpriteX = SpriteOffsetForMass(p.m_dMass);
        sys.m_Planets.Add(p);
    }
    auto dlg = std::make_unique<CSimulationDlg>(&sys);
    dlg->m_bPaused = paused ? 1 : 0;
    dlg->SetUpDisplay(nullptr);
    return dlg;
}

inline Image Frame(const CSimulationDlg& dlg) { return Image(*dlg.m_pPrimarySurface); }
inline Image Canvas(const CSimulationDlg& dlg) { return Image(*dlg.m_pCanvasSurface); }

// A tick's frame without vectors and labels: the canvas as it was before the
// tick, then each body's cell wherever it is not black and on screen.
inline Image ExpectedFrame(const CSimulationDlg& dlg, const Image& canvasBefore)
{
    Image out = canvasBefore;
    for (int i = 0; i < dlg.m_nPlanets; ++i) {
        const CPlanet& p = dlg.m_system.m_Planets[i];
        for (int c = 0; c < 40 * 30 && std::abs(p.m_dX) < 2e9 && std::abs(p.m_dY) < 2e9; ++c) {
            const long long x = static_cast<long long>(p.m_dX) - 20 + c % 40, y = static_cast<long long>(p.m_dY) - 15 + c / 40;
            const QvPixel s = dlg.m_pSpriteSurface->Pixel(p.m_nSpriteX + c % 40, 30 * (i % 5) + c / 40);
            if (x >= 0 && y >= 0 && x < 800 && y < 600 && (s & 0xFFFFFF) != 0) out.setPixel(int(x), int(y), s);
        }
    }
    return out;
}
