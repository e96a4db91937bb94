// Dialog units: how a template's places and sizes become pixels with the
// dialog font's own metrics, the same arithmetic on every back-end.
#pragma once

// Base units of a font as the original platform computes them: the average
// width of "A..Za..z" ((width of the 52 letters / 26 + 1) / 2) and the height.
struct QvDialogBaseUnits {
    int cx;
    int cy;
};
QvDialogBaseUnits QvBaseUnitsOf(int lettersWidth, int height);

// a * b / c rounded half away from zero, as the original platform's MulDiv.
int QvMulDiv(int a, int b, int c);

// Dialog units to pixels: x * cx / 4 and y * cy / 8, rounded to nearest.
struct QvPixelRect {
    int x, y, cx, cy;
};
QvPixelRect QvMapDialogRect(int x, int y, int cx, int cy, const QvDialogBaseUnits& units);
