// The display font's glyph sheet against the font as Qt's painter draws it:
// any text, and the run's legend, land on the painter's pixels.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include "platform/qt/FramePainter.h"
#include "tests/display/DisplaySupport.h"

namespace {

Image ImageOf(const QImage& image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    Image out(rgb.width(), rgb.height(), 0);
    for (int y = 0; y < rgb.height(); ++y)
        for (int x = 0; x < rgb.width(); ++x) out.setPixel(x, y, rgb.pixel(x, y));
    return out;
}

// Text as the platform's painter draws it in the display font, placed like
// CSurface::TextOut: the picture the glyph sheet must give.
void PainterText(QImage& image, int x, int y, const QString& text, QRgb color, UINT nAlign, bool opaque, QRgb bk = 0)
{
    const QFontMetrics fm(QvDisplayFont());
    const int w = fm.horizontalAdvance(text), h = fm.ascent() + fm.descent();
    if ((nAlign & TA_CENTER) == TA_CENTER) x -= w / 2;
    else if (nAlign & TA_RIGHT) x -= w;
    if ((nAlign & TA_BASELINE) == TA_BASELINE) y -= fm.ascent();
    else if (nAlign & TA_BOTTOM) y -= h;
    QPainter painter(&image);
    if (opaque) painter.fillRect(QRect(x, y, w, h), QColor::fromRgb(bk));
    painter.setFont(QvDisplayFont());
    painter.setPen(QColor::fromRgb(color));
    painter.drawText(QPoint(x, y + fm.ascent()), text);
}

}  // namespace

TEST(GlyphTextTest, TheLegendSaysWordForWordWhatThePainterDrawsAtTheBottomRight)
{
    auto dlg = MakeRun({});
    QImage expected(800, 600, QImage::Format_RGB32);
    expected.fill(kBg);
    PainterText(expected, 790, 570, QString::fromUtf8("[V]ettori; [T]racce; [E]tichette; [P]ausa; [1..9] velocità"), kYellow, TA_RIGHT | TA_BOTTOM, true, kBg);
    PainterText(expected, 790, 590, "ESC o INVIO per terminare", kYellow, TA_RIGHT | TA_BOTTOM, true, kBg);
    EXPECT_EQ(DiffCount(Canvas(*dlg), ImageOf(expected)), 0);
}

TEST(GlyphTextTest, TextFromTheGlyphSheetLandsOnThePaintersPixels)
{
    // The example names, kerned pairs, every character of Windows-1252 and
    // U+FFFD for its undefined bytes; controls and characters the sheet lacks
    // show the missing-character box, as U+0001 does.
    std::vector<std::u32string> texts = {U"Alfa Beta Castore Cometa Gamma Giove Luna Marte Mercurio", U"Pianeta Polluce Sole Sonda Terra Troiano Venere",
                                         U"AVAWATo Ty Fa P. LT r, \u00ABV\u00BB", U"\u20AC\u201A\u0192\u201E\u2026\u2020\u2021\u02C6\u2030\u0160\u2039\u0152\u017D\u2018\u2019\u201C\u201D\u2022\u2013\u2014\u02DC\u2122\u0161\u203A\u0153\u017E\u0178\uFFFD",
                                         U"a\x01b\x1F\x7F", U"Ab\tC\tD"};
    for (char32_t c = 0x20; c < 0x100; c += 32) {
        texts.emplace_back();
        for (char32_t k = c; k < c + 32; ++k) texts.back() += k < 0x7F || k >= 0xA0 ? k : U'x';
    }
    const char32_t box = 0x01, missing[] = {0x416, 0x4E2D, 0x1F600};
    const UINT aligns[] = {TA_LEFT | TA_BASELINE, TA_RIGHT | TA_BOTTOM, TA_CENTER | TA_TOP};
    for (size_t t = 0; t < texts.size() + 1; ++t) {
        const std::u32string text = t < texts.size() ? texts[t] : std::u32string(missing, 3);
        const std::u32string shown = t < texts.size() ? text : std::u32string(3, box);
        for (int k = 0; k < 3; ++k) {
            const int x = k == 0 ? -7 : k == 1 ? 597 : 580, y = k == 2 ? 2 : 298;  // cut by the edges, and not
            CSurface s(600, 300);
            s.TextOut(x, y, text, RGB(255, 255, 0), aligns[k], k == 1 ? OPAQUE : TRANSPARENT, RGB(0, 0, 32));
            QImage expected(600, 300, QImage::Format_RGB32);
            expected.fill(Qt::black);
            PainterText(expected, x, y, QString::fromStdU32String(shown), kYellow, aligns[k], k == 1, kBg);
            EXPECT_EQ(DiffCount(Image(s), ImageOf(expected)), 0) << t << " " << k;
        }
    }
}
