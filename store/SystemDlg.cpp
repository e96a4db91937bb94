// The record side of CSystemDlg: construction, copy and the file block.
#include "store/SystemDlg.h"

#include "res/resource.h"

CSystemDlg::CSystemDlg(CWnd* pParent) : CDialog(IDD_SYSTEM, pParent) {}

CSystemDlg::~CSystemDlg() = default;

CSystemDlg& CSystemDlg::operator=(const CSystemDlg& src)
{
    if (this == &src) return *this;
    m_strName = src.m_strName;
    m_strForceParams = src.m_strForceParams;
    m_Planets.RemoveAll();
    for (const CPlanet& p : src.m_Planets) m_Planets.Add(p);
    m_nForceType = src.m_nForceType;
    return *this;
}

// PLACEHOLDER: the reader and writer.
BOOL CSystemDlg::ReadFromFile(CStdioFile&) { m_Planets.RemoveAll(); return FALSE; }
void CSystemDlg::WriteToFile(CStdioFile&) const {}
