#include "colour/colorformat.h"

#include "app/lumeno.h"
#include "selection/selectionitem.h"
#include "view/view.h"

#include <cmath>
#include <limits>

namespace {

// floor(value) as an int. Values beyond the int range saturate and NaN gives
// 0: a plain conversion of those would be undefined behaviour.
int floorToInt(double value)
{
    if (std::isnan(value))
        return 0;
    const double floored = std::floor(value);
    if (floored <= double(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    if (floored >= double(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    return int(floored);
}

enum class Form
{
    Decimal,
    ThreeDigits,
    TwoHexDigits
};

// One replacement step: every occurrence of token becomes value in form.
struct Step
{
    QLatin1String token;
    Form form;
    int value;
};

QString render(Form form, int value)
{
    switch (form) {
    case Form::ThreeDigits:
        return QString::number(value).rightJustified(3, QLatin1Char('0'));
    case Form::TwoHexDigits:
        return QString::number(value, 16).rightJustified(2, QLatin1Char('0'));
    case Form::Decimal:
        break;
    }
    return QString::number(value);
}

} // namespace

ColorFormat::ColorFormat() : m_formatString(QStringLiteral("#%rr%gg%bb"))
{
}

ColorFormat::ColorFormat(const QString &formatString) : m_formatString(formatString)
{
}

QString ColorFormat::formatColor(const QColor &color, QPointF point) const
{
    return formatColor(color, point, currentSelection());
}

QString ColorFormat::formatColor(const QColor &color, QPointF point, const QRectF &selection) const
{
    QString text = m_formatString;
    // Replacement texts never contain a '%', so without one no step can match.
    if (!text.contains(QLatin1Char('%')))
        return text;

    // rgba() reads colours of other models through their RGB form.
    const QRgb rgba = color.rgba();
    const int r = qRed(rgba);
    const int g = qGreen(rgba);
    const int b = qBlue(rgba);
    const int a = qAlpha(rgba);

    // The sums are formed in double precision before flooring, so "%x1" of a
    // fractional selection may differ from "%x0" + "%w".
    const double left = selection.x();
    const double top = selection.y();
    const double width = selection.width();
    const double height = selection.height();

    // The order is part of the format language; see the class comment.
    const Step steps[] = {
        {QLatin1String("%rrr"), Form::ThreeDigits, r},
        {QLatin1String("%ggg"), Form::ThreeDigits, g},
        {QLatin1String("%bbb"), Form::ThreeDigits, b},
        {QLatin1String("%aaa"), Form::ThreeDigits, a},
        {QLatin1String("%rr"), Form::TwoHexDigits, r},
        {QLatin1String("%gg"), Form::TwoHexDigits, g},
        {QLatin1String("%bb"), Form::TwoHexDigits, b},
        {QLatin1String("%aa"), Form::TwoHexDigits, a},
        {QLatin1String("%r"), Form::Decimal, r},
        {QLatin1String("%g"), Form::Decimal, g},
        {QLatin1String("%b"), Form::Decimal, b},
        {QLatin1String("%a"), Form::Decimal, a},
        {QLatin1String("%x0"), Form::Decimal, floorToInt(left)},
        {QLatin1String("%y0"), Form::Decimal, floorToInt(top)},
        {QLatin1String("%x1"), Form::Decimal, floorToInt(left + width)},
        {QLatin1String("%y1"), Form::Decimal, floorToInt(top + height)},
        {QLatin1String("%w"), Form::Decimal, floorToInt(width)},
        {QLatin1String("%h"), Form::Decimal, floorToInt(height)},
        {QLatin1String("%x"), Form::Decimal, floorToInt(point.x())},
        {QLatin1String("%y"), Form::Decimal, floorToInt(point.y())},
    };
    // Only the texts of tokens present are made: this runs on every hover.
    for (const Step &step : steps) {
        if (text.contains(step.token))
            text.replace(step.token, render(step.form, step.value), Qt::CaseSensitive);
    }
    return text;
}

QString ColorFormat::menuLabel() const
{
    return QString(m_formatString).remove(QLatin1Char('%'));
}

QRectF ColorFormat::currentSelection()
{
    // The main window formats the panel's first texts before its view exists.
    const Lumeno *window = Lumeno::instance();
    const View *view = window ? window->view() : nullptr;
    const SelectionItem *item = view ? view->selectionItem() : nullptr;
    return item ? item->rect() : QRectF();
}
