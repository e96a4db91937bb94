// A simulation window drawn off screen, and the picture a frame should show,
// built pixel by pixel from the canvas and the sprite sheet.
#pragma once

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <vector>

#include "engine/SimulationDlg.h"
#include "platform/qt/FramePainter.h"

const QRgb kBg = qRgb(0, 0, 32), kWhite = qRgb(255, 255, 255), kGreen = qRgb(0, 255, 0);

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

inline QImage Frame(const CSimulationDlg& dlg) { return QvImageOf(*dlg.m_pPrimarySurface); }
inline QImage Canvas(const CSimulationDlg& dlg) { return QvImageOf(*dlg.m_pCanvasSurface); }

// A tick's frame without vectors and labels: the canvas as it was before the
// tick, then each body's cell wherever it is not black and on screen.
inline QImage ExpectedFrame(const CSimulationDlg& dlg, const QImage& canvasBefore)
{
    QImage out = canvasBefore.copy();
    for (int i = 0; i < dlg.m_nPlanets; ++i) {
        const CPlanet& p = dlg.m_system.m_Planets[i];
        for (int c = 0; c < 40 * 30 && std::abs(p.m_dX) < 2e9 && std::abs(p.m_dY) < 2e9; ++c) {
            const long long x = static_cast<long long>(p.m_dX) - 20 + c % 40, y = static_cast<long long>(p.m_dY) - 15 + c / 40;
            const QRgb s = dlg.m_pSpriteSurface->Pixel(p.m_nSpriteX + c % 40, 30 * (i % 5) + c / 40);
            if (x >= 0 && y >= 0 && x < 800 && y < 600 && (s & 0xFFFFFF) != 0) out.setPixel(int(x), int(y), s);
        }
    }
    return out;
}

// Pixels that differ between two images of the same size.
inline int DiffCount(const QImage& a, const QImage& b)
{
    int n = 0;
    for (int k = 0; k < a.width() * a.height(); ++k) n += ((a.pixel(k % a.width(), k / a.width()) ^ b.pixel(k % a.width(), k / a.width())) & 0xFFFFFF) != 0;
    return n;
}

// Text as the platform's painter draws it in the display font, placed like
// CSurface::TextOut: the picture the glyph sheet must give.
inline void PainterText(QImage& image, int x, int y, const QString& text, QRgb color, UINT nAlign, bool opaque, QRgb bk = 0)
{
    const QFontMetrics fm(QvDisplayFont());
    const int w = fm.horizontalAdvance(text), h = fm.ascent() + fm.descent();
    if ((nAlign & TA_CENTER) == TA_CENTER) x -= w / 2;
    else if (nAlign & TA_RIGHT) x -= w;
    if ((nAlign & TA_BASELINE) == TA_BASELINE) y -= fm.ascent();
    else if (nAlign & TA_BOTTOM) y -= h;
    QPainter painter(&image);
    if (opaque) painter.fillRect(QRect(x, y, w, h), QColor::fromRgb(bk));
    painter.setFont(QvDisplayFont());
    painter.setPen(QColor::fromRgb(color));
    painter.drawText(QPoint(x, y + fm.ascent()), text);
}
