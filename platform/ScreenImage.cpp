#include "platform/ScreenImage.h"

#include <algorithm>

void QvSwapRedBlue(const uint32_t* src, uint32_t* dst, size_t n)
{
    for (size_t i = 0; i < n; ++i) {
        const uint32_t p = src[i];
        dst[i] = (p & 0xFF00FF00u) | (p >> 16 & 0xFFu) | (p & 0xFFu) << 16;
    }
}

QvFrameBox CScreenImage::Show(const uint32_t* frame, int w, int h, int screenWidth, int screenHeight)
{
    const QvFrameBox box = frame ? QvFitFrame(std::min(screenWidth, kQvMaxScreenSide),
                                              std::min(screenHeight, kQvMaxScreenSide), w, h)
                                 : QvFrameBox{};
    if (box.width <= 0 || box.height <= 0) return {};  // a tiny screen can give a box of no height
    const size_t frameSize = static_cast<size_t>(w) * static_cast<size_t>(h);
    m_out.resize(static_cast<size_t>(box.width) * static_cast<size_t>(box.height));
    if (box.width == w && box.height == h) {
        QvSwapRedBlue(frame, m_out.data(), frameSize);
        return box;
    }
    // The scale treats the four bytes of a pixel alike, so swapping the frame
    // first gives the same pixels as swapping the box, and the frame is
    // smaller than the box on every screen larger than it.
    m_swapped.resize(frameSize);
    QvSwapRedBlue(frame, m_swapped.data(), frameSize);
    if (m_scale.SrcWidth() != w || m_scale.SrcHeight() != h || m_scale.DstWidth() != box.width ||
        m_scale.DstHeight() != box.height)
        m_scale = CFrameScale(w, h, box.width, box.height);
    m_scale.Scale(m_swapped.data(), w, m_out.data(), box.width);
    return box;
}

void CScreenImage::Release()
{
    m_scale = CFrameScale();
    m_swapped = {};
    m_out = {};
}
