#include "platform/WinApp.h"

#include <cstdio>

#include "platform/Window.h"

namespace {
CWinApp* g_pApp = nullptr;
}  // namespace

CWinApp::CWinApp()
{
    g_pApp = this;
}

CWinApp::~CWinApp()
{
    if (g_pApp == this) g_pApp = nullptr;
}

HICON CWinApp::LoadIcon(UINT nID) const
{
    return QvLoadIcon(nID);
}

CWinApp* AfxGetApp()
{
    return g_pApp;
}

HWND QvMainWindowAsOwner(const CWnd& wnd)
{
    const CWnd* main = g_pApp ? g_pApp->m_pMainWnd : nullptr;
    return main && main != &wnd ? main->GetSafeHwnd() : nullptr;
}

void AfxEnableControlContainer() {}

long CoInitialize(void* pvReserved)
{
    (void)pvReserved;
    return 0;  // S_OK
}

void CoUninitialize() {}

int AfxWinMain(int argc, char** argv)
{
    CWinApp* pApp = AfxGetApp();
    if (!pApp) {
        std::fprintf(stderr, "Quorvane: nessun oggetto applicazione.\n");
        return 1;
    }
    return QvRunApplication(argc, argv, pApp);
}
