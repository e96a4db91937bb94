// Rasterises the display font (DejaVu Sans, 13 pixels, no anti-aliasing) once,
// exactly as QPainter draws it, and writes it as C++ data: one 1-bit picture per
// character a name can show (Windows-1252 and the controls, U+FFFD for the
// undefined bytes), its advance and the font's kerning pairs, both in 1/64
// pixel, the unit Qt lays text out in. Text drawn from it lands on the same
// pixels as QPainter's, as long as no ligature forms.
//
// Usage: gen_glyphs [output.cpp]   (default res/DisplayFont.cpp)
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRawFont>
#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

QFont DisplayFont()
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(13);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

// The characters of the sheet, in ascending order.
std::vector<char32_t> Characters()
{
    const char32_t high[] = {0x20AC, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030,
                             0x0160, 0x2039, 0x0152, 0x017D, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
                             0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x017E, 0x0178};
    std::vector<char32_t> out;
    for (char32_t c = 0x01; c < 0x80; ++c) out.push_back(c);
    for (char32_t c = 0xA0; c < 0x100; ++c) out.push_back(c);
    for (char32_t c : high) out.push_back(c);
    out.push_back(0xFFFD);
    std::sort(out.begin(), out.end());
    return out;
}

int To64(double v, const char* what)
{
    const double scaled = v * 64.0;
    if (scaled != std::floor(scaled)) std::fprintf(stderr, "gen_glyphs: %s %.6f is not in 1/64 pixel\n", what, v);
    return static_cast<int>(std::lround(scaled));
}

struct Glyph {
    char32_t code;
    int advance, left, top, width, height;
    size_t bits;
};

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const char* path = argc > 1 ? argv[1] : "res/DisplayFont.cpp";
    const QFont font = DisplayFont();
    const QFontMetricsF fm(font);
    const QRawFont raw = QRawFont::fromFont(font);
    const int ascent = static_cast<int>(QFontMetrics(font).ascent()), descent = QFontMetrics(font).descent();
    const std::vector<char32_t> chars = Characters();

    // Each character alone, with its pen at (kPad, kPad + ascent) of a black picture.
    const int kPad = 16, kSize = 64;
    std::vector<Glyph> glyphs;
    std::vector<unsigned char> bits;
    for (char32_t c : chars) {
        const QString s = QString::fromUcs4(&c, 1);
        QImage image(kSize, kSize, QImage::Format_RGB32);
        image.fill(0xFF000000u);
        {
            QPainter painter(&image);
            painter.setFont(font);
            painter.setPen(QColor(255, 255, 255));
            painter.drawText(QPoint(kPad, kPad + ascent), s);
        }
        int l = kSize, t = kSize, r = -1, b = -1;
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x) {
                const QRgb p = image.pixel(x, y);
                if (p == 0xFF000000u) continue;
                if (p != 0xFFFFFFFFu) std::fprintf(stderr, "gen_glyphs: U+%04X has a grey pixel\n", unsigned(c));
                l = std::min(l, x), t = std::min(t, y), r = std::max(r, x), b = std::max(b, y);
            }
        Glyph g{c, To64(fm.horizontalAdvance(s), "advance"), 0, 0, 0, 0, bits.size()};
        if (r >= 0) {
            g.left = l - kPad, g.top = t - kPad - ascent, g.width = r - l + 1, g.height = b - t + 1;
            for (int y = t; y <= b; ++y)
                for (int x0 = l; x0 <= r; x0 += 8) {
                    unsigned char byte = 0;
                    for (int k = 0; k < 8 && x0 + k <= r; ++k)
                        if (image.pixel(x0 + k, y) != 0xFF000000u) byte |= static_cast<unsigned char>(0x80u >> k);
                    bits.push_back(byte);
                }
        }
        glyphs.push_back(g);
    }

    // Kerning: what a pair's advance has beyond its two characters' own. Only
    // characters of the font itself: the others stand alone in Qt's layout too.
    std::string kerns;
    int nKerns = 0;
    for (char32_t a : chars)
        for (char32_t b : chars) {
            if (!raw.supportsCharacter(a) || !raw.supportsCharacter(b) || a < 0x20 || b < 0x20) continue;
            const QString sa = QString::fromUcs4(&a, 1), sb = QString::fromUcs4(&b, 1);
            const int k = To64(fm.horizontalAdvance(sa + sb) - fm.horizontalAdvance(sa) - fm.horizontalAdvance(sb), "kerning");
            if (k == 0) continue;
            char line[64];
            std::snprintf(line, sizeof line, "    {0x%04X, 0x%04X, %d},\n", unsigned(a), unsigned(b), k);
            kerns += line;
            ++nKerns;
        }

    FILE* f = std::fopen(path, "w");
    if (!f) {
        std::fprintf(stderr, "gen_glyphs: cannot write %s\n", path);
        return 1;
    }
    std::fprintf(f,
                 "// Made by tools/generators/gen_glyphs from DejaVu Sans, 13 pixels, no\n"
                 "// anti-aliasing; run it again instead of editing this file.\n"
                 "#include \"res/GlyphSheet.h\"\n\nnamespace {\n\n"
                 "// code, advance (1/64 pixel), ink box from the pen on the baseline, first byte\n"
                 "const QvGlyph kGlyphs[] = {\n");
    for (const Glyph& g : glyphs)
        std::fprintf(f, "    {0x%04X, %d, %d, %d, %d, %d, %zu},\n", unsigned(g.code), g.advance, g.left, g.top, g.width,
                     g.height, g.bits);
    std::fprintf(f, "};\n\n// Rows of each glyph, left pixel in the high bit, each row whole bytes.\nconst unsigned char kBits[] = {");
    for (size_t i = 0; i < bits.size(); ++i) std::fprintf(f, "%s0x%02X,", i % 16 ? " " : "\n    ", bits[i]);
    std::fprintf(f, "\n};\n\n// first, second, change of the advance (1/64 pixel); sorted\nconst QvKern kKerns[] = {\n%s};\n\n",
                 kerns.c_str());
    std::fprintf(f,
                 "}  // namespace\n\nconst QvGlyphSheet kQvDisplayFont = {%d, %d, kGlyphs, sizeof kGlyphs / sizeof kGlyphs[0],\n"
                 "                                     kBits, kKerns, %d};\n",
                 ascent, descent, nKerns);
    const bool ok = std::ferror(f) == 0;
    if (std::fclose(f) != 0 || !ok) {
        std::fprintf(stderr, "gen_glyphs: cannot write %s\n", path);
        return 1;
    }
    return 0;
}
