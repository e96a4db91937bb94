// A dialog that records what the framework does to it, for the tests.
#pragma once

#include <QTimer>
#include <QWidget>

#include <functional>
#include <string>
#include <vector>

#include "platform/Dialog.h"

struct KeyRecord {
    UINT vk, repeat, flags;
};

class CProbeDlg : public CDialog {
public:
    explicit CProbeDlg(UINT nIDTemplate, CWnd* pParent = nullptr) : CDialog(nIDTemplate, pParent) {}

    std::function<void(CDataExchange*)> ddx;
    std::function<BOOL()> init;
    std::vector<std::string> log;
    std::vector<KeyRecord> keys;
    std::vector<UINT> ticks;
    bool windowAtDestroy = false;

    BOOL OnInitDialog() override
    {
        log.push_back(GetSafeHwnd() ? "init" : "init-without-window");
        BOOL r = CDialog::OnInitDialog();
        return init ? init() : r;
    }
    void OnOK() override { log.push_back("ok"); CDialog::OnOK(); }
    void OnCancel() override { log.push_back("cancel"); CDialog::OnCancel(); }
    void OnDestroy() override { windowAtDestroy = GetSafeHwnd() != nullptr; log.push_back("destroy"); }
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) override { keys.push_back({nChar, nRepCnt, nFlags}); }
    void OnTimer(UINT nIDEvent) override { ticks.push_back(nIDEvent); }
    void DoDataExchange(CDataExchange* pDX) override { if (ddx) ddx(pDX); }

    void OnAdd() { log.push_back("add"); }
    void OnSelChange() { log.push_back("selchange"); }
    void OnCheck() { log.push_back("check"); }

    DECLARE_MESSAGE_MAP()
};

// Runs the dialog modally and calls body inside its loop; a dialog that body
// leaves open is ended with -99 so that a failing test cannot hang.
inline INT_PTR RunDialog(CDialog& dlg, const std::function<void(CDialog&)>& body)
{
    QvSetDialogOpenedHook([&body](CDialog& d) {
        QTimer::singleShot(0, d.GetSafeHwnd(), [&d] { d.EndDialog(-99); });
        body(d);
    });
    INT_PTR r = dlg.DoModal();
    QvSetDialogOpenedHook(nullptr);
    return r;
}
