#include "colour/doubleswatch.h"

#include "app/lumeno.h"

#include <QPainter>

DoubleSwatch::DoubleSwatch(QWidget *parent) : QWidget(parent)
{
    setFixedWidth(40);
    setMinimumHeight(0);
    setMaximumHeight(QWIDGETSIZE_MAX);
    // Ignored vertically: the swatch takes the full height of its row.
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Ignored);
}

void DoubleSwatch::setHoverColor(const QColor &c, const QPointF &p)
{
    m_hoverColor = c;
    m_hoverPos = p;
    update();
}

void DoubleSwatch::setSelectedColor(const QColor &c, const QPointF &p)
{
    m_selectedColor = c;
    m_selectedPos = p;
    update();
}

void DoubleSwatch::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);

    QPainter painter(this);
    // A null tile gives no brush at all, hence no checkerboard.
    Lumeno *window = Lumeno::instance();
    painter.setBrush(QBrush(window ? window->pixmap(QStringLiteral("checker-swatch")) : QPixmap()));
    painter.setPen(QPen(QColor(Qt::gray), 1));
    painter.drawRect(0, 0, width() - 1, height() - 1);

    // The halves blend over the checkerboard by their alpha and touch
    // without a gap; with an odd width one checkered column stays at the
    // right.
    const int half = width() / 2;
    painter.fillRect(1, 1, half - 1, height() - 2, m_hoverColor);
    painter.fillRect(half, 1, half - 1, height() - 2, m_selectedColor);
}
