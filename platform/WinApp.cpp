#include "platform/WinApp.h"

#include <QApplication>
#include <QIcon>

#include <cstdio>
#include <cstdlib>

#include "platform/Locale.h"
#include "res/Resources.h"
#include "res/resource.h"

namespace {
CWinApp* g_pApp = nullptr;
QtMessageHandler g_previousHandler = nullptr;

// Qt ends the process with a fatal message when no display can be opened;
// the user gets a clear explanation and an ordinary failure status instead.
void StartupMessageHandler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type != QtFatalMsg) {
        if (g_previousHandler) g_previousHandler(type, context, message);
        else std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
        return;
    }
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    std::fprintf(stderr,
                 "Quorvane: impossibile aprire il display grafico. Il programma ha bisogno di un ambiente "
                 "grafico (X11 o Wayland): controllare la variabile DISPLAY o QT_QPA_PLATFORM.\n");
    std::fflush(stderr);
    std::_Exit(1);
}
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
    return QvLoadIconResource(nID);
}

CWinApp* AfxGetApp()
{
    return g_pApp;
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
    g_previousHandler = qInstallMessageHandler(StartupMessageHandler);
    QApplication app(argc, argv);
    qInstallMessageHandler(g_previousHandler);
    if (!QGuiApplication::primaryScreen()) {
        std::fprintf(stderr, "Quorvane: nessuno schermo disponibile.\n");
        return 1;
    }
    QApplication::setApplicationName(QStringLiteral("Quorvane"));
    // The windows end through their own dialogs, never by the last one closing.
    QApplication::setQuitOnLastWindowClosed(false);
    if (QIcon* icon = QvLoadIconResource(IDR_MAINFRAME)) QApplication::setWindowIcon(*icon);
    // Qt has set LC_NUMERIC from the environment: numbers are "C" again.
    QvFixNumericLocale();

    CWinApp* pApp = AfxGetApp();
    if (!pApp) {
        std::fprintf(stderr, "Quorvane: nessun oggetto applicazione.\n");
        return 1;
    }
    if (!pApp->InitInstance()) return 0;
    // An application that stays after InitInstance runs the event loop.
    return QApplication::exec();
}
