// The frame of one tick: trace pixels, sprite placement and clipping, layering,
// vectors, labels, and values that are not drawable pixel coordinates.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <limits>

#include "tests/display/DisplaySupport.h"

TEST(FrameTest, TracePixelsAndSpriteClippingAtTheEdges)
{
    // A single body at (x, y): the frame is the canvas of before the tick plus
    // the clipped cell; the trace pixel, if any, lands at (tx, ty).
    const struct {
        double x, y;
        int tx, ty;
    } rows[] = {{0, 0, 0, 0},      {799.9, 300, 799, 300}, {800, 300, -1, -1},  {-0.5, 300, 0, 300},
                {-1, 300, -1, -1}, {400, 599.5, 400, 599}, {400, 600, -1, -1},  {-19, 300, -1, -1},
                {-20, 300, -1, -1}, {819, 300, -1, -1},    {820, 300, -1, -1},  {400, -14, -1, -1},
                {400, -15, -1, -1}, {400, 614, -1, -1},    {400, 615, -1, -1}};
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << "body at (" << r.x << ", " << r.y << ")");
        auto dlg = MakeRun({{r.x, r.y}});
        const QImage before = Canvas(*dlg).copy();
        dlg->OnTimer(101);
        EXPECT_EQ(DiffCount(Frame(*dlg), ExpectedFrame(*dlg, before)), 0);
        EXPECT_EQ(DiffCount(Canvas(*dlg), before), r.tx >= 0 ? 1 : 0);
        EXPECT_TRUE(r.tx < 0 || Canvas(*dlg).pixel(r.tx, r.ty) == kWhite);
    }
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
    EXPECT_EQ(Canvas(*dlg).pixel(200, 200), qRgb(0, 255, 0));
    EXPECT_EQ(Canvas(*dlg).pixel(600, 400), kWhite);
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
    EXPECT_EQ(Frame(*dlg).pixel(104, 100), kWhite);

    // Switching traces off clears them and stops new ones.
    dlg->OnKeyDown('T', 1, 0);
    EXPECT_EQ(DiffCount(Canvas(*dlg), fresh), 0);
    dlg->OnTimer(101);
    EXPECT_EQ(DiffCount(Canvas(*dlg), fresh), 0);
    dlg->OnKeyDown('T', 1, 0);
    // A paused body marks the same spot every tick: one pixel.
    dlg->OnTimer(101);
    dlg->OnTimer(101);
    EXPECT_EQ(DiffCount(Canvas(*dlg), fresh), 1);
}

TEST(FrameTest, VectorsEndWhereTheScaledValuesSayAndFreezeWhilePaused)
{
    // A fixed body keeps its place and shows its stored velocity.
    auto dlg = MakeRun({{400, 300, 10}, {400, 150, 1}}, false);
    dlg->m_system.m_Planets[0].m_bFixed = 1;
    dlg->m_system.m_Planets[0].m_dVx = 30.0;
    dlg->m_bVectors = 1;
    dlg->OnTimer(101);  // one integrated tick fills the force accumulators
    EXPECT_EQ(Canvas(*dlg).pixel(400, 300), kWhite);
    EXPECT_EQ(Frame(*dlg).pixel(460, 300), kWhite);  // velocity end, past the cell
    EXPECT_EQ(Frame(*dlg).pixel(461, 300), kBg);
    dlg->OnKeyDown('P', 1, 0);
    const double fy = dlg->m_system.m_Planets[0].m_dFy;
    ASSERT_NE(fy, 0.0);
    dlg->OnTimer(101);
    const QImage first = Frame(*dlg).copy();
    dlg->OnTimer(101);
    EXPECT_EQ(DiffCount(Frame(*dlg), first), 0);
    EXPECT_EQ(dlg->m_system.m_Planets[0].m_dFy, fy);

    // Exact end points: a body alone with a set force and velocity.
    auto one = MakeRun({{300, 300}});
    one->m_bVectors = 1;
    CPlanet& p = one->m_system.m_Planets[0];
    p.m_dFx = 4.29;   // 10·Fx truncates to 42
    p.m_dFy = -1.55;  // to -15
    p.m_dVx = -7.9;   // 2·Vx to -15
    p.m_dVy = 25.0;   // 2·Vy to 50
    one->OnTimer(101);
    // The force ends at (342, 285), with the round cap of the 3-pixel pen one
    // pixel further; the velocity at (285, 350), drawn one pixel wide.
    const struct {
        int x, y;
        bool white;
    } ends[] = {{342, 285, true}, {343, 285, true}, {344, 285, false}, {285, 350, true}, {285, 351, false}, {284, 350, false}};
    for (const auto& e : ends) EXPECT_EQ(Frame(*one).pixel(e.x, e.y) == kWhite, e.white) << e.x << "," << e.y;
}

TEST(FrameTest, ValuesThatAreNoPixelDrawNothingAndTheRunGoesOn)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (double bad : {nan, inf, -inf, 3e9, -2147483649.0, 2147483648.0}) {
        SCOPED_TRACE(bad);
        auto dlg = MakeRun({{bad, 300}, {400, bad}});
        dlg->m_bVectors = dlg->m_bLabels = 1;
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
    EXPECT_EQ(Frame(*dlg).pixel(0, 300), kWhite);
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
    int minX = 800, maxX = -1, minY = 600, maxY = -1;
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x)
            if (labelled.pixel(x, y) != plain.pixel(x, y)) {
                EXPECT_EQ(labelled.pixel(x, y), kWhite);
                minX = std::min(minX, x), maxX = std::max(maxX, x);
                minY = std::min(minY, y), maxY = std::max(maxY, y);
            }
    const QFontMetrics fm(QvDisplayFont());
    EXPECT_GE(minX, 210);
    EXPECT_LE(minX, 212);
    EXPECT_LT(maxX, 210 + fm.horizontalAdvance(QStringLiteral("Terra")));
    EXPECT_EQ(maxY, 299);  // no descenders in "Terra": the glyphs end on the baseline
    EXPECT_GE(minY, 300 - fm.ascent());
}
