#include "app/windowsettings.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QWidget>

namespace WindowSettings {

namespace {

const QString GeometryKey = QStringLiteral("view/window_geometry");
const QString MaximizedKey = QStringLiteral("view/window_is_maximized");

} // namespace

void restore(QWidget *window)
{
    QSettings settings;
    window->setGeometry(
        placedOnScreen(settings.value(GeometryKey, QRect(50, 100, 900, 700)).toRect()));
    if (settings.value(MaximizedKey, false).toBool())
        window->setWindowState(Qt::WindowMaximized);
}

QSize restoredSize()
{
    QSettings settings;
    const QRect placed =
        placedOnScreen(settings.value(GeometryKey, QRect(50, 100, 900, 700)).toRect());
    if (settings.value(MaximizedKey, false).toBool()) {
        if (const QScreen *screen = QGuiApplication::screenAt(placed.center()))
            return screen->availableGeometry().size();
    }
    return placed.size();
}

void store(const QWidget *window)
{
    QSettings settings;
    settings.setValue(GeometryKey, window->normalGeometry());
    settings.setValue(MaximizedKey, window->isMaximized());
}

QRect placedOnScreen(const QRect &geometry)
{
    // The settings file may hold any four ints: the corners are taken as they
    // are and every sum is made in 64 bits, where none can overflow.
    int left = 0, top = 0, right = 0, bottom = 0;
    geometry.getCoords(&left, &top, &right, &bottom);
    qint64 x = left, y = top;
    qint64 width = qint64(right) - left + 1;
    qint64 height = qint64(bottom) - top + 1;
    if (width <= 0 || height <= 0) {
        x = 50;
        y = 100;
        width = 900;
        height = 700;
    }

    // The window goes on the screen that shows the most of it (the primary
    // one when none does: a monitor unplugged since), at most as large as
    // that screen's free area and wholly inside it.
    const QScreen *target = QGuiApplication::primaryScreen();
    qint64 mostShown = 0;
    const QList<QScreen *> screens = QGuiApplication::screens();
    for (const QScreen *screen : screens) {
        const QRect area = screen->availableGeometry();
        const qint64 shownWidth =
            qMin<qint64>(x + width, qint64(area.x()) + area.width()) - qMax<qint64>(x, area.x());
        const qint64 shownHeight =
            qMin<qint64>(y + height, qint64(area.y()) + area.height()) - qMax<qint64>(y, area.y());
        if (shownWidth > 0 && shownHeight > 0 && shownWidth * shownHeight > mostShown) {
            mostShown = shownWidth * shownHeight;
            target = screen;
        }
    }
    if (!target)
        return QRect(50, 100, 900, 700);
    const QRect area = target->availableGeometry();
    width = qMin<qint64>(width, area.width());
    height = qMin<qint64>(height, area.height());
    x = qBound<qint64>(area.x(), x, qint64(area.x()) + area.width() - width);
    y = qBound<qint64>(area.y(), y, qint64(area.y()) + area.height() - height);
    return QRect(int(x), int(y), int(width), int(height));
}

} // namespace WindowSettings
