// How dialog templates become widgets on Qt: the one font of every dialog and
// its base units; the arithmetic of dialog units is platform/DialogUnits.h.
#pragma once

#include <QFont>

#include "platform/DialogUnits.h"

// The dialog font (a sans face at 8 points, the same for every dialog).
QFont QvDialogFont();

// The font's base units, from its own metrics.
QvDialogBaseUnits QvBaseUnits(const QFont& font);
