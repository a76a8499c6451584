#ifndef LUMENO_UTILITIES_H
#define LUMENO_UTILITIES_H

#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>

// Small stateless helpers shared by the program's parts; none keeps state, so
// any thread may call them.

// Returns the whole content of the UTF-8 text file at path (a resource path
// such as ":/resources/text/style.css" works too), with every line end turned
// into a single '\n'. A file that cannot be opened gives an empty string.
QString readTextFile(const QString &path);

// Escapes &, <, > and " for HTML; an entity already in text is escaped again
// ("&lt;" becomes "&amp;lt;"). Single quotes are left alone.
QString escapeHtml(const QString &text);

// Buttons and menu entries read a '&' as a mnemonic marker: it would vanish
// from the text and bind Alt+<next character>. Texts that are data (format
// strings and what they make) get every '&' doubled, to show as itself.
QString escapeMnemonics(const QString &text);

// Whether the platform lets a program move the system pointer
// (QCursor::setPos): not on Wayland, where Qt only warns. Asked of the running
// application.
bool pointerCanBeMoved();

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

#endif
