// What the dialog framework needs of a windowing system. Everything above
// platform/ talks to windows only through CWnd, CDialog, CComboBox and the DDX
// routines; they in turn use these calls, which each platform implements once
// (platform/qt/ on the desktop, platform/web/ in a browser page, platform/none/
// where there is no display).
// Texts cross this line as UTF-8; the bytes the program stores are Text.h's job.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Afx.h"
#include "platform/DialogTemplate.h"

class CDialog;
class CWinApp;
class CWnd;

// What a control of a template became, as far as the data exchange cares.
enum class QvControlKind { None, PushButton, CheckBox, GroupBox, Edit, MultiLineEdit, Static, ComboBox };

// FALSE while no display is available.
BOOL QvPlatformHaveDisplay();

// Builds the window of `dlg` from its template, owned by `parent` (nullptr:
// the active modal window, else the main window), with all its controls in
// template order; nullptr when no window can be made.
HWND QvCreateDialogWindow(CDialog& dlg, const DlgTemplate& t, HWND parent);
// Makes the window visible and active; the focus goes to the first enabled tab
// stop when `focusFirst`, or to the window itself when it has no controls.
void QvShowDialogWindow(HWND hWnd, bool focusFirst);
// Runs the modal loop until QvEndModalLoop; returns at once if it was already ended.
void QvRunModalLoop(HWND hWnd);
void QvEndModalLoop(HWND hWnd);
void QvHideDialogWindow(HWND hWnd);
// Destroys the window; its owner, if still visible, becomes active again.
void QvDestroyDialogWindow(HWND hWnd);

HWND QvGetDlgItem(HWND hDlg, int nID);
QvControlKind QvGetControlKind(HWND hCtl);
// Multi-line edits give and take line breaks as "\n".
std::string QvGetWindowText(HWND hCtl);
void QvSetWindowText(HWND hCtl, const std::string& utf8);
bool QvGetCheck(HWND hCtl);
void QvSetCheck(HWND hCtl, bool bChecked);
void QvEnableWindow(HWND hCtl, bool bEnable);
bool QvIsWindowEnabled(HWND hCtl);
// Focus to the control, its text selected (a refused field).
void QvFocusAndSelect(HWND hCtl);

// Combo box lines; program-made changes send no notification.
int QvComboCount(HWND hCombo);
int QvComboInsert(HWND hCombo, int nIndex, const std::string& utf8);
void QvComboDelete(HWND hCombo, int nIndex);
int QvComboGetSel(HWND hCombo);
void QvComboSetSel(HWND hCombo, int nIndex);

// A periodic timer of the window that calls pWnd->OnTimer(nID); replaces a
// running timer with the same id.
bool QvSetTimer(HWND hWnd, CWnd* pWnd, UINT nID, UINT nElapseMs);
bool QvKillTimer(HWND hWnd, UINT nID);

HICON QvLoadIcon(UINT nID);
void QvSetWindowIcon(HWND hWnd, HICON hIcon, bool bBig);

// A modal message box "Quorvane" with the text and the buttons of nType.
int QvShowMessageBox(const std::string& utf8, UINT nType);
void QvSetCursorHidden(bool bHidden);

// Starts the windowing system, runs pApp->InitInstance() and returns the exit code.
int QvRunApplication(int argc, char** argv, CWinApp* pApp);

// The full screen of a run. QvTakeScreen makes the window a borderless black
// window over its whole screen (false when there is no screen); QvShowFrame
// shows w×h pixels 0xFFRRGGBB, rows packed, at the largest size that fits,
// centred on black (nullptr: black only); the pixels stay valid until the next
// call or QvReleaseScreen.
bool QvTakeScreen(HWND hWnd);
bool QvScreenHasArea(HWND hWnd);
void QvShowFrame(HWND hWnd, const uint32_t* pixels, int w, int h);
void QvReleaseScreen(HWND hWnd);
