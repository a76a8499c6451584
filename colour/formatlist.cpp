#include "colour/formatlist.h"

#include <QSettings>
#include <QStringList>

namespace {

const QString FormatStringsKey = QStringLiteral("colors/format_strings");
const QString FormatIndexKey = QStringLiteral("colors/format_index");
// Bounds on what the settings file may bring in: longer strings are dropped,
// strings past the count are left out, so a damaged or hostile file can make
// neither start-up nor every hover slow.
constexpr int MaxFormatLength = 1000;
constexpr int MaxCustomFormats = 100;

} // namespace

FormatList::FormatList(QObject *parent) : QObject(parent)
{
    for (const char *text :
         {"%r,%g,%b,%a", "#%rr%gg%bb%aa", "#%rr%gg%bb", "rgb(%r,%g,%b)", "rgba(%r,%g,%b,%a)"})
        m_builtinFormats.append(ColorFormat(QString::fromLatin1(text)));
    load();
    commit();
}

ColorFormat FormatList::current() const
{
    const int nb = int(m_builtinFormats.size());
    if (m_currentIndex < nb)
        return m_builtinFormats.at(m_currentIndex);
    return m_customFormats.at(m_currentIndex - nb);
}

void FormatList::load()
{
    QSettings settings;
    const QStringList strings = settings.value(FormatStringsKey).toStringList();
    m_currentIndex = settings.value(FormatIndexKey, 0).toInt();

    // The index keeps pointing at the same string when strings before it are
    // dropped; it falls back to the first format when its own one is.
    const int nb = int(m_builtinFormats.size());
    const int storedCustom = m_currentIndex - nb;
    int i = 0;
    for (; i < strings.size() && m_customFormats.size() < MaxCustomFormats; ++i) {
        if (strings.at(i).size() > MaxFormatLength) {
            if (i == storedCustom)
                m_currentIndex = 0;
            continue;
        }
        if (i == storedCustom)
            m_currentIndex = nb + int(m_customFormats.size());
        m_customFormats.append(ColorFormat(strings.at(i)));
    }
    if (storedCustom >= i && storedCustom < strings.size())
        m_currentIndex = 0;
}

void FormatList::commit()
{
    m_currentIndex = qBound(0, m_currentIndex, count() - 1);
    QStringList strings;
    strings.reserve(m_customFormats.size());
    for (const ColorFormat &format : std::as_const(m_customFormats))
        strings.append(format.formatString());
    QSettings settings;
    settings.setValue(FormatStringsKey, strings);
    settings.setValue(FormatIndexKey, m_currentIndex);
    emit changed();
}

void FormatList::setCurrentIndex(int index)
{
    if (index < 0 || index >= count())
        return;
    m_currentIndex = index;
    commit();
}

void FormatList::addCustomFormat(const QString &text)
{
    if (text.isEmpty())
        return;
    m_customFormats.append(ColorFormat(text));
    m_currentIndex = count() - 1;
    commit();
}

void FormatList::removeCustomFormat(int k)
{
    if (k < 0 || k >= m_customFormats.size())
        return;
    m_customFormats.removeAt(k);
    commit();
}

void FormatList::removeAllCustomFormats()
{
    m_customFormats.clear();
    commit();
}
