// The window of a CDialog while DoModal runs, shared by the Qt platform's
// files: building its widgets, routing its keys, the windowing calls.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QEventLoop>

#include <utility>
#include <vector>

#include "platform/Dialog.h"
#include "platform/DialogUnits.h"
#include "platform/Window.h"
#include "platform/qt/QtWindow.h"

class QCloseEvent;
class QKeyEvent;

class QvDialogWindow : public QDialog {
public:
    QvDialogWindow(CDialog* owner, QWidget* parent, Qt::WindowFlags flags) : QDialog(parent, flags), m_pOwner(owner) {}

    CDialog* m_pOwner;
    std::vector<std::pair<int, QWidget*>> m_controls;  // template order
    std::vector<QWidget*> m_tabStops;                   // template order
    std::vector<QWidget*> m_keepEnter;                  // multi-line edits that keep Enter
    QEventLoop* m_pLoop = nullptr;
    int m_nDefaultIndex = -1;  // of the default button in m_controls
    int m_nDefaultId = IDOK;

    void BuildControls(const DlgTemplate& t, const QvDialogBaseUnits& units);  // BuildControls.cpp

    void reject() override { m_pOwner->OnCommand(IDCANCEL, BN_CLICKED); }
    void accept() override { m_pOwner->OnCommand(IDOK, BN_CLICKED); }

protected:
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;  // DialogKeys.cpp

private:
    void Connect(int id, QWidget* w);
    void PressEnter();
};

inline QvDialogWindow* QvDialogOf(HWND hWnd)
{
    return dynamic_cast<QvDialogWindow*>(QvWidget(hWnd));
}

inline bool QvHaveWidgetsApp()
{
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}
