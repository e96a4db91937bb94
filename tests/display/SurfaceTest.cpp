// The 2-D layer: lines, copies, text anchors, the legend and the presentation.
#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>

#include "tests/display/DisplaySupport.h"

namespace {

const QRgb kRed = qRgb(255, 0, 0);

int CountColor(const QImage& img, QRgb c, QRect area = QRect())
{
    if (area.isNull()) area = img.rect();
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (img.pixel(x, y) == c) ++n;
    return n;
}

}  // namespace

TEST(SurfaceTest, LinesHitBothEndPointsAndClipWithoutChangingPixels)
{
    CSurface s(200, 150);
    s.DrawLine(3, 7, 150, 100, RGB(255, 0, 0), 1);
    EXPECT_EQ(s.Pixel(3, 7), kRed);
    EXPECT_EQ(s.Pixel(150, 100), kRed);
    for (int x = 0; x < 200; ++x)  // one pixel per column between the ends, none beyond
        ASSERT_EQ(CountColor(s.Image(), kRed, QRect(x, 0, 1, 150)), x >= 3 && x <= 150 ? 1 : 0) << x;

    // A 3-pixel pen: 3 rows thick, round caps one pixel past each end.
    CSurface t(60, 20);
    t.DrawLine(10, 10, 30, 10, RGB(255, 0, 0), 3);
    EXPECT_EQ(CountColor(t.Image(), kRed), 21 * 3 + 2);
    EXPECT_TRUE(t.Pixel(9, 10) == kRed && t.Pixel(31, 10) == kRed && t.Pixel(9, 9) != kRed && t.Pixel(31, 11) != kRed);
    // A single point is a dot.
    CSurface u(10, 10);
    u.DrawLine(5, 5, 5, 5, RGB(255, 0, 0), 1);
    EXPECT_EQ(CountColor(u.Image(), kRed), 1);

    // Clipped lines draw the pixels the whole line would have drawn there.
    const int lines[][4] = {{-50, -30, 700, 400}, {190, -1000, 10, 5000}, {-2000000000, 5, 2000000000, 80},
                            {2147483647, -2147483647 - 1, -2147483647 - 1, 2147483647}, {250, 20, -40, 140}};
    for (const auto& l : lines) {
        for (int width : {1, 3}) {
            CSurface small(200, 150), big(800, 600);
            small.DrawLine(l[0], l[1], l[2], l[3], RGB(255, 0, 0), width);
            big.DrawLine(l[0], l[1], l[2], l[3], RGB(255, 0, 0), width);
            EXPECT_EQ(DiffCount(small.Image(), big.Image().copy(0, 0, 200, 150)), 0) << l[0] << "," << l[1];
        }
    }
    CSurface w(100, 100);
    w.DrawLine(-2000000000, 50, 2000000000, 50, RGB(255, 0, 0), 1);
    EXPECT_EQ(CountColor(w.Image(), kRed), 100);
}

TEST(SurfaceTest, CopiesClipAndSkipBlackWithTheColourKey)
{
    CSurface src(4, 2), dst(5, 5);
    src.FillSolidRect(0, 0, 4, 2, RGB(0, 255, 0));
    src.FillSolidRect(1, 0, 1, 1, RGB(0, 0, 0));
    dst.FillSolidRect(0, 0, 5, 5, RGB(0, 0, 32));
    dst.BltFast(3, 4, src, RECT{0, 0, 4, 2}, DDBLTFAST_SRCCOLORKEY);
    EXPECT_EQ(CountColor(dst.Image(), qRgb(0, 255, 0)), 1);  // one row on screen, one pixel black
    dst.BltFast(-1, 0, src, RECT{0, 0, 4, 2}, DDBLTFAST_SRCCOLORKEY);
    EXPECT_EQ(dst.Pixel(0, 0), kBg);  // the black source pixel kept the background
    EXPECT_EQ(dst.Pixel(1, 0), qRgb(0, 255, 0));
    dst.BltFast(-1, 0, src, RECT{0, 0, 4, 2}, DDBLTFAST_WAIT);
    EXPECT_EQ(dst.Pixel(0, 0), qRgb(0, 0, 0));
    // Rectangles partly or wholly outside either surface are safe.
    dst.BltFast(0, 0, src, RECT{-10, -10, 100, 100}, DDBLTFAST_WAIT);
    dst.BltFast(2147483647, -2147483647, src, RECT{0, 0, 4, 2}, DDBLTFAST_WAIT);
    dst.FillSolidRect(-2147483643, -5, 2147483647, 7, RGB(1, 2, 3));
    EXPECT_EQ(dst.Pixel(3, 1), qRgb(1, 2, 3));
    EXPECT_EQ(dst.Pixel(4, 1), kBg);
    EXPECT_EQ(dst.Pixel(3, 2), kBg);
}

TEST(SurfaceTest, LegendStandsAtTheBottomRightInYellowOnTheBackground)
{
    EXPECT_EQ(QFontInfo(QvDisplayFont()).family(), QStringLiteral("DejaVu Sans"));
    auto dlg = MakeRun({});
    const QImage& c = Canvas(*dlg);
    const QRgb yellow = qRgb(255, 255, 0);
    const QFontMetrics fm(QvDisplayFont());
    const int h = fm.ascent() + fm.descent();
    const int w1 = fm.horizontalAdvance(QString::fromUtf8("[V]ettori; [T]racce; [E]tichette; [P]ausa; [1..9] velocità"));
    const int w2 = fm.horizontalAdvance(QStringLiteral("ESC o INVIO per terminare"));
    const QRect line1(790 - w1, 570 - h, w1, h), line2(790 - w2, 590 - h, w2, h);
    int inside = 0;
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x) {
            const QRgb p = c.pixel(x, y);
            ASSERT_TRUE(p == kBg || (p == yellow && (line1.contains(x, y) || line2.contains(x, y)))) << x << "," << y;
            inside += p == yellow;
        }
    EXPECT_GT(inside, 400);
    // The glyphs reach close to the anchors: right edge and, for "[", the left.
    EXPECT_GT(CountColor(c, yellow, QRect(786, 570 - h, 4, h)), 0);
    EXPECT_GT(CountColor(c, yellow, QRect(790 - w1, 570 - h, 3, h)), 0);
    EXPECT_GT(CountColor(c, yellow, QRect(790 - w2, 590 - h, 3, h)), 0);
}

TEST(SurfaceTest, FlipShowsTheBackBufferAndThePresentationKeepsTheAspect)
{
    CScreen screen;
    ASSERT_TRUE(screen.SetCooperativeLevel(nullptr));
    ASSERT_TRUE(screen.SetDisplayMode(800, 600));
    auto primary = screen.CreatePrimarySurface();
    ASSERT_TRUE(primary && primary->GetAttachedSurface());
    primary->GetAttachedSurface()->FillSolidRect(0, 0, 800, 600, RGB(1, 2, 3));
    primary->Flip();
    EXPECT_EQ(primary->Pixel(799, 599), qRgb(1, 2, 3));
    EXPECT_EQ(primary->GetAttachedSurface()->Pixel(0, 0), qRgb(0, 0, 0));

    const std::pair<QSize, QRect> rects[] = {{{1920, 1080}, {240, 0, 1440, 1080}}, {{1600, 1200}, {0, 0, 1600, 1200}},
                                             {{1024, 1024}, {0, 128, 1024, 768}}, {{640, 480}, {0, 0, 640, 480}}};
    for (const auto& r : rects) EXPECT_EQ(QvFrameRect(r.first, QSize(800, 600)), r.second);

    // Twice the size: every frame pixel becomes a crisp 2×2 block.
    QImage frame(800, 600, QImage::Format_RGB32);
    frame.fill(kBg);
    frame.setPixel(10, 10, qRgb(255, 255, 0));
    QImage out(1920, 1200, QImage::Format_RGB32);
    out.fill(qRgb(9, 9, 9));
    {
        QPainter p(&out);
        QImage scaled;
        QvPaintFrame(p, out.size(), frame, scaled);
    }
    EXPECT_EQ(out.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(out.pixel(1919, 1199), qRgb(0, 0, 0));
    for (int dy = 0; dy < 2; ++dy)
        for (int dx = 0; dx < 2; ++dx) EXPECT_EQ(out.pixel(160 + 20 + dx, 20 + dy), qRgb(255, 255, 0));
    EXPECT_EQ(out.pixel(160 + 22, 20), kBg);
    EXPECT_EQ(out.pixel(160 + 19, 20), kBg);
}
