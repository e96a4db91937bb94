#include "platform/Dialog.h"
#include "platform/Text.h"
#include "platform/Window.h"

int CComboBox::AddString(const char* lpszString)
{
    return InsertString(-1, lpszString);
}

int CComboBox::InsertString(int nIndex, const char* lpszString)
{
    if (!m_hWnd) return CB_ERR;
    int count = QvComboCount(m_hWnd);
    if (nIndex == -1) nIndex = count;
    if (nIndex < 0 || nIndex > count) return CB_ERR;
    return QvComboInsert(m_hWnd, nIndex, QvDisplayUtf8(CString(lpszString)));
}

int CComboBox::DeleteString(UINT nIndex)
{
    if (!m_hWnd) return CB_ERR;
    int count = QvComboCount(m_hWnd);
    if (nIndex >= static_cast<UINT>(count)) return CB_ERR;
    QvComboDelete(m_hWnd, static_cast<int>(nIndex));
    return count - 1;
}

int CComboBox::GetCount() const
{
    return m_hWnd ? QvComboCount(m_hWnd) : 0;
}

int CComboBox::GetCurSel() const
{
    if (!m_hWnd) return CB_ERR;
    int i = QvComboGetSel(m_hWnd);
    return i < 0 ? CB_ERR : i;
}

int CComboBox::SetCurSel(int nSelect)
{
    if (!m_hWnd) return CB_ERR;
    if (nSelect < 0 || nSelect >= QvComboCount(m_hWnd)) {
        QvComboSetSel(m_hWnd, -1);
        return CB_ERR;
    }
    QvComboSetSel(m_hWnd, nSelect);
    return nSelect;
}
