#include "platform/qt/DialogLayout.h"

#include <QFontMetrics>
#include <QString>

#include "platform/Afx.h"

QFont QvDialogFont()
{
    // The templates name "MS Sans Serif" 8 pt, which does not exist here:
    // every dialog uses the same sans face at the same size instead.
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(8);
    return font;
}

QvDialogBaseUnits QvBaseUnits(const QFont& font)
{
    QFontMetrics fm(font);
    int width = fm.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    QvDialogBaseUnits units;
    units.cx = (width / 26 + 1) / 2;
    units.cy = fm.height();
    if (units.cx < 1) units.cx = 1;
    if (units.cy < 1) units.cy = 1;
    return units;
}

namespace {
// a * b / c rounded half away from zero, as the original platform's MulDiv.
int MulDiv(int a, int b, int c)
{
    long long p = static_cast<long long>(a) * b;
    long long half = c / 2;
    return static_cast<int>(p >= 0 ? (p + half) / c : -((-p + half) / c));
}
}  // namespace

int QvDluToPixelsX(int dlu, const QvDialogBaseUnits& units)
{
    return MulDiv(dlu, units.cx, 4);
}

int QvDluToPixelsY(int dlu, const QvDialogBaseUnits& units)
{
    return MulDiv(dlu, units.cy, 8);
}

QRect QvMapDialogRect(int x, int y, int cx, int cy, const QvDialogBaseUnits& units)
{
    return QRect(QvDluToPixelsX(x, units), QvDluToPixelsY(y, units), QvDluToPixelsX(cx, units),
                 QvDluToPixelsY(cy, units));
}

