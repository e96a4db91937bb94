// Timers of a window: the page ticks them from its animation frames; the
// window's side remembers whom each tick is for.
#include "platform/Timer.h"
#include "platform/web/Windows.h"

bool QvSetTimer(HWND hWnd, CWnd* pWnd, UINT nID, UINT nElapseMs)
{
    QvWebWindow* w = QvFindWebWindow(QvWindowHandle(hWnd));
    if (!w || !pWnd) return false;
    bool found = false;
    for (auto& [id, p] : w->timers)
        if (id == nID) {
            p = pWnd;
            found = true;
        }
    if (!found) w->timers.emplace_back(nID, pWnd);
    qv_page_timer_set(w->handle, nID, QvTimerPeriod(nElapseMs));
    return true;
}

bool QvKillTimer(HWND hWnd, UINT nID)
{
    QvWebWindow* w = QvFindWebWindow(QvWindowHandle(hWnd));
    if (!w) return false;
    for (auto it = w->timers.begin(); it != w->timers.end(); ++it)
        if (it->first == nID) {
            w->timers.erase(it);
            qv_page_timer_kill(w->handle, nID);
            return true;
        }
    return false;
}
