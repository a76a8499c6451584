#include "colour/colorformat.h"

#include "colour/colormodels.h"
#include "document/colorprofile.h"
#include "util/utilities.h"

#include <cmath>
#include <functional>

namespace {

// What a token stands for.
enum Value
{
    Red,
    Green,
    Blue,
    Alpha,
    Left,
    Top,
    Right,
    Bottom,
    Width,
    Height,
    PointX,
    PointY,
    Hue,
    HslSaturation,
    HslLightness,
    HsvSaturation,
    HsvValue,
    OkLightness,
    OkChroma,
    OkHue,
    StoredRed,
    StoredGreen,
    StoredBlue,
    StoredAlpha,
    ValueCount,
    // Texts, not numbers.
    CssColor = ValueCount,
    ProfileName
};

// How a token writes its value.
enum class Form
{
    Decimal,
    ThreeDigits,
    TwoHexDigits,
    // The value times scale, rounded to decimals places.
    Real,
    Text
};

struct Token
{
    QLatin1String text;
    Value value;
    Form form;
    double scale = 1;
    int decimals = 0;
    int integerDigits = 1; // at most, for Real
};

// The tokens in the order they are replaced; see the class comment. The
// colour models come last and start with a capital, which no earlier step
// can write: every older token keeps its output, and every stored format its
// meaning.
const Token Tokens[] = {
    {QLatin1String("%rrr"), Red, Form::ThreeDigits},
    {QLatin1String("%ggg"), Green, Form::ThreeDigits},
    {QLatin1String("%bbb"), Blue, Form::ThreeDigits},
    {QLatin1String("%aaa"), Alpha, Form::ThreeDigits},
    {QLatin1String("%rr"), Red, Form::TwoHexDigits},
    {QLatin1String("%gg"), Green, Form::TwoHexDigits},
    {QLatin1String("%bb"), Blue, Form::TwoHexDigits},
    {QLatin1String("%aa"), Alpha, Form::TwoHexDigits},
    {QLatin1String("%r"), Red, Form::Decimal},
    {QLatin1String("%g"), Green, Form::Decimal},
    {QLatin1String("%b"), Blue, Form::Decimal},
    {QLatin1String("%a"), Alpha, Form::Decimal},
    {QLatin1String("%x0"), Left, Form::Decimal},
    {QLatin1String("%y0"), Top, Form::Decimal},
    {QLatin1String("%x1"), Right, Form::Decimal},
    {QLatin1String("%y1"), Bottom, Form::Decimal},
    {QLatin1String("%w"), Width, Form::Decimal},
    {QLatin1String("%h"), Height, Form::Decimal},
    {QLatin1String("%x"), PointX, Form::Decimal},
    {QLatin1String("%y"), PointY, Form::Decimal},
    {QLatin1String("%Fr"), Red, Form::Real, 1 / 255.0, 3},
    {QLatin1String("%Fg"), Green, Form::Real, 1 / 255.0, 3},
    {QLatin1String("%Fb"), Blue, Form::Real, 1 / 255.0, 3},
    {QLatin1String("%Fa"), Alpha, Form::Real, 1 / 255.0, 3},
    {QLatin1String("%Lh"), Hue, Form::Real, 1, 0, 3},
    {QLatin1String("%Ls"), HslSaturation, Form::Real, 100, 0, 3},
    {QLatin1String("%Ll"), HslLightness, Form::Real, 100, 0, 3},
    {QLatin1String("%Vh"), Hue, Form::Real, 1, 0, 3},
    {QLatin1String("%Vs"), HsvSaturation, Form::Real, 100, 0, 3},
    {QLatin1String("%Vv"), HsvValue, Form::Real, 100, 0, 3},
    {QLatin1String("%Ol"), OkLightness, Form::Real, 1, 3},
    {QLatin1String("%Oc"), OkChroma, Form::Real, 1, 3},
    {QLatin1String("%Oh"), OkHue, Form::Real, 1, 2, 3},
    {QLatin1String("%Sr"), StoredRed, Form::Decimal},
    {QLatin1String("%Sg"), StoredGreen, Form::Decimal},
    {QLatin1String("%Sb"), StoredBlue, Form::Decimal},
    {QLatin1String("%Sa"), StoredAlpha, Form::Decimal},
    // Texts with letters and spaces: last, the name (the file's data) at the
    // very end.
    {QLatin1String("%Pc"), CssColor, Form::Text},
    {QLatin1String("%Pn"), ProfileName, Form::Text},
};

// The stored colour as CSS Color 4 writes it; see the class comment.
QString cssColor(const QColor &stored, const QColorSpace &space)
{
    const QRgb rgba = stored.rgba();
    QString name = ColorProfile::cssName(space);
    float channels[3] = {qRed(rgba) / 255.0f, qGreen(rgba) / 255.0f, qBlue(rgba) / 255.0f};
    if (name.isEmpty()) {
        const ColorProfile::Unclipped srgb = ColorProfile::toSrgbUnclipped(rgba, space);
        channels[0] = srgb.red;
        channels[1] = srgb.green;
        channels[2] = srgb.blue;
        name = QStringLiteral("srgb");
    }
    const auto number = [](double value) {
        const double rounded = std::round(value * 1000) / 1000;
        return QString::number(rounded == 0 ? 0.0 : rounded, 'f', 3);
    };
    QString text = QStringLiteral("color(") + name;
    for (const float channel : channels)
        text += QLatin1Char(' ') + number(channel);
    if (qAlpha(rgba) < 255)
        text += QStringLiteral(" / ") + number(qAlpha(rgba) / 255.0);
    return text + QLatin1Char(')');
}

// A value as a Real token writes it. Hues stay below 360 after rounding, and
// no value is written as minus zero.
QString real(double value, const Token &token)
{
    const double factor = std::pow(10.0, token.decimals);
    double rounded = std::round(value * token.scale * factor) / factor;
    if ((token.value == Hue || token.value == OkHue) && rounded >= 360)
        rounded -= 360;
    return QString::number(rounded == 0 ? 0.0 : rounded, 'f', token.decimals);
}

// Replaces every token of text, in order, by what render() makes of it.
QString substitute(QString text, const std::function<QString(const Token &)> &render)
{
    // Replacement texts never contain a '%', so without one no step can match.
    if (!text.contains(QLatin1Char('%')))
        return text;
    // Only the texts of tokens present are made: this runs on every hover.
    for (const Token &token : Tokens) {
        if (text.contains(token.text))
            text.replace(token.text, render(token), Qt::CaseSensitive);
    }
    return text;
}

} // namespace

ColorFormat::ColorFormat() : m_formatString(QStringLiteral("#%rr%gg%bb"))
{
}

ColorFormat::ColorFormat(const QString &formatString) : m_formatString(formatString)
{
}

QString ColorFormat::formatColor(const QColor &color, QPointF point, const QRectF &selection,
                                 const Stored &stored) const
{
    // rgba() reads colours of other models through their RGB form.
    const QRgb rgba = color.rgba();
    const QColor storedColor = stored.color.isValid() ? stored.color : color;
    const QRgb storedRgba = storedColor.rgba();
    // The sums are formed in double precision before flooring, so "%x1" of a
    // fractional selection may differ from "%x0" + "%w". The models are
    // worked out only for a format that asks for them.
    double values[ValueCount] = {
        double(qRed(rgba)),
        double(qGreen(rgba)),
        double(qBlue(rgba)),
        double(qAlpha(rgba)),
        double(floorToInt(selection.x())),
        double(floorToInt(selection.y())),
        double(floorToInt(selection.x() + selection.width())),
        double(floorToInt(selection.y() + selection.height())),
        double(floorToInt(selection.width())),
        double(floorToInt(selection.height())),
        double(floorToInt(point.x())),
        double(floorToInt(point.y())),
        0,
        0,
        0,
        0,
        0,
        0,
        0,
        0,
        double(qRed(storedRgba)),
        double(qGreen(storedRgba)),
        double(qBlue(storedRgba)),
        double(qAlpha(storedRgba)),
    };
    bool models = false;
    return substitute(m_formatString, [&](const Token &token) {
        if (token.value == CssColor)
            return cssColor(storedColor, stored.space);
        if (token.value == ProfileName)
            return ColorProfile::name(stored.space);
        if (token.value >= Hue && token.value <= OkHue && !models) {
            const ColorModels::Hsl hsl = ColorModels::toHsl(rgba);
            const ColorModels::Hsv hsv = ColorModels::toHsv(rgba);
            const ColorModels::Oklch oklch = ColorModels::toOklch(rgba);
            values[Hue] = hsl.hue;
            values[HslSaturation] = hsl.saturation;
            values[HslLightness] = hsl.lightness;
            values[HsvSaturation] = hsv.saturation;
            values[HsvValue] = hsv.value;
            values[OkLightness] = oklch.lightness;
            values[OkChroma] = oklch.chroma;
            values[OkHue] = oklch.hue;
            models = true;
        }
        const double value = values[token.value];
        switch (token.form) {
        case Form::ThreeDigits:
            return QString::number(int(value)).rightJustified(3, QLatin1Char('0'));
        case Form::TwoHexDigits:
            return QString::number(int(value), 16).rightJustified(2, QLatin1Char('0'));
        case Form::Real:
            return real(value, token);
        case Form::Decimal:
        case Form::Text:
            break;
        }
        return QString::number(int(value));
    });
}

QString ColorFormat::widestText(QChar digit, QChar hexDigit, int coordinateDigits) const
{
    const QString coordinate(qMax(1, coordinateDigits), digit);
    return substitute(m_formatString, [&](const Token &token) {
        if (token.form == Form::TwoHexDigits)
            return QString(2, hexDigit);
        if (token.form == Form::Real) {
            return QString(token.integerDigits, digit) +
                   (token.decimals ? QLatin1Char('.') + QString(token.decimals, digit) : QString());
        }
        if (token.value == CssColor)
            return QStringLiteral("color(display-p3 ") + QString(3, digit) +
                   QStringLiteral(" / )") + QString(4 * 5, digit);
        if (token.value == ProfileName)
            return QString(12, digit);
        if (token.value <= Alpha || token.value >= StoredRed)
            return QString(3, digit);
        // The point may lie outside the image, before it or far beyond it.
        if (token.value >= PointX)
            return QLatin1Char('-') + coordinate + digit;
        return coordinate;
    });
}

QString ColorFormat::menuLabel() const
{
    return QString(m_formatString).remove(QLatin1Char('%'));
}
