// The 2-D layer: lines, the legend and the presentation on a larger screen.
#include <gtest/gtest.h>

#include <QPainter>

#include "tests/display/DisplaySupport.h"

TEST(SurfaceTest, LinesHitBothEndPointsAndClipWithoutChangingPixels)
{
    CSurface s(200, 150);
    s.DrawLine(3, 7, 150, 100, RGB(255, 0, 0), 1);
    for (int x = 0; x < 200; ++x)  // one pixel per column from end to end, none beyond
        EXPECT_EQ(DiffCount(QvImageOf(s).copy(x, 0, 1, 150), QvImageOf(CSurface(1, 150))), x >= 3 && x <= 150) << x;
    // Clipped lines draw the pixels the whole line would have drawn there.
    const int lines[][4] = {{-50, -30, 700, 400}, {190, -1000, 10, 5000}, {-2000000000, 5, 2000000000, 80},
                            {2147483647, -2147483647 - 1, -2147483647 - 1, 2147483647}, {250, 20, -40, 140}};
    for (const auto& l : lines)
        for (int width : {1, 3}) {
            CSurface small(200, 150), big(800, 600);
            small.DrawLine(l[0], l[1], l[2], l[3], RGB(255, 0, 0), width);
            big.DrawLine(l[0], l[1], l[2], l[3], RGB(255, 0, 0), width);
            EXPECT_EQ(DiffCount(QvImageOf(small), QvImageOf(big).copy(0, 0, 200, 150)), 0) << l[0] << "," << l[1];
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

TEST(SurfaceTest, TheLegendSaysWordForWordWhatThePainterDrawsAtTheBottomRight)
{
    auto dlg = MakeRun({});
    QImage expected(800, 600, QImage::Format_RGB32);
    expected.fill(kBg);
    PainterText(expected, 790, 570, QString::fromUtf8("[V]ettori; [T]racce; [E]tichette; [P]ausa; [1..9] velocità"), qRgb(255, 255, 0), TA_RIGHT | TA_BOTTOM, true, kBg);
    PainterText(expected, 790, 590, "ESC o INVIO per terminare", qRgb(255, 255, 0), TA_RIGHT | TA_BOTTOM, true, kBg);
    EXPECT_EQ(DiffCount(Canvas(*dlg), expected), 0);
}

TEST(SurfaceTest, TextFromTheGlyphSheetLandsOnThePaintersPixels)
{
    // The example names, kerned pairs, every character of Windows-1252 and
    // U+FFFD for its undefined bytes; controls and characters the sheet lacks
    // show the missing-character box, as U+0001 does.
    std::vector<std::u32string> texts = {U"Alfa Beta Castore Cometa Gamma Giove Luna Marte Mercurio", U"Pianeta Polluce Sole Sonda Terra Troiano Venere",
                                         U"AVAWATo Ty Fa P. LT r, \u00ABV\u00BB", U"\u20AC\u201A\u0192\u201E\u2026\u2020\u2021\u02C6\u2030\u0160\u2039\u0152\u017D\u2018\u2019\u201C\u201D\u2022\u2013\u2014\u02DC\u2122\u0161\u203A\u0153\u017E\u0178\uFFFD",
                                         U"a\x01b\x1F\x7F", U"Ab\tC\tD"};
    for (char32_t c = 0x20; c < 0x100; c += 32) {
        texts.emplace_back();
        for (char32_t k = c; k < c + 32; ++k) texts.back() += k < 0x7F || k >= 0xA0 ? k : U'x';
    }
    const char32_t box = 0x01, missing[] = {0x416, 0x4E2D, 0x1F600};
    const UINT aligns[] = {TA_LEFT | TA_BASELINE, TA_RIGHT | TA_BOTTOM, TA_CENTER | TA_TOP};
    for (size_t t = 0; t < texts.size() + 1; ++t) {
        const std::u32string text = t < texts.size() ? texts[t] : std::u32string(missing, 3);
        const std::u32string shown = t < texts.size() ? text : std::u32string(3, box);
        for (int k = 0; k < 3; ++k) {
            const int x = k == 0 ? -7 : k == 1 ? 597 : 580, y = k == 2 ? 2 : 298;  // cut by the edges, and not
            CSurface s(600, 300);
            s.TextOut(x, y, text, RGB(255, 255, 0), aligns[k], k == 1 ? OPAQUE : TRANSPARENT, RGB(0, 0, 32));
            QImage expected(600, 300, QImage::Format_RGB32);
            expected.fill(Qt::black);
            PainterText(expected, x, y, QString::fromStdU32String(shown), qRgb(255, 255, 0), aligns[k], k == 1, kBg);
            EXPECT_EQ(DiffCount(QvImageOf(s), expected), 0) << t << " " << k;
        }
    }
}

TEST(SurfaceTest, ThePresentationKeepsTheAspectWithCrispPixels)
{
    EXPECT_EQ(QvFrameRect({1024, 1024}, {800, 600}), QRect(0, 128, 1024, 768));  // wider screens below
    // Twice the size: black bars, every frame pixel a crisp 2×2 block.
    QImage frame(800, 600, QImage::Format_RGB32), out(1920, 1200, QImage::Format_RGB32), scaled;
    frame.fill(qRgb(1, 2, 3));
    frame.setPixel(10, 10, qRgb(255, 255, 0));
    out.fill(qRgb(9, 9, 9));
    QPainter painter(&out);
    QvPaintFrame(painter, out.size(), frame, scaled);
    painter.end();
    const int pixels[][3] = {{0, 0, 0x000000}, {1919, 1199, 0x000000}, {180, 20, 0xFFFF00}, {181, 21, 0xFFFF00}, {182, 20, 0x010203}, {179, 21, 0x010203}};
    for (const auto& e : pixels) EXPECT_EQ(out.pixel(e[0], e[1]) & 0xFFFFFF, QRgb(e[2])) << e[0] << "," << e[1];
}
