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
        emit hoverChanged();
    }
}

QColor PickModel::sampledColor(const QPoint &pixel) const
{
    const Image *image = m_document->image();
    if (!image->contains(pixel.x(), pixel.y()))
        return QColor(Qt::transparent);
    if (m_sampleSize == 1)
        return QColor::fromRgba(image->image.pixel(pixel));
    const int half = m_sampleSize / 2;
    return averageColor(image->image,
                        QRect(pixel - QPoint(half, half), QSize(m_sampleSize, m_sampleSize)));
}

void PickModel::hover(const QPointF &scenePos)
{
    if (!hasPicture())
        return;
    const QColor colour = sampledColor(pixelAt(scenePos));
    if (scenePos == m_hoverPoint && colour == m_hoverColor)
        return;
    m_hoverPoint = scenePos;
    m_hoverColor = colour;
    emit hoverChanged();
}

void PickModel::click(const QPointF &scenePos)
{
    if (!hasPicture())
        return;
    const QColor colour = sampledColor(pixelAt(scenePos));
    if (scenePos == m_clickPoint && colour == m_clickColor)
        return;
    m_clickPoint = scenePos;
    m_clickColor = colour;
    emit clickChanged();
}
