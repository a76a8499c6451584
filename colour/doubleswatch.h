#ifndef LUMENO_DOUBLESWATCH_H
#define LUMENO_DOUBLESWATCH_H

#include <QColor>
#include <QPointF>
#include <QWidget>

// The colour panel's narrow two-colour swatch: the hovered colour on the left
// half, the last clicked one on the right, both over a checkerboard (the
// registry's "checker-swatch" tile) inside a one-pixel grey frame, so that
// translucent colours show as such.
//
// It is also the panel's store of the two colours and the points they came
// with; the points are kept for the panel and not used here. Without a main
// window there is no registry and the checkerboard is left out.
class DoubleSwatch : public QWidget
{
    Q_OBJECT

public:
    explicit DoubleSwatch(QWidget *parent = nullptr);

    QColor hoverColor() const { return m_hoverColor; }
    QColor selectedColor() const { return m_selectedColor; }
    QPointF hoverPos() const { return m_hoverPos; }
    QPointF selectedPos() const { return m_selectedPos; }

public slots:
    // Store the pair and schedule a repaint.
    void setHoverColor(const QColor &c, const QPointF &p);
    void setSelectedColor(const QColor &c, const QPointF &p);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_hoverColor = Qt::transparent;
    QColor m_selectedColor = Qt::transparent;
    QPointF m_hoverPos;
    QPointF m_selectedPos;
};

#endif
