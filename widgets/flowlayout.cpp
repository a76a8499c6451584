#include "widgets/flowlayout.h"

#include <QApplication>
#include <QWidget>

namespace {

// The gap used when the layout has no default of its own: what the item's
// style puts between two push buttons, but never a negative value, which
// would make neighbours overlap.
int itemGap(QLayoutItem *item, Qt::Orientation orientation)
{
    const QWidget *widget = item->widget();
    const QStyle *style = widget ? widget->style() : QApplication::style();
    if (!style)
        return 0;
    return qMax(
        0, style->layoutSpacing(QSizePolicy::PushButton, QSizePolicy::PushButton, orientation));
}

} // namespace

FlowLayout::FlowLayout(int margin, int horizontalGap, int verticalGap)
    : m_horizontalGap(horizontalGap), m_verticalGap(verticalGap)
{
    setContentsMargins(margin, margin, margin, margin);
}

FlowLayout::FlowLayout(QWidget *parent, int margin, int horizontalGap, int verticalGap)
    : QLayout(parent), m_horizontalGap(horizontalGap), m_verticalGap(verticalGap)
{
    setContentsMargins(margin, margin, margin, margin);
}

FlowLayout::~FlowLayout()
{
    while (QLayoutItem *item = takeAt(0))
        delete item;
}

void FlowLayout::addItem(QLayoutItem *item)
{
    m_items.append(item);
}

int FlowLayout::count() const
{
    return m_items.size();
}

QLayoutItem *FlowLayout::itemAt(int index) const
{
    return m_items.value(index);
}

QLayoutItem *FlowLayout::takeAt(int index)
{
    if (index < 0 || index >= m_items.size())
        return nullptr;
    return m_items.takeAt(index);
}

Qt::Orientations FlowLayout::expandingDirections() const
{
    return {};
}

bool FlowLayout::hasHeightForWidth() const
{
    return true;
}

int FlowLayout::heightForWidth(int width) const
{
    return arrangeItems(QRect(0, 0, width, 0), true);
}

void FlowLayout::setGeometry(const QRect &rect)
{
    QLayout::setGeometry(rect);
    arrangeItems(rect, false);
}

QSize FlowLayout::minimumSize() const
{
    QSize size(-1, -1);
    for (const QLayoutItem *item : m_items)
        size = size.expandedTo(item->minimumSize());
    // QLayout's uniform margin: -1 unless all four margins agree.
    const QMargins margins = contentsMargins();
    const bool uniform = margins.left() == margins.top() && margins.left() == margins.right() &&
                         margins.left() == margins.bottom();
    const int margin = uniform ? margins.left() : -1;
    return size + QSize(2 * margin, 2 * margin);
}

QSize FlowLayout::sizeHint() const
{
    return minimumSize();
}

int FlowLayout::effectiveHorizontalGap() const
{
    return m_horizontalGap >= 0 ? m_horizontalGap : defaultGap(QStyle::PM_LayoutHorizontalSpacing);
}

int FlowLayout::effectiveVerticalGap() const
{
    return m_verticalGap >= 0 ? m_verticalGap : defaultGap(QStyle::PM_LayoutVerticalSpacing);
}

int FlowLayout::defaultGap(QStyle::PixelMetric metric) const
{
    QObject *owner = parent();
    if (!owner)
        return -1;
    if (owner->isWidgetType()) {
        auto *widget = static_cast<QWidget *>(owner);
        return widget->style()->pixelMetric(metric, nullptr, widget);
    }
    return static_cast<QLayout *>(owner)->spacing();
}

int FlowLayout::arrangeItems(const QRect &rect, bool measureOnly) const
{
    const QMargins margins = contentsMargins();
    const int x0 = rect.left() + margins.left();
    const int right = rect.right() - margins.right();
    int x = x0;
    int y = rect.top() + margins.top();
    int rowHeight = 0;

    for (QLayoutItem *item : m_items) {
        // A hidden widget takes no room and no gap, as in the box layouts.
        if (item->isEmpty())
            continue;
        int gapX = effectiveHorizontalGap();
        if (gapX < 0)
            gapX = itemGap(item, Qt::Horizontal);
        int gapY = effectiveVerticalGap();
        if (gapY < 0)
            gapY = itemGap(item, Qt::Vertical);

        const QSize hint = item->sizeHint();
        int nextX = x + hint.width() + gapX;
        // x + width is one past the item's last column, so an item ending
        // exactly on the right edge wraps too; the first item of a row never
        // wraps, however wide it is.
        if (x + hint.width() > right && rowHeight > 0) {
            y += rowHeight + gapY;
            x = x0;
            nextX = x0 + hint.width() + gapX;
            rowHeight = 0;
        }
        if (!measureOnly)
            item->setGeometry(QRect(QPoint(x, y), hint));
        rowHeight = qMax(rowHeight, hint.height());
        x = nextX;
    }
    return y + margins.bottom() - rect.top() + rowHeight;
}
