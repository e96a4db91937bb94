#include "platform/Timer.h"

UINT QvTimerPeriod(UINT nElapseMs)
{
    return nElapseMs < 10 ? 10 : nElapseMs > 0x7FFFFFFFu ? 0x7FFFFFFFu : nElapseMs;
}
