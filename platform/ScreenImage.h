// The frame as a screen of some size shows it, for a page's canvas: the box it
// fills (QvFitFrame) and its pixels scaled into that box (CFrameScale), in the
// byte order R, G, B, A that a canvas takes. The scale's tables and the
// buffers are kept while the sizes stay the same. Plain C++.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/FrameScale.h"

// Sides beyond this are taken as this: no real screen has more device pixels,
// and the box's buffer stays below 200 MB.
constexpr int kQvMaxScreenSide = 8192;

class CScreenImage {
public:
    // w×h pixels 0xFFRRGGBB, rows packed, on a screen of screenWidth×screenHeight
    // pixels: the box they fill there, all zero when nothing can be shown.
    QvFrameBox Show(const uint32_t* frame, int w, int h, int screenWidth, int screenHeight);
    // The box's pixels of the last Show, rows packed, bytes R, G, B, A.
    const uint32_t* Pixels() const { return m_out.data(); }
    // Gives the buffers back (the end of a run).
    void Release();

private:
    CFrameScale m_scale;
    std::vector<uint32_t> m_swapped;  // the frame in the canvas's byte order
    std::vector<uint32_t> m_out;
};

// 0xAARRGGBB becomes 0xAABBGGRR: in memory B, G, R, A becomes R, G, B, A.
void QvSwapRedBlue(const uint32_t* src, uint32_t* dst, size_t n);
