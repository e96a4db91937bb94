// The DDX routines: members into controls and back, over any platform's controls.
#include "platform/Dialog.h"
#include "platform/Locale.h"
#include "platform/Text.h"
#include "platform/Window.h"

namespace {
// A multi-line edit shows "\r\n" as one line break.
std::string ToControlLines(std::string text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) out.push_back(text[i]);
    return out;
}

std::string FromControlLines(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '\n') out.push_back('\r');
        out.push_back(c);
    }
    return out;
}
}  // namespace

void CDataExchange::Fail(int nID)
{
    if (HWND hCtl = m_pDlgWnd ? m_pDlgWnd->GetDlgItem(nID) : nullptr) QvFocusAndSelect(hCtl);
    throw CUserException();
}

void DDX_Control(CDataExchange* pDX, int nIDC, CComboBox& rControl)
{
    if (rControl.GetSafeHwnd()) return;
    HWND hCombo = pDX->m_pDlgWnd->GetDlgItem(nIDC);
    if (!hCombo || QvGetControlKind(hCombo) != QvControlKind::ComboBox) return;
    rControl.Attach(hCombo);
    pDX->m_pDlgWnd->m_attached.push_back(&rControl);
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hCtl = pDX->m_pDlgWnd->GetDlgItem(nIDC);
    switch (hCtl ? QvGetControlKind(hCtl) : QvControlKind::None) {
    case QvControlKind::MultiLineEdit:
        if (pDX->m_bSaveAndValidate) {
            std::string shown = QvGetWindowText(hCtl);
            if (shown != ToControlLines(QvDisplayUtf8(value))) value = QvStoredText(FromControlLines(shown));
        } else {
            QvSetWindowText(hCtl, ToControlLines(QvDisplayUtf8(value)));
        }
        break;
    case QvControlKind::Edit:
    case QvControlKind::Static:
    case QvControlKind::PushButton:
    case QvControlKind::CheckBox:
    case QvControlKind::GroupBox:
        if (pDX->m_bSaveAndValidate) value = QvStoredText(QvGetWindowText(hCtl), &value);
        else QvSetWindowText(hCtl, QvDisplayUtf8(value));
        break;
    case QvControlKind::ComboBox:
    case QvControlKind::None:
        break;
    }
}

void DDX_Text(CDataExchange* pDX, int nIDC, double& value)
{
    HWND hCtl = pDX->m_pDlgWnd->GetDlgItem(nIDC);
    if (!hCtl || QvGetControlKind(hCtl) != QvControlKind::Edit) return;
    CString shown;
    shown.Format("%.*g", 15, value);
    if (!pDX->m_bSaveAndValidate) {
        QvSetWindowText(hCtl, shown.str());
        return;
    }
    // An untouched field keeps the member's exact value, beyond the 15 digits shown.
    const std::string text = QvGetWindowText(hCtl);
    if (text == shown.str()) return;
    double d = 0.0;
    if (!QvParseFieldNumber(text, d)) {
        AfxMessageBox("Immettere un numero.");
        pDX->Fail(nIDC);
    }
    value = d;
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value)
{
    HWND hCtl = pDX->m_pDlgWnd->GetDlgItem(nIDC);
    if (!hCtl) return;
    const QvControlKind kind = QvGetControlKind(hCtl);
    if (kind != QvControlKind::CheckBox && kind != QvControlKind::PushButton) return;
    if (pDX->m_bSaveAndValidate) value = QvGetCheck(hCtl) ? 1 : 0;
    else QvSetCheck(hCtl, value != 0);
}

void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index)
{
    HWND hCtl = pDX->m_pDlgWnd->GetDlgItem(nIDC);
    if (!hCtl || QvGetControlKind(hCtl) != QvControlKind::ComboBox) return;
    if (pDX->m_bSaveAndValidate) index = QvComboGetSel(hCtl) < 0 ? -1 : QvComboGetSel(hCtl);
    else QvComboSetSel(hCtl, index >= 0 && index < QvComboCount(hCtl) ? index : -1);
}
