#include "painting.h"

namespace art {

namespace {
int s_scale = 1;
} // namespace

void setScale(int scale)
{
    s_scale = scale;
}

int scale()
{
    return s_scale;
}

QImage canvas(int width, int height)
{
    QImage image(width * s_scale, height * s_scale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(s_scale);
    image.fill(Qt::transparent);
    return image;
}

QImage opaqueCanvas(int width, int height, const QColor &color)
{
    QImage image(width * s_scale, height * s_scale, QImage::Format_RGB32);
    image.setDevicePixelRatio(s_scale);
    image.fill(color);
    return image;
}

void beginPainting(QPainter &painter, QImage &image)
{
    painter.begin(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
}

QPen crispPen(const QColor &color, qreal width)
{
    QPen pen(color, width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
    return pen;
}

QPen roundPen(const QColor &color, qreal width)
{
    return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

QRectF outlineRect(int left, int top, int right, int bottom)
{
    return QRectF(left + 0.5, top + 0.5, right - left, bottom - top);
}

void fillPixels(QPainter &painter, int left, int top, int right, int bottom, const QColor &color)
{
    painter.fillRect(QRect(left, top, right - left + 1, bottom - top + 1), color);
}

void pixelLine(QPainter &painter, int left, int right, int row, const QColor &color)
{
    fillPixels(painter, left, row, right, row, color);
}

QPainterPath pagePath(int left, int top, int right, int bottom, int fold)
{
    const qreal l = left + 0.5, t = top + 0.5, r = right + 0.5, b = bottom + 0.5;
    QPainterPath path;
    path.moveTo(l, t);
    path.lineTo(r - fold, t);
    path.lineTo(r, t + fold);
    path.lineTo(r, b);
    path.lineTo(l, b);
    path.closeSubpath();
    return path;
}

QPolygonF pointerPolygon(qreal height)
{
    // Outline of a pointer 20 units tall, tip at the origin.
    static const QPointF points[] = {{0, 0},     {0, 17},     {4.2, 13.2}, {7.2, 20},
                                     {10, 18.8}, {7.1, 12.2}, {12.6, 12.2}};
    QPolygonF polygon;
    const qreal scale = height / 20.0;
    for (const QPointF &point : points)
        polygon << point * scale;
    return polygon;
}

void pixelGlyph(QPainter &painter, char glyph, int x, int y, const QColor &color)
{
    // Rows of a 3x5 font, most significant of the three bits is the left column.
    static const struct
    {
        char glyph;
        unsigned char rows[5];
    } font[] = {
        {'0', {7, 5, 5, 5, 7}}, {'1', {2, 6, 2, 2, 7}}, {'2', {7, 1, 7, 4, 7}},
        {'3', {7, 1, 3, 1, 7}}, {'4', {5, 5, 7, 1, 1}}, {'5', {7, 4, 7, 1, 7}},
        {'6', {7, 4, 7, 5, 7}}, {'7', {7, 1, 1, 1, 1}}, {'8', {7, 5, 7, 5, 7}},
        {'9', {7, 5, 7, 1, 7}}, {'x', {0, 5, 2, 5, 0}}, {':', {0, 2, 0, 2, 0}},
    };
    for (const auto &entry : font) {
        if (entry.glyph != glyph)
            continue;
        for (int row = 0; row < 5; ++row)
            for (int column = 0; column < 3; ++column)
                if (entry.rows[row] & (4 >> column))
                    painter.fillRect(QRect(x + column, y + row, 1, 1), color);
        return;
    }
}

} // namespace art
