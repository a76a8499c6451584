#ifndef LUMENO_EVENTWATCH_H
#define LUMENO_EVENTWATCH_H

#include <QObject>

#include <functional>

class QEvent;

// Calls a function with every event the watched object receives, before the
// object handles it, for as long as the watch exists. The function returns
// true to stop the event there. The watched object must outlive the watch.
class EventWatch : public QObject
{
public:
    using Watcher = std::function<bool(QObject *, QEvent *)>;
    EventWatch(QObject *watched, const Watcher &watcher);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Watcher m_watcher;
};

#endif
