// The cost of one frame of the simulation window, without the physics: the
// drawing of a tick (canvas copy, sprites, vectors and labels of 10 and of 300
// bodies, flip), and its presentation scaled to a 1920×1080 screen, as the
// window's paint does it.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QPainter>
#include <memory>

#include "engine/SimulationDlg.h"
#include "tools/quorvane-run/SurfaceImage.h"

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

// n bodies spread over the frame, with vectors and labels on.
std::unique_ptr<CSimulationDlg> Bodies(int n)
{
    App();
    CSystemDlg sys;
    const char* names[5] = {"Sole", "Terra", "Marte", "Giove", "Luna"};
    for (int i = 0; i < n; ++i) {
        CPlanet p;
        p.m_strName = names[i % 5];
        p.m_dX = 50 + (120 * i) % 700 + i % 7;
        p.m_dY = 40 + (90 * i) % 520 + i % 11;
        p.m_dVx = 20 - 7 * (i % 5);
        p.m_dVy = 5 * (i % 5) - 12;
        p.m_dFx = 3.5 - i % 5;
        p.m_dFy = i % 5 - 2.5;
        p.m_dMass = 1 + 2 * (i % 5);
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

std::unique_ptr<CSimulationDlg> FiveBodies() { return Bodies(5); }

void BM_FrameDrawing(benchmark::State& state)
{
    auto dlg = Bodies(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        dlg->OnTimer(101);
        benchmark::DoNotOptimize(QvImageOf(*dlg->m_pPrimarySurface).constBits());
    }
}
BENCHMARK(BM_FrameDrawing)->Arg(10)->Arg(300)->Unit(benchmark::kMicrosecond);

void BM_PresentTo1920x1080(benchmark::State& state)
{
    auto dlg = FiveBodies();
    dlg->OnTimer(101);
    QImage screen(1920, 1080, QImage::Format_RGB32), scaled;
    // Each flip repaints the frame's rectangle; the bars stay as first painted.
    const QRect frameRect = QvFrameRect(screen.size(), QSize(800, 600));
    for (auto _ : state) {
        QPainter painter(&screen);
        QvPaintFrame(painter, screen.size(), QvImageOf(*dlg->m_pPrimarySurface), scaled, frameRect);
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
        QvPaintFrame(painter, screen.size(), QvImageOf(*dlg->m_pPrimarySurface), scaled, frameRect);
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
        QvScaleFrame(QvImageOf(*dlg->m_pPrimarySurface), size, scaled);
        benchmark::DoNotOptimize(scaled.constBits());
    }
}
BENCHMARK(BM_ScaleOnly)->Args({1440, 1080})->Args({1024, 768})->Args({1600, 1200})->Unit(benchmark::kMicrosecond);
}  // namespace
