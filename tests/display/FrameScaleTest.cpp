// The frame on screens of any size: where it goes and its scaled pixels,
// against a plain area average worked out in doubles.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <vector>

#include "display/FrameScale.h"

namespace {

struct Picture {
    int width, height;
    std::ptrdiff_t stride;
    std::vector<uint32_t> pixels;
    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y * stride + x)]; }
};

// Random pixels (all four channels) in lines `pad` pixels longer than the picture.
Picture Noise(int w, int h, unsigned seed, int pad = 0)
{
    std::mt19937 random(seed);
    Picture p{w, h, w + pad, std::vector<uint32_t>(static_cast<size_t>((w + pad) * h))};
    for (uint32_t& px : p.pixels) px = static_cast<uint32_t>(random());
    return p;
}

Picture Scaled(const Picture& src, int w, int h, int pad = 0, uint32_t fill = 0)
{
    Picture out{w, h, w + pad, std::vector<uint32_t>(static_cast<size_t>((w + pad) * h), fill)};
    CFrameScale(src.width, src.height, w, h).Scale(src.pixels.data(), src.stride, out.pixels.data(), out.stride);
    return out;
}

// Channel `ch` of output pixel (x, y) as the exact average of the source area
// it covers.
double Ideal(const Picture& src, int w, int h, int x, int y, int ch)
{
    const double sx = static_cast<double>(src.width) / w, sy = static_cast<double>(src.height) / h;
    const double x0 = x * sx, x1 = (x + 1) * sx, y0 = y * sy, y1 = (y + 1) * sy;
    double sum = 0;
    for (int j = static_cast<int>(y0); j < src.height && j < y1; ++j)
        for (int i = static_cast<int>(x0); i < src.width && i < x1; ++i) {
            const double cover = (std::min(x1, i + 1.0) - std::max(x0, double(i))) *
                                 (std::min(y1, j + 1.0) - std::max(y0, double(j)));
            sum += cover * static_cast<double>(src.At(i, j) >> (8 * ch) & 0xFF);
        }
    return sum / (sx * sy);
}

}  // namespace

TEST(FrameScaleTest, TheFrameFillsTheLargestCentredBoxWithItsAspect)
{
    const int cases[][8] = {
        {1366, 768, 800, 600, 171, 0, 1024, 768},   // wider: bars left and right
        {1920, 1080, 800, 600, 240, 0, 1440, 1080},
        {1600, 1200, 800, 600, 0, 0, 1600, 1200},   // exactly twice
        {1024, 1024, 800, 600, 0, 128, 1024, 768},  // taller: bars above and below
        {640, 480, 800, 600, 0, 0, 640, 480},       // smaller than the frame
        {1001, 601, 800, 600, 100, 0, 801, 601},    // odd sizes round the box down
        {799, 1000, 800, 600, 0, 200, 799, 599},
        {7, 5, 3, 1, 0, 1, 7, 2},
        {0, 768, 800, 600, 0, 0, 0, 0},  // nothing to fit in or to show
        {1366, 768, 800, -600, 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        const QvFrameBox box = QvFitFrame(c[0], c[1], c[2], c[3]);
        EXPECT_TRUE(box.x == c[4] && box.y == c[5] && box.width == c[6] && box.height == c[7])
            << c[0] << "x" << c[1] << ": " << box.x << "," << box.y << " " << box.width << "x" << box.height;
    }
}

TEST(FrameScaleTest, WholeFactorsGiveExactlyTheNearestPixel)
{
    const Picture src = Noise(40, 30, 1);
    const int factors[][2] = {{1, 1}, {2, 2}, {3, 3}, {2, 3}, {5, 1}};
    for (const auto& f : factors) {
        const Picture out = Scaled(src, 40 * f[0], 30 * f[1]);
        int wrong = 0;
        for (int y = 0; y < out.height; ++y)
            for (int x = 0; x < out.width; ++x) wrong += out.At(x, y) != src.At(x / f[0], y / f[1]);
        EXPECT_EQ(wrong, 0) << f[0] << "x" << f[1];
    }
}

TEST(FrameScaleTest, OtherFactorsAverageTheAreaEachPixelCovers)
{
    const Picture src = Noise(40, 30, 2);
    // 1.28 and 1.8 as on common screens, a large one, uneven ones, and smaller
    // than the frame (many source pixels to a screen pixel).
    const int sizes[][2] = {{51, 38}, {72, 54}, {137, 101}, {41, 30}, {40, 31}, {39, 29}, {29, 21}, {13, 10}, {1, 1}};
    for (const auto& s : sizes) {
        const Picture out = Scaled(src, s[0], s[1]);
        double worst = 0, total = 0;
        for (int y = 0; y < s[1]; ++y)
            for (int x = 0; x < s[0]; ++x)
                for (int ch = 0; ch < 4; ++ch) {
                    const double e = std::abs((out.At(x, y) >> (8 * ch) & 0xFF) - Ideal(src, s[0], s[1], x, y, ch));
                    worst = std::max(worst, e);
                    total += e;
                }
        EXPECT_LE(worst, 1.5) << s[0] << "x" << s[1];
        EXPECT_LE(total / (s[0] * s[1] * 4), 0.4) << s[0] << "x" << s[1];
    }
}

TEST(FrameScaleTest, LinesLongerThanThePictureAreNeitherReadNorWrittenBeyondIt)
{
    // Lines padded with other pixels on both sides: the padding of the source
    // changes nothing, that of the target stays as it was.
    for (const auto& s : {std::make_pair(72, 54), std::make_pair(29, 21)}) {
        const Picture plain = Noise(40, 30, 3);
        Picture wide = Noise(40, 30, 4, 9);
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 40; ++x) wide.pixels[static_cast<size_t>(y * wide.stride + x)] = plain.At(x, y);
        const Picture a = Scaled(plain, s.first, s.second), b = Scaled(wide, s.first, s.second, 5, 0x12345678u);
        int wrong = 0;
        for (int y = 0; y < s.second; ++y)
            for (int x = 0; x < s.first + 5; ++x)
                wrong += b.At(x, y) != (x < s.first ? a.At(x, y) : 0x12345678u);
        EXPECT_EQ(wrong, 0) << s.first;
    }
}

TEST(FrameScaleTest, AKeptScaleShowsEachNewFrame)
{
    const Picture one = Noise(40, 30, 5), two = Noise(40, 30, 6);
    for (const auto& s : {std::make_pair(72, 54), std::make_pair(29, 21)}) {
        CFrameScale scale(40, 30, s.first, s.second);
        Picture out{s.first, s.second, s.first, std::vector<uint32_t>(static_cast<size_t>(s.first * s.second))};
        scale.Scale(one.pixels.data(), one.stride, out.pixels.data(), out.stride);
        scale.Scale(two.pixels.data(), two.stride, out.pixels.data(), out.stride);
        EXPECT_EQ(out.pixels, Scaled(two, s.first, s.second).pixels) << s.first;
    }
}
