#ifndef LUMENO_FORMATLIST_H
#define LUMENO_FORMATLIST_H

#include "colour/colorformat.h"

#include <QList>
#include <QObject>

// The colour format strings to choose from: five built-in ones, then the
// user's custom ones, and which of them is current.
//
// Formats are indexed over the built-in list followed by the custom list.
// The custom formats and the current index live in the settings group
// "colors" ("format_strings", "format_index"): read at construction (a
// damaged or hostile file brings in at most 100 strings of at most 1000
// characters each), and written, clamped, at construction and after every
// change. changed() follows every change of the list or the current index.
class FormatList : public QObject
{
    Q_OBJECT

public:
    explicit FormatList(QObject *parent = nullptr);

    QList<ColorFormat> builtinFormats() const { return m_builtinFormats; }
    QList<ColorFormat> customFormats() const { return m_customFormats; }
    int count() const { return int(m_builtinFormats.size() + m_customFormats.size()); }
    int currentIndex() const { return m_currentIndex; }
    // The format at currentIndex().
    ColorFormat current() const;

    // Indexes outside the list are ignored.
    void setCurrentIndex(int index);
    // Appends a custom format and makes it current; an empty text adds
    // nothing.
    void addCustomFormat(const QString &text);
    // Removes the custom format k (0 is the first custom one) or all of them;
    // the current index keeps its number where it can.
    void removeCustomFormat(int k);
    void removeAllCustomFormats();

signals:
    void changed();

private:
    void load();
    // Clamps the index into the list, writes the settings, and says so.
    void commit();

    QList<ColorFormat> m_builtinFormats;
    QList<ColorFormat> m_customFormats;
    int m_currentIndex = 0;
};

#endif
