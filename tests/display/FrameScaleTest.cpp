// The frame on screens of any size: where it goes and its scaled pixels,
// against a plain area average worked out in doubles.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "platform/FrameScale.h"

namespace {

// Random pixels, all four channels, in lines `stride` pixels apart.
std::vector<uint32_t> Noise(int stride, int h, unsigned seed)
{
    std::mt19937 random(seed);
    std::vector<uint32_t> p(static_cast<size_t>(stride * h));
    for (uint32_t& px : p) px = static_cast<uint32_t>(random());
    return p;
}

std::vector<uint32_t> Scaled(const std::vector<uint32_t>& src, int w, int h, int pad = 0, uint32_t fill = 0)
{
    std::vector<uint32_t> out(static_cast<size_t>((w + pad) * h), fill);
    const int stride = static_cast<int>(src.size()) / 30;
    CFrameScale(40, 30, w, h).Scale(src.data(), stride, out.data(), w + pad);
    return out;
}

}  // namespace

TEST(FrameScaleTest, TheFrameFillsTheLargestCentredBoxWithItsAspect)
{
    const int cases[][8] = {
        {1366, 768, 800, 600, 171, 0, 1024, 768},   // wider: bars left and right
        {1024, 1024, 800, 600, 0, 128, 1024, 768},  // taller: bars above and below
        {640, 480, 800, 600, 0, 0, 640, 480},       // smaller than the frame
        {1001, 601, 800, 600, 100, 0, 801, 601},    // odd sizes round the box down
        {799, 1000, 800, 600, 0, 200, 799, 599},
        {0, 768, 800, 600, 0, 0, 0, 0},  // nothing to fit in or to show
        {1366, 0, 800, 600, 0, 0, 0, 0},
        {1366, 768, 800, -600, 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        const QvFrameBox box = QvFitFrame(c[0], c[1], c[2], c[3]);
        EXPECT_TRUE(box.x == c[4] && box.y == c[5] && box.width == c[6] && box.height == c[7])
            << c[0] << "x" << c[1] << ": " << box.x << "," << box.y << " " << box.width << "x" << box.height;
    }
    const int empty[][4] = {{0, 1, 3, 2}, {1, 0, 3, 2}, {1, -1, 3, 2}, {1, 1, 3, 0}};  // a scale that writes nothing
    for (const auto& e : empty) {
        const uint32_t dot = 1;
        std::vector<uint32_t> out(6, 7u);
        CFrameScale(e[0], e[1], e[2], e[3]).Scale(&dot, 1, out.data(), 3);
        EXPECT_EQ(out, std::vector<uint32_t>(6, 7u)) << e[0] << "," << e[1] << "," << e[2] << "," << e[3];
    }
}

TEST(FrameScaleTest, EachPixelIsTheAverageOfTheAreaItCoversExactlySoAtWholeFactors)
{
    const std::vector<uint32_t> src = Noise(40, 30, 1);
    // Whole factors (the nearest pixel), 1.28 and 1.8 as on common screens, a
    // large factor, uneven ones, and smaller than the frame.
    const int sizes[][2] = {{40, 30}, {80, 60}, {120, 90}, {80, 90}, {51, 38}, {72, 54}, {137, 101},
                            {41, 30}, {40, 31}, {39, 29}, {29, 21}, {13, 10}, {1, 1}};
    for (const auto& s : sizes) {
        const std::vector<uint32_t> out = Scaled(src, s[0], s[1]);
        const double sx = 40.0 / s[0], sy = 30.0 / s[1];
        double worst = 0, total = 0;
        for (int k = 0; k < s[0] * s[1] * 4; ++k) {
            const int x = k / 4 % s[0], y = k / 4 / s[0], shift = 8 * (k % 4);
            double ideal = 0;
            for (int j = static_cast<int>(y * sy); j < 30 && j < (y + 1) * sy; ++j)
                for (int i = static_cast<int>(x * sx); i < 40 && i < (x + 1) * sx; ++i)
                    ideal += (std::min((x + 1) * sx, i + 1.0) - std::max(x * sx, double(i))) *
                             (std::min((y + 1) * sy, j + 1.0) - std::max(y * sy, double(j))) *
                             (src[static_cast<size_t>(j * 40 + i)] >> shift & 0xFF) / (sx * sy);
            const double e = std::abs((out[static_cast<size_t>(k / 4)] >> shift & 0xFF) - ideal);
            worst = std::max(worst, e);
            total += e;
        }
        const bool whole = s[0] % 40 == 0 && s[1] % 30 == 0;
        EXPECT_LE(worst, whole ? 1e-6 : 1.5) << s[0] << "x" << s[1];
        EXPECT_LE(total / (s[0] * s[1] * 4), 0.4) << s[0] << "x" << s[1];
    }
}

TEST(FrameScaleTest, LinesLongerThanThePictureAreNeitherReadNorWrittenBeyondIt)
{
    for (int w : {72, 29}) {  // both ways of scaling
        const int h = w * 3 / 4;
        std::vector<uint32_t> plain = Noise(40, 30, 2), wide = Noise(49, 30, 3);
        for (int k = 0; k < 40 * 30; ++k) wide[static_cast<size_t>(k / 40 * 49 + k % 40)] = plain[static_cast<size_t>(k)];
        const std::vector<uint32_t> a = Scaled(plain, w, h), b = Scaled(wide, w, h, 5, 0x12345678u);
        int wrong = 0;
        for (int k = 0; k < (w + 5) * h; ++k)
            wrong += b[static_cast<size_t>(k)] != (k % (w + 5) < w ? a[static_cast<size_t>(k / (w + 5) * w + k % (w + 5))] : 0x12345678u);
        EXPECT_EQ(wrong, 0) << w;
    }
    const uint32_t dot = 0x80FF4020u;  // a frame of one pixel has no neighbour to read
    std::vector<uint32_t> out(6);
    CFrameScale(1, 1, 3, 2).Scale(&dot, 1, out.data(), 3);
    EXPECT_EQ(out, std::vector<uint32_t>(6, dot));
}

TEST(FrameScaleTest, AKeptScaleShowsEachNewFrame)
{
    const std::vector<uint32_t> one = Noise(40, 30, 4), two = Noise(40, 30, 5);
    for (int w : {72, 29}) {
        CFrameScale scale(40, 30, w, w * 3 / 4);
        std::vector<uint32_t> out(static_cast<size_t>(w * (w * 3 / 4)));
        scale.Scale(one.data(), 40, out.data(), w);
        scale.Scale(two.data(), 40, out.data(), w);
        EXPECT_EQ(out, Scaled(two, w, w * 3 / 4)) << w;
    }
}
