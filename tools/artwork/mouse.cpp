// The mouse legend: a mouse seen from above with the button that matters in the accent
// colour.
#include "artwork.h"
#include "painting.h"

namespace art {

using namespace colors;

namespace {

enum class Highlight
{
    Left,
    Right,
    Wheel
};

// Draws a mouse whose body covers the pixel columns left..right and rows top..bottom.
// The body is an odd number of pixels wide so that the middle line falls on a pixel.
void drawMouse(QPainter &p, int left, int top, int right, int bottom, Highlight highlight)
{
    const QRectF bodyRect = outlineRect(left, top, right, bottom);
    const qreal radius = (right - left) / 2.0;
    QPainterPath body;
    body.addRoundedRect(bodyRect, radius, radius * 1.1);

    const int middle = (left + right) / 2;
    const int split = top + (bottom - top) * 2 / 5; // row of the line under the buttons

    p.setPen(Qt::NoPen);
    p.setBrush(paper);
    p.drawPath(body);

    // Highlighted button.
    if (highlight != Highlight::Wheel) {
        p.save();
        p.setClipPath(body);
        if (highlight == Highlight::Left)
            p.fillRect(QRect(left, top, middle - left, split - top), accent);
        else
            p.fillRect(QRect(middle + 1, top, right - middle, split - top), accent);
        p.restore();
    }

    // Dividers.
    p.setPen(crispPen(ink));
    p.drawLine(QPointF(left + 0.5, split + 0.5), QPointF(right + 0.5, split + 0.5));
    p.drawLine(QPointF(middle + 0.5, top + 0.5), QPointF(middle + 0.5, split + 0.5));

    // Wheel, on the middle line.
    const int wheelTop = top + 3;
    const int wheelBottom = split - 2;
    if (highlight == Highlight::Wheel) {
        fillPixels(p, middle - 1, wheelTop - 1, middle + 1, wheelBottom + 1, accent);
    } else {
        fillPixels(p, middle - 1, wheelTop, middle + 1, wheelBottom, ink);
    }

    // Outline on top of everything.
    p.setPen(crispPen(ink));
    p.setBrush(Qt::NoBrush);
    p.drawPath(body);
}

QImage mouseIcon(int width, int height, Highlight highlight)
{
    QImage image = canvas(width, height);
    QPainter p;
    beginPainting(p, image);
    drawMouse(p, 1, 1, width - 3, height - 2, highlight);
    return image;
}

} // namespace

QImage leftClickIcon()
{
    return mouseIcon(18, 24, Highlight::Left);
}

QImage rightClickIcon()
{
    return mouseIcon(18, 24, Highlight::Right);
}

QImage wheelIcon()
{
    QImage image = canvas(15, 24);
    QPainter p;
    beginPainting(p, image);
    drawMouse(p, 1, 1, 13, 22, Highlight::Wheel);
    return image;
}

QImage doubleLeftClickIcon()
{
    QImage image = canvas(21, 26);
    QPainter p;
    beginPainting(p, image);
    drawMouse(p, 1, 5, 15, 24, Highlight::Left);
    // "2x" at the top right.
    pixelGlyph(p, '2', 13, 0, accent);
    pixelGlyph(p, 'x', 17, 0, accent);
    return image;
}

} // namespace art
