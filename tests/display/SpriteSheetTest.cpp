// The sprite sheet as loaded: grid, sizes, hues and the black that makes it
// transparent.
#include <gtest/gtest.h>

#include "display/Bitmap.h"
#include "res/SpriteSheet.h"
#include "tests/display/DisplaySupport.h"

TEST(SpriteSheetTest, CellsHoldLitSpheresOfTheirRowsHueAndColumnsSize)
{
    CSurface surface(400, 150);
    ASSERT_TRUE(QvLoadBitmap(kQvSpriteSheet, kQvSpriteSheetSize, surface));
    const Image sheet(surface);
    const int diameters[10] = {14, 16, 18, 18, 20, 22, 22, 24, 26, 28};
    // Each row's hue is its body colour, scaled: grey, green, yellow, cyan, red.
    const int hue[5][3] = {{1, 1, 1}, {0, 1, 0}, {1, 1, 0}, {0, 1, 1}, {1, 0, 0}};
    for (int row = 0; row < 5; ++row)
        for (int col = 0; col < 10; ++col) {
            SCOPED_TRACE(testing::Message() << "row " << row << " column " << col);
            const int ox = 40 * col, oy = 30 * row, d = diameters[col];
            int minX = 40, maxX = -1, minY = 30, maxY = -1;
            for (int y = 0; y < 30; ++y)
                for (int x = 0; x < 40; ++x) {
                    const QvPixel p = sheet.pixel(ox + x, oy + y);
                    const int r = p >> 16 & 0xFF, g = p >> 8 & 0xFF, b = p & 0xFF;
                    const double dist2 = (x - 20.0) * (x - 20.0) + (y - 15.0) * (y - 15.0);
                    const bool black = (p & 0xFFFFFF) == 0;
                    // Inside the sphere nothing is black; well outside, everything is.
                    ASSERT_TRUE(dist2 > (d / 2.0 - 1) * (d / 2.0 - 1) || !black) << x << "," << y;
                    ASSERT_TRUE(dist2 < (d / 2.0 + 1) * (d / 2.0 + 1) || black) << x << "," << y;
                    if (black) continue;
                    minX = std::min(minX, x), maxX = std::max(maxX, x);
                    minY = std::min(minY, y), maxY = std::max(maxY, y);
                    const int v = std::max({r, g, b});
                    ASSERT_EQ(r, hue[row][0] * v) << x << "," << y;
                    ASSERT_EQ(g, hue[row][1] * v) << x << "," << y;
                    ASSERT_EQ(b, hue[row][2] * v) << x << "," << y;
                }
            // Exactly as wide and high as the column's diameter, around (20, 15).
            EXPECT_EQ(maxX - minX + 1, d);
            EXPECT_EQ(maxY - minY + 1, d);
            EXPECT_EQ(minX, 20 - d / 2);
            EXPECT_EQ(minY, 15 - d / 2);
        }
}

TEST(SpriteSheetTest, TheReaderTakesBottomUp24BitBitmapsAndRefusesTheRestLeavingTheSurface)
{
    const std::vector<uint8_t> good(kQvSpriteSheet, kQvSpriteSheet + kQvSpriteSheetSize);
    // Byte, new value: signature, header size, planes, bits per pixel,
    // compression, width 0, height 0 and negative, pixels past the end.
    const std::pair<size_t, uint8_t> changes[] = {{0, 'X'}, {14, 12}, {26, 2}, {28, 32}, {30, 1}, {18, 0},
                                                  {22, 0},  {25, 0xFF}, {11, 0xFF}};
    std::vector<std::vector<uint8_t>> bad{{}, std::vector<uint8_t>(good.begin(), good.begin() + 53),
                                          std::vector<uint8_t>(good.begin(), good.end() - 1)};
    for (const auto& c : changes) {
        bad.push_back(good);
        bad.back()[c.first] = c.second;
        if (c.first == 18 || c.first == 22) bad.back()[c.first + 1] = 0;
    }
    // A 2×2 bitmap: rows bottom-up, each padded to 8 bytes, blue green red.
    std::vector<uint8_t> small(good.begin(), good.begin() + 54);
    small[18] = small[22] = 2, small[19] = small[23] = 0;
    for (int b : {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0}) small.push_back(uint8_t(b));
    CSurface tiny(3, 3);
    ASSERT_TRUE(QvLoadBitmap(small.data(), small.size(), tiny));
    EXPECT_TRUE(tiny.Pixel(0, 0) == 0xFF090807u && tiny.Pixel(1, 0) == 0xFF0C0B0Au && tiny.Pixel(0, 1) == 0xFF030201u &&
                tiny.Pixel(1, 1) == 0xFF060504u && tiny.Pixel(2, 2) == 0xFF000000u);
    bad.push_back(std::vector<uint8_t>(small.begin(), small.end() - 1));
    for (const auto& b : bad) {
        CSurface s(400, 150);
        s.FillSolidRect(0, 0, 400, 150, RGB(1, 2, 3));
        EXPECT_FALSE(QvLoadBitmap(b.data(), b.size(), s)) << &b - bad.data();
        EXPECT_EQ(s.Pixel(399, 149), QvPixelOf(RGB(1, 2, 3)));
    }
}
