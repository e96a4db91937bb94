// How dialog templates become widgets: the one font of every dialog and the
// conversion of dialog units into pixels with that font's own metrics.
#pragma once

#include <QFont>
#include <QRect>

#include "platform/DialogTemplate.h"

// The dialog font (a sans face at 8 points, the same for every dialog).
QFont QvDialogFont();

// Base units of a font as the original platform computes them: the average
// width of "A..Za..z" ((width of the 52 letters / 26 + 1) / 2) and the height.
struct QvDialogBaseUnits {
    int cx;
    int cy;
};
QvDialogBaseUnits QvBaseUnits(const QFont& font);

// Dialog units to pixels: x * cx / 4 and y * cy / 8, rounded to nearest.
int QvDluToPixelsX(int dlu, const QvDialogBaseUnits& units);
int QvDluToPixelsY(int dlu, const QvDialogBaseUnits& units);
QRect QvMapDialogRect(int x, int y, int cx, int cy, const QvDialogBaseUnits& units);

// Qt key event data to the original platform's virtual-key code; 0 when the
// key has none. `nativeScanCode` is only used to recover the digit keys of
// the main keyboard pressed with Shift on X11.
unsigned int QvVirtualKeyFromQt(int qtKey, Qt::KeyboardModifiers modifiers, unsigned int nativeScanCode = 0);

class QString;
// The number typed in a field, as the original framework reads it: optional
// blanks, a decimal number in the "C" locale (sign, digits, '.', exponent),
// optional blanks and nothing else. Infinite results are refused as well.
bool QvParseFieldNumber(const QString& text, double& value);
