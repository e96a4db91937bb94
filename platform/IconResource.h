// The program's icons as resources: the platform finds them here by id, and
// the program's resources (res/) say which there are.
#pragma once

#include "platform/Afx.h"

// The stem of icon nID's pictures (the desktop's are ":/res/<stem>32.png" and
// ":/res/<stem>16.png"), or nullptr when there is no such icon.
const char* QvFindIconResource(UINT nID);
// The icon of the application's windows where a window sets none of its own.
extern const UINT kQvApplicationIcon;
