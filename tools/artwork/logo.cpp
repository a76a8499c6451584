// The logo, an eyedropper over a colour swatch, and the Windows icon file made of it.
#include "artwork.h"
#include "painting.h"

#include <QBuffer>
#include <QLinearGradient>

namespace art {

using namespace colors;

namespace {

// Pixel geometry of the colour square for one logo size.
struct SwatchGeometry
{
    int size;
    int left, top, right, bottom; // covered pixels, inclusive
    int outline;                  // outline width in pixels
    qreal radius;
};

const SwatchGeometry swatchGeometries[] = {
    {24, 0, 5, 18, 23, 1, 3.5},
    {32, 1, 7, 24, 30, 1, 4.5},
    {48, 1, 11, 36, 46, 2, 7.0},
};

QLinearGradient swatchGradient(const QRectF &square)
{
    QLinearGradient gradient(square.topLeft(), square.bottomRight());
    gradient.setColorAt(0.0, QColor(70, 165, 240));
    gradient.setColorAt(0.55, accent);
    gradient.setColorAt(1.0, QColor(62, 42, 150));
    return gradient;
}

// The rounded colour square in the lower left. Returns its rectangle.
QRectF drawSwatch(QPainter &p, int size)
{
    SwatchGeometry g = swatchGeometries[0];
    for (const SwatchGeometry &candidate : swatchGeometries)
        if (candidate.size <= size)
            g = candidate;
    const qreal inset = g.outline / 2.0;
    const QRectF square(g.left + inset, g.top + inset, g.right - g.left + 1 - g.outline,
                        g.bottom - g.top + 1 - g.outline);
    p.setPen(QPen(accentDark, g.outline));
    p.setBrush(swatchGradient(square));
    p.drawRoundedRect(square, g.radius, g.radius);
    return square;
}

// The eyedropper, its tip inside the square and its bulb towards the top right.
void drawDropper(QPainter &p, int size)
{
    const qreal s = size / 48.0;
    p.save();
    p.translate(18.5 * s, 29.5 * s);
    p.rotate(-45);
    p.scale(s, s);
    const qreal outline = (size >= 48 ? 2.0 : 1.2) / s;
    QPen pen(ink, outline, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);

    // Glass tube, part filled with the sampled colour.
    QPainterPath tube;
    tube.moveTo(0, 0);
    tube.lineTo(5, -3.0);
    tube.lineTo(20, -3.0);
    tube.lineTo(20, 3.0);
    tube.lineTo(5, 3.0);
    tube.closeSubpath();
    QPainterPath liquidArea;
    liquidArea.addRect(QRectF(-1, -4, 12, 8));
    p.setPen(Qt::NoPen);
    p.setBrush(paper);
    p.drawPath(tube);
    p.setBrush(warm);
    p.drawPath(tube.intersected(liquidArea));
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawPath(tube);

    // Collar and rubber bulb.
    p.setBrush(ink);
    p.drawRoundedRect(QRectF(20, -5.2, 4.5, 10.4), 1.2, 1.2);
    p.drawRoundedRect(QRectF(24.5, -4.0, 11, 8.0), 4.0, 4.0);
    p.restore();
}

// The 16-pixel logo is drawn pixel by pixel in places so that it stays sharp.
QImage smallLogo()
{
    QImage image = canvas(16, 16);
    QPainter p;
    beginPainting(p, image);
    const QRectF square = outlineRect(0, 4, 11, 15);
    p.setPen(QPen(accentDark, 1.0));
    p.setBrush(swatchGradient(square));
    p.drawRoundedRect(square, 2.0, 2.0);

    // The dropper: a dark bar along the diagonal with a glass and coloured tip.
    p.setPen(QPen(ink, 3.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(6.5, 9.5), QPointF(13.0, 3.0));
    p.setPen(QPen(paper, 1.2, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(6.6, 9.4), QPointF(9.8, 6.2));
    p.setPen(QPen(warm, 1.2, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(6.4, 9.6), QPointF(8.0, 8.0));
    p.setPen(QPen(ink, 1.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(4.8, 11.2), QPointF(6.2, 9.8));
    return image;
}

} // namespace

QImage logo(int size)
{
    // Tuned pixel by pixel for one pixel per unit; with more pixels the
    // general drawing is sharp.
    if (size <= 16 && scale() == 1)
        return smallLogo();
    QImage image = canvas(size, size);
    QPainter p;
    beginPainting(p, image);
    // Beyond 48 pixels the 48-pixel drawing is scaled up: it is all vectors.
    const int drawn = qMin(size, 48);
    p.scale(size / double(drawn), size / double(drawn));
    drawSwatch(p, drawn);
    drawDropper(p, drawn);
    return image;
}

} // namespace art
