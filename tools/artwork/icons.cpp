// Toolbar and menu icons. All coordinates are in pixels; 1-pixel outlines run through
// pixel centres so that straight edges stay crisp.
#include "artwork.h"
#include "painting.h"

#include <QtMath>

namespace art {

using namespace colors;

namespace {

// A floppy disk covering the pixel columns and rows 1..last.
void drawDisk(QPainter &p, int last)
{
    const qreal e = last + 0.5;
    QPainterPath body;
    body.moveTo(1.5, 2.5);
    body.quadTo(1.5, 1.5, 2.5, 1.5);
    body.lineTo(e - 2, 1.5);
    body.lineTo(e, 3.5);
    body.lineTo(e, e - 1);
    body.quadTo(e, e, e - 1, e);
    body.lineTo(2.5, e);
    body.quadTo(1.5, e, 1.5, e - 1);
    body.closeSubpath();
    p.setPen(crispPen(ink));
    p.setBrush(accent);
    p.drawPath(body);

    // Shutter with its slot.
    const int shutterRight = last - 5;
    p.setBrush(paperShade);
    p.drawRect(outlineRect(5, 1, shutterRight, 6));
    fillPixels(p, shutterRight - 3, 3, shutterRight - 2, 5, ink);

    // Label.
    p.setBrush(paper);
    p.drawRect(outlineRect(4, last - 7, last - 3, last));
    pixelLine(p, 6, last - 5, last - 5, accentLight);
    pixelLine(p, 6, last - 7, last - 3, accentLight);
}

// A magnifying glass: lens centred at (9.5, 9.5) with the handle towards the bottom
// right. Returns the path of the glass so that callers can draw inside it.
QPainterPath drawMagnifier(QPainter &p)
{
    const QPointF centre(9.5, 9.5);
    p.setPen(roundPen(ink, 3.5));
    p.drawLine(QPointF(15.2, 15.2), QPointF(20.8, 20.8));
    p.setPen(QPen(ink, 2.0));
    p.setBrush(paper);
    p.drawEllipse(centre, 7.0, 7.0);
    QPainterPath glass;
    glass.addEllipse(centre, 6.0, 6.0);
    return glass;
}

QImage arrow(const QColor &color)
{
    QImage image = canvas(7, 4);
    QPainter p;
    beginPainting(p, image);
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawPolygon(QPolygonF() << QPointF(0, 0.3) << QPointF(7, 0.3) << QPointF(3.5, 3.8));
    return image;
}

} // namespace

QImage openIcon()
{
    QImage image = canvas(24, 19);
    QPainter p;
    beginPainting(p, image);

    // Back of the folder with its tab.
    QPainterPath back;
    back.moveTo(1.5, 17.5);
    back.lineTo(1.5, 2.5);
    back.quadTo(1.5, 1.5, 2.5, 1.5);
    back.lineTo(8.5, 1.5);
    back.lineTo(10.5, 3.5);
    back.lineTo(19.5, 3.5);
    back.quadTo(20.5, 3.5, 20.5, 4.5);
    back.lineTo(20.5, 17.5);
    back.closeSubpath();
    p.setPen(crispPen(ink));
    p.setBrush(accentLight);
    p.drawPath(back);

    // A sheet sticking out.
    p.setBrush(paper);
    p.drawRect(outlineRect(4, 5, 17, 12));

    // Front flap, tilted open.
    QPainterPath front;
    front.moveTo(1.5, 17.5);
    front.lineTo(5.5, 8.5);
    front.lineTo(22.5, 8.5);
    front.lineTo(19.0, 17.5);
    front.closeSubpath();
    p.setBrush(accent);
    p.setPen(QPen(ink, 1.0, Qt::SolidLine, Qt::SquareCap, Qt::RoundJoin));
    p.drawPath(front);
    return image;
}

QImage saveIcon()
{
    QImage image = canvas(20, 20);
    QPainter p;
    beginPainting(p, image);
    drawDisk(p, 18);
    return image;
}

QImage saveAsIcon()
{
    QImage image = canvas(20, 20);
    QPainter p;
    beginPainting(p, image);
    drawDisk(p, 15);

    // A pencil writing towards the bottom left, cut into the disk with a small gap.
    p.translate(10.0, 18.5);
    p.rotate(-45);
    QPainterPath pencil;
    pencil.moveTo(0, 0);
    pencil.lineTo(3.5, -2);
    pencil.lineTo(11.5, -2);
    pencil.lineTo(11.5, 2);
    pencil.lineTo(3.5, 2);
    pencil.closeSubpath();
    p.setCompositionMode(QPainter::CompositionMode_Clear);
    p.setPen(QPen(Qt::black, 3.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::black);
    p.drawPath(pencil);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.setPen(QPen(ink, 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(warm);
    p.drawPath(pencil);
    p.setPen(Qt::NoPen);
    p.setBrush(paperShade);
    p.drawPolygon(QPolygonF() << QPointF(0.8, 0) << QPointF(3.5, -1.5) << QPointF(3.5, 1.5));
    p.setBrush(ink);
    p.drawPolygon(QPolygonF() << QPointF(0, 0) << QPointF(1.8, -1.0) << QPointF(1.8, 1.0));
    return image;
}

QImage copyIcon()
{
    QImage image = canvas(22, 24);
    QPainter p;
    beginPainting(p, image);
    p.setPen(crispPen(ink));
    p.setBrush(paperShade);
    p.drawPath(pagePath(1, 1, 13, 16, 3));
    p.setBrush(paper);
    p.drawPath(pagePath(7, 6, 20, 22, 4));
    for (int row = 11; row <= 19; row += 3)
        pixelLine(p, 10, row == 11 ? 14 : 17, row, accent);
    return image;
}

QImage pasteIcon()
{
    QImage image = canvas(22, 24);
    QPainter p;
    beginPainting(p, image);

    // Board.
    p.setPen(crispPen(ink));
    p.setBrush(warm);
    p.drawRoundedRect(outlineRect(1, 3, 17, 22), 1.5, 1.5);
    // Clip.
    p.setBrush(inkSoft);
    p.drawRoundedRect(outlineRect(5, 1, 13, 5), 1.0, 1.0);
    // The sheet being pasted.
    p.setBrush(paper);
    p.drawPath(pagePath(8, 8, 20, 22, 3));
    for (int row = 12; row <= 18; row += 3)
        pixelLine(p, 11, row == 18 ? 15 : 17, row, accent);
    return image;
}

QImage cropIcon()
{
    QImage image = canvas(24, 24);
    QPainter p;
    beginPainting(p, image);
    // The kept area.
    fillPixels(p, 7, 7, 16, 16, QColor(255, 255, 255, 170));
    // Two crop marks; the front one in the accent colour.
    fillPixels(p, 5, 1, 6, 18, ink);
    fillPixels(p, 5, 17, 22, 18, ink);
    fillPixels(p, 1, 5, 18, 6, accent);
    fillPixels(p, 17, 5, 18, 22, accent);
    return image;
}

QImage zoomToSelectionIcon()
{
    QImage image = canvas(24, 24);
    QPainter p;
    beginPainting(p, image);
    const QPainterPath glass = drawMagnifier(p);
    p.setClipPath(glass);
    fillPixels(p, 6, 6, 12, 12, accentPale);
    // Dashed selection frame.
    for (int i = 6; i <= 12; ++i) {
        if ((i - 6) % 3 == 2)
            continue;
        fillPixels(p, i, 6, i, 6, accent);
        fillPixels(p, i, 12, i, 12, accent);
        fillPixels(p, 6, i, 6, i, accent);
        fillPixels(p, 12, i, 12, i, accent);
    }
    return image;
}

QImage zoomToFitIcon()
{
    QImage image = canvas(24, 24);
    QPainter p;
    beginPainting(p, image);
    drawMagnifier(p);
    // Corner marks of a frame filling the glass.
    const int lo = 6, hi = 13, arm = 2;
    for (int x : {lo, hi}) {
        const int dx = x == lo ? arm : -arm;
        for (int y : {lo, hi}) {
            const int dy = y == lo ? arm : -arm;
            fillPixels(p, std::min(x, x + dx), y, std::max(x, x + dx), y, accent);
            fillPixels(p, x, std::min(y, y + dy), x, std::max(y, y + dy), accent);
        }
    }
    return image;
}

QImage zoomResetIcon()
{
    QImage image = canvas(24, 24);
    QPainter p;
    beginPainting(p, image);
    drawMagnifier(p);
    // "1:1" in pixels, centred in the glass.
    for (int stem : {6, 12}) {
        fillPixels(p, stem, 7, stem, 12, accent);
        fillPixels(p, stem - 1, 8, stem - 1, 8, accent);
    }
    fillPixels(p, 9, 8, 9, 8, accent);
    fillPixels(p, 9, 11, 9, 11, accent);
    return image;
}

QImage wrenchIcon()
{
    QImage image = canvas(24, 24);
    QPainter p;
    beginPainting(p, image);

    // Built along the x axis, then turned so that the head sits at the top right.
    p.translate(12, 12);
    p.rotate(-45);
    QPainterPath head;
    head.addEllipse(QPointF(8.5, 0), 5.6, 5.6);
    QPainterPath jaw;
    jaw.addRect(QRectF(8.5, -2.1, 7.0, 4.2));
    QPainterPath handle;
    handle.addRoundedRect(QRectF(-13.0, -2.3, 18.0, 4.6), 2.3, 2.3);
    const QPainterPath wrench = head.united(handle).subtracted(jaw).simplified();
    p.setPen(QPen(ink, 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(inkSoft);
    p.drawPath(wrench);
    // A hole in the handle.
    p.setBrush(paper);
    p.drawEllipse(QPointF(-9.6, 0), 1.1, 1.1);
    return image;
}

QImage menuButtonArrow()
{
    return arrow(accent);
}

QImage menuButtonArrowDisabled()
{
    return arrow(QColor(150, 158, 170, 160));
}

} // namespace art
