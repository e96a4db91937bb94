// The Qt application under the program: started once by AfxWinMain.
#include <QApplication>
#include <QIcon>
#include <QVariant>

#include <cstdio>
#include <cstdlib>
#include <map>

#include "platform/IconResource.h"
#include "platform/Locale.h"
#include "platform/WinApp.h"
#include "platform/Window.h"
#include "platform/qt/QtWindow.h"

namespace {
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

HICON QvLoadIcon(UINT nID)
{
    const char* stem = QvFindIconResource(nID);
    if (!stem) return nullptr;
    static std::map<UINT, QIcon> icons;  // kept for the whole run, as the handles are
    auto [it, bNew] = icons.try_emplace(nID);
    if (bNew) {
        const QString path = QStringLiteral(":/res/") + QLatin1String(stem);
        it->second.addFile(path + QStringLiteral("32.png"), QSize(32, 32));
        it->second.addFile(path + QStringLiteral("16.png"), QSize(16, 16));
    }
    return reinterpret_cast<HICON>(&it->second);
}

void QvSetWindowIcon(HWND hWnd, HICON hIcon, bool bBig)
{
    QWidget* w = QvWidget(hWnd);
    const QIcon* icon = QvIcon(hIcon);
    if (!w || !icon) return;
    // One window icon with every size: the big icon wins, the small one is
    // used only when no big icon was set.
    const char* const kBigIconProperty = "qvHasBigIcon";
    if (bBig) {
        w->setWindowIcon(*icon);
        w->setProperty(kBigIconProperty, true);
    } else if (!w->property(kBigIconProperty).toBool()) {
        w->setWindowIcon(*icon);
    }
}

int QvRunApplication(int argc, char** argv, CWinApp* pApp)
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
    if (QIcon* icon = QvIcon(QvLoadIcon(kQvApplicationIcon))) QApplication::setWindowIcon(*icon);
    // Qt has set LC_NUMERIC from the environment: numbers are "C" again.
    QvFixNumericLocale();

    if (!pApp->InitInstance()) return 0;
    // An application that stays after InitInstance runs the event loop.
    return QApplication::exec();
}
