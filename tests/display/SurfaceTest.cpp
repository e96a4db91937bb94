// The 2-D layer: lines, copies and the legend.
#include <gtest/gtest.h>

#include "tests/display/DisplaySupport.h"

TEST(SurfaceTest, LinesHitBothEndPointsAndClipWithoutChangingPixels)
{
    CSurface s(200, 150);
    s.DrawLine(3, 7, 150, 100, RGB(255, 0, 0), 1);
    for (int x = 0; x < 200; ++x)  // one pixel per column from end to end, none beyond
        EXPECT_EQ(DiffCount(Image(s).copy(x, 0, 1, 150), Image(1, 150, kBlack)), x >= 3 && x <= 150) << x;
    // Clipped lines draw the pixels the whole line would have drawn there.
    const int lines[][4] = {{-50, -30, 700, 400}, {190, -1000, 10, 5000}, {-2000000000, 5, 2000000000, 80},
                            {2147483647, -2147483647 - 1, -2147483647 - 1, 2147483647}, {250, 20, -40, 140}};
    for (const auto& l : lines)
        for (int width : {1, 3}) {
            CSurface small(200, 150), big(800, 600);
            small.DrawLine(l[0], l[1], l[2], l[3], RGB(255, 0, 0), width);
            big.DrawLine(l[0], l[1], l[2], l[3], RGB(255, 0, 0), width);
            EXPECT_EQ(DiffCount(Image(small), Image(big).copy(0, 0, 200, 150)), 0) << l[0] << "," << l[1];
        }
}

TEST(SurfaceTest, CopiesSkipWhatLiesOutsideEitherSurfaceAndWithTheKeyTheBlack)
{
    CSurface src(4, 4);
    for (int k = 0; k < 16; ++k) src.FillSolidRect(k % 4, k / 4, 1, 1, RGB(0, 0, k * 16));  // (0, 0) stays black
    for (UINT flags : {DDBLTFAST_WAIT, DDBLTFAST_SRCCOLORKEY}) {
        CSurface dst(10, 8);
        dst.FillSolidRect(0, 0, 10, 8, RGB(9, 9, 9));
        dst.BltFast(3, 2, src, RECT{-1, -2, 6, 5}, flags);  // source (0, 0) lands on (4, 4)
        dst.BltFast(-3, 7, src, RECT{0, 0, 4, 4}, flags);   // only source (3, 0)
        dst.BltFast(8, 0, src, RECT{0, 0, 4, 1}, flags);    // source (0, 0) and (1, 0)
        for (int k = 0; k < 80; ++k) {
            const int x = k % 10, y = k / 10, sx = x - 4, sy = y - 4;
            QvPixel want = x == 0 && y == 7 ? src.Pixel(3, 0) : y == 0 && x >= 8 ? src.Pixel(x - 8, 0)
                         : sx >= 0 && sx < 4 && sy >= 0 && sy < 4 ? src.Pixel(sx, sy) : QvPixelOf(RGB(9, 9, 9));
            if (flags == DDBLTFAST_SRCCOLORKEY && want == 0xFF000000u) want = QvPixelOf(RGB(9, 9, 9));
            EXPECT_EQ(dst.Pixel(x, y), want) << x << "," << y << " " << flags;
        }
    }
}

TEST(SurfaceTest, TheLegendSaysWordForWordTwoLinesAtTheBottomRight)
{
    // The canvas of a run is the background with the two lines, yellow, each
    // ending 10 pixels left of the frame's right edge.
    CSurface expected(800, 600);
    expected.FillSolidRect(0, 0, 800, 600, RGB(0, 0, 32));
    expected.TextOut(790, 570, U"[V]ettori; [T]racce; [E]tichette; [P]ausa; [1..9] velocit\u00E0", RGB(255, 255, 0), TA_RIGHT | TA_BOTTOM, OPAQUE, RGB(0, 0, 32));
    expected.TextOut(790, 590, U"ESC o INVIO per terminare", RGB(255, 255, 0), TA_RIGHT | TA_BOTTOM, OPAQUE, RGB(0, 0, 32));
    const Image canvas = Canvas(*MakeRun({}));
    EXPECT_EQ(DiffCount(canvas, Image(expected)), 0);
    // Yellow where the text is, the background everywhere else.
    int yellow = 0;
    for (QvPixel p : canvas.pixels) yellow += p == kYellow ? 1 : p == kBg ? 0 : 1000000;
    EXPECT_TRUE(yellow > 500 && yellow < 5000) << yellow;
}
