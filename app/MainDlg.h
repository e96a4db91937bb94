// The main window: help text, the chooser of the stored systems and the commands.
#pragma once

#include "platform/Dialog.h"
#include "store/ConfigFile.h"

class CMainDlg : public CDialog {
public:
    explicit CMainDlg(CWnd* pParent = nullptr);
    ~CMainDlg() override;

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnDestroy() override;
    void LoadSystems();
    void SaveSystems();
    void OnAddSystem();
    void OnModifySystem();
    void OnDeleteSystem();

    CSystemList m_Systems;
    CComboBox m_cbSystems;
    CString m_strHelp;
    HICON m_hIcon;

    DECLARE_MESSAGE_MAP()
};

// The help text shown in the main window, lines joined by "\r\n".
extern const char* const kHelpText;
