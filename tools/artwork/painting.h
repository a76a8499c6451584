// Shared palette and drawing helpers of the artwork generator.
#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPolygonF>

namespace art {

// The palette every picture is drawn from.
namespace colors {
const QColor ink(60, 70, 85);        // outlines and dark glyphs
const QColor inkSoft(118, 128, 142); // secondary lines
const QColor accent(0, 84, 164);     // the blue of the program
const QColor accentDark(0, 62, 125); // outlines of blue areas
const QColor accentLight(120, 170, 225);
const QColor accentPale(214, 230, 248); // tinted surfaces
const QColor paper(255, 255, 255);
const QColor paperShade(228, 233, 240);
const QColor warm(247, 144, 30); // the one warm accent
} // namespace colors

// Pictures are drawn in logical pixels at a scale: 1 for the plain files, 2 for the
// name@2x.png files that high-density displays use.
void setScale(int scale);
int scale();

// A transparent 32-bit canvas of the given logical size, scale() times as many pixels
// on each side; painting on it is in logical pixels.
QImage canvas(int width, int height);

// The same for an opaque canvas filled with color.
QImage opaqueCanvas(int width, int height, const QColor &color);

// A painter with antialiasing on.
void beginPainting(QPainter &painter, QImage &image);

// A stroke pen with the given colour and width, square caps and miter joins so that
// pixel-aligned outlines stay crisp.
QPen crispPen(const QColor &color, qreal width = 1.0);

// A stroke pen with round caps and joins for diagonal strokes.
QPen roundPen(const QColor &color, qreal width);

// The rectangle whose 1-pixel outline covers exactly the pixel columns left..right and
// rows top..bottom (both inclusive).
QRectF outlineRect(int left, int top, int right, int bottom);

// Fills the pixel block of columns left..right and rows top..bottom (inclusive).
void fillPixels(QPainter &painter, int left, int top, int right, int bottom, const QColor &color);

// A text line, a horizontal 1-pixel line through the given row.
void pixelLine(QPainter &painter, int left, int right, int row, const QColor &color);

// The outline of a sheet of paper with a folded top-right corner, covering the pixel
// columns left..right and rows top..bottom.
QPainterPath pagePath(int left, int top, int right, int bottom, int fold);

// The classic arrow pointer with its tip at the origin, scaled so that it is about
// `height` units tall.
QPolygonF pointerPolygon(qreal height);

// Draws a tiny digit or letter from a 3x5 bitmap font with its top-left at (x, y).
// Known glyphs: '0'-'9', 'x', ':'.
void pixelGlyph(QPainter &painter, char glyph, int x, int y, const QColor &color);

} // namespace art
