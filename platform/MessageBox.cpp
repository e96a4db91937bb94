// Message boxes, the display's presence and the cursor counter.
#include "platform/MessageBox.h"

#include "platform/Dialog.h"
#include "platform/Text.h"
#include "platform/Window.h"

namespace {
QvMessageBoxHook g_messageBoxHook;
int g_cursorCount = 0;
}  // namespace

int AfxMessageBox(const char* lpszText, UINT nType, UINT nIDHelp)
{
    (void)nIDHelp;
    CString text(lpszText);
    if (g_messageBoxHook) {
        QvMessageBoxHook hook = g_messageBoxHook;
        return hook(text, nType);
    }
    return QvShowMessageBox(QvDisplayUtf8(text), nType);
}

void QvSetMessageBoxHook(QvMessageBoxHook hook)
{
    g_messageBoxHook = std::move(hook);
}

bool QvIsYesNo(UINT nType)
{
    return (nType & 0xFu) == MB_YESNO;
}

int QvMessageBoxAnswer(UINT nType, int pressed)
{
    if (!QvIsYesNo(nType)) return IDOK;
    return pressed == IDYES ? IDYES : IDNO;
}

BOOL AfxHaveDisplay()
{
    return QvPlatformHaveDisplay();
}

int ShowCursor(BOOL bShow)
{
    const bool hiddenBefore = g_cursorCount < 0;
    g_cursorCount += bShow ? 1 : -1;
    const bool hiddenAfter = g_cursorCount < 0;
    if (hiddenBefore != hiddenAfter) QvSetCursorHidden(hiddenAfter);
    return g_cursorCount;
}
