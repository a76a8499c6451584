#ifndef LUMENO_ARTWORK_H
#define LUMENO_ARTWORK_H

#include <QHash>
#include <QIcon>
#include <QPixmap>
#include <QString>

// The compiled-in pictures: the icons (":/resources/icons") and the other
// pixmaps (":/resources/pixmaps"), by base name ("open", "checker").
//
// A picture is decoded the first time it is asked for and kept. On a display
// scaled above 1 the double-size variant ("name@2x.png"), where there is one,
// is handed out instead: it draws at the same logical size, only sharper.
// Icons carry a faded variant for their disabled state.
//
// Made once by the application and handed to the widgets that need pictures;
// they take copies when they are built. GUI thread only.
class Artwork
{
public:
    // devicePixelRatio: the display's scale, which decides between the
    // normal and the double-size pictures.
    explicit Artwork(double devicePixelRatio);

    // The picture of that name from either folder, icons first; a null
    // pixmap for a name that is in neither.
    QPixmap pixmap(const QString &name) const;
    // The icon of that name; a null icon for a name that is no icon.
    QIcon icon(const QString &name) const;
    // Its logical size, the size an icon-only button is built around.
    QSize iconSize(const QString &name) const;

    // A copy of source drawn at opacity alpha / 255 on a transparent pixmap.
    static QPixmap faded(const QPixmap &source, int alpha);

private:
    // The two sizes of a picture of folder; large is null without one.
    struct Pictures
    {
        QPixmap normal;
        QPixmap large;
    };
    static Pictures load(const QString &folder, const QString &name);

    double m_devicePixelRatio;
    mutable QHash<QString, QPixmap> m_pixmaps;
    mutable QHash<QString, QIcon> m_icons;
};

#endif
