// The frame of one tick: trace pixels, sprite placement and clipping, layering,
// vectors, labels, and values that are not drawable pixel coordinates.
#include <gtest/gtest.h>

#include <limits>

#include "res/GlyphSheet.h"
#include "tests/display/DisplaySupport.h"

TEST(FrameTest, TracePixelsAndSpriteClippingAtTheEdges)
{
    // A body at (x, y): the frame is the canvas of before the tick plus the
    // clipped cell; a trace pixel lands at (tx, ty) when tx >= 0.
    const double rows[][4] = {{0, 0, 0, 0},      {799.9, 300, 799, 300}, {800, 300, -1, -1}, {-0.5, 300, 0, 300},
                              {-1, 300, -1, -1}, {400, 599.5, 400, 599}, {400, 600, -1, -1}, {-19, 300, -1, -1},
                              {-20, 300, -1, -1}, {819, 300, -1, -1},    {820, 300, -1, -1}, {400, -14, -1, -1},
                              {400, -15, -1, -1}, {400, 614, -1, -1},    {400, 615, -1, -1}};
    for (const auto& r : rows) {
        auto dlg = MakeRun({{r[0], r[1]}});
        const Image before = Canvas(*dlg);
        dlg->OnTimer(101);
        EXPECT_EQ(DiffCount(Frame(*dlg), ExpectedFrame(*dlg, before)), 0) << r[0] << "," << r[1];
        EXPECT_EQ(DiffCount(Canvas(*dlg), before), r[2] >= 0 ? 1 : 0) << r[0] << "," << r[1];
        EXPECT_TRUE(r[2] < 0 || Canvas(*dlg).pixel(int(r[2]), int(r[3])) == kWhite);
    }
}

TEST(FrameTest, LayeringAndBodiesFromIndexFiveOn)
{
    // The higher-numbered body covers the lower one; body 5 takes colour and row 0.
    auto dlg = MakeRun({{200, 200}, {200, 200}, {50, 50}, {60, 60}, {70, 70}, {600, 400, 3}});
    const Image canvas = Canvas(*dlg);
    dlg->OnTimer(101);
    EXPECT_EQ(DiffCount(Frame(*dlg), ExpectedFrame(*dlg, canvas)), 0);
    const QvPixel traces[][3] = {{200, 200, kGreen}, {50, 50, kYellow}, {60, 60, QvPixelOf(RGB(0, 255, 255))}, {70, 70, QvPixelOf(RGB(255, 0, 0))}, {600, 400, kWhite}};
    for (const auto& t : traces) EXPECT_EQ(Canvas(*dlg).pixel(int(t[0]), int(t[1])), t[2]) << t[0];
}

TEST(FrameTest, TracesLastInTheCanvasUntilTheTracesKey)
{
    auto dlg = MakeRun({{100, 100}});
    const Image fresh = Canvas(*dlg);
    for (int i = 0; i < 5; ++i) {
        dlg->m_system.m_Planets[0].m_dX = 100 + i;
        dlg->OnTimer(101);
    }
    EXPECT_EQ(DiffCount(Canvas(*dlg), fresh), 5);
    dlg->OnKeyDown('T', 1, 0);  // off: cleared, and no new ones
    dlg->OnTimer(101);
    EXPECT_EQ(DiffCount(Canvas(*dlg), fresh), 0);
}

TEST(FrameTest, VectorsEndWhereTheScaledValuesSayAndLabelsStandOnTheBaseline)
{
    auto dlg = MakeRun({{300, 300}, {500, 300}});
    dlg->m_bVectors = 1;
    CPlanet& p = dlg->m_system.m_Planets[0];
    p.m_dFx = 4.29, p.m_dFy = -1.55, p.m_dVx = -7.9, p.m_dVy = 25.0;  // 10·F to (42, -15), 2·v to (-15, 50)
    dlg->m_system.m_Planets[1].m_dFy = -5;                              // body 1: green, up to y = 250
    dlg->OnTimer(101);
    // Body 0's force ends at (342, 285), the 3-pixel pen's round cap one pixel
    // further and no corner; its white velocity at (285, 350), one pixel wide.
    const QvPixel pixels[][3] = {{342, 285, kWhite}, {343, 285, kWhite}, {344, 285, kBg},    {343, 284, kBg},    {342, 283, kBg},
                                 {285, 350, kWhite}, {285, 351, kBg},    {284, 350, kBg},    {501, 260, kGreen}, {499, 250, kGreen},
                                 {502, 260, kBg},    {500, 248, kBg}};
    for (const auto& e : pixels) EXPECT_EQ(Frame(*dlg).pixel(int(e[0]), int(e[1])), e[2]) << e[0] << "," << e[1];

    // The name: white, the left end of its baseline 10 pixels right of the body.
    auto one = MakeRun({{200, 300}});
    one->m_bLabels = 1;
    one->OnTimer(101);
    const Image plain = ExpectedFrame(*one, Canvas(*one)), frame = Frame(*one);
    int left = 800, right = -1, top = 600, bottom = -1;  // the box of what the label changed
    for (int k = 0; k < 800 * 600; ++k)
        if (frame.pixel(k % 800, k / 800) != plain.pixel(k % 800, k / 800))
            left = std::min(left, k % 800), right = std::max(right, k % 800), top = std::min(top, k / 800), bottom = std::max(bottom, k / 800);
    const QvGlyph& glyph = QvFindGlyph(kQvDisplayFont, U'P');
    EXPECT_TRUE(left == 210 + glyph.left && right < 210 + (glyph.advance + 32) / 64 &&  // "P" ends
                bottom == 299 && top >= 300 - kQvDisplayFont.ascent) << left << "," << top;  // on the baseline
    EXPECT_EQ(frame.pixel(left, bottom), kWhite);
}

TEST(FrameTest, ValuesThatAreNoPixelDrawNothingAndTheRunGoesOn)
{
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    for (double bad : {nan, inf, -inf, 3e9, -2147483649.0, 2147483648.0, 214748364.8}) {
        auto dlg = MakeRun({{bad, 300}, {400, bad}, {2147483647.0, -2147483648.0}});
        dlg->m_bVectors = dlg->m_bLabels = 1;
        dlg->m_system.m_Planets[2].m_dVx = 1e9;
        const Image canvas = Canvas(*dlg);
        dlg->OnTimer(101);
        EXPECT_EQ(DiffCount(Frame(*dlg), canvas), 0) << bad;
        // A body on screen with a force or velocity out of range: only that vector is missing.
        dlg->m_system.m_Planets[0].m_dX = 400, dlg->m_system.m_Planets[0].m_dFx = bad, dlg->m_system.m_Planets[0].m_dVy = bad * 5;
        dlg->m_system.m_Planets[1].m_dY = 700, dlg->m_bLabels = 0;
        dlg->OnTimer(101);
        EXPECT_EQ(DiffCount(Frame(*dlg), ExpectedFrame(*dlg, canvas)), 0) << bad;
    }
}
