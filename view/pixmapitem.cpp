#include "view/pixmapitem.h"

#include "view/view.h"

#include <QPainter>
#include <QPaintEngine>
#include <QThread>
#include <QtConcurrent/QtConcurrentMap>
#include <QStyleOptionGraphicsItem>
#include <QWidget>
#include <QtMath>

#include <cstring>

namespace {

// Halves a picture by averaging each 2 x 2 block, in premultiplied alpha so
// that transparent pixels do not darken their neighbours. An odd last row or
// column is folded into the one before it.
QImage halved(const QImage &source)
{
    // Opaque pictures are averaged as they are: premultiplying changes nothing
    // there but would copy the whole picture first.
    const bool ready = source.format() == QImage::Format_RGB32 ||
                       source.format() == QImage::Format_ARGB32_Premultiplied;
    const QImage image =
        ready ? source : source.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const int width = qMax(1, image.width() / 2);
    const int height = qMax(1, image.height() / 2);
    QImage result(width, height, image.format());
    if (result.isNull())
        return result;
    const int lastX = image.width() - 1;
    const int lastY = image.height() - 1;
    const auto halveRows = [&](const QPair<int, int> &rows) {
        for (int y = rows.first; y < rows.second; ++y) {
            const auto *row0 =
                reinterpret_cast<const QRgb *>(image.constScanLine(qMin(2 * y, lastY)));
            const auto *row1 =
                reinterpret_cast<const QRgb *>(image.constScanLine(qMin(2 * y + 1, lastY)));
            auto *out = reinterpret_cast<QRgb *>(result.scanLine(y));
            for (int x = 0; x < width; ++x) {
                const int x0 = qMin(2 * x, lastX);
                const int x1 = qMin(2 * x + 1, lastX);
                const QRgb a = row0[x0], b = row0[x1], c = row1[x0], d = row1[x1];
                // Each channel sits in its own byte; the sums of four fit in 10
                // bits, so two channels at a time can share one 32-bit word.
                const quint32 rb =
                    ((a & 0xff00ff) + (b & 0xff00ff) + (c & 0xff00ff) + (d & 0xff00ff) + 0x20002) >>
                    2;
                const quint32 ag = (((a >> 8) & 0xff00ff) + ((b >> 8) & 0xff00ff) +
                                    ((c >> 8) & 0xff00ff) + ((d >> 8) & 0xff00ff) + 0x20002) >>
                                   2;
                out[x] = (rb & 0xff00ff) | ((ag & 0xff00ff) << 8);
            }
        }
    };
    // Large pictures are halved in bands on all cores.
    QList<QPair<int, int>> bands;
    const int bandHeight = qMax(64, height / (4 * QThread::idealThreadCount()));
    for (int y = 0; y < height; y += bandHeight)
        bands.append({y, qMin(height, y + bandHeight)});
    QtConcurrent::blockingMap(bands, halveRows);
    return result;
}

} // namespace

PixmapItem::PixmapItem(View *view) : m_view(view)
{
    setAcceptDrops(false);
}

QRectF PixmapItem::boundingRect() const
{
    return QRectF(QPointF(0, 0), QSizeF(m_source.size()));
}

void PixmapItem::showImage(const QImage &image)
{
    prepareGeometryChange();
    // Drawn from 32-bit pixels; a picture that has them already (most do) is
    // shared as it is, others (16-bit channels, grey, palettes) are
    // converted once.
    const QImage::Format format = image.format();
    if (format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
        format == QImage::Format_ARGB32_Premultiplied || image.isNull())
        m_source = image;
    else
        m_source = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32
                                                                 : QImage::Format_RGB32);
    m_premultiplied = QImage();
    m_levels.clear();
    m_tiles.clear();
    m_drawn = QImage();
    update();
}

void PixmapItem::setTileSize(int size)
{
    m_tileSize = qMax(0, size);
    m_tiles.clear();
    // Pieces outside the exposed area are skipped, which needs the real one.
    setFlag(QGraphicsItem::ItemUsesExtendedStyleOption, m_tileSize > 0);
    update();
}

int PixmapItem::levelForZoom(double scale) const
{
    if (scale >= 0.5 || m_source.isNull())
        return 0;
    int level = int(qFloor(std::log2(1.0 / scale)));
    // Never halve below a single pixel.
    const int smallestSide = qMin(m_source.width(), m_source.height());
    while (level > 0 && (smallestSide >> level) < 1)
        --level;
    return level;
}

QImage PixmapItem::levelImage(int level)
{
    if (level <= 0) {
        // Scaled drawing would premultiply a translucent picture again on
        // every paint: once is enough.
        if (m_source.format() == QImage::Format_ARGB32 && m_premultiplied.isNull())
            m_premultiplied = m_source.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        return m_premultiplied.isNull() ? m_source : m_premultiplied;
    }
    while (m_levels.size() < level)
        m_levels.append(halved(m_levels.isEmpty() ? m_source : m_levels.last()));
    return m_levels.at(level - 1);
}

const QList<PixmapItem::Tile> &PixmapItem::tiles(int level)
{
    auto it = m_tiles.find(level);
    if (it == m_tiles.end()) {
        const QImage source = levelImage(level);
        QList<Tile> pieces;
        for (int y = 0; y < source.height(); y += m_tileSize) {
            for (int x = 0; x < source.width(); x += m_tileSize) {
                const QRect rect = QRect(x, y, m_tileSize, m_tileSize).intersected(source.rect());
                pieces.append({rect, QPixmap::fromImage(source.copy(rect))});
            }
        }
        it = m_tiles.insert(level, pieces);
    }
    return it.value();
}

void PixmapItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *)
{
    const QRectF bounds = boundingRect();
    if (bounds.width() <= 0 || bounds.height() <= 0)
        return;

    const PixelMapping mapping = m_view->pixelMapping();
    // A cosmetic pen (width 0) is one view pixel wide at every zoom; the
    // rectangle is pulled in by one view pixel so the stroke lies on the
    // outermost ring of image pixels, under the picture drawn next.
    const qreal onePixel = 1.0 / mapping.zoom();
    painter->setBrush(Qt::NoBrush);
    painter->setPen(QPen(QColor(170, 170, 170, 255), 0));
    painter->drawRect(
        QRectF(bounds.x(), bounds.y(), bounds.width() - onePixel, bounds.height() - onePixel));

    // Smoothing only where an image pixel is smaller than a device pixel: on
    // a display scaled by 2, zoom 1/2 still shows every pixel sharp.
    const double scale = mapping.devicePixelsPerPixel();
    const int level = levelForZoom(scale);
    const bool tiled =
        m_tileSize > 0 && (m_source.width() > m_tileSize || m_source.height() > m_tileSize);
    painter->setRenderHint(QPainter::SmoothPixmapTransform, scale < 1.0);
    if (tiled) {
        paintTiled(painter, option, level);
        return;
    }
    if (scale >= 1.0 && painter->paintEngine()->type() == QPaintEngine::Raster) {
        paintExact(painter, mapping);
        return;
    }
    // An OpenGL viewport samples the texture at the centre of every device
    // pixel itself.
    const QImage source = levelImage(level);
    painter->drawImage(bounds, source, QRectF(source.rect()));
}

void PixmapItem::paintExact(QPainter *painter, const PixelMapping &mapping)
{
    const QWidget *viewport = m_view->viewport();
    const double ratio = mapping.devicePixelRatio();
    const QRect visible(0, 0, qCeil(viewport->width() * ratio), qCeil(viewport->height() * ratio));
    const QRect area = mapping.deviceRect(m_source.rect()).intersected(visible);
    if (area.isEmpty())
        return;

    if (m_drawn.isNull() || mapping != m_drawnMapping || area != m_drawnRect) {
        // Which image column each device column shows, and likewise for rows:
        // the mapping's own answer, so drawing and picking cannot disagree.
        QVector<int> columns(area.width());
        for (int i = 0; i < area.width(); ++i)
            columns[i] = qBound(0, mapping.columnAt(area.left() + i), m_source.width() - 1);
        // One device pixel per image pixel: each row is a plain copy.
        const bool oneToOne = columns.last() - columns.first() == area.width() - 1;
        // The copy is reused while its size stays: a new one each frame
        // costs more in fresh pages than filling it does.
        // Translucent pixels are premultiplied on the way, as the screen
        // wants them.
        const bool premultiply = m_source.format() == QImage::Format_ARGB32;
        const QImage::Format format =
            premultiply ? QImage::Format_ARGB32_Premultiplied : m_source.format();
        if (m_drawn.size() != area.size() || m_drawn.format() != format)
            m_drawn = QImage(area.size(), format);
        if (m_drawn.isNull())
            return;
        int previousRow = -1;
        const size_t rowBytes = size_t(area.width()) * sizeof(QRgb);
        for (int j = 0; j < area.height(); ++j) {
            const int row = qBound(0, mapping.rowAt(area.top() + j), m_source.height() - 1);
            auto *out = reinterpret_cast<QRgb *>(m_drawn.scanLine(j));
            if (row == previousRow) {
                memcpy(out, m_drawn.constScanLine(j - 1), rowBytes);
                continue;
            }
            const auto *in = reinterpret_cast<const QRgb *>(m_source.constScanLine(row));
            if (premultiply) {
                for (int i = 0; i < area.width(); ++i)
                    out[i] = qPremultiply(in[columns[i]]);
            } else if (oneToOne) {
                memcpy(out, in + columns.first(), rowBytes);
            } else {
                for (int i = 0; i < area.width(); ++i)
                    out[i] = in[columns[i]];
            }
            previousRow = row;
        }
        m_drawn.setDevicePixelRatio(ratio);
        m_drawnMapping = mapping;
        m_drawnRect = area;
    }
    // One image pixel of the copy is one device pixel of the viewport.
    painter->save();
    painter->resetTransform();
    painter->drawImage(QPointF(area.left() / ratio, area.top() / ratio), m_drawn);
    painter->restore();
}

void PixmapItem::paintTiled(QPainter *painter, const QStyleOptionGraphicsItem *option, int level)
{
    const QRectF bounds = boundingRect();
    const QImage source = levelImage(level);
    // Scene units per pixel of the drawn copy, on each axis: a halved copy of
    // an odd side is not exactly half as long.
    const double scaleX = bounds.width() / source.width();
    const double scaleY = bounds.height() / source.height();
    const QRectF exposed = option ? option->exposedRect : bounds;
    for (const Tile &tile : tiles(level)) {
        const QRectF target(tile.rect.x() * scaleX, tile.rect.y() * scaleY,
                            tile.rect.width() * scaleX, tile.rect.height() * scaleY);
        if (target.intersects(exposed))
            painter->drawPixmap(target, tile.pixmap, QRectF(tile.pixmap.rect()));
    }
}
