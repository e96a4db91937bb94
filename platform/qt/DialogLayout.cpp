#include "platform/qt/DialogLayout.h"

#include <QFontMetrics>
#include <QString>

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
    return QvBaseUnitsOf(fm.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")),
                         fm.height());
}
