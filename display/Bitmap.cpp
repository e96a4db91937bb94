#include "display/Bitmap.h"

#include <vector>

#include "display/Surface.h"

namespace {
uint32_t Get(const uint8_t* p, int n)
{
    uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i) v = (v << 8) | p[i];
    return v;
}
}  // namespace

bool QvLoadBitmap(const uint8_t* data, size_t size, CSurface& surface)
{
    // File header (14 bytes), then an information header of at least 40.
    if (!data || size < 54 || data[0] != 'B' || data[1] != 'M') return false;
    const uint32_t offset = Get(data + 10, 4), infoSize = Get(data + 14, 4);
    const int32_t w = static_cast<int32_t>(Get(data + 18, 4)), h = static_cast<int32_t>(Get(data + 22, 4));
    if (infoSize < 40 || Get(data + 26, 2) != 1 || Get(data + 28, 2) != 24 || Get(data + 30, 4) != 0) return false;
    // Bottom-up rows only, as the generator writes them.
    if (w <= 0 || h <= 0 || w > 65535 || h > 65535) return false;
    const size_t rows = static_cast<size_t>(h);
    const size_t stride = (static_cast<size_t>(w) * 3 + 3) & ~size_t(3);
    if (offset > size || (size - offset) / stride < rows) return false;

    std::vector<QvPixel> pixels(static_cast<size_t>(w) * rows);
    for (size_t y = 0; y < rows; ++y) {
        const uint8_t* s = data + offset + stride * (rows - 1 - y);
        QvPixel* d = pixels.data() + y * static_cast<size_t>(w);
        for (int x = 0; x < w; ++x, s += 3) d[x] = 0xFF000000u | Get(s, 3);
    }
    surface.CopyPixels(pixels.data(), w, h, static_cast<size_t>(w));
    return true;
}
