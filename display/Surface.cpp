#include "display/Surface.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

#include "res/GlyphSheet.h"

namespace {

__extension__ typedef __int128 Int128;

bool IsBlack(QvPixel p) { return (p & 0x00FFFFFFu) == 0; }

}  // namespace

bool QvTruncToPixel(double d, int& n)
{
    // NaN fails both comparisons; the bounds are the first values whose
    // truncation no longer fits.
    if (!(d > -2147483649.0 && d < 2147483648.0)) return false;
    n = static_cast<int>(d);
    return true;
}

CSurface::CSurface(int nWidth, int nHeight)
{
    // The platform's images stop at 2 GB; so do surfaces.
    if (nWidth <= 0 || nHeight <= 0 || static_cast<long long>(nWidth) * nHeight > (1LL << 29)) return;
    try {
        m_pixels.assign(static_cast<size_t>(nWidth) * static_cast<size_t>(nHeight), 0xFF000000u);
    } catch (const std::bad_alloc&) {
        return;
    }
    m_nWidth = nWidth;
    m_nHeight = nHeight;
}

CSurface::~CSurface()
{
    if (m_pPresenter) m_pPresenter->PrimaryGone(this);
}

void CSurface::AttachBackBuffer(CPresenter* presenter)
{
    auto back = std::make_unique<CSurface>(m_nWidth, m_nHeight);
    if (!back->IsNull()) m_pBackBuffer = std::move(back);
    m_pPresenter = presenter;
}

void CSurface::BltFast(int x, int y, const CSurface& src, const RECT& rcSrc, UINT nFlags)
{
    if (IsNull() || src.IsNull()) return;
    // Clip in 64 bits: the source rectangle to the source, then the destination.
    long long sl = rcSrc.left, st = rcSrc.top, sr = rcSrc.right, sb = rcSrc.bottom;
    long long dx = x, dy = y;
    if (sl < 0) { dx -= sl; sl = 0; }
    if (st < 0) { dy -= st; st = 0; }
    sr = std::min<long long>(sr, src.Width());
    sb = std::min<long long>(sb, src.Height());
    if (dx < 0) { sl -= dx; dx = 0; }
    if (dy < 0) { st -= dy; dy = 0; }
    sr = std::min<long long>(sr, sl + (Width() - dx));
    sb = std::min<long long>(sb, st + (Height() - dy));
    if (sr <= sl || sb <= st) return;

    const size_t w = static_cast<size_t>(sr - sl);
    const bool key = (nFlags & DDBLTFAST_SRCCOLORKEY) != 0;
    for (long long row = st; row < sb; ++row) {
        const QvPixel* s = src.m_pixels.data() + static_cast<size_t>(row) * static_cast<size_t>(src.m_nWidth) + sl;
        QvPixel* d = Row(dy + row - st) + dx;
        if (!key) {
            std::memmove(d, s, w * sizeof(QvPixel));
        } else {
            for (size_t i = 0; i < w; ++i)
                if (!IsBlack(s[i])) d[i] = s[i];
        }
    }
}

void CSurface::CopyPixels(const QvPixel* pixels, int w, int h, size_t stride)
{
    if (w <= 0 || h <= 0) return;
    const size_t n = static_cast<size_t>(std::min(Width(), w));
    for (int row = 0; row < std::min(Height(), h); ++row)
        std::memcpy(Row(row), pixels + static_cast<size_t>(row) * stride, n * sizeof(QvPixel));
}

void CSurface::Fill(long long l, long long t, long long r, long long b, QvPixel pixel)
{
    l = std::max<long long>(l, 0), t = std::max<long long>(t, 0);
    r = std::min<long long>(r, Width()), b = std::min<long long>(b, Height());
    for (long long row = t; row < b && l < r; ++row) std::fill(Row(row) + l, Row(row) + r, pixel);
}

void CSurface::FillSolidRect(int x, int y, int cx, int cy, COLORREF color)
{
    if (IsNull() || cx <= 0 || cy <= 0) return;
    Fill(x, y, static_cast<long long>(x) + cx, static_cast<long long>(y) + cy, QvPixelOf(color));
}

void CSurface::DrawLine(int x1, int y1, int x2, int y2, COLORREF color, int nWidth)
{
    if (IsNull()) return;
    const QvPixel pixel = QvPixelOf(color);
    const int radius = nWidth > 1 ? nWidth / 2 : 0;

    // Bresenham along the longer axis ("a"), the shorter one being "b"; the
    // b offset at step k is k·db/da rounded half up, so both end points are hit.
    const bool xMajor = std::llabs(static_cast<long long>(x2) - x1) >= std::llabs(static_cast<long long>(y2) - y1);
    const long long a1 = xMajor ? x1 : y1, b1 = xMajor ? y1 : x1;
    const long long a2 = xMajor ? x2 : y2, b2 = xMajor ? y2 : x2;
    const long long da = std::llabs(a2 - a1), db = std::llabs(b2 - b1);
    const int sa = a2 >= a1 ? 1 : -1, sb = b2 >= b1 ? 1 : -1;
    const long long limitA = xMajor ? Width() : Height();

    auto stamp = [&](long long a, long long b) {
        const long long x = xMajor ? a : b, y = xMajor ? b : a;
        if (radius == 0) {
            Plot(x, y, pixel);
            return;
        }
        for (int oy = -radius; oy <= radius; ++oy)
            for (int ox = -radius; ox <= radius; ++ox)
                if (ox * ox + oy * oy <= radius * radius) Plot(x + ox, y + oy, pixel);
    };

    // Only the steps whose dot can touch the surface are walked, so lines with
    // far-away end points cost no more than short ones.
    const long long lo = -radius, hi = limitA - 1 + radius;
    long long kFrom, kTo;
    if (sa > 0) {
        kFrom = std::max<long long>(0, lo - a1);
        kTo = std::min<long long>(da, hi - a1);
    } else {
        kFrom = std::max<long long>(0, a1 - hi);
        kTo = std::min<long long>(da, a1 - lo);
    }
    if (kFrom > kTo) return;
    if (da == 0) {
        stamp(a1, b1);
        return;
    }
    const long long den = 2 * da;
    const Int128 num = static_cast<Int128>(2) * kFrom * db + da;
    long long q = static_cast<long long>(num / den);
    long long rem = static_cast<long long>(num % den);
    for (long long k = kFrom; k <= kTo; ++k) {
        stamp(a1 + sa * k, b1 + sb * q);
        rem += 2 * db;
        if (rem >= den) {
            rem -= den;
            ++q;
        }
    }
}

void CSurface::TextOut(int x, int y, std::u32string_view text, COLORREF textColor, UINT nAlign, int nBkMode,
                       COLORREF bkColor)
{
    if (IsNull() || text.empty()) return;
    const QvGlyphSheet& font = kQvDisplayFont;
    const long long w = QvLayOutText(font, text, [](const QvGlyph&, long long) {});
    const long long ascent = font.ascent, h = font.ascent + font.descent;
    long long left = x, top = y;
    if ((nAlign & TA_CENTER) == TA_CENTER) left -= w / 2;
    else if (nAlign & TA_RIGHT) left -= w;
    if ((nAlign & TA_BASELINE) == TA_BASELINE) top -= ascent;
    else if (nAlign & TA_BOTTOM) top -= h;
    if (left >= Width() || top >= Height() || left + w <= 0 || top + h <= 0) return;

    if (nBkMode == OPAQUE) Fill(left, top, left + w, top + h, QvPixelOf(bkColor));
    const QvPixel pixel = QvPixelOf(textColor);
    const long long baseline = top + ascent;
    QvLayOutText(font, text, [&](const QvGlyph& g, long long pen) {
        const long long gx = left + pen + g.left, gy = baseline + g.top;
        if (gx >= Width() || gx + g.width <= 0) return;
        const unsigned char* bits = font.bits + g.bits;
        const int stride = (g.width + 7) / 8;
        for (int row = 0; row < g.height; ++row, bits += stride)
            for (int col = 0; col < g.width; ++col)
                if (bits[col >> 3] & (0x80u >> (col & 7))) Plot(gx + col, gy + row, pixel);
    });
}

void CSurface::Flip()
{
    if (!m_pBackBuffer) return;
    m_pixels.swap(m_pBackBuffer->m_pixels);
    if (m_pPresenter) m_pPresenter->Present();
}
