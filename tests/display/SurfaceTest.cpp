// The 2-D layer: lines, the legend and the presentation on a larger screen.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QPainter>

#include "tests/display/DisplaySupport.h"

TEST(SurfaceTest, LinesHitBothEndPointsAndClipWithoutChangingPixels)
{
    CSurface s(200, 150);
    s.DrawLine(3, 7, 150, 100, RGB(255, 0, 0), 1);
    for (int x = 0; x < 200; ++x)  // one pixel per column from end to end, none beyond
        EXPECT_EQ(DiffCount(s.Image().copy(x, 0, 1, 150), CSurface(1, 150).Image()), x >= 3 && x <= 150) << x;
    // Clipped lines draw the pixels the whole line would have drawn there.
    const int lines[][4] = {{-50, -30, 700, 400}, {190, -1000, 10, 5000}, {-2000000000, 5, 2000000000, 80},
                            {2147483647, -2147483647 - 1, -2147483647 - 1, 2147483647}, {250, 20, -40, 140}};
    for (const auto& l : lines)
        for (int width : {1, 3}) {
            CSurface small(200, 150), big(800, 600);
            small.DrawLine(l[0], l[1], l[2], l[3], RGB(255, 0, 0), width);
            big.DrawLine(l[0], l[1], l[2], l[3], RGB(255, 0, 0), width);
            EXPECT_EQ(DiffCount(small.Image(), big.Image().copy(0, 0, 200, 150)), 0) << l[0] << "," << l[1];
        }
}

TEST(SurfaceTest, LegendStandsAtTheBottomRightInYellowOnTheBackground)
{
    auto dlg = MakeRun({});
    const QFontMetrics fm(QvDisplayFont());
    const int w = fm.horizontalAdvance(QString::fromUtf8("[V]ettori; [T]racce; [E]tichette; [P]ausa; [1..9] velocità"));
    QRect ink;  // of the two lines, the first right-aligned at (790, 570), the second at (790, 590)
    for (int k = 0; k < 800 * 600; ++k) {
        const QRgb p = Canvas(*dlg).pixel(k % 800, k / 800);
        ASSERT_TRUE(p == kBg || p == qRgb(255, 255, 0)) << k % 800 << "," << k / 800;
        if (p != kBg) ink |= QRect(k % 800, k / 800, 1, 1);
    }
    EXPECT_TRUE(ink.left() >= 790 - w && ink.left() < 793 - w && ink.right() >= 786 && ink.right() < 790 &&
                ink.top() >= 570 - fm.ascent() - fm.descent() && ink.bottom() < 590 && ink.bottom() >= 590 - fm.descent()) << ink.left() << "," << ink.top();
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
