// Message boxes as modal boxes of the page; the code waits for the answer
// while the other windows' events keep coming (a run's ticks go on).
#include "platform/MessageBox.h"

#include "platform/web/Windows.h"

int QvShowMessageBox(const std::string& utf8, UINT nType)
{
    qv_page_message_box(utf8.c_str(), QvIsYesNo(nType) ? 1 : 0, (nType & 0xF0u) == MB_ICONQUESTION ? 1 : 0);
    int answer = 0;
    while (answer == 0) QvDispatchPageEvent(&answer);
    return QvMessageBoxAnswer(nType, answer);
}

void QvSetCursorHidden(bool bHidden)
{
    qv_page_cursor_hidden(bHidden ? 1 : 0);
}
