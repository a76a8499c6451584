#include "widgets/headerbase.h"

#include "app/lumeno.h"

#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>

#include <cmath>

namespace {

// The main window's font, or the application's while there is no window.
QFont baseFont()
{
    if (const Lumeno *window = Lumeno::instance())
        return window->font();
    return QApplication::font();
}

// The font's size in pixels, also for a font given in points.
int basePixelSize(const QFont &font)
{
    return font.pixelSize() > 0 ? font.pixelSize() : QFontInfo(font).pixelSize();
}

} // namespace

HeaderBase::HeaderBase() = default;

HeaderBase::~HeaderBase() = default;

int HeaderBase::addItem(const QString &text, int sizing, Qt::Alignment alignment, int weight,
                        const QColor &color, bool bold, int leadingSpace, int trailingSpace,
                        const QString &family)
{
    HeaderItem item;
    item.text = text;
    item.family = family;
    item.sizing = sizing;
    item.alignment = alignment;
    item.weight = weight;
    item.bold = bold;
    item.color = color;
    item.leadingSpace = leadingSpace;
    item.trailingSpace = trailingSpace;
    m_items.append(item);
    m_layoutValid = false;
    return m_items.size() - 1;
}

int HeaderBase::addSpacing(int width)
{
    const int index =
        addItem(QString(), FixedWidth, {}, 1, Qt::transparent, false, 0, 0, QString());
    m_items[index].fixedWidth = width;
    return index;
}

bool HeaderBase::setItemText(int index, const QString &text)
{
    if (!isValidIndex(index) || m_items.at(index).text == text)
        return false;
    m_items[index].text = text;
    m_layoutValid = false;
    return true;
}

void HeaderBase::setItemColor(int index, const QColor &color)
{
    if (!isValidIndex(index))
        return;
    m_items[index].color = color;
    m_layoutValid = false;
}

void HeaderBase::setItemVisible(int index, bool visible)
{
    if (isValidIndex(index))
        m_items[index].visible = visible;
}

void HeaderBase::setItemGeometry(int index, int x, int fixedWidth)
{
    if (!isValidIndex(index))
        return;
    m_items[index].x = x;
    m_items[index].fixedWidth = fixedWidth;
}

void HeaderBase::setItemWidth(int index, int fixedWidth)
{
    if (isValidIndex(index))
        m_items[index].fixedWidth = fixedWidth;
}

void HeaderBase::setFontScale(double scale)
{
    m_fontScale = scale;
    layoutItems();
}

void HeaderBase::setHeightFactor(double factor)
{
    m_heightFactor = factor;
    layoutItems();
}

void HeaderBase::setScaleFonts(bool scale)
{
    m_scaleFonts = scale;
    m_layoutValid = false;
}

QFont HeaderBase::itemFont(HeaderItem &item)
{
    if (m_layoutValid)
        return item.font;
    QFont font = baseFont();
    if (m_scaleFonts) {
        const long pixelSize = std::lround(basePixelSize(font) * m_fontScale);
        // QFont refuses (with a warning) sizes below one pixel.
        if (pixelSize > 0)
            font.setPixelSize(int(pixelSize));
    }
    font.setWeight(item.bold ? QFont::Bold : QFont::Normal);
    if (!item.family.isEmpty())
        font.setFamily(item.family);
    item.font = font;
    return font;
}

int HeaderBase::itemNaturalWidth(HeaderItem &item)
{
    if (m_layoutValid)
        return item.naturalWidth;
    item.naturalWidth = QFontMetrics(itemFont(item)).boundingRect(item.text).width() +
                        item.leadingSpace + item.trailingSpace;
    return item.naturalWidth;
}

void HeaderBase::layoutItems()
{
    const double scale = m_scaleFonts ? m_fontScale : 1.0;
    const int height = int(m_heightFactor * scale * basePixelSize(baseFont()));
    setHeaderHeight(qMax(height, m_minimumHeaderHeight));

    int room = int(headerWidth());
    int totalWeight = 0;

    const auto takeUpTo = [&room](int wanted) {
        const int taken = qBound(0, wanted, room);
        room -= taken;
        return taken;
    };

    for (HeaderItem &item : m_items) {
        if (!item.visible)
            continue;
        switch (item.sizing) {
        case FitText:
            item.width = takeUpTo(itemNaturalWidth(item));
            break;
        case FixedWidth:
            item.width = takeUpTo(item.fixedWidth);
            break;
        case Stretch:
        case StretchToText:
            totalWeight += item.weight;
            item.width = 0;
            break;
        default:
            item.width = 0;
            break;
        }
    }

    for (HeaderItem &item : m_items) {
        if (!item.visible || item.sizing != StretchToText)
            continue;
        // Cells without a positive weight get nothing rather than a division
        // by zero.
        const int share = totalWeight > 0 ? room * item.weight / totalWeight : 0;
        item.width = qMax(0, qMin(qMin(share, room), itemNaturalWidth(item)));
        room -= item.width;
        totalWeight -= item.weight;
    }

    for (HeaderItem &item : m_items) {
        if (!item.visible)
            continue;
        if (item.sizing == Stretch)
            item.width = totalWeight > 0 ? qMax(0, item.weight * room / totalWeight) : 0;
        item.displayText =
            QFontMetrics(itemFont(item)).elidedText(item.text, Qt::ElideRight, item.width);
    }

    m_layoutValid = true;
}

void HeaderBase::paintItems(QPainter &painter, double height)
{
    const int bottom = int(height) - 1;
    int runningX = 0;
    for (HeaderItem &item : m_items) {
        if (!item.visible)
            continue;
        const int x = item.x == -1 ? runningX : item.x;
        painter.setPen(item.color);
        painter.setFont(itemFont(item));
        painter.setBackground(QBrush(m_backgroundColor));
        painter.setBackgroundMode(Qt::OpaqueMode);
        painter.drawText(QRect(QPoint(x, 0), QPoint(x + item.width - 1, bottom)), item.alignment,
                         item.displayText);
        runningX += item.width;
    }
}
