#ifndef LUMENO_PIXELOVERLAY_H
#define LUMENO_PIXELOVERLAY_H

#include "view/pixelmapping.h"

#include <QBrush>
#include <QList>
#include <QRect>
#include <QSize>

class QPainter;

// What the view draws over the picture to help pick a pixel: a faint grid on
// the borders of the image's pixels, and a box around the pixels the hovered
// colour comes from. Both are painted in device pixels, from the same
// PixelMapping the picture is drawn with, so they lie exactly on the borders
// of the pixels as drawn; they exist only on screen, never in copies, crops
// or saved files.
//
// They show where what they frame is at least OverlayZoom logical pixels
// across: the grid from zoom 8 up, the box from zoom 8 divided by the side
// of the sampled square.
class PixelOverlay
{
public:
    static constexpr double OverlayZoom = 8.0;

    PixelOverlay();

    // Whether the grid shows on a picture at mapping's zoom.
    static bool gridShows(const PixelMapping &mapping);
    // The logical viewport pixels the box around the given device pixels
    // covers, with a pixel to spare; empty for no box.
    static QRect boxArea(const QRect &pixels, double ratio);

    // Paints the grid over the device pixels exposed (clipped to those that
    // show the picture) when grid is set, and the box around boxPixels (device
    // pixels) when that is not empty. painter must be set to device pixels.
    // deviceSize: the viewport's size in device pixels.
    void paint(QPainter *painter, const PixelMapping &mapping, const QSize &deviceSize,
               const QSize &imageSize, bool grid, const QRect &exposed, const QRect &boxPixels);

private:
    // The grid as laid out for one mapping and viewport size: its vertical
    // lines across the viewport, four device rows of them (a period of the
    // dashes), tiled down in one fill; the device rows of its horizontal
    // lines; and the device pixels the image covers. Kept while the mapping
    // and sizes stay: a moving box repaints two small areas many times a
    // second.
    struct GridLayout
    {
        PixelMapping mapping;
        QSize size;
        QSize imageSize;
        QBrush columns;
        QList<int> rows;
        QRect image;
    };
    const GridLayout &gridLayout(const PixelMapping &mapping, const QSize &deviceSize,
                                 const QSize &imageSize);
    void paintGrid(QPainter *painter, const GridLayout &grid, const QRect &area);
    static void paintBox(QPainter *painter, const QRect &pixels, int width);

    // Alternating faint dark and light dashes, one device pixel per texel.
    QBrush m_gridBrush;
    GridLayout m_grid;
};

#endif
