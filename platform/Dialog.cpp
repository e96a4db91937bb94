#include "platform/Dialog.h"

#include "platform/Window.h"

namespace {
QvDialogOpenedHook g_dialogOpenedHook;
}  // namespace

// ---------------------------------------------------------------------------
// CWnd

UINT CWnd::SetTimer(UINT nIDEvent, UINT nElapseMs)
{
    if (!m_hWnd) return 0;
    return QvSetTimer(m_hWnd, this, nIDEvent, nElapseMs) ? nIDEvent : 0;
}

BOOL CWnd::KillTimer(UINT nIDEvent)
{
    return m_hWnd && QvKillTimer(m_hWnd, nIDEvent) ? TRUE : FALSE;
}

void CWnd::SetIcon(HICON hIcon, BOOL bBigIcon)
{
    if (!hIcon) return;
    if (m_hWnd) QvSetWindowIcon(m_hWnd, hIcon, bBigIcon != FALSE);
    else m_hPendingIcon[bBigIcon ? 0 : 1] = hIcon;
}

BOOL EnableWindow(HWND hWnd, BOOL bEnable)
{
    if (!hWnd) return FALSE;
    const bool wasDisabled = !QvIsWindowEnabled(hWnd);
    QvEnableWindow(hWnd, bEnable != FALSE);
    return wasDisabled ? TRUE : FALSE;
}

BOOL IsWindowEnabled(HWND hWnd)
{
    return hWnd && QvIsWindowEnabled(hWnd) ? TRUE : FALSE;
}

void SetWindowText(HWND hWnd, const char* lpszString)
{
    if (hWnd) QvSetWindowText(hWnd, lpszString ? lpszString : "");
}

void CheckDlgButton(HWND hWnd, BOOL bCheck)
{
    if (hWnd && QvGetControlKind(hWnd) == QvControlKind::CheckBox) QvSetCheck(hWnd, bCheck != FALSE);
}

// ---------------------------------------------------------------------------
// CDialog

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

CDialog::~CDialog() = default;

INT_PTR CDialog::DoModal()
{
    if (m_bRunning) return -1;
    const DlgTemplate* t = QvFindDialogTemplate(m_nIDTemplate);
    if (!t) return -1;
    HWND hWnd = QvCreateDialogWindow(*this, *t, m_pParentWnd ? m_pParentWnd->GetSafeHwnd() : nullptr);
    if (!hWnd) return -1;

    m_bEnded = false;
    m_nResult = IDCANCEL;
    m_bRunning = true;
    m_hWnd = hWnd;
    // The small icon first: a big one set before wins, as when set on the window.
    for (int i : {1, 0})
        if (m_hPendingIcon[i]) SetIcon(m_hPendingIcon[i], i == 0);
    m_hPendingIcon[0] = m_hPendingIcon[1] = nullptr;

    BOOL bFocusFirst = OnInitDialog();
    if (!m_bEnded) {
        QvShowDialogWindow(hWnd, bFocusFirst != FALSE);
        if (g_dialogOpenedHook) {
            QvDialogOpenedHook hook = g_dialogOpenedHook;
            hook(*this);
        }
        if (!m_bEnded) QvRunModalLoop(hWnd);
    }

    QvHideDialogWindow(hWnd);
    OnDestroy();
    for (CComboBox* pCombo : m_attached) pCombo->Detach();
    m_attached.clear();
    m_hWnd = nullptr;
    m_bRunning = false;
    QvDestroyDialogWindow(hWnd);
    return m_nResult;
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (UpdateData(TRUE)) EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CDialog::EndDialog(int nResult)
{
    m_nResult = nResult;
    m_bEnded = true;
    if (m_hWnd) QvEndModalLoop(m_hWnd);
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    try {
        DoDataExchange(&dx);
    } catch (const CUserException&) {
        return FALSE;
    }
    return TRUE;
}

HWND CDialog::GetDlgItem(int nID) const
{
    return m_hWnd && nID != -1 ? QvGetDlgItem(m_hWnd, nID) : nullptr;
}

void CDialog::OnCommand(UINT nID, UINT nCode)
{
    for (const AFX_MSGMAP_ENTRY* e = GetMessageMap(); e && e->pfn; ++e)
        if (e->nCode == nCode && e->nID == nID) {
            (this->*(e->pfn))();
            return;
        }
    if (nCode != BN_CLICKED) return;
    if (nID == IDOK) OnOK();
    else if (nID == IDCANCEL) OnCancel();
}

const AFX_MSGMAP_ENTRY* CDialog::GetMessageMap() const
{
    static const AFX_MSGMAP_ENTRY none[] = {{0, 0, nullptr}};
    return none;
}

void QvSetDialogOpenedHook(QvDialogOpenedHook hook)
{
    g_dialogOpenedHook = std::move(hook);
}
