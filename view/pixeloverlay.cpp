#include "view/pixeloverlay.h"

#include <QPainter>
#include <QVarLengthArray>

#include <algorithm>

namespace {

constexpr int GridAlpha = 56;

// The box is a dark ring on the framed pixels' outermost device pixels and a
// light one just outside them, each about one logical pixel wide.
int boxLineWidth(double ratio)
{
    return qMax(1, int(ratio));
}

} // namespace

PixelOverlay::PixelOverlay()
{
    // Dashes of two device pixels, dark and light in turn, so the grid shows
    // on every picture; along a line the pattern runs the same way.
    QImage tile(4, 4, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < tile.height(); ++y) {
        for (int x = 0; x < tile.width(); ++x)
            tile.setPixelColor(
                x, y, (x + y) & 2 ? QColor(255, 255, 255, GridAlpha) : QColor(0, 0, 0, GridAlpha));
    }
    m_gridBrush = QBrush(tile);
}

bool PixelOverlay::gridShows(const PixelMapping &mapping)
{
    return mapping.zoom() >= OverlayZoom;
}

QRect PixelOverlay::boxArea(const QRect &pixels, double ratio)
{
    if (pixels.isEmpty())
        return QRect();
    const int width = boxLineWidth(ratio);
    const QRectF device(pixels.adjusted(-width, -width, width, width));
    return QRectF(device.topLeft() / ratio, device.size() / ratio)
        .toAlignedRect()
        .adjusted(-1, -1, 1, 1);
}

void PixelOverlay::paint(QPainter *painter, const PixelMapping &mapping, const QSize &deviceSize,
                         const QSize &imageSize, bool grid, const QRect &exposed,
                         const QRect &boxPixels)
{
    painter->setRenderHint(QPainter::Antialiasing, false);
    if (grid) {
        const GridLayout &layout = gridLayout(mapping, deviceSize, imageSize);
        paintGrid(painter, layout, exposed.intersected(layout.image));
    }
    if (!boxPixels.isEmpty())
        paintBox(painter, boxPixels, boxLineWidth(mapping.devicePixelRatio()));
}

const PixelOverlay::GridLayout &PixelOverlay::gridLayout(const PixelMapping &mapping,
                                                         const QSize &size, const QSize &imageSize)
{
    if (m_grid.mapping == mapping && m_grid.size == size && m_grid.imageSize == imageSize &&
        m_grid.columns.style() != Qt::NoBrush)
        return m_grid;
    m_grid.mapping = mapping;
    m_grid.size = size;
    m_grid.imageSize = imageSize;
    // A line on the first device column and row of every image pixel.
    const QImage dashes = m_gridBrush.textureImage();
    QImage columns(size.width(), dashes.height(), QImage::Format_ARGB32_Premultiplied);
    columns.fill(Qt::transparent);
    for (int column = mapping.columnAt(0); column <= mapping.columnAt(size.width() - 1); ++column) {
        const int x = mapping.deviceCorner(QPoint(column, 0)).x();
        for (int y = 0; x >= 0 && x < size.width() && y < dashes.height(); ++y)
            columns.setPixel(x, y, dashes.pixel(x % dashes.width(), y));
    }
    m_grid.columns = QBrush(columns);
    m_grid.rows.clear();
    for (int row = mapping.rowAt(0); row <= mapping.rowAt(size.height() - 1); ++row) {
        const int y = mapping.deviceCorner(QPoint(0, row)).y();
        if (y >= 0 && y < size.height())
            m_grid.rows.append(y);
    }
    m_grid.image =
        mapping.deviceRect(QRect(QPoint(0, 0), imageSize)).intersected(QRect(QPoint(0, 0), size));
    return m_grid;
}

void PixelOverlay::paintGrid(QPainter *painter, const GridLayout &grid, const QRect &area)
{
    if (area.isEmpty())
        return;
    // The vertical lines are alike on every row but for the dashes, so one
    // fill draws them all; line by line, every device row of every line
    // would be a span of its own.
    painter->fillRect(area, grid.columns);
    QVarLengthArray<QRect, 256> rows;
    const auto first = std::lower_bound(grid.rows.begin(), grid.rows.end(), area.top());
    for (auto y = first; y != grid.rows.end() && *y <= area.bottom(); ++y)
        rows.append(QRect(area.left(), *y, area.width(), 1));
    painter->setPen(Qt::NoPen);
    painter->setBrush(m_gridBrush);
    painter->drawRects(rows.constData(), int(rows.size()));
}

void PixelOverlay::paintBox(QPainter *painter, const QRect &pixels, int width)
{
    const auto ring = [painter, width](const QRect &r, const QColor &colour) {
        painter->fillRect(QRect(r.left(), r.top(), r.width(), width), colour);
        painter->fillRect(QRect(r.left(), r.bottom() - width + 1, r.width(), width), colour);
        painter->fillRect(QRect(r.left(), r.top() + width, width, r.height() - 2 * width), colour);
        painter->fillRect(
            QRect(r.right() - width + 1, r.top() + width, width, r.height() - 2 * width), colour);
    };
    ring(pixels, QColor(0, 0, 0));
    ring(pixels.adjusted(-width, -width, width, width), QColor(255, 255, 255));
}
