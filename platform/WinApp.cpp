// PLACEHOLDER: replaced by the real application object.
#include "platform/WinApp.h"

namespace {
CWinApp* g_pApp = nullptr;
}

CWinApp::CWinApp() { g_pApp = this; }
CWinApp::~CWinApp() { if (g_pApp == this) g_pApp = nullptr; }
HICON CWinApp::LoadIcon(UINT) const { return nullptr; }
CWinApp* AfxGetApp() { return g_pApp; }
void AfxEnableControlContainer() {}
long CoInitialize(void*) { return 0; }
void CoUninitialize() {}
int AfxWinMain(int, char**) { return g_pApp ? (g_pApp->InitInstance(), 0) : 1; }
