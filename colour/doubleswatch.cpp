#include "colour/doubleswatch.h"

#include "selection/pickmodel.h"

#include <QPainter>

DoubleSwatch::DoubleSwatch(PickModel *pick, const QPixmap &checker, QWidget *parent)
    : QWidget(parent), m_pick(pick), m_checker(checker)
{
    setFixedWidth(40);
    setMinimumHeight(0);
    setMaximumHeight(QWIDGETSIZE_MAX);
    // Ignored vertically: the swatch takes the full height of its row.
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Ignored);
    connect(pick, &PickModel::hoverChanged, this, qOverload<>(&QWidget::update));
    connect(pick, &PickModel::clickChanged, this, qOverload<>(&QWidget::update));
}

void DoubleSwatch::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);

    QPainter painter(this);
    painter.setBrush(QBrush(m_checker));
    painter.setPen(QPen(QColor(Qt::gray), 1));
    painter.drawRect(0, 0, width() - 1, height() - 1);

    // The halves blend over the checkerboard by their alpha and touch
    // without a gap; with an odd width one checkered column stays at the
    // right.
    const int half = width() / 2;
    painter.fillRect(1, 1, half - 1, height() - 2, m_pick->hoverColor());
    painter.fillRect(half, 1, half - 1, height() - 2, m_pick->clickColor());
}
