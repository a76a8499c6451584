#include "widgets/verticalseparator.h"

#include <QPainter>

VerticalSeparator::VerticalSeparator(QWidget *parent) : QFrame(parent)
{
    setFixedWidth(12);
    setMinimumHeight(0);
    setMaximumHeight(QWIDGETSIZE_MAX);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Ignored);
}

void VerticalSeparator::paintEvent(QPaintEvent *)
{
    // The groove replaces the frame's own painting.
    const int h = height();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(QColor(0, 0, 0, 32), 0));
    painter.drawLine(5, 5, 5, h - 5);
    painter.setPen(QPen(QColor(255, 255, 255, 32), 0));
    painter.drawLine(6, 5, 6, h - 5);
}
