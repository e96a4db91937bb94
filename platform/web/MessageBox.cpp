// Message boxes as modal boxes of the page; the code waits for the answer
// while the other windows' events keep coming (a run's ticks go on).
#include "platform/web/Windows.h"

int QvShowMessageBox(const std::string& utf8, UINT nType)
{
    const bool yesNo = (nType & 0xFu) == MB_YESNO;
    qv_page_message_box(utf8.c_str(), yesNo ? 1 : 0, (nType & 0xF0u) == MB_ICONQUESTION ? 1 : 0);
    int answer = 0;
    while (answer == 0) QvDispatchPageEvent(&answer);
    if (!yesNo) return IDOK;
    return answer == IDYES ? IDYES : IDNO;
}

void QvSetCursorHidden(bool bHidden)
{
    qv_page_cursor_hidden(bHidden ? 1 : 0);
}
