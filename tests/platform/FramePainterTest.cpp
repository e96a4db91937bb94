// How the Qt platform shows surfaces: the sprite sheet as Qt reads the file,
// and the frame painted on a larger screen.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "display/Bitmap.h"
#include "res/SpriteSheet.h"
#include "tools/quorvane-run/SurfaceImage.h"

TEST(FramePainterTest, TheSpriteSheetReaderAgreesWithQtsOnTheFile)
{
    CSurface surface(400, 150);
    ASSERT_TRUE(QvLoadBitmap(kQvSpriteSheet, kQvSpriteSheetSize, surface));
    EXPECT_EQ(QvImageOf(surface), QImage(QV_SOURCE_DIR "/res/sprites.bmp").convertToFormat(QImage::Format_RGB32));
}

TEST(FramePainterTest, ThePresentationKeepsTheAspectWithCrispPixels)
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
