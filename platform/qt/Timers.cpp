// Timers of a window: one QTimer child per id, which calls the window's OnTimer.
#include <QTimer>
#include <QVariant>

#include "platform/Dialog.h"
#include "platform/Timer.h"
#include "platform/qt/QtWindow.h"

namespace {
const char* const kTimerIdProperty = "qvTimerId";

QTimer* TimerOf(QWidget* w, UINT nIDEvent)
{
    const auto timers = w->findChildren<QTimer*>(QString(), Qt::FindDirectChildrenOnly);
    for (QTimer* t : timers)
        if (t->property(kTimerIdProperty).isValid() && t->property(kTimerIdProperty).toUInt() == nIDEvent) return t;
    return nullptr;
}
}  // namespace

bool QvSetTimer(HWND hWnd, CWnd* pWnd, UINT nIDEvent, UINT nElapseMs)
{
    QWidget* w = QvWidget(hWnd);
    if (!w) return false;
    const int ms = static_cast<int>(QvTimerPeriod(nElapseMs));
    if (QTimer* t = TimerOf(w, nIDEvent)) {
        t->start(ms);
        return true;
    }
    auto* t = new QTimer(w);
    t->setTimerType(Qt::PreciseTimer);
    t->setProperty(kTimerIdProperty, nIDEvent);
    QObject::connect(t, &QTimer::timeout, w, [pWnd, nIDEvent] { pWnd->OnTimer(nIDEvent); });
    t->start(ms);
    return true;
}

bool QvKillTimer(HWND hWnd, UINT nIDEvent)
{
    QWidget* w = QvWidget(hWnd);
    QTimer* t = w ? TimerOf(w, nIDEvent) : nullptr;
    if (!t) return false;
    t->stop();
    t->deleteLater();
    t->setProperty(kTimerIdProperty, QVariant());
    return true;
}
