#include "res/GlyphSheet.h"

#include <algorithm>
#include <utility>

const QvGlyph& QvFindGlyph(const QvGlyphSheet& sheet, char32_t c)
{
    const QvGlyph* end = sheet.glyphs + sheet.nGlyphs;
    const QvGlyph* g = std::lower_bound(sheet.glyphs, end, c, [](const QvGlyph& a, char32_t code) { return a.code < code; });
    // The first glyph, U+0001, is the box the font's layout draws for a
    // character it has not got.
    return g != end && g->code == c ? *g : sheet.glyphs[0];
}

int QvKerning(const QvGlyphSheet& sheet, char32_t first, char32_t second)
{
    const auto pair = std::make_pair(first, second);
    const QvKern* end = sheet.kerns + sheet.nKerns;
    const QvKern* k = std::lower_bound(sheet.kerns, end, pair, [](const QvKern& a, const std::pair<char32_t, char32_t>& b) {
        return std::make_pair(a.first, a.second) < b;
    });
    return k != end && k->first == first && k->second == second ? k->adjust : 0;
}
