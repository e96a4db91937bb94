// The Qt platform's dialogs: one QDialog per running CDialog, and the nested
// modal loop.
#include "platform/qt/DialogWindow.h"

#include <QCloseEvent>
#include <QPointer>
#include <QScreen>

#include "platform/WinApp.h"
#include "platform/qt/DialogLayout.h"

void QvDialogWindow::closeEvent(QCloseEvent* e)
{
    // The close box is the Cancel command; the window goes away only through EndDialog.
    e->ignore();
    m_pOwner->OnCommand(IDCANCEL, BN_CLICKED);
}

BOOL QvPlatformHaveDisplay()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) && QGuiApplication::primaryScreen() ? TRUE
                                                                                                         : FALSE;
}

HWND QvCreateDialogWindow(CDialog& dlg, const DlgTemplate& t, HWND hParent)
{
    if (!QvHaveWidgetsApp()) return nullptr;
    // The owner: the given parent, else the active modal window, else the main window.
    QWidget* parent = QvWidget(hParent);
    if (!parent) parent = QApplication::activeModalWidget();
    if (!parent) parent = QvWidget(QvMainWindowAsOwner(dlg));
    if (parent) parent = parent->window();

    Qt::WindowFlags flags = (t.exStyle & WS_EX_APPWINDOW) ? Qt::Window : Qt::Dialog;
    if ((t.style & WS_CAPTION) == WS_CAPTION) {
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
        if (t.style & WS_SYSMENU) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    } else {
        flags |= Qt::FramelessWindowHint;
    }

    auto* w = new QvDialogWindow(&dlg, parent, flags);
    w->setWindowModality(Qt::ApplicationModal);
    w->setFont(QvDialogFont());
    w->setWindowTitle(QString::fromUtf8(t.caption ? t.caption : ""));
    QvDialogBaseUnits units = QvBaseUnits(w->font());
    const QvPixelRect size = QvMapDialogRect(0, 0, t.cx, t.cy, units);
    w->setFixedSize(size.cx, size.cy);
    w->BuildControls(t, units);
    if (w->m_controls.empty()) w->setFocusPolicy(Qt::StrongFocus);
    return QvHandle(w);
}

void QvShowDialogWindow(HWND hWnd, bool focusFirst)
{
    QvDialogWindow* w = QvDialogOf(hWnd);
    if (!w) return;
    if (focusFirst) {
        for (QWidget* c : w->m_tabStops)
            if (c->isEnabled()) {
                c->setFocus(Qt::TabFocusReason);
                break;
            }
    }
    // OnInitDialog may have made the window full screen: just show it as it is.
    if (!w->isVisible()) w->setVisible(true);
    w->activateWindow();
    if (w->m_controls.empty()) w->setFocus(Qt::ActiveWindowFocusReason);
}

void QvRunModalLoop(HWND hWnd)
{
    QvDialogWindow* w = QvDialogOf(hWnd);
    if (!w) return;
    QEventLoop loop;
    w->m_pLoop = &loop;
    loop.exec(QEventLoop::DialogExec);
    w->m_pLoop = nullptr;
}

void QvEndModalLoop(HWND hWnd)
{
    if (QvDialogWindow* w = QvDialogOf(hWnd); w && w->m_pLoop) w->m_pLoop->exit(0);
}

void QvHideDialogWindow(HWND hWnd)
{
    if (QWidget* w = QvWidget(hWnd)) w->hide();
}

void QvDestroyDialogWindow(HWND hWnd)
{
    QWidget* w = QvWidget(hWnd);
    if (!w) return;
    QPointer<QWidget> parent = w->parentWidget();
    delete w;
    if (parent && parent->isVisible()) parent->activateWindow();
}
