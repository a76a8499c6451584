#ifndef LUMENO_RECENTCOLORS_H
#define LUMENO_RECENTCOLORS_H

#include <QObject>
#include <QStringList>

// The last ten colour texts copied, newest first, each once. Stored in the
// settings group "colors" as "recent_colors": read at construction (empty
// texts, repeats and texts no format could give are left out), written after
// every change.
class RecentColors : public QObject
{
    Q_OBJECT

public:
    static constexpr int Count = 10;

    explicit RecentColors(QObject *parent = nullptr);

    QStringList texts() const { return m_texts; }
    // Makes text the newest; an empty text is not kept.
    void add(const QString &text);

signals:
    void changed();

private:
    QStringList m_texts;
};

#endif
