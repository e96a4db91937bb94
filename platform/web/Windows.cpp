#include "platform/web/Windows.h"

#include <algorithm>
#include <memory>

#include "platform/DialogKeys.h"

namespace {
std::vector<std::unique_ptr<QvWebWindow>> g_windows;

// Enter in a dialog whose control `focused` has the focus (0: none).
void Enter(QvWebWindow& w, int focused)
{
    QvEnterFocus focus;
    for (const QvWebControl& c : w.controls)
        if (c.handle == focused) focus = QvEnterFocus{c.kind, c.id, qv_page_is_enabled(c.handle) != 0, false};
    const bool defaultEnabled = !w.defaultHandle || qv_page_is_enabled(w.defaultHandle);
    const int command = QvEnterCommand(focus, w.defaultId, defaultEnabled);
    if (command != -1) w.owner->OnCommand(static_cast<UINT>(command), BN_CLICKED);
}
}  // namespace

QvWebWindow* QvFindWebWindow(int handle)
{
    for (auto& w : g_windows)
        if (w->handle == handle) return w.get();
    return nullptr;
}

QvWebWindow& QvAddWebWindow(int handle)
{
    g_windows.push_back(std::make_unique<QvWebWindow>());
    g_windows.back()->handle = handle;
    return *g_windows.back();
}

void QvRemoveWebWindow(int handle)
{
    g_windows.erase(std::remove_if(g_windows.begin(), g_windows.end(),
                                   [handle](const auto& w) { return w->handle == handle; }),
                    g_windows.end());
}

void QvDispatchPageEvent(int* answer)
{
    const QvPageEvent e = QvWaitPageEvent();
    if (e.kind == QvPageEventKind::Answer) {
        if (answer) *answer = e.a;
        return;
    }
    QvWebWindow* w = QvFindWebWindow(e.window);
    // Events of a window closed meanwhile are dropped, as its messages would be.
    if (!w || !w->owner) return;
    switch (e.kind) {
    case QvPageEventKind::Command: w->owner->OnCommand(static_cast<UINT>(e.a), static_cast<UINT>(e.b)); break;
    case QvPageEventKind::Key: w->owner->OnKeyDown(static_cast<UINT>(e.a), 1, static_cast<UINT>(e.b)); break;
    case QvPageEventKind::Enter: Enter(*w, e.a); break;
    case QvPageEventKind::Timer:
        for (const auto& [id, pWnd] : w->timers)
            if (id == static_cast<UINT>(e.a)) {
                pWnd->OnTimer(id);
                break;
            }
        break;
    case QvPageEventKind::Answer: break;
    }
}
