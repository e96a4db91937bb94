// The period of a window's timer, the same on every back-end.
#pragma once

#include "platform/Afx.h"

// The original platform never fires faster than every 10 ms; the period also
// stays within an int's range.
UINT QvTimerPeriod(UINT nElapseMs);
