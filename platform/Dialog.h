// Dialogs: no window until DoModal; DoModal builds the window from its template,
// runs OnInitDialog and a nested modal loop, and returns the end code.
#pragma once

#include <functional>
#include <vector>

#include "platform/Afx.h"
#include "platform/CString.h"

class CDialog;

class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // The window while it exists, nullptr otherwise.
    HWND GetSafeHwnd() const { return m_hWnd; }

    // Window messages the program handles.
    virtual void OnTimer(UINT nIDEvent) { (void)nIDEvent; }
    virtual void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) { (void)nChar; (void)nRepCnt; (void)nFlags; }
    virtual void OnDestroy() {}

    // A precise periodic timer that calls OnTimer(nIDEvent); returns nIDEvent, 0 on failure.
    UINT SetTimer(UINT nIDEvent, UINT nElapseMs);
    BOOL KillTimer(UINT nIDEvent);

    void SetIcon(HICON hIcon, BOOL bBigIcon);

protected:
    HWND m_hWnd = nullptr;
    // Icons set before the window exists, given to it when it is made.
    HICON m_hPendingIcon[2] = {nullptr, nullptr};
};

// Controls by handle, as the original platform has them.
BOOL EnableWindow(HWND hWnd, BOOL bEnable);
BOOL IsWindowEnabled(HWND hWnd);
void SetWindowText(HWND hWnd, const char* lpszString);
void CheckDlgButton(HWND hWnd, BOOL bCheck);

// The combo box lines are the owner's strings; the selection set by the program
// sends no notification (only the user's choices reach the message map).
class CComboBox {
public:
    CComboBox() = default;
    CComboBox(const CComboBox&) = delete;
    CComboBox& operator=(const CComboBox&) = delete;

    int AddString(const char* lpszString);
    int InsertString(int nIndex, const char* lpszString);
    int DeleteString(UINT nIndex);
    int GetCount() const;
    int GetCurSel() const;
    // An index out of range clears the selection (and returns CB_ERR).
    int SetCurSel(int nSelect);

    void Attach(HWND hCombo) { m_hWnd = hCombo; }
    void Detach() { m_hWnd = nullptr; }
    HWND GetSafeHwnd() const { return m_hWnd; }

private:
    HWND m_hWnd = nullptr;
};

// Raised by CDataExchange::Fail to stop an exchange.
struct CUserException {};

class CDataExchange {
public:
    CDataExchange(CDialog* pDlg, BOOL bSaveAndValidate) : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlg) {}
    BOOL m_bSaveAndValidate;  // TRUE: controls into members
    CDialog* m_pDlgWnd;
    // Puts the focus on control nID and stops the exchange (throws CUserException).
    [[noreturn]] void Fail(int nID);
};

void DDX_Control(CDataExchange* pDX, int nIDC, CComboBox& rControl);
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
// A text that is not a number is refused with a message; focus goes to the field.
void DDX_Text(CDataExchange* pDX, int nIDC, double& value);
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index);

// Control notifications the program maps.
enum : UINT { BN_CLICKED = 0, CBN_SELCHANGE = 1 };

struct AFX_MSGMAP_ENTRY {
    UINT nCode;  // BN_CLICKED, CBN_SELCHANGE; 0 with pfn == nullptr ends the map
    UINT nID;
    void (CDialog::*pfn)();
};

#define DECLARE_MESSAGE_MAP() \
protected:                    \
    const AFX_MSGMAP_ENTRY* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass)                              \
    const AFX_MSGMAP_ENTRY* theClass::GetMessageMap() const      \
    {                                                            \
        using ThisClass [[maybe_unused]] = theClass;             \
        static const AFX_MSGMAP_ENTRY entries[] = {
#define ON_BN_CLICKED(id, fn) {BN_CLICKED, static_cast<UINT>(id), static_cast<void (CDialog::*)()>(&ThisClass::fn)},
#define ON_CBN_SELCHANGE(id, fn) {CBN_SELCHANGE, static_cast<UINT>(id), static_cast<void (CDialog::*)()>(&ThisClass::fn)},
#define END_MESSAGE_MAP() \
    {0, 0, nullptr}       \
    }                     \
    ;                     \
    return entries;       \
    }

class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    virtual INT_PTR DoModal();
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    void EndDialog(int nResult);

    // Runs DoDataExchange; FALSE when a field was refused.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    virtual void DoDataExchange(CDataExchange* pDX) { (void)pDX; }

    // The control with that id while the window exists, else nullptr.
    HWND GetDlgItem(int nID) const;
    UINT GetTemplateId() const { return m_nIDTemplate; }

    // Routes a control's notification: the message map first, then IDOK to
    // OnOK and IDCANCEL to OnCancel. The platform calls it for user actions only.
    void OnCommand(UINT nID, UINT nCode);

protected:
    virtual const AFX_MSGMAP_ENTRY* GetMessageMap() const;

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

private:
    int m_nResult = IDCANCEL;
    bool m_bEnded = false;
    bool m_bRunning = false;
    std::vector<CComboBox*> m_attached;  // controls attached by DDX_Control, detached when the window goes
    friend void DDX_Control(CDataExchange*, int, CComboBox&);
};

// Modal message box; returns the button pressed (IDOK, IDYES, IDNO).
int AfxMessageBox(const char* lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);

// Tests answer message boxes here instead of on screen; an empty hook restores the box.
using QvMessageBoxHook = std::function<int(const CString& text, UINT nType)>;
void QvSetMessageBoxHook(QvMessageBoxHook hook);

// Tests are told here when a dialog has opened (after OnInitDialog), so that
// they can drive it inside its modal loop.
using QvDialogOpenedHook = std::function<void(CDialog& dlg)>;
void QvSetDialogOpenedHook(QvDialogOpenedHook hook);

// FALSE while no display is available.
BOOL AfxHaveDisplay();

// Hides (FALSE) or shows (TRUE) the mouse cursor, with a counter like the original.
int ShowCursor(BOOL bShow);
