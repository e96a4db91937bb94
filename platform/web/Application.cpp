// The program in the page: InitInstance runs on the module's main; the
// working folder's file has been read from the browser's storage before
// (platform/web/js/storage.js), and a save goes back there through QvReplaceFile.
#include "platform/IconResource.h"
#include "platform/WinApp.h"
#include "platform/web/Windows.h"

HICON QvLoadIcon(UINT nID)
{
    // The page's icon is its own; the handle only has to be there.
    static int icon;
    return QvFindIconResource(nID) ? reinterpret_cast<HICON>(&icon) : nullptr;
}

void QvSetWindowIcon(HWND, HICON, bool) {}

int QvRunApplication(int, char**, CWinApp* pApp)
{
    pApp->InitInstance();
    qv_page_program_ended();
    return 0;
}
