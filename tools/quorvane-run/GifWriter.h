// The frames of a run as a GIF, through giflib, into a file being saved. Each
// frame after the first stores only the rectangle that changed, with the
// pixels that stayed the same left transparent. A rectangle whose changed
// pixels have at most 255 colours (256 without transparency) keeps every
// colour exactly. Beyond that the colours that the sprite sheet lacks (the
// background, legend and lines), and the pure ones (each channel 0 or 255, as
// in the bodies' colour table), stay exact, then the most frequent shades of
// the sprites; the rarer shades take the nearest of those.
#pragma once

#include <gif_lib.h>

#include <QImage>
#include <QSaveFile>
#include <cstddef>
#include <unordered_set>
#include <vector>

class CGifWriter {
public:
    CGifWriter(QSaveFile& file, const QImage& sheet);
    ~CGifWriter();
    CGifWriter(const CGifWriter&) = delete;
    CGifWriter& operator=(const CGifWriter&) = delete;

    // The screen's size, and looping for ever.
    bool Begin(int nWidth, int nHeight);
    // One frame, shown for nDelayCs hundredths of a second.
    bool AddFrame(const QImage& image, int nDelayCs);
    // The trailer; false when any write failed.
    bool Finish();

private:
    static int Write(GifFileType* gif, const GifByteType* data, int nLength);

    static QRgb Key(const QImage& image, int x, int y);
    static QRgb PixelKey(const QImage& image, const QRect& rect, size_t k);
    static GifColorType Color(QRgb c);

    // The bounding box of the pixels that differ from the previous frame; the
    // whole frame for the first, one pixel when nothing changed.
    QRect ChangedRect(const QImage& frame) const;

    bool KeptExact(QRgb c) const;

    // The exact colours first, then the most frequent shades while there is
    // room; every other shade takes the nearest colour of the palette.
    void Quantise(const QImage& frame, const QRect& rect, const std::vector<char>& changed, int nSlots,
                  std::vector<GifColorType>& colors, std::vector<GifByteType>& indices) const;

    QSaveFile& m_file;
    GifFileType* m_gif = nullptr;
    bool m_bWriteFailed = false;
    std::unordered_set<QRgb> m_sheet;
    QImage m_prev;
};
