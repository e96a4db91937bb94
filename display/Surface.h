// The small 2-D layer under the simulation display: 32-bit pixel surfaces with
// the few operations the frame needs (rectangle copies with or without black as
// the transparent colour, filled rectangles, lines, text). Plain C++: whatever
// shows a frame (a window, a file) reads the pixels as they are.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/Afx.h"

// Colours as 0x00BBGGRR, like the original platform's.
typedef unsigned int COLORREF;
constexpr COLORREF RGB(int r, int g, int b)
{
    return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int GetRValue(COLORREF c) { return static_cast<int>(c & 0xFF); }
constexpr int GetGValue(COLORREF c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int GetBValue(COLORREF c) { return static_cast<int>((c >> 16) & 0xFF); }
// A pixel of a surface: 0xFFRRGGBB, which is how a 32-bit RGB image of the
// platform stores it, so that a frame is shown without conversion.
typedef uint32_t QvPixel;
constexpr QvPixel QvPixelOf(COLORREF c)
{
    return 0xFF000000u | (static_cast<QvPixel>(GetRValue(c)) << 16) | (static_cast<QvPixel>(GetGValue(c)) << 8) |
           static_cast<QvPixel>(GetBValue(c));
}

struct RECT {
    int left, top, right, bottom;
};

// Copy flags: black source pixels are not copied with DDBLTFAST_SRCCOLORKEY.
enum : UINT { DDBLTFAST_NOCOLORKEY = 0x0, DDBLTFAST_SRCCOLORKEY = 0x1, DDBLTFAST_WAIT = 0x10 };
// Text alignment: the point given to TextOut is the left, right, top, bottom or
// baseline of the text's cell as these flags say.
enum : UINT { TA_LEFT = 0x0, TA_RIGHT = 0x2, TA_CENTER = 0x6, TA_TOP = 0x0, TA_BOTTOM = 0x8, TA_BASELINE = 0x18 };
enum : int { TRANSPARENT = 1, OPAQUE = 2 };

class CSurface;

// What shows a primary surface: told of every flip and of the surface's end.
class CPresenter {
public:
    virtual void Present() = 0;
    virtual void PrimaryGone(CSurface* pPrimary) = 0;

protected:
    ~CPresenter() = default;
};

class CSurface {
public:
    // A black surface; IsNull() when it could not be allocated.
    CSurface(int nWidth, int nHeight);
    ~CSurface();
    CSurface(const CSurface&) = delete;
    CSurface& operator=(const CSurface&) = delete;

    bool IsNull() const { return m_pixels.empty(); }
    int Width() const { return m_nWidth; }
    int Height() const { return m_nHeight; }
    // Rows top to bottom, Width() pixels each, no padding.
    const QvPixel* Bits() const { return m_pixels.data(); }
    QvPixel Pixel(int x, int y) const { return m_pixels[static_cast<size_t>(y) * static_cast<size_t>(m_nWidth) + static_cast<size_t>(x)]; }

    // Copies rcSrc of src to (x, y). The parts of the rectangle that lie outside
    // either surface are skipped, so any rectangle is safe. With
    // DDBLTFAST_SRCCOLORKEY black source pixels leave the destination as it was.
    void BltFast(int x, int y, const CSurface& src, const RECT& rcSrc, UINT nFlags);
    // Copies w×h pixels, rows `stride` pixels apart, to (0, 0), as far as they fit.
    void CopyPixels(const QvPixel* pixels, int w, int h, size_t stride);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF color);
    // A straight line from (x1, y1) to (x2, y2), both end points drawn. Width 1 is
    // one pixel per step of the longer axis; wider pens put a round dot of their
    // width on each of those pixels, which also gives round end caps.
    void DrawLine(int x1, int y1, int x2, int y2, COLORREF color, int nWidth);
    // Text in the display font at (x, y) placed by the TA_ flags; with OPAQUE the
    // text's cell is first filled with bkColor.
    void TextOut(int x, int y, std::u32string_view text, COLORREF textColor, UINT nAlign, int nBkMode,
                 COLORREF bkColor = RGB(255, 255, 255));

    // Primary surfaces only: the attached back buffer, and Flip, which makes the
    // back buffer's content the visible one and shows it.
    CSurface* GetAttachedSurface() const { return m_pBackBuffer.get(); }
    void Flip();
    // Makes this a primary surface shown by `presenter`, with a back buffer of
    // its size when one can be had.
    void AttachBackBuffer(CPresenter* presenter);
    void Detach() { m_pPresenter = nullptr; }

private:
    void Fill(long long l, long long t, long long r, long long b, QvPixel pixel);
    void Plot(long long x, long long y, QvPixel pixel)
    {
        if (x < 0 || y < 0 || x >= m_nWidth || y >= m_nHeight) return;
        m_pixels[static_cast<size_t>(y) * static_cast<size_t>(m_nWidth) + static_cast<size_t>(x)] = pixel;
    }
    QvPixel* Row(long long y) { return m_pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(m_nWidth); }

    int m_nWidth = 0;
    int m_nHeight = 0;
    std::vector<QvPixel> m_pixels;
    std::unique_ptr<CSurface> m_pBackBuffer;
    CPresenter* m_pPresenter = nullptr;  // what shows this primary surface
};

// Truncation toward zero of a value into a pixel coordinate; false when the
// value is not finite or its truncation does not fit an int.
bool QvTruncToPixel(double d, int& n);
