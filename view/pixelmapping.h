#ifndef LUMENO_PIXELMAPPING_H
#define LUMENO_PIXELMAPPING_H

#include <QPoint>
#include <QPointF>
#include <QRect>

// Where the view's screen pixels and the image's pixels meet: the one place
// where a position in the viewport becomes an image pixel, and an image pixel
// becomes a rectangle on screen.
//
// The viewport is drawn in device pixels (logical pixels times the device
// pixel ratio of the display). Every device pixel shows the image pixel under
// its centre, and a mouse position picks the device pixel it lies in, so the
// pixel reported under the pointer is the pixel drawn there, at every zoom,
// scroll offset and display scale. Whatever draws or picks image pixels asks
// this mapping; nothing computes its own.
//
// A snapshot: it describes the view at the moment it was taken.
class PixelMapping
{
public:
    PixelMapping() = default;
    // zoom: logical viewport pixels per image pixel; scroll: the logical
    // viewport position of scene point (0, 0), negated; ratio: device pixels
    // per logical pixel.
    PixelMapping(double zoom, const QPointF &scroll, double ratio);

    double zoom() const { return m_x.zoom; }
    double devicePixelRatio() const { return m_x.ratio; }
    // Device pixels an image pixel covers along each side.
    double devicePixelsPerPixel() const { return m_x.zoom * m_x.ratio; }

    // The device pixel that contains a logical viewport position.
    QPoint devicePixelAt(const QPointF &viewportPos) const;
    // The scene point (image pixel coordinates) at the centre of a device
    // pixel. Its floor is the image pixel shown there.
    QPointF sceneAt(const QPoint &devicePixel) const;
    // The scene point the mouse at viewportPos picks: the centre of the device
    // pixel under it.
    QPointF scenePosAt(const QPointF &viewportPos) const;
    // The scene point at the top-left corner of a device pixel.
    QPointF sceneAtCorner(const QPoint &devicePixel) const;
    // The logical viewport position of a scene point.
    QPointF viewportPosAt(const QPointF &scenePos) const;

    // The image pixel under a scene point (both coordinates floored), also
    // for points outside the image.
    static QPoint pixelAt(const QPointF &scenePos);
    // The image column or row shown in a device column or row.
    int columnAt(int deviceX) const { return m_x.pixelAt(deviceX); }
    int rowAt(int deviceY) const { return m_y.pixelAt(deviceY); }

    // The device pixels that show the given image pixels (which may lie
    // partly or wholly outside the image); empty when they show none.
    QRect deviceRect(const QRect &pixels) const;
    // The top-left device pixel of the ones that show pixel, or of the ones
    // after it when it shows in none: where its left and top borders lie.
    QPoint deviceCorner(const QPoint &pixel) const;

    bool operator==(const PixelMapping &other) const;
    bool operator!=(const PixelMapping &other) const { return !(*this == other); }

private:
    // One direction of the mapping; x and y work alike.
    struct Axis
    {
        double zoom = 1.0;
        double scroll = 0.0;
        double ratio = 1.0;

        double sceneAt(int device, double within = 0.5) const;
        int pixelAt(int device) const;
        // The first device pixel showing pixel or a later one.
        int firstDeviceAt(int pixel) const;
    };

    Axis m_x;
    Axis m_y;
};

#endif
