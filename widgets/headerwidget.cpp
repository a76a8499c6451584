#include "widgets/headerwidget.h"

#include <QMouseEvent>
#include <QPainter>

HeaderWidget::HeaderWidget(QWidget *parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("header_widget"));
    layoutItems();
}

void HeaderWidget::updateSizes()
{
    layoutItems();
}

void HeaderWidget::setHeaderHeight(double height)
{
    setFixedHeight(int(height));
}

double HeaderWidget::headerWidth() const
{
    return width();
}

double HeaderWidget::headerHeight() const
{
    return height();
}

void HeaderWidget::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    layoutItems();
    update();
}

void HeaderWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(contentsRect(), backgroundColor());
    paintItems(painter, height());
}

void HeaderWidget::mousePressEvent(QMouseEvent *event)
{
    // Consumed, so that a click on the header does not reach the widgets
    // beneath it.
    event->accept();
}
