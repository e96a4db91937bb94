// The frame of one tick: trace pixels, sprite placement and clipping, layering,
// vectors, labels, and values that are not drawable pixel coordinates.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <limits>

#include "tests/display/DisplaySupport.h"

namespace {

const QRgb kBg = qRgb(0, 0, 32);

// One tick for a single body at (x, y): the frame must be the canvas of
// before the tick plus the clipped cell; returns whether a trace pixel appeared.
void CheckSingleBody(double x, double y, bool expectTrace, int traceX = -1, int traceY = -1)
{
    SCOPED_TRACE(testing::Message() << "body at (" << x << ", " << y << ")");
    auto dlg = MakeRun({{x, y}});
    const QImage canvasBefore = Canvas(*dlg).copy();
    dlg->OnTimer(101);
    EXPECT_EQ(DiffCount(Frame(*dlg), ExpectedFrame(*dlg, canvasBefore)), 0);
    const int changed = DiffCount(Canvas(*dlg), canvasBefore);
    if (expectTrace) {
        EXPECT_EQ(changed, 1);
        EXPECT_EQ(Canvas(*dlg).pixel(traceX, traceY), qRgb(255, 255, 255));
    } else {
        EXPECT_EQ(changed, 0);
    }
}

}  // namespace

TEST(FrameTest, TracePixelsAndSpriteClippingAtTheEdges)
{
    CheckSingleBody(0, 0, true, 0, 0);
    CheckSingleBody(799.9, 300, true, 799, 300);
    CheckSingleBody(800, 300, false);
    CheckSingleBody(-0.5, 300, true, 0, 300);
    CheckSingleBody(-1, 300, false);
    CheckSingleBody(400, 599.5, true, 400, 599);
    CheckSingleBody(400, 600, false);
    CheckSingleBody(-19, 300, false);
    CheckSingleBody(-20, 300, false);
    CheckSingleBody(819, 300, false);
    CheckSingleBody(820, 300, false);
    CheckSingleBody(400, -14, false);
    CheckSingleBody(400, -15, false);
    CheckSingleBody(400, 614, false);
    CheckSingleBody(400, 615, false);

    // At (0, 0) the lower-right 20×15 of the cell sits in the corner.
    auto dlg = MakeRun({{0, 0}});
    dlg->OnTimer(101);
    const QImage& sheet = dlg->m_pSpriteSurface->Image();
    EXPECT_EQ(Frame(*dlg).pixel(0, 0), sheet.pixel(20, 15));
    // At px = -19 only the last column of the cell shows, in screen column 0.
    auto left = MakeRun({{-19, 300}});
    const QImage before = Canvas(*left).copy();
    left->OnTimer(101);
    for (int y = 0; y < 600; ++y)
        for (int x = 1; x < 800; ++x) ASSERT_EQ(Frame(*left).pixel(x, y), before.pixel(x, y));
}

TEST(FrameTest, ZeroBodiesTwoBodiesAtOnePlaceAndIndexFiveOn)
{
    auto none = MakeRun({});
    const QImage canvas = Canvas(*none).copy();
    none->OnTimer(101);
    EXPECT_EQ(DiffCount(Frame(*none), canvas), 0);
    EXPECT_EQ(DiffCount(Canvas(*none), canvas), 0);

    // The higher-numbered body covers the lower-numbered one; body 5 takes
    // the white of body 0 for its trace and row 0 for its sprite.
    auto dlg = MakeRun({{200, 200, 1}, {200, 200, 1}, {50, 50}, {60, 60}, {70, 70}, {600, 400, 3}});
    const QImage before = Canvas(*dlg).copy();
    dlg->OnTimer(101);
    EXPECT_EQ(DiffCount(Frame(*dlg), ExpectedFrame(*dlg, before)), 0);
    EXPECT_EQ(Frame(*dlg).pixel(200, 200), dlg->m_pSpriteSurface->Image().pixel(20, 30 + 15));
    EXPECT_EQ(Canvas(*dlg).pixel(200, 200), qRgb(0, 255, 0));
    EXPECT_EQ(Canvas(*dlg).pixel(600, 400), qRgb(255, 255, 255));
    EXPECT_EQ(Frame(*dlg).pixel(600, 400), dlg->m_pSpriteSurface->Image().pixel(80 + 20, 15));
}

TEST(FrameTest, TracesLastInTheCanvasUntilTheTracesKey)
{
    auto dlg = MakeRun({{100, 100}});
    const QImage fresh = Canvas(*dlg).copy();
    for (int i = 0; i < 5; ++i) {
        dlg->m_system.m_Planets[0].m_dX = 100 + i;
        dlg->OnTimer(101);
    }
    EXPECT_EQ(DiffCount(Canvas(*dlg), fresh), 5);
    // The pixel of a tick shows from the next frame on, outside the sprite too.
    dlg->m_system.m_Planets[0].m_dX = 300;
    dlg->OnTimer(101);
    EXPECT_EQ(Frame(*dlg).pixel(104, 100), qRgb(255, 255, 255));

    dlg->OnKeyDown('T', 1, 0);
    EXPECT_EQ(dlg->m_bTraces, 0);
    EXPECT_EQ(DiffCount(Canvas(*dlg), fresh), 0);
    dlg->OnTimer(101);
    EXPECT_EQ(DiffCount(Canvas(*dlg), fresh), 0);
    dlg->OnKeyDown('T', 1, 0);
    EXPECT_EQ(dlg->m_bTraces, 1);
    dlg->OnTimer(101);
    EXPECT_EQ(DiffCount(Canvas(*dlg), fresh), 1);
    // A paused body marks the same spot again: still one pixel.
    dlg->OnTimer(101);
    EXPECT_EQ(DiffCount(Canvas(*dlg), fresh), 1);
}

TEST(FrameTest, VectorsEndWhereTheScaledValuesSayAndFreezeWhilePaused)
{
    auto dlg = MakeRun({{400, 300, 1}, {400, 200, 1}}, false);
    dlg->m_bVectors = 1;
    dlg->OnTimer(101);  // one integrated tick fills the force accumulators
    dlg->OnKeyDown('P', 1, 0);
    const CPlanet p = dlg->m_system.m_Planets[0];
    ASSERT_NE(p.m_dFy, 0.0);
    dlg->OnTimer(101);
    const QImage first = Frame(*dlg).copy();
    dlg->OnTimer(101);
    EXPECT_EQ(DiffCount(Frame(*dlg), first), 0);
    EXPECT_EQ(dlg->m_system.m_Planets[0].m_dFy, p.m_dFy);

    // Exact end points: a body alone with a set force and velocity.
    auto one = MakeRun({{300, 300}});
    one->m_bVectors = 1;
    one->m_system.m_Planets[0].m_dFx = 4.29;   // 10·Fx truncates to 42
    one->m_system.m_Planets[0].m_dFy = -1.55;  // to -15
    one->m_system.m_Planets[0].m_dVx = -7.9;   // 2·Vx to -15
    one->m_system.m_Planets[0].m_dVy = 25.0;   // 2·Vy to 50
    one->OnTimer(101);
    const QImage& f = Frame(*one);
    const QRgb white = qRgb(255, 255, 255);
    EXPECT_EQ(f.pixel(342, 285), white);
    EXPECT_EQ(f.pixel(343, 285), white);  // round cap of the 3-pixel pen
    EXPECT_NE(f.pixel(344, 285), white);
    EXPECT_EQ(f.pixel(285, 350), white);
    EXPECT_NE(f.pixel(285, 351), white);
    EXPECT_NE(f.pixel(284, 350), white);
}

TEST(FrameTest, FixedBodyKeepsItsPlaceAndShowsItsStoredVelocity)
{
    CSystemDlg sys;
    CPlanet sun = MakePlanet({400, 300, 10});
    sun.m_bFixed = 1;
    sun.m_dVx = 30.0;
    sys.m_Planets.Add(sun);
    sys.m_Planets.Add(MakePlanet({400, 150, 1}));
    CSimulationDlg dlg(&sys);
    dlg.SetUpDisplay(nullptr);
    dlg.m_bVectors = 1;
    const QImage fresh = Canvas(dlg).copy();
    for (int i = 0; i < 3; ++i) dlg.OnTimer(101);
    EXPECT_EQ(dlg.m_system.m_Planets[0].m_dX, 400.0);
    EXPECT_EQ(dlg.m_system.m_Planets[0].m_dVx, 30.0);
    EXPECT_NE(dlg.m_system.m_Planets[0].m_dFy, 0.0);  // attracted, yet unmoved
    EXPECT_EQ(Canvas(dlg).pixel(400, 300), qRgb(255, 255, 255));
    EXPECT_EQ(Frame(dlg).pixel(460, 300), qRgb(255, 255, 255));  // velocity end, past the cell
    EXPECT_EQ(Frame(dlg).pixel(461, 300), kBg);
    EXPECT_LE(DiffCount(Canvas(dlg), fresh), 4);  // one spot for the sun, at most three for the planet
}

TEST(FrameTest, ValuesThatAreNoPixelDrawNothingAndTheRunGoesOn)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (double bad : {nan, inf, -inf, 3e9, -2147483649.0, 2147483648.0}) {
        SCOPED_TRACE(bad);
        auto dlg = MakeRun({{bad, 300}, {400, bad}});
        dlg->m_bVectors = 1;
        dlg->m_bLabels = 1;
        const QImage canvas = Canvas(*dlg).copy();
        dlg->OnTimer(101);
        dlg->OnTimer(101);
        EXPECT_EQ(DiffCount(Frame(*dlg), canvas), 0);
        EXPECT_EQ(DiffCount(Canvas(*dlg), canvas), 0);
    }

    // The largest pixels that fit: nothing on screen, nothing undefined.
    auto edge = MakeRun({{2147483647.0, -2147483648.0}, {-2147483648.0, 2147483647.0}});
    edge->m_bVectors = edge->m_bLabels = 1;
    edge->m_system.m_Planets[0].m_dFx = -1e8;
    edge->m_system.m_Planets[1].m_dVx = 1e9;
    edge->OnTimer(101);

    // A body on screen with a force or velocity out of range: its sprite and
    // trace are drawn, only that vector is missing.
    auto dlg = MakeRun({{400, 300}});
    dlg->m_bVectors = 1;
    CPlanet& p = dlg->m_system.m_Planets[0];
    const QImage canvas = Canvas(*dlg).copy();
    for (double bad : {nan, inf, 3e8, 214748364.8}) {
        p.m_dFx = bad;
        p.m_dVx = bad * 5;
        dlg->OnTimer(101);
        EXPECT_EQ(DiffCount(Frame(*dlg), ExpectedFrame(*dlg, canvas)), 0) << bad;
    }
    // A long vector that fits is clipped at the screen's edge.
    p.m_dFx = -1e8;
    p.m_dVx = 0;
    dlg->OnTimer(101);
    EXPECT_EQ(Frame(*dlg).pixel(0, 300), qRgb(255, 255, 255));
    EXPECT_EQ(Frame(*dlg).pixel(0, 302), kBg);
}

TEST(FrameTest, LabelsStandRightOfTheBodyOnItsBaseline)
{
    auto dlg = MakeRun({{200, 300, 1, "Terra"}});
    dlg->OnTimer(101);
    const QImage plain = Frame(*dlg).copy();
    dlg->m_bLabels = 1;
    dlg->OnTimer(101);
    const QImage& labelled = Frame(*dlg);
    const QFontMetrics fm(QvDisplayFont());
    int minX = 800, maxX = -1, minY = 600, maxY = -1;
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x)
            if (labelled.pixel(x, y) != plain.pixel(x, y)) {
                EXPECT_EQ(labelled.pixel(x, y), qRgb(255, 255, 255));
                minX = std::min(minX, x), maxX = std::max(maxX, x);
                minY = std::min(minY, y), maxY = std::max(maxY, y);
            }
    EXPECT_GE(minX, 210);
    EXPECT_LE(minX, 212);
    EXPECT_LT(maxX, 210 + fm.horizontalAdvance(QStringLiteral("Terra")));
    EXPECT_EQ(maxY, 299);  // no descenders in "Terra": the glyphs end on the baseline
    EXPECT_GE(minY, 300 - fm.ascent());
}
