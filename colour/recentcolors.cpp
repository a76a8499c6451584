#include "colour/recentcolors.h"

#include <QSettings>

namespace {

const QString RecentColorsKey = QStringLiteral("colors/recent_colors");
// Copied texts come from formats of at most 1000 characters, whose tokens
// give a few characters each.
constexpr int MaxTextLength = 4000;

} // namespace

RecentColors::RecentColors(QObject *parent) : QObject(parent)
{
    const QStringList stored = QSettings().value(RecentColorsKey).toStringList();
    for (const QString &text : stored) {
        if (!text.isEmpty() && text.size() <= MaxTextLength && !m_texts.contains(text) &&
            m_texts.size() < Count)
            m_texts.append(text);
    }
}

void RecentColors::add(const QString &text)
{
    if (text.isEmpty())
        return;
    m_texts.removeAll(text);
    m_texts.prepend(text);
    m_texts = m_texts.mid(0, Count);
    QSettings().setValue(RecentColorsKey, m_texts);
    emit changed();
}
