#include "colour/colorformat.h"

#include "app/lumeno.h"
#include "selection/selectionitem.h"
#include "view/view.h"

#include <cmath>
#include <limits>
#include <utility>

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

QString decimal(int value)
{
    return QString::number(value);
}

QString threeDigits(int channel)
{
    return QString::number(channel).rightJustified(3, QLatin1Char('0'));
}

QString twoHexDigits(int channel)
{
    return QString::number(channel, 16).rightJustified(2, QLatin1Char('0'));
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
    const std::pair<QLatin1String, QString> steps[] = {
        {QLatin1String("%rrr"), threeDigits(r)},
        {QLatin1String("%ggg"), threeDigits(g)},
        {QLatin1String("%bbb"), threeDigits(b)},
        {QLatin1String("%aaa"), threeDigits(a)},
        {QLatin1String("%rr"), twoHexDigits(r)},
        {QLatin1String("%gg"), twoHexDigits(g)},
        {QLatin1String("%bb"), twoHexDigits(b)},
        {QLatin1String("%aa"), twoHexDigits(a)},
        {QLatin1String("%r"), decimal(r)},
        {QLatin1String("%g"), decimal(g)},
        {QLatin1String("%b"), decimal(b)},
        {QLatin1String("%a"), decimal(a)},
        {QLatin1String("%x0"), decimal(floorToInt(left))},
        {QLatin1String("%y0"), decimal(floorToInt(top))},
        {QLatin1String("%x1"), decimal(floorToInt(left + width))},
        {QLatin1String("%y1"), decimal(floorToInt(top + height))},
        {QLatin1String("%w"), decimal(floorToInt(width))},
        {QLatin1String("%h"), decimal(floorToInt(height))},
        {QLatin1String("%x"), decimal(floorToInt(point.x()))},
        {QLatin1String("%y"), decimal(floorToInt(point.y()))},
    };
    for (const auto &step : steps)
        text.replace(step.first, step.second, Qt::CaseSensitive);
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
