// The frame as a page's canvas takes it: the box on the screen, the pixels
// scaled into it, red and blue in the canvas's byte order.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "display/ScreenImage.h"

namespace {

std::vector<uint32_t> Frame(int w, int h, unsigned seed)
{
    std::mt19937 random(seed);
    std::vector<uint32_t> p(static_cast<size_t>(w * h));
    for (uint32_t& px : p) px = 0xFF000000u | (static_cast<uint32_t>(random()) & 0xFFFFFFu);
    return p;
}

// The bytes R, G, B, A of a 0xAARRGGBB pixel.
std::vector<uint8_t> Rgba(uint32_t p) { return {uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p), uint8_t(p >> 24)}; }

std::vector<uint8_t> BytesAt(const uint32_t* pixels, size_t i)
{
    std::vector<uint8_t> b(4);
    std::memcpy(b.data(), pixels + i, 4);
    return b;
}

}  // namespace

TEST(ScreenImageTest, TheBoxHoldsTheFrameScaledWithRedAndBlueWhereACanvasWantsThem)
{
    const std::vector<uint32_t> frame = Frame(40, 30, 1);
    CScreenImage image;
    // The frame's own size: its pixels, unscaled.
    QvFrameBox box = image.Show(frame.data(), 40, 30, 40, 30);
    EXPECT_TRUE(box.x == 0 && box.y == 0 && box.width == 40 && box.height == 30);
    int wrong = 0;
    for (size_t i = 0; i < frame.size(); ++i) wrong += BytesAt(image.Pixels(), i) != Rgba(frame[i]);
    EXPECT_EQ(wrong, 0);
    // Twice the size with bars left and right: each frame pixel a 2×2 block.
    box = image.Show(frame.data(), 40, 30, 90, 60);
    EXPECT_TRUE(box.x == 5 && box.y == 0 && box.width == 80 && box.height == 60);
    for (int k = 0; k < 80 * 60; ++k)
        wrong += BytesAt(image.Pixels(), static_cast<size_t>(k)) != Rgba(frame[static_cast<size_t>(k / 80 / 2 * 40 + k % 80 / 2)]);
    EXPECT_EQ(wrong, 0);
    // A screen that changes size between frames, uneven factors, smaller than
    // the frame, a box that changes only its height, then only its width: the
    // scale's pixels, swapped.
    const std::vector<uint32_t> next = Frame(40, 30, 2);
    for (const auto& s : {std::pair{72, 60}, std::pair{137, 101}, std::pair{29, 21}, std::pair{200, 61},
                          std::pair{81, 100}, std::pair{80, 100}, std::pair{72, 60}}) {
        box = image.Show(next.data(), 40, 30, s.first, s.second);
        const QvFrameBox fit = QvFitFrame(s.first, s.second, 40, 30);
        ASSERT_TRUE(box.x == fit.x && box.y == fit.y && box.width == fit.width && box.height == fit.height);
        std::vector<uint32_t> scaled(static_cast<size_t>(box.width * box.height));
        CFrameScale(40, 30, box.width, box.height).Scale(next.data(), 40, scaled.data(), box.width);
        for (size_t i = 0; i < scaled.size(); ++i) wrong += BytesAt(image.Pixels(), i) != Rgba(scaled[i]);
        EXPECT_EQ(wrong, 0) << s.first << "x" << s.second;
    }
}

TEST(ScreenImageTest, NothingToShowGivesAnEmptyBoxAndHugeScreensAreBounded)
{
    const std::vector<uint32_t> frame = Frame(40, 30, 3);
    CScreenImage image;
    for (const auto& s : {std::pair{0, 600}, std::pair{800, 0}, std::pair{-5, 600}, std::pair{1, 1}}) {
        const QvFrameBox box = image.Show(frame.data(), 40, 30, s.first, s.second);
        EXPECT_TRUE(box.width == 0 && box.height == 0) << s.first << "x" << s.second;
    }
    const QvFrameBox dot = image.Show(frame.data(), 40, 30, 2, 1);  // the smallest box there is
    EXPECT_TRUE(dot.width == 1 && dot.height == 1);
    EXPECT_EQ(image.Show(nullptr, 40, 30, 80, 60).width, 0);
    const QvFrameBox huge = image.Show(frame.data(), 40, 30, 1 << 30, 1 << 30);
    EXPECT_TRUE(huge.width == kQvMaxScreenSide && huge.height == kQvMaxScreenSide * 3 / 4);
    image.Release();
    const QvFrameBox again = image.Show(frame.data(), 40, 30, 40, 30);
    EXPECT_TRUE(again.width == 40 && BytesAt(image.Pixels(), 39) == Rgba(frame[39]));
}
