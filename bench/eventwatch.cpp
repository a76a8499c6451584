#include "bench/eventwatch.h"

EventWatch::EventWatch(QObject *watched, const Watcher &watcher) : m_watcher(watcher)
{
    watched->installEventFilter(this);
}

bool EventWatch::eventFilter(QObject *watched, QEvent *event)
{
    return m_watcher(watched, event);
}
