#ifndef LUMENO_MESSAGEBOXWATCHER_H
#define LUMENO_MESSAGEBOXWATCHER_H

#include <QObject>
#include <QStringList>
#include <QTimer>

// Closes every message box the code under test opens, and remembers what
// each one said, so tests can run code that shows modal boxes and check the
// boxes' titles and texts afterwards.
class MessageBoxWatcher : public QObject
{
    Q_OBJECT

public:
    explicit MessageBoxWatcher(QObject *parent = nullptr);

    QStringList titles;
    QStringList texts;
    int count() const { return int(texts.size()); }

private:
    void poll();

    QTimer m_timer;
};

#endif
