#ifndef LUMENO_PICKMODEL_H
#define LUMENO_PICKMODEL_H

#include <QColor>
#include <QColorSpace>
#include <QObject>
#include <QPoint>
#include <QPointF>

class Document;

// What the user points at and picks in the document's picture: the hovered
// colour and the clicked one, each with the scene point (image pixel
// coordinates) it came from, and the side of the square a colour is averaged
// over.
//
// A colour is the pixel under the point (the point floored), or with a
// sample size above 1 the alpha-weighted mean of the square centred on it,
// the part inside the picture; transparent black outside the picture. It is
// taken from the pixels shown (Document::shownPixels(): sRGB for a picture
// with a colour profile); the same sample of the stored pixels is kept
// beside it, for the formats that give the file's own values. The
// view reports where the pointer is; the colour panel shows what this holds.
//
// The sample size is stored in the settings group "colors" as "sample_size"
// (1, 3 or 5): read at construction, written when it changes.
class PickModel : public QObject
{
    Q_OBJECT

public:
    explicit PickModel(Document *document, QObject *parent = nullptr);

    Document *document() const { return m_document; }
    int sampleSize() const { return m_sampleSize; }
    // An even size counts as the next odd one; sizes beyond 1 to 5 as the
    // nearer end. The hovered colour is taken again at once.
    void setSampleSize(int size);

    QPointF hoverPoint() const { return m_hoverPoint; }
    QColor hoverColor() const { return m_hoverColor; }
    QColor hoverStored() const { return m_hoverStored; }
    QPointF clickPoint() const { return m_clickPoint; }
    QColor clickColor() const { return m_clickColor; }
    QColor clickStored() const { return m_clickStored; }
    // The colour space of the stored pixels; invalid for an untagged picture.
    QColorSpace colorSpace() const;

    // The colour reported for an image pixel, as described above, from the
    // pixels shown or from the stored ones.
    QColor sampledColor(const QPoint &pixel) const;
    QColor storedColor(const QPoint &pixel) const;

public slots:
    // The pointer is over scenePos. Ignored while no picture is shown.
    void hover(const QPointF &scenePos);
    // A mouse button went down or up at scenePos. Ignored while no picture
    // is shown.
    void click(const QPointF &scenePos);

signals:
    // The hovered point or colour changed.
    void hoverChanged();
    // The clicked point or colour changed.
    void clickChanged();
    void sampleSizeChanged(int size);

private:
    bool hasPicture() const;
    QColor sample(const QImage &pixels, const QPoint &pixel) const;
    // Both colours at a point of the picture, taken again.
    void resample();

    Document *m_document; // not owned
    int m_sampleSize = 1;
    QPointF m_hoverPoint;
    QColor m_hoverColor = Qt::transparent;
    QColor m_hoverStored = Qt::transparent;
    QPointF m_clickPoint;
    QColor m_clickColor = Qt::transparent;
    QColor m_clickStored = Qt::transparent;
};

#endif
