#include "platform/DialogKeys.h"

int QvEnterCommand(const QvEnterFocus& focus, int defaultId, bool defaultEnabled)
{
    if (focus.keepsEnter) return -1;
    if (focus.kind == QvControlKind::PushButton && focus.enabled) return focus.id;
    return defaultEnabled ? defaultId : -1;
}
