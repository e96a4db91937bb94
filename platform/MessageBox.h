// The buttons of a message box and the answer it gives, on every back-end.
#pragma once

#include "platform/Afx.h"

// Yes and No; otherwise OK alone.
bool QvIsYesNo(UINT nType);
// What a box of type nType answers when `pressed` was pressed: IDOK with OK
// alone, else IDYES or IDNO; a box escaped, closed or not shown at all
// (pressed 0) answers No.
int QvMessageBoxAnswer(UINT nType, int pressed);
