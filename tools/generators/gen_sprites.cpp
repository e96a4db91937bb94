// Draws the sprite sheet res/sprites.bmp: 5 rows of hues (white, green, yellow,
// cyan, red, one per body index) by 10 columns of sizes (one per mass class),
// each sphere in a 40×30 cell centred on the cell's pixel (20, 15), lit from
// the upper left, slightly mottled, on exact black, the transparent colour.
//
// Usage: gen_sprites [output.bmp]   (default res/sprites.bmp)
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

const int kCellW = 40, kCellH = 30, kCols = 10, kRows = 5;
const int kWidth = kCellW * kCols, kHeight = kCellH * kRows;
const int kDiameters[kCols] = {14, 16, 18, 18, 20, 22, 22, 24, 26, 28};

struct Rgb {
    uint8_t r, g, b;
};

// A fixed pseudo-random sequence, so that every run writes the same file.
uint32_t g_seed = 0x51A7E5u;
int Noise(int amplitude)
{
    g_seed = g_seed * 1664525u + 1013904223u;
    return static_cast<int>((g_seed >> 16) % static_cast<uint32_t>(2 * amplitude + 1)) - amplitude;
}

// The colour of a pixel of brightness v (1..255) in row `row`'s hue: the body
// colour of that index scaled, so the sprite matches its trace and vectors.
Rgb Tint(int row, int v)
{
    const uint8_t c = static_cast<uint8_t>(v);
    switch (row) {
    case 0: return {c, c, c};
    case 1: return {0, c, 0};
    case 2: return {c, c, 0};
    case 3: return {0, c, c};
    default: return {c, 0, 0};
    }
}

void DrawSphere(std::vector<Rgb>& image, int row, int col)
{
    const double radius = kDiameters[col] / 2.0;
    const int cx = col * kCellW + 20, cy = row * kCellH + 15;
    // The highlight sits 4 pixels left of and 5 above the centre; brightness
    // falls off with the distance from it to a dark but never black rim.
    const double hx = -4.0, hy = -5.0;
    const double far = radius + std::sqrt(hx * hx + hy * hy);
    for (int y = row * kCellH; y < (row + 1) * kCellH; ++y)
        for (int x = col * kCellW; x < (col + 1) * kCellW; ++x) {
            // The diameters are even: the circle's centre is the corner at the upper
            // left of pixel (20, 15), so that the sphere is exactly as wide as its
            // column says (pixels 13 to 26 for 14) and pixel (20, 15) is its middle one.
            const double dx = x - cx + 0.5, dy = y - cy + 0.5;
            if (dx * dx + dy * dy >= radius * radius) continue;  // pixel centres inside the circle
            const double d = std::hypot(dx - hx, dy - hy);
            const double shade = std::max(0.0, 1.0 - d / far);
            int v = static_cast<int>(std::lround(40.0 + 215.0 * std::pow(shade, 1.4)));
            if (d < 1.5) v = 255;  // the specular spot
            else v += Noise(7);
            v = std::clamp(v, 24, 255);
            image[static_cast<size_t>(y) * kWidth + x] = Tint(row, v);
        }
}

void Put16(std::vector<uint8_t>& out, unsigned v)
{
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v)
{
    Put16(out, v & 0xFFFFu);
    Put16(out, v >> 16);
}

}  // namespace

int main(int argc, char** argv)
{
    const char* path = argc > 1 ? argv[1] : "res/sprites.bmp";
    std::vector<Rgb> image(static_cast<size_t>(kWidth) * kHeight, Rgb{0, 0, 0});
    for (int row = 0; row < kRows; ++row)
        for (int col = 0; col < kCols; ++col) DrawSphere(image, row, col);

    // 24 bits per pixel, uncompressed, bottom-up; rows padded to 4 bytes.
    const uint32_t stride = (kWidth * 3 + 3) & ~3u;
    const uint32_t dataSize = stride * kHeight;
    std::vector<uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    Put32(out, 14 + 40 + dataSize);
    Put32(out, 0);
    Put32(out, 14 + 40);
    Put32(out, 40);
    Put32(out, kWidth);
    Put32(out, kHeight);
    Put16(out, 1);
    Put16(out, 24);
    Put32(out, 0);  // BI_RGB
    Put32(out, dataSize);
    Put32(out, 2835);
    Put32(out, 2835);
    Put32(out, 0);
    Put32(out, 0);
    for (int y = kHeight - 1; y >= 0; --y) {
        for (int x = 0; x < kWidth; ++x) {
            const Rgb& p = image[static_cast<size_t>(y) * kWidth + x];
            out.push_back(p.b);
            out.push_back(p.g);
            out.push_back(p.r);
        }
        for (uint32_t pad = kWidth * 3; pad < stride; ++pad) out.push_back(0);
    }

    FILE* f = std::fopen(path, "wb");
    if (!f) {
        std::fprintf(stderr, "gen_sprites: cannot write %s\n", path);
        return 1;
    }
    const bool ok = std::fwrite(out.data(), 1, out.size(), f) == out.size();
    if (std::fclose(f) != 0 || !ok) {
        std::fprintf(stderr, "gen_sprites: cannot write %s\n", path);
        return 1;
    }
    return 0;
}
