#include "util/artwork.h"

#include <QPainter>

namespace {

const QString IconFolder = QStringLiteral(":/resources/icons/");
const QString PixmapFolder = QStringLiteral(":/resources/pixmaps/");

} // namespace

Artwork::Artwork(double devicePixelRatio) : m_devicePixelRatio(devicePixelRatio)
{
}

Artwork::Pictures Artwork::load(const QString &folder, const QString &name)
{
    Pictures pictures{QPixmap(folder + name + QStringLiteral(".png")),
                      QPixmap(folder + name + QStringLiteral("@2x.png"))};
    pictures.large.setDevicePixelRatio(2.0);
    return pictures;
}

QPixmap Artwork::pixmap(const QString &name) const
{
    auto found = m_pixmaps.constFind(name);
    if (found != m_pixmaps.constEnd())
        return found.value();
    Pictures pictures = load(IconFolder, name);
    if (pictures.normal.isNull())
        pictures = load(PixmapFolder, name);
    const bool scaled = m_devicePixelRatio > 1.0 && !pictures.large.isNull();
    return m_pixmaps.insert(name, scaled ? pictures.large : pictures.normal).value();
}

QIcon Artwork::icon(const QString &name) const
{
    auto found = m_icons.constFind(name);
    if (found != m_icons.constEnd())
        return found.value();
    const Pictures pictures = load(IconFolder, name);
    QIcon icon;
    for (const QPixmap &picture : {pictures.normal, pictures.large}) {
        if (picture.isNull())
            continue;
        icon.addPixmap(picture);
        icon.addPixmap(faded(picture, 64), QIcon::Disabled, QIcon::Off);
    }
    return m_icons.insert(name, icon).value();
}

QSize Artwork::iconSize(const QString &name) const
{
    return pixmap(name).deviceIndependentSize().toSize();
}

QPixmap Artwork::faded(const QPixmap &source, int alpha)
{
    if (source.isNull())
        return QPixmap();
    QPixmap faded(source.size());
    faded.setDevicePixelRatio(source.devicePixelRatio());
    faded.fill(Qt::transparent);
    QPainter painter(&faded);
    painter.setOpacity(alpha / 255.0);
    painter.drawPixmap(0, 0, source);
    return faded;
}
