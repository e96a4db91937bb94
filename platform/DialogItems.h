// What the controls of a dialog template become on every back-end: the kind
// of each item, the default button, the edits that keep Enter.
#pragma once

#include "platform/DialogTemplate.h"
#include "platform/Window.h"

QvControlKind QvControlKindOf(const DlgItemTemplate& it);

// The index of the default button: the first push button with BS_DEFPUSHBUTTON
// (a later one is an ordinary button); -1 when there is none.
int QvDefaultButtonIndex(const DlgTemplate& t);
// The command of the default button, IDOK in a dialog without one.
int QvDefaultCommand(const DlgTemplate& t);

// A multi-line edit with ES_WANTRETURN takes Enter as a line break.
bool QvKeepsEnter(const DlgItemTemplate& it);
