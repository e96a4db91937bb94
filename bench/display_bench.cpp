// The cost of one frame of the simulation window, without the physics: the
// drawing of a tick (canvas copy, 5 sprites, vectors and labels, flip), and its
// presentation scaled to a 1920×1080 screen, as the window's paint does it.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QPainter>
#include <memory>

#include "engine/SimulationDlg.h"

namespace {

QGuiApplication* App()
{
    static int argc = 1;
    static char name[] = "display_bench";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QGuiApplication(argc, argv);
    }();
    return app;
}

std::unique_ptr<CSimulationDlg> FiveBodies()
{
    App();
    CSystemDlg sys;
    const char* names[5] = {"Sole", "Terra", "Marte", "Giove", "Luna"};
    for (int i = 0; i < 5; ++i) {
        CPlanet p;
        p.m_strName = names[i];
        p.m_dX = 150 + 120 * i;
        p.m_dY = 100 + 90 * i;
        p.m_dVx = 20 - 7 * i;
        p.m_dVy = 5 * i - 12;
        p.m_dFx = 3.5 - i;
        p.m_dFy = i - 2.5;
        p.m_dMass = 1 + 2 * i;
        p.m_nSpriteX = SpriteOffsetForMass(p.m_dMass);
        sys.m_Planets.Add(p);
    }
    auto dlg = std::make_unique<CSimulationDlg>(&sys);
    dlg->m_bPaused = 1;  // the drawing alone
    dlg->m_bVectors = 1;
    dlg->m_bLabels = 1;
    dlg->SetUpDisplay(nullptr);
    return dlg;
}

void BM_FrameDrawing(benchmark::State& state)
{
    auto dlg = FiveBodies();
    for (auto _ : state) {
        dlg->OnTimer(101);
        benchmark::DoNotOptimize(dlg->m_pPrimarySurface->Image().constBits());
    }
}
BENCHMARK(BM_FrameDrawing)->Unit(benchmark::kMicrosecond);

void BM_PresentTo1920x1080(benchmark::State& state)
{
    auto dlg = FiveBodies();
    dlg->OnTimer(101);
    QImage screen(1920, 1080, QImage::Format_RGB32), scaled;
    // Each flip repaints the frame's rectangle; the bars stay as first painted.
    const QRect frameRect = QvFrameRect(screen.size(), QSize(800, 600));
    for (auto _ : state) {
        QPainter painter(&screen);
        QvPaintFrame(painter, screen.size(), dlg->m_pPrimarySurface->Image(), scaled, frameRect);
        painter.end();
        benchmark::DoNotOptimize(screen.constBits());
    }
}
BENCHMARK(BM_PresentTo1920x1080)->Unit(benchmark::kMicrosecond);

void BM_FrameAndPresent(benchmark::State& state)
{
    auto dlg = FiveBodies();
    QImage screen(1920, 1080, QImage::Format_RGB32), scaled;
    // Each flip repaints the frame's rectangle; the bars stay as first painted.
    const QRect frameRect = QvFrameRect(screen.size(), QSize(800, 600));
    for (auto _ : state) {
        dlg->OnTimer(101);
        QPainter painter(&screen);
        QvPaintFrame(painter, screen.size(), dlg->m_pPrimarySurface->Image(), scaled, frameRect);
        painter.end();
        benchmark::DoNotOptimize(screen.constBits());
    }
}
BENCHMARK(BM_FrameAndPresent)->Unit(benchmark::kMicrosecond);

}  // namespace

namespace {
// The frame scaled alone, for the boxes of 1920×1080, 1366×768 and 1600×1200
// screens (factors 1.8, 1.28 and 2).
void BM_ScaleOnly(benchmark::State& state)
{
    auto dlg = FiveBodies();
    dlg->OnTimer(101);
    QImage scaled;
    const QSize size(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) {
        QvScaleFrame(dlg->m_pPrimarySurface->Image(), size, scaled);
        benchmark::DoNotOptimize(scaled.constBits());
    }
}
BENCHMARK(BM_ScaleOnly)->Args({1440, 1080})->Args({1024, 768})->Args({1600, 1200})->Unit(benchmark::kMicrosecond);
}  // namespace
