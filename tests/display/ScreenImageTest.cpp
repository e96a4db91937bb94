// The frame as a page's canvas takes it: the box on the screen, the pixels
// scaled into it, in the byte order R, G, B, A.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "platform/ScreenImage.h"

namespace {
std::vector<uint32_t> Frame(unsigned seed)
{
    std::mt19937 random(seed);
    std::vector<uint32_t> p(40 * 30);
    for (uint32_t& px : p) px = 0xFF000000u | (static_cast<uint32_t>(random()) & 0xFFFFFFu);
    return p;
}

// Pixels of `image` that are not those of `want` (0xAARRGGBB) as bytes R, G, B, A.
int Wrong(const CScreenImage& image, const std::vector<uint32_t>& want)
{
    int n = 0;
    for (size_t i = 0; i < want.size(); ++i) {
        const uint32_t p = want[i];
        const uint8_t rgba[4] = {uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p), uint8_t(p >> 24)};
        n += std::memcmp(image.Pixels() + i, rgba, 4) != 0;
    }
    return n;
}
}  // namespace

TEST(ScreenImageTest, TheBoxHoldsTheFrameScaledWithRedAndBlueWhereACanvasWantsThem)
{
    const std::vector<uint32_t> frame = Frame(1), next = Frame(2);
    CScreenImage image;
    QvFrameBox box = image.Show(frame.data(), 40, 30, 40, 30);  // unscaled
    EXPECT_TRUE(box.width == 40 && box.height == 30 && Wrong(image, frame) == 0);
    box = image.Show(frame.data(), 40, 30, 90, 60);  // twice, bars left and right: 2×2 blocks
    std::vector<uint32_t> blocks(80 * 60);
    for (size_t k = 0; k < blocks.size(); ++k) blocks[k] = frame[k / 80 / 2 * 40 + k % 80 / 2];
    EXPECT_TRUE(box.x == 5 && box.width == 80 && Wrong(image, blocks) == 0);
    // Uneven factors, smaller than the frame, a box that changes only its
    // height, then only its width: the scale's pixels.
    for (const auto& s : {std::pair{137, 101}, std::pair{29, 21}, std::pair{200, 61}, std::pair{81, 100}, std::pair{80, 100}}) {
        box = image.Show(next.data(), 40, 30, s.first, s.second);
        const QvFrameBox fit = QvFitFrame(s.first, s.second, 40, 30);
        std::vector<uint32_t> scaled(static_cast<size_t>(fit.width * fit.height));
        CFrameScale(40, 30, fit.width, fit.height).Scale(next.data(), 40, scaled.data(), fit.width);
        EXPECT_TRUE(box.x == fit.x && box.y == fit.y && box.width == fit.width && box.height == fit.height &&
                    Wrong(image, scaled) == 0) << s.first << "x" << s.second;
    }
    // Nothing to show, a box of no height, the smallest box, a huge screen.
    for (const auto& s : {std::pair{0, 600}, std::pair{800, 0}, std::pair{1, 1}})
        EXPECT_EQ(image.Show(frame.data(), 40, 30, s.first, s.second).height, 0) << s.first << "x" << s.second;
    EXPECT_EQ(image.Show(nullptr, 40, 30, 80, 60).width, 0);
    EXPECT_EQ(image.Show(frame.data(), 40, 30, 2, 1).height, 1);
    EXPECT_EQ(image.Show(frame.data(), 40, 30, 1 << 30, 1 << 30).width, kQvMaxScreenSide);
    image.Release();
    EXPECT_TRUE(image.Show(frame.data(), 40, 30, 40, 30).width == 40 && Wrong(image, frame) == 0);
}
