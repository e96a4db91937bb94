// The display font as data: one 1-bit picture per character with its advance,
// and the pairs whose advance kerning changes, laid out in 1/64 pixel so that
// text lands where the font's own layout puts it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

struct QvGlyph {
    char32_t code;
    int16_t advance;       // 1/64 pixel
    int8_t left, top;      // ink box from the pen position on the baseline
    uint8_t width, height; // 0: nothing to draw (space)
    uint32_t bits;         // first byte of the rows in the sheet's bits
};

struct QvKern {
    char32_t first, second;
    int16_t adjust;  // 1/64 pixel
};

struct QvGlyphSheet {
    int ascent, descent;
    const QvGlyph* glyphs;  // sorted by code
    size_t nGlyphs;
    const unsigned char* bits;
    const QvKern* kerns;  // sorted by first, then second
    size_t nKerns;
};

// DejaVu Sans, 13 pixels, without anti-aliasing.
extern const QvGlyphSheet kQvDisplayFont;

// The glyph of a character; characters the sheet lacks show as the box that
// stands for a character the font has not got.
const QvGlyph& QvFindGlyph(const QvGlyphSheet& sheet, char32_t c);
// Where each character's pen goes: calls put(glyph, x) with x the pen's whole
// pixel offset from the text's start; returns the width of the whole text
// rounded to the nearest pixel.
template <class Put>
long long QvLayOutText(const QvGlyphSheet& sheet, std::u32string_view text, Put put);
int QvKerning(const QvGlyphSheet& sheet, char32_t first, char32_t second);

template <class Put>
long long QvLayOutText(const QvGlyphSheet& sheet, std::u32string_view text, Put put)
{
    long long pen = 0;  // 1/64 pixel; glyphs sit on the whole pixel at or left of it
    for (size_t i = 0; i < text.size(); ++i) {
        const QvGlyph& g = QvFindGlyph(sheet, text[i]);
        put(g, pen >> 6);
        // A tab goes on to the next multiple of its own advance from the start.
        pen = text[i] == U'\t' ? (pen / g.advance + 1) * g.advance : pen + g.advance;
        if (i + 1 < text.size()) pen += QvKerning(sheet, text[i], text[i + 1]);
    }
    return (pen + 32) >> 6;
}
