// The platform where there is no display: programs and tests that only read,
// compute and draw off screen. No window can be made, so a dialog's DoModal
// returns -1 at once; a message box is written to the error stream.
#include <cstdio>

#include "platform/MessageBox.h"
#include "platform/WinApp.h"
#include "platform/Window.h"

BOOL QvPlatformHaveDisplay() { return FALSE; }
HWND QvCreateDialogWindow(CDialog&, const DlgTemplate&, HWND) { return nullptr; }
void QvShowDialogWindow(HWND, bool) {}
void QvRunModalLoop(HWND) {}
void QvEndModalLoop(HWND) {}
void QvHideDialogWindow(HWND) {}
void QvDestroyDialogWindow(HWND) {}
HWND QvGetDlgItem(HWND, int) { return nullptr; }
QvControlKind QvGetControlKind(HWND) { return QvControlKind::None; }
std::string QvGetWindowText(HWND) { return std::string(); }
void QvSetWindowText(HWND, const std::string&) {}
bool QvGetCheck(HWND) { return false; }
void QvSetCheck(HWND, bool) {}
void QvEnableWindow(HWND, bool) {}
bool QvIsWindowEnabled(HWND) { return false; }
void QvFocusAndSelect(HWND) {}
int QvComboCount(HWND) { return 0; }
int QvComboInsert(HWND, int, const std::string&) { return CB_ERR; }
void QvComboDelete(HWND, int) {}
int QvComboGetSel(HWND) { return -1; }
void QvComboSetSel(HWND, int) {}
bool QvSetTimer(HWND, CWnd*, UINT, UINT) { return false; }
bool QvKillTimer(HWND, UINT) { return false; }
HICON QvLoadIcon(UINT) { return nullptr; }
void QvSetWindowIcon(HWND, HICON, bool) {}
void QvSetCursorHidden(bool) {}

int QvShowMessageBox(const std::string& utf8, UINT nType)
{
    std::fprintf(stderr, "Quorvane: %s\n", utf8.c_str());
    return QvMessageBoxAnswer(nType, 0);
}

int QvRunApplication(int, char**, CWinApp*)
{
    std::fprintf(stderr, "Quorvane: nessuno schermo disponibile.\n");
    return 1;
}

bool QvTakeScreen(HWND) { return false; }
bool QvScreenHasArea(HWND) { return false; }
void QvShowFrame(HWND, const uint32_t*, int, int) {}
void QvReleaseScreen(HWND) {}
