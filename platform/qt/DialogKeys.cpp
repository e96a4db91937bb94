// The keys of a dialog: ESC cancels, Enter gives the command the shared rule
// picks (platform/DialogKeys.h), and a window without controls (the run) gets
// its keys as virtual keys.
#include <QGuiApplication>
#include <QKeyEvent>

#include <algorithm>

#include "platform/DialogKeys.h"
#include "platform/qt/DialogWindow.h"
#include "platform/qt/Keys.h"

void QvDialogWindow::PressEnter()
{
    QvEnterFocus focus;
    QWidget* f = focusWidget();
    for (const auto& [id, w] : m_controls)
        if (w == f) {
            focus.kind = QvGetControlKind(QvHandle(w));
            focus.id = id;
            focus.enabled = w->isEnabled() && w->isVisible();
            focus.keepsEnter = std::find(m_keepEnter.begin(), m_keepEnter.end(), w) != m_keepEnter.end();
        }
    const bool defaultEnabled = m_nDefaultIndex < 0 || m_controls[m_nDefaultIndex].second->isEnabled();
    const int command = QvEnterCommand(focus, m_nDefaultId, defaultEnabled);
    if (command != -1) m_pOwner->OnCommand(static_cast<UINT>(command), BN_CLICKED);
}

void QvDialogWindow::keyPressEvent(QKeyEvent* e)
{
    const int key = e->key();
    if (key == Qt::Key_Escape) {
        m_pOwner->OnCommand(IDCANCEL, BN_CLICKED);
        return;
    }
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) &&
        !(e->modifiers() & (Qt::AltModifier | Qt::ControlModifier | Qt::MetaModifier))) {
        PressEnter();
        return;
    }
    if (m_controls.empty()) {
        // With Alt the original platform sends a system key message instead,
        // and Tab belongs to the dialog manager; F10 is a system key as well.
        if (e->modifiers().testFlag(Qt::AltModifier) || key == Qt::Key_Alt || key == Qt::Key_F10 ||
            key == Qt::Key_Tab || key == Qt::Key_Backtab)
            return;
        unsigned int scan = QGuiApplication::platformName() == QLatin1String("xcb") ? e->nativeScanCode() : 0;
        UINT vk = QvVirtualKeyFromQt(key, e->modifiers(), scan);
        if (vk == 0) return;
        // Key flags as the original platform packs them: scan code, and bit 14
        // set when the key was already down (auto-repeat).
        UINT flags = (e->nativeScanCode() & 0xFFu) | (e->isAutoRepeat() ? 0x4000u : 0u);
        m_pOwner->OnKeyDown(vk, 1, flags);
        return;
    }
    e->ignore();
}
