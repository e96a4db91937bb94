// Dialogs from their templates as HTML elements of the page, controls in
// template order (the tab order), placed in pixels from dialog units.
#include <cstdlib>

#include "platform/DialogItems.h"
#include "platform/DialogUnits.h"
#include "platform/web/Windows.h"

namespace {
const QvWebControl* ControlOf(HWND hCtl)
{
    // Controls are found through their dialogs: a handle of no control is refused.
    const int handle = QvWindowHandle(hCtl);
    for (int h = handle - 1; h > 0; --h)
        if (QvWebWindow* w = QvFindWebWindow(h)) {
            for (const QvWebControl& c : w->controls)
                if (c.handle == handle) return &c;
            return nullptr;
        }
    return nullptr;
}

int Control(HWND hCtl)
{
    const QvWebControl* c = ControlOf(hCtl);
    return c ? c->handle : 0;
}
}  // namespace

BOOL QvPlatformHaveDisplay() { return TRUE; }

// The page stacks its dialogs in the order they come: no owner is needed.
HWND QvCreateDialogWindow(CDialog& dlg, const DlgTemplate& t, HWND)
{
    const QvDialogBaseUnits units = QvBaseUnitsOf(qv_page_font_size(0), qv_page_font_size(1));
    const QvPixelRect size = QvMapDialogRect(0, 0, t.cx, t.cy, units);
    const int handle = qv_page_dialog_create(t.caption ? t.caption : "", size.cx, size.cy);
    if (handle <= 0) return nullptr;
    QvWebWindow& w = QvAddWebWindow(handle);
    w.owner = &dlg;
    w.defaultId = QvDefaultCommand(t);
    const int defaultIndex = QvDefaultButtonIndex(t);
    for (int i = 0; i < t.itemCount; ++i) {
        const DlgItemTemplate& it = t.items[i];
        const QvControlKind kind = QvControlKindOf(it);
        // An edit that keeps Enter gets it from the page at once: its Enter never comes here.
        const unsigned flags = ((it.style & ES_READONLY) ? kQvPageReadOnly : 0u) |
                               (i == defaultIndex ? kQvPageDefault : 0u) | (QvKeepsEnter(it) ? kQvPageKeepsEnter : 0u);
        const QvPixelRect r = QvMapDialogRect(it.x, it.y, it.cx, it.cy, units);
        const int c = qv_page_control_create(handle, it.id, static_cast<int>(kind), it.text, flags, r.x, r.y, r.cx, r.cy);
        if (kind == QvControlKind::ComboBox && it.initStrings)
            for (const char* const* s = it.initStrings; *s; ++s) qv_page_combo_insert(c, -1, *s);
        if (i == defaultIndex) w.defaultHandle = c;
        w.controls.push_back(QvWebControl{it.id, c, kind});
    }
    return QvHandleWindow(handle);
}

void QvShowDialogWindow(HWND hWnd, bool focusFirst)
{
    if (QvFindWebWindow(QvWindowHandle(hWnd))) qv_page_dialog_show(QvWindowHandle(hWnd), focusFirst ? 1 : 0);
}

void QvRunModalLoop(HWND hWnd)
{
    QvWebWindow* w = QvFindWebWindow(QvWindowHandle(hWnd));
    const int handle = QvWindowHandle(hWnd);
    // The browser runs while the code waits for the next event of the page.
    while (w && !w->loopEnded) {
        QvDispatchPageEvent(nullptr);
        w = QvFindWebWindow(handle);
    }
    if (w) w->loopEnded = false;
}

void QvEndModalLoop(HWND hWnd)
{
    if (QvWebWindow* w = QvFindWebWindow(QvWindowHandle(hWnd))) w->loopEnded = true;
}

void QvHideDialogWindow(HWND hWnd)
{
    if (QvFindWebWindow(QvWindowHandle(hWnd))) qv_page_dialog_hide(QvWindowHandle(hWnd));
}

void QvDestroyDialogWindow(HWND hWnd)
{
    const int handle = QvWindowHandle(hWnd);
    if (!QvFindWebWindow(handle)) return;
    QvRemoveWebWindow(handle);
    qv_page_dialog_destroy(handle);
}

HWND QvGetDlgItem(HWND hDlg, int nID)
{
    if (QvWebWindow* w = QvFindWebWindow(QvWindowHandle(hDlg)))
        for (const QvWebControl& c : w->controls)
            if (c.id == nID) return QvHandleWindow(c.handle);
    return nullptr;
}

QvControlKind QvGetControlKind(HWND hCtl)
{
    const QvWebControl* c = ControlOf(hCtl);
    return c ? c->kind : QvControlKind::None;
}

std::string QvGetWindowText(HWND hCtl)
{
    const int c = Control(hCtl);
    if (!c) return std::string();
    int length = 0;
    char* p = qv_page_get_text(c, &length);
    std::string s(p ? p : "", p ? static_cast<size_t>(length) : 0);
    std::free(p);
    return s;
}

void QvSetWindowText(HWND hCtl, const std::string& utf8)
{
    if (int c = Control(hCtl)) qv_page_set_text(c, utf8.data(), static_cast<int>(utf8.size()));
}

bool QvGetCheck(HWND hCtl)
{
    const int c = Control(hCtl);
    return c && qv_page_get_check(c);
}

void QvSetCheck(HWND hCtl, bool bChecked)
{
    if (int c = Control(hCtl)) qv_page_set_check(c, bChecked ? 1 : 0);
}

void QvEnableWindow(HWND hCtl, bool bEnable)
{
    if (int c = Control(hCtl)) qv_page_enable(c, bEnable ? 1 : 0);
}

bool QvIsWindowEnabled(HWND hCtl)
{
    const int c = Control(hCtl);
    return c && qv_page_is_enabled(c);
}

void QvFocusAndSelect(HWND hCtl)
{
    if (int c = Control(hCtl)) qv_page_focus_select(c);
}

int QvComboCount(HWND hCombo)
{
    const int c = Control(hCombo);
    return c ? qv_page_combo_count(c) : CB_ERR;
}

int QvComboInsert(HWND hCombo, int nIndex, const std::string& utf8)
{
    const int c = Control(hCombo);
    return c ? qv_page_combo_insert(c, nIndex, utf8.c_str()) : CB_ERR;
}

void QvComboDelete(HWND hCombo, int nIndex)
{
    if (int c = Control(hCombo)) qv_page_combo_delete(c, nIndex);
}

int QvComboGetSel(HWND hCombo)
{
    const int c = Control(hCombo);
    return c ? qv_page_combo_get_sel(c) : -1;
}

void QvComboSetSel(HWND hCombo, int nIndex)
{
    if (int c = Control(hCombo)) qv_page_combo_set_sel(c, nIndex);
}
