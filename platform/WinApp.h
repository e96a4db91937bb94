// The application object: one static instance whose InitInstance runs once.
#pragma once

#include "platform/Afx.h"
#include "platform/Dialog.h"

class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual BOOL InitInstance() { return FALSE; }
    // Icon resource nID, kept for the whole run.
    HICON LoadIcon(UINT nID) const;

    CWnd* m_pMainWnd = nullptr;
};

CWinApp* AfxGetApp();
void AfxEnableControlContainer();
// The owner a window falls back on: the main window, unless there is none or
// it is `wnd` itself (nullptr then).
HWND QvMainWindowAsOwner(const CWnd& wnd);

// Stands for the component runtime of the original platform: nothing to start here.
long CoInitialize(void* pvReserved);
void CoUninitialize();

// The framework's entry point: starts the platform's application (Qt's on the
// desktop, the page's in a browser), runs InitInstance and returns the process
// exit code.
int AfxWinMain(int argc, char** argv);
