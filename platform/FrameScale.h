// The frame shown on a screen of any size: where it goes (the largest scale
// that fits, aspect kept, centred) and its pixels scaled to that size so that
// every frame pixel keeps its shape. Plain C++ over 32-bit pixels 0xAARRGGBB.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct QvFrameBox {
    int x = 0, y = 0, width = 0, height = 0;
};

// The box of a screen in which a frame of the given size is shown; all zero
// when either size is empty.
QvFrameBox QvFitFrame(int screenWidth, int screenHeight, int frameWidth, int frameHeight);

// Scales by exact area: an output pixel is the average of the frame's area it
// covers, each source pixel weighted by its share. At whole factors that is
// exactly the nearest pixel; elsewhere only the pixels on a block's edge mix
// with their neighbour, so strokes keep an even width. The tables hang on the
// two sizes alone and are made once.
class CFrameScale {
public:
    CFrameScale() = default;
    CFrameScale(int srcWidth, int srcHeight, int dstWidth, int dstHeight);

    int SrcWidth() const { return m_srcWidth; }
    int SrcHeight() const { return m_srcHeight; }
    int DstWidth() const { return m_dstWidth; }
    int DstHeight() const { return m_dstHeight; }

    // src and dst hold the two sizes' pixels, lines `srcStride` and
    // `dstStride` pixels apart. Does nothing for empty sizes.
    void Scale(const uint32_t* src, std::ptrdiff_t srcStride, uint32_t* dst, std::ptrdiff_t dstStride);

    // One axis: output pixel i takes the source pixels index[first[i]] ...
    // index[first[i + 1] - 1] with their weights, which add up to 256.
    struct Axis {
        std::vector<int> first, index, weight;
        int maxTaps = 0;
    };

private:
    void ScaleTwoTaps(const uint32_t* src, std::ptrdiff_t srcStride, uint32_t* dst, std::ptrdiff_t dstStride);
    void ScaleAnyTaps(const uint32_t* src, std::ptrdiff_t srcStride, uint32_t* dst, std::ptrdiff_t dstStride);
    // Frame row `row` scaled across, made into `into` when given.
    const uint32_t* Row(const uint32_t* src, std::ptrdiff_t srcStride, int row, uint32_t* into = nullptr);

    int m_srcWidth = 0, m_srcHeight = 0, m_dstWidth = 0, m_dstHeight = 0;
    Axis m_x, m_y;
    std::vector<int> m_left;  // across, for the two-tap scale
    std::vector<uint16_t> m_leftWeight;  // four times, once a byte
    std::vector<uint32_t> m_pairs;
    std::vector<uint32_t> m_rows[2];  // frame rows scaled across, for the two-tap scale
    int m_rowOf[2] = {-1, -1};
    const uint32_t* m_rowAt[2] = {nullptr, nullptr};
    std::vector<uint32_t> m_sums;     // per frame column, four channels summed down
};

// The axis tables of a scale from `from` pixels to `to` (both positive).
CFrameScale::Axis QvScaleAxis(int from, int to);
