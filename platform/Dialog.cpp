// PLACEHOLDER: replaced by the real dialog layer.
#include "platform/Dialog.h"

UINT CWnd::SetTimer(UINT nIDEvent, UINT) { return nIDEvent; }
BOOL CWnd::KillTimer(UINT) { return TRUE; }
void CWnd::SetIcon(HICON, BOOL) {}

int CComboBox::AddString(const char*) { return CB_ERR; }
int CComboBox::InsertString(int, const char*) { return CB_ERR; }
int CComboBox::DeleteString(UINT) { return CB_ERR; }
int CComboBox::GetCount() const { return 0; }
int CComboBox::GetCurSel() const { return CB_ERR; }
int CComboBox::SetCurSel(int) { return CB_ERR; }
void CComboBox::GetLBText(int, CString& r) const { r.Empty(); }
void CComboBox::ResetContent() {}

void CDataExchange::Fail(int) { throw CUserException(); }
void DDX_Control(CDataExchange*, int, CComboBox&) {}
void DDX_Text(CDataExchange*, int, CString&) {}
void DDX_Text(CDataExchange*, int, double&) {}
void DDX_Check(CDataExchange*, int, int&) {}
void DDX_CBIndex(CDataExchange*, int, int&) {}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}
CDialog::~CDialog() = default;
INT_PTR CDialog::DoModal() { return IDCANCEL; }
BOOL CDialog::OnInitDialog() { UpdateData(FALSE); return TRUE; }
void CDialog::OnOK() { if (UpdateData(TRUE)) EndDialog(IDOK); }
void CDialog::OnCancel() { EndDialog(IDCANCEL); }
void CDialog::EndDialog(int nResult) { m_nResult = nResult; m_bEnded = true; }
BOOL CDialog::UpdateData(BOOL bSave)
{
    CDataExchange dx(this, bSave);
    try {
        DoDataExchange(&dx);
    } catch (const CUserException&) {
        return FALSE;
    }
    return TRUE;
}
QWidget* CDialog::GetDlgItem(int) const { return nullptr; }
void CDialog::OnCommand(UINT, UINT) {}
const AFX_MSGMAP_ENTRY* CDialog::GetMessageMap() const
{
    static const AFX_MSGMAP_ENTRY none[] = {{0, 0, nullptr}};
    return none;
}

int AfxMessageBox(const char*, UINT, UINT) { return IDOK; }
void QvSetMessageBoxHook(QvMessageBoxHook) {}
void QvSetDialogOpenedHook(QvDialogOpenedHook) {}
BOOL AfxHaveDisplay() { return FALSE; }
int ShowCursor(BOOL) { return 0; }
