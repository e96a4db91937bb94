// Keys that a dialog handles alike on every back-end: Enter.
#pragma once

#include "platform/Window.h"

// The control that has the focus when Enter is pressed.
struct QvEnterFocus {
    QvControlKind kind = QvControlKind::None;  // None: no control has the focus
    int id = -1;
    bool enabled = false;     // enabled and shown
    bool keepsEnter = false;  // see QvKeepsEnter
};

// The command Enter gives in a dialog: the focused push button's own, else
// the default button's (`defaultId`, see QvDefaultCommand); -1 for none: the
// edit keeps Enter, the default button is disabled, the button has no id.
int QvEnterCommand(const QvEnterFocus& focus, int defaultId, bool defaultEnabled);
