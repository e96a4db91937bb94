#include "platform/FrameScale.h"

#include <algorithm>
#include <cstring>

QvFrameBox QvFitFrame(int screenWidth, int screenHeight, int frameWidth, int frameHeight)
{
    if (screenWidth <= 0 || screenHeight <= 0 || frameWidth <= 0 || frameHeight <= 0) return {};
    const long long sw = screenWidth, sh = screenHeight, fw = frameWidth, fh = frameHeight;
    long long w, h;
    if (sw * fh <= sh * fw) {
        w = sw;
        h = sw * fh / fw;
    } else {
        h = sh;
        w = sh * fw / fh;
    }
    return {static_cast<int>((sw - w) / 2), static_cast<int>((sh - h) / 2), static_cast<int>(w), static_cast<int>(h)};
}

CFrameScale::Axis QvScaleAxis(int from, int to)
{
    // In units of 1/(from·to) of the axis: source pixel i covers [i·to, (i+1)·to),
    // output pixel k covers [k·from, (k+1)·from). Each weight is the difference
    // of the rounded running share, so the weights of a pixel add up to 256
    // exactly and a pixel wholly inside one source pixel takes it unmixed.
    CFrameScale::Axis axis;
    axis.first.reserve(static_cast<size_t>(to) + 1);
    const long long n = from, m = to;
    for (long long k = 0; k < m; ++k) {
        axis.first.push_back(static_cast<int>(axis.index.size()));
        const long long a = k * n, b = a + n;
        long long done = 0;
        for (long long i = a / m; i * m < b; ++i) {
            const long long covered = std::min(b, (i + 1) * m) - a;
            const long long share = (512 * covered + n) / (2 * n);
            if (share > done) {
                axis.index.push_back(static_cast<int>(i));
                axis.weight.push_back(static_cast<int>(share - done));
            }
            done = share;
        }
        axis.maxTaps = std::max(axis.maxTaps, static_cast<int>(axis.index.size()) - axis.first.back());
    }
    axis.first.push_back(static_cast<int>(axis.index.size()));
    return axis;
}

CFrameScale::CFrameScale(int srcWidth, int srcHeight, int dstWidth, int dstHeight)
{
    if (srcWidth <= 0 || srcHeight <= 0 || dstWidth <= 0 || dstHeight <= 0) return;
    m_srcWidth = srcWidth;
    m_srcHeight = srcHeight;
    m_dstWidth = dstWidth;
    m_dstHeight = dstHeight;
    m_x = QvScaleAxis(srcWidth, dstWidth);
    m_y = QvScaleAxis(srcHeight, dstHeight);
    // Across, the two-tap scale reads each column's two neighbouring pixels at
    // once; a column inside one frame pixel takes that pixel and a neighbour
    // with no weight.
    if (m_x.maxTaps > 2 || srcWidth < 2) return;
    for (int x = 0; x < dstWidth; ++x) {
        const auto f = static_cast<size_t>(m_x.first[static_cast<size_t>(x)]);
        int left = m_x.index[f], weight = m_x.weight[f];
        if (weight == 256 && left == srcWidth - 1) --left, weight = 0;
        m_left.push_back(left);
        m_leftWeight.insert(m_leftWeight.end(), 4, static_cast<uint16_t>(weight));
    }
}

void CFrameScale::Scale(const uint32_t* src, std::ptrdiff_t srcStride, uint32_t* dst, std::ptrdiff_t dstStride)
{
    if (m_dstWidth <= 0) return;
    if (!m_left.empty() && m_y.maxTaps <= 2) ScaleTwoTaps(src, srcStride, dst, dstStride);
    else ScaleAnyTaps(src, srcStride, dst, dstStride);
}

namespace {

// Where the processor has wider vectors the blends take them (the same
// integers at any width).
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define QV_WIDE_VECTORS __attribute__((target_clones("avx2", "default")))
#else
#define QV_WIDE_VECTORS
#endif

// a·w + b·(256 − w) byte by byte, rounded, for whole lines: in 16-bit lanes
// that the compiler vectorises. The weight is one for all or one per byte.
QV_WIDE_VECTORS void BlendLines(const uint32_t* a, const uint32_t* b, uint32_t* out, int n, int w)
{
    const auto* pa = reinterpret_cast<const uint8_t*>(a);
    const auto* pb = reinterpret_cast<const uint8_t*>(b);
    auto* po = reinterpret_cast<uint8_t*>(out);
    const uint16_t wa = static_cast<uint16_t>(w), wb = static_cast<uint16_t>(256 - w);
    for (size_t k = 0, end = static_cast<size_t>(n) * 4; k < end; ++k)
        po[k] = static_cast<uint8_t>(static_cast<uint16_t>(pa[k] * wa + pb[k] * wb + 128) >> 8);
}

QV_WIDE_VECTORS void BlendLines(const uint32_t* a, const uint32_t* b, uint32_t* out, int n, const uint16_t* w)
{
    const auto* pa = reinterpret_cast<const uint8_t*>(a);
    const auto* pb = reinterpret_cast<const uint8_t*>(b);
    auto* po = reinterpret_cast<uint8_t*>(out);
    for (size_t k = 0, end = static_cast<size_t>(n) * 4; k < end; ++k)
        po[k] = static_cast<uint8_t>(static_cast<uint16_t>(pa[k] * w[k] + pb[k] * (256 - w[k]) + 128) >> 8);
}

}  // namespace

const uint32_t* CFrameScale::Row(const uint32_t* src, std::ptrdiff_t srcStride, int row, uint32_t* into)
{
    for (int k = 0; k < 2; ++k)
        if (m_rowOf[k] == row) {
            if (into) std::memcpy(into, m_rowAt[k], static_cast<size_t>(m_dstWidth) * sizeof(uint32_t));
            return m_rowAt[k];
        }
    // Rows are asked for in rising order: the older of the two goes. A row
    // made straight into the target is read from there.
    const int k = m_rowOf[0] < m_rowOf[1] ? 0 : 1;
    m_rows[k].resize(static_cast<size_t>(m_dstWidth));
    uint32_t* out = into ? into : m_rows[k].data();
    const uint32_t* s = src + row * srcStride;
    // Each column's pair gathered, then blended like lines.
    m_pairs.resize(static_cast<size_t>(m_dstWidth) * 2);
    uint32_t* left = m_pairs.data();
    uint32_t* right = left + m_dstWidth;
    for (size_t x = 0; x < static_cast<size_t>(m_dstWidth); ++x) {
        uint64_t pair;
        std::memcpy(&pair, s + m_left[x], sizeof pair);
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
        pair = pair << 32 | pair >> 32;
#endif
        left[x] = static_cast<uint32_t>(pair);
        right[x] = static_cast<uint32_t>(pair >> 32);
    }
    BlendLines(left, right, out, m_dstWidth, m_leftWeight.data());
    m_rowOf[k] = row;
    m_rowAt[k] = out;
    return out;
}

void CFrameScale::ScaleTwoTaps(const uint32_t* src, std::ptrdiff_t srcStride, uint32_t* dst, std::ptrdiff_t dstStride)
{
    m_rowOf[0] = m_rowOf[1] = -1;  // a new frame
    for (int y = 0; y < m_dstHeight; ++y) {
        const int f = m_y.first[static_cast<size_t>(y)];
        const int r = m_y.index[static_cast<size_t>(f)];
        uint32_t* d = dst + y * dstStride;
        if (m_y.first[static_cast<size_t>(y) + 1] - f == 1) {
            Row(src, srcStride, r, d);
        } else {
            const uint32_t* upper = Row(src, srcStride, r);
            const uint32_t* lower = Row(src, srcStride, m_y.index[static_cast<size_t>(f) + 1]);
            BlendLines(upper, lower, d, m_dstWidth, m_y.weight[static_cast<size_t>(f)]);
        }
    }
}

void CFrameScale::ScaleAnyTaps(const uint32_t* src, std::ptrdiff_t srcStride, uint32_t* dst, std::ptrdiff_t dstStride)
{
    // Down the rows first into per-column sums (at most 255·256 a channel),
    // then across; a single rounding at the end.
    m_sums.resize(static_cast<size_t>(m_srcWidth) * 4);
    for (int y = 0; y < m_dstHeight; ++y) {
        std::fill(m_sums.begin(), m_sums.end(), 0u);
        for (int t = m_y.first[static_cast<size_t>(y)]; t < m_y.first[static_cast<size_t>(y) + 1]; ++t) {
            const uint32_t* s = src + m_y.index[static_cast<size_t>(t)] * srcStride;
            const auto w = static_cast<uint32_t>(m_y.weight[static_cast<size_t>(t)]);
            for (int c = 0; c < m_srcWidth; ++c)
                for (int ch = 0; ch < 4; ++ch)
                    m_sums[static_cast<size_t>(c) * 4 + static_cast<size_t>(ch)] += (s[c] >> (8 * ch) & 0xFFu) * w;
        }
        uint32_t* d = dst + y * dstStride;
        for (int x = 0; x < m_dstWidth; ++x) {
            uint32_t acc[4] = {32768, 32768, 32768, 32768};
            for (int t = m_x.first[static_cast<size_t>(x)]; t < m_x.first[static_cast<size_t>(x) + 1]; ++t) {
                const size_t c = static_cast<size_t>(m_x.index[static_cast<size_t>(t)]) * 4;
                const auto w = static_cast<uint32_t>(m_x.weight[static_cast<size_t>(t)]);
                for (int ch = 0; ch < 4; ++ch) acc[ch] += m_sums[c + static_cast<size_t>(ch)] * w;
            }
            d[x] = (acc[0] >> 16) | (acc[1] >> 16 << 8) | (acc[2] >> 16 << 16) | (acc[3] >> 16 << 24);
        }
    }
}
