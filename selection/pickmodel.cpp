#include "selection/pickmodel.h"

#include "document/document.h"
#include "util/utilities.h"

#include <QSettings>

namespace {

const QString SampleSizeKey = QStringLiteral("colors/sample_size");

QPoint pixelAt(const QPointF &scenePos)
{
    return QPoint(floorToInt(scenePos.x()), floorToInt(scenePos.y()));
}

} // namespace

PickModel::PickModel(Document *document, QObject *parent) : QObject(parent), m_document(document)
{
    const int size = QSettings().value(SampleSizeKey, 1).toInt();
    m_sampleSize = size == 3 || size == 5 ? size : 1;
    // The same points, other pixels: what is reported follows what is shown.
    connect(document, &Document::displayChanged, this, &PickModel::resample);
}

QColorSpace PickModel::colorSpace() const
{
    return m_document->image()->image.colorSpace();
}

void PickModel::resample()
{
    if (!hasPicture())
        return;
    m_hoverColor = sampledColor(pixelAt(m_hoverPoint));
    m_hoverStored = storedColor(pixelAt(m_hoverPoint));
    m_clickColor = sampledColor(pixelAt(m_clickPoint));
    m_clickStored = storedColor(pixelAt(m_clickPoint));
    emit hoverChanged();
    emit clickChanged();
}

bool PickModel::hasPicture() const
{
    return !m_document->image()->isNull;
}

void PickModel::setSampleSize(int size)
{
    size = qBound(1, size | 1, 5);
    if (size == m_sampleSize)
        return;
    m_sampleSize = size;
    QSettings().setValue(SampleSizeKey, m_sampleSize);
    emit sampleSizeChanged(m_sampleSize);
    // The readout follows at once, without a mouse move.
    if (hasPicture()) {
        m_hoverColor = sampledColor(pixelAt(m_hoverPoint));
        m_hoverStored = storedColor(pixelAt(m_hoverPoint));
        emit hoverChanged();
    }
}

QColor PickModel::sample(const QImage &pixels, const QPoint &pixel) const
{
    if (!pixels.rect().contains(pixel))
        return QColor(Qt::transparent);
    if (m_sampleSize == 1)
        return QColor::fromRgba(pixels.pixel(pixel));
    const int half = m_sampleSize / 2;
    return averageColor(pixels,
                        QRect(pixel - QPoint(half, half), QSize(m_sampleSize, m_sampleSize)));
}

QColor PickModel::sampledColor(const QPoint &pixel) const
{
    return sample(m_document->shownPixels(), pixel);
}

QColor PickModel::storedColor(const QPoint &pixel) const
{
    return sample(m_document->image()->image, pixel);
}

void PickModel::hover(const QPointF &scenePos)
{
    if (!hasPicture())
        return;
    const QPoint pixel = pixelAt(scenePos);
    const QColor colour = sampledColor(pixel);
    // Untagged pictures are shown as stored: no second sample.
    const QImage &stored = m_document->image()->image;
    const QColor storedColour =
        m_document->shownPixels().cacheKey() == stored.cacheKey() ? colour : storedColor(pixel);
    if (scenePos == m_hoverPoint && colour == m_hoverColor && storedColour == m_hoverStored)
        return;
    m_hoverPoint = scenePos;
    m_hoverColor = colour;
    m_hoverStored = storedColour;
    emit hoverChanged();
}

void PickModel::click(const QPointF &scenePos)
{
    if (!hasPicture())
        return;
    const QColor colour = sampledColor(pixelAt(scenePos));
    const QColor storedColour = storedColor(pixelAt(scenePos));
    if (scenePos == m_clickPoint && colour == m_clickColor && storedColour == m_clickStored)
        return;
    m_clickPoint = scenePos;
    m_clickColor = colour;
    m_clickStored = storedColour;
    emit clickChanged();
}
