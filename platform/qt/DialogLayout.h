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
