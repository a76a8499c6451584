#ifndef LUMENO_COLORFORMAT_H
#define LUMENO_COLORFORMAT_H

#include <QColor>
#include <QColorSpace>
#include <QPointF>
#include <QRectF>
#include <QString>

// A colour format string such as "#%rr%gg%bb" or "rgba(%r,%g,%b,%a)": a
// template that turns a picked colour, the point it came from and the current
// selection into text.
//
// Any text is a valid format; it is stored exactly as given and never checked.
// The tokens are, for the channels c = r, g, b, a: "%c" (decimal), "%cc" (two
// lower-case hex digits) and "%ccc" (three decimal digits, zero-filled); for
// the point: "%x" and "%y"; for the selection: "%x0", "%y0" (top left),
// "%x1", "%y1" (exclusive right and bottom edge), "%w" and "%h". Positions
// are floored. Then the colour models: "%Fr", "%Fg", "%Fb", "%Fa" (channels
// from 0 to 1, three decimals); "%Lh", "%Ls", "%Ll" (HSL hue in whole degrees,
// saturation and lightness in whole percent); "%Vh", "%Vs", "%Vv" (the same
// hue, HSV saturation and value in whole percent); "%Ol", "%Oc", "%Oh"
// (OKLCH lightness 0 to 1 and chroma with three decimals, hue in degrees with
// two). Values are rounded to the nearest. For pictures with a colour
// profile, where the colour is the one shown (in sRGB): "%Sr", "%Sg", "%Sb",
// "%Sa" (the channels as the picture stores them, decimal), "%Pn" (the
// profile's name, "sRGB" for an untagged picture) and "%Pc" (the stored
// colour as CSS writes it, "color(display-p3 0.784 0.392 0.196)", with
// " / alpha" when translucent; a profile CSS has no name for gives the
// colour in sRGB, unclipped). Everything else, "%1" included, is copied
// literally.
//
// Tokens are replaced one kind after the other in a fixed order (longest
// channel tokens first, the selection corners before "%x" and "%y"), each
// step working on the output of the steps before. There is no escape: a
// literal '%' in front of a token may combine with an earlier step's hex
// output into a later token ("%%rr" with red 0xab becomes "%ab", then the
// alpha value followed by "b"). Stored formats rely on this behaviour. The
// colour-model tokens come last and begin with a capital, which no output
// contains, so no earlier step changes them and they change no earlier one.
// The profile's name is the file's data: it is put in last, and nothing is
// looked for in it.
class ColorFormat
{
public:
    // The colour as the picture stores it, in the picture's colour space; an
    // invalid colour: the same as the colour shown, in sRGB.
    struct Stored
    {
        QColor color;
        QColorSpace space;
    };

    // "#%rr%gg%bb".
    ColorFormat();
    explicit ColorFormat(const QString &formatString);

    QString formatString() const { return m_formatString; }

    // The text for color (as shown) picked at point (image pixel
    // coordinates), with the selection rectangle taken as it is (not
    // normalized).
    QString formatColor(const QColor &color, QPointF point, const QRectF &selection,
                        const Stored &stored = Stored()) const;

    // The longest text the format gives, for reserving room for it: every
    // digit is digit (the widest decimal digit of a font), every hex digit
    // hexDigit, channels take three digits, selection values
    // coordinateDigits digits, and the point, which may lie outside the
    // image, a minus sign and one digit more. A profile's name counts as
    // twelve digits.
    QString widestText(QChar digit, QChar hexDigit, int coordinateDigits) const;

    // The format string without any '%': the format's name in menus.
    QString menuLabel() const;

private:
    QString m_formatString;
};

Q_DECLARE_TYPEINFO(ColorFormat, Q_RELOCATABLE_TYPE);

#endif
