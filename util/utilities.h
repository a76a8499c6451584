#ifndef LUMENO_UTILITIES_H
#define LUMENO_UTILITIES_H

#include <QColor>
#include <QImage>
#include <QKeySequence>
#include <QRect>
#include <QString>
#include <QStringList>

class QObject;
class QShortcut;
class QWidget;

// Small stateless helpers shared by the windows. All of them are meant for the
// GUI thread.

// Returns the whole content of the UTF-8 text file at path (a resource path
// such as ":/resources/text/style.css" works too), with every line end turned
// into a single '\n'. A file that cannot be opened gives an empty string.
QString readTextFile(const QString &path);

// Creates a shortcut for key owned by parent (which must not be null) with the
// given context. It is connected to receiver's member only when both are given;
// member uses the SLOT() notation, for example SLOT(selectAll()).
QShortcut *makeShortcut(const QKeySequence &key, QWidget *parent, QObject *receiver = nullptr,
                        const char *member = nullptr,
                        Qt::ShortcutContext context = Qt::WindowShortcut);

// Creates one shortcut per '|'-separated part of keys (for example
// "Ctrl+Q|Alt+F4"), all calling the same member, and returns the last one.
// Empty parts are kept: "A||B" makes three shortcuts, one of them with an
// empty key sequence, and an empty keys text makes one.
QShortcut *makeShortcuts(const QString &keys, QWidget *parent, QObject *receiver = nullptr,
                         const char *member = nullptr,
                         Qt::ShortcutContext context = Qt::WindowShortcut);

// Escapes &, <, > and " for HTML; an entity already in text is escaped again
// ("&lt;" becomes "&amp;lt;"). Single quotes are left alone.
QString escapeHtml(const QString &text);

// "#rrggbb" in lower-case hex; alpha is ignored.
QString colorToHex(const QColor &color);

// Joins items the way a sentence lists them: "a", "a and b", "a, b, and c".
// The connecting words are translated in the "QApplication" context.
QString joinList(const QStringList &items);

// Composites over onto under ("source over") on 8-bit channels, truncating.
// The colour channels are left premultiplied by the resulting coverage, not
// divided by the resulting alpha. With opaque set the result's alpha is 255.
QColor blendColors(const QColor &under, const QColor &over, bool opaque);

// floor(value) as an int. Values beyond the int range saturate and NaN gives
// 0: a plain conversion of those would be undefined behaviour.
int floorToInt(double value);

// The mean colour of the pixels of image that lie inside area, weighted by
// their alpha (averaged premultiplied, so a transparent pixel adds no colour),
// each channel rounded to the nearest 8-bit value, halves up. Transparent
// black when area holds no pixel of image or only transparent ones.
QColor averageColor(const QImage &image, const QRect &area);

// An sRGB channel from 0 to 1 as linear light, from 0 to 1.
double linearFromSrgb(double channel);

// The contrast ratio of two colours as the web accessibility guidelines
// define it: (L1 + 0.05) / (L2 + 0.05) of the relative luminances of the
// sRGB colours, the lighter one on top; from 1 to 21. A translucent colour
// counts as composed over white.
double contrastRatio(const QColor &a, const QColor &b);

// A pseudo-random number from 0 to max inclusive; 0 when max is negative.
int randomInt(int max);

// Seeds the generator behind randomInt() from the wall clock (milliseconds
// plus 1000 times the seconds, so less than 60000). Until it is called the
// sequence is the same in every run.
void seedRandom();

// Opens url with the desktop's default handler; the outcome is not checked.
void openUrl(const QString &url);

#endif
