#include "view/pixelmapping.h"

#include "util/utilities.h"

#include <QtGlobal>

#include <cmath>

namespace {

// Positions handed in as logical pixels come from whole device pixels divided
// by the ratio (1.5, say); multiplying back may land a hair below the whole
// number. This much is forgiven before flooring.
constexpr double Slack = 1e-6;

// Device positions are ints; a rectangle from -FarDevice to FarDevice still
// has a width an int can hold.
constexpr int FarDevice = (1 << 30) - 1;

} // namespace

PixelMapping::PixelMapping(double zoom, const QPointF &scroll, double ratio)
    : m_x{zoom, scroll.x(), ratio}, m_y{zoom, scroll.y(), ratio}
{
}

double PixelMapping::Axis::sceneAt(int device, double within) const
{
    return ((device + within) / ratio + scroll) / zoom;
}

int PixelMapping::Axis::pixelAt(int device) const
{
    return floorToInt(sceneAt(device));
}

int PixelMapping::Axis::firstDeviceAt(int pixel) const
{
    // The estimate inverts sceneAt(); a step or two from it make the answer
    // agree exactly with pixelAt(), rounding of doubles included. Beyond
    // FarDevice the clamped estimate stands: the view's zoom limit keeps every
    // picture within that many device pixels, so only pixels far off screen
    // get there, and walking to them would take millions of steps.
    const double estimate = std::ceil(ratio * (double(pixel) * zoom - scroll) - 0.5);
    if (estimate <= -FarDevice)
        return -FarDevice;
    if (estimate >= FarDevice)
        return FarDevice;
    int device = int(estimate);
    while (pixelAt(device - 1) >= pixel)
        --device;
    while (pixelAt(device) < pixel)
        ++device;
    return device;
}

QPoint PixelMapping::devicePixelAt(const QPointF &viewportPos) const
{
    return QPoint(floorToInt(viewportPos.x() * m_x.ratio + Slack),
                  floorToInt(viewportPos.y() * m_y.ratio + Slack));
}

QPointF PixelMapping::sceneAt(const QPoint &devicePixel) const
{
    return QPointF(m_x.sceneAt(devicePixel.x()), m_y.sceneAt(devicePixel.y()));
}

QPointF PixelMapping::sceneAtCorner(const QPoint &devicePixel) const
{
    return QPointF(m_x.sceneAt(devicePixel.x(), 0.0), m_y.sceneAt(devicePixel.y(), 0.0));
}

QPointF PixelMapping::scenePosAt(const QPointF &viewportPos) const
{
    return sceneAt(devicePixelAt(viewportPos));
}

QPointF PixelMapping::viewportPosAt(const QPointF &scenePos) const
{
    return QPointF(scenePos.x() * m_x.zoom - m_x.scroll, scenePos.y() * m_y.zoom - m_y.scroll);
}

QPoint PixelMapping::pixelAt(const QPointF &scenePos)
{
    return QPoint(floorToInt(scenePos.x()), floorToInt(scenePos.y()));
}

QRect PixelMapping::deviceRect(const QRect &pixels) const
{
    if (pixels.isEmpty())
        return QRect();
    const int left = m_x.firstDeviceAt(pixels.left());
    const int top = m_y.firstDeviceAt(pixels.top());
    const int right = m_x.firstDeviceAt(pixels.left() + pixels.width());
    const int bottom = m_y.firstDeviceAt(pixels.top() + pixels.height());
    return QRect(left, top, right - left, bottom - top);
}

QPoint PixelMapping::deviceCorner(const QPoint &pixel) const
{
    return QPoint(m_x.firstDeviceAt(pixel.x()), m_y.firstDeviceAt(pixel.y()));
}

bool PixelMapping::operator==(const PixelMapping &other) const
{
    const auto same = [](const Axis &a, const Axis &b) {
        return a.zoom == b.zoom && a.scroll == b.scroll && a.ratio == b.ratio;
    };
    return same(m_x, other.m_x) && same(m_y, other.m_y);
}
