#include "widgets/elidedlabel.h"

#include <QFontMetrics>
#include <QPainter>

ElidedLabel::ElidedLabel(QWidget *parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("elided_label"));
    setMinimumWidth(0);
}

void ElidedLabel::setText(const QString &text)
{
    m_fullText = text;
    setToolTip(text);
    // A little room so that the last glyph's overhang is not clipped.
    m_preferredWidth = qMax(0, fontMetrics().horizontalAdvance(text) + 3);
    setMaximumWidth(m_preferredWidth);
    updateGeometry();
    // A hidden label is refreshed by its show event; a shown one may not be
    // resized at all by the new text, so refresh now.
    updateElidedText();
    update();
}

void ElidedLabel::setBold(bool bold)
{
    QFont boldFont = font();
    boldFont.setWeight(bold ? QFont::Bold : QFont::Normal);
    setFont(boldFont);
}

void ElidedLabel::setTextColor(const QColor &color)
{
    m_textColor = color;
    update();
}

void ElidedLabel::setTextAlignment(Qt::Alignment alignment)
{
    m_textAlignment = alignment;
    update();
}

QSize ElidedLabel::sizeHint() const
{
    return QSize(m_preferredWidth, QFrame::sizeHint().height());
}

void ElidedLabel::showEvent(QShowEvent *event)
{
    QFrame::showEvent(event);
    updateElidedText();
}

void ElidedLabel::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    updateElidedText();
}

void ElidedLabel::updateElidedText()
{
    m_displayText = fontMetrics().elidedText(m_fullText, Qt::ElideRight, width());
}

void ElidedLabel::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    QColor pen = m_textColor;
    if (!isEnabled())
        pen.setAlpha(64);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawText(rect(), int(m_textAlignment) | Qt::TextSingleLine, m_displayText);
}
