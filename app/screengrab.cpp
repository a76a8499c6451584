#include "app/screengrab.h"

#include <QCursor>
#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QUrl>
#include <QWidget>

namespace {

// Long enough for a compositor to fade the window out.
constexpr int HideDelay = 300;

} // namespace

ScreenGrab::ScreenGrab(QWidget *window, QObject *parent) : QObject(parent), m_window(window)
{
}

void ScreenGrab::grab()
{
    if (m_window)
        m_window->hide();
    QTimer::singleShot(HideDelay, this, [this] {
        if (QGuiApplication::platformName() == QLatin1String("xcb")) {
            captureScreens();
        } else if (!askPortal()) {
            finish();
            emit failed(tr("This desktop does not let programs capture the screen."));
        }
    });
}

void ScreenGrab::captureScreens()
{
    // The screens side by side as the window system places them, in device
    // pixels: a screen's logical place times its scale.
    const QList<QScreen *> screens = QGuiApplication::screens();
    QRect all;
    QList<QPair<QRect, QImage>> parts;
    for (QScreen *screen : screens) {
        QImage part = screen->grabWindow(0).toImage();
        part.setDevicePixelRatio(1);
        const QRect place(screen->geometry().topLeft() * screen->devicePixelRatio(), part.size());
        parts.append({place, part});
        all |= place;
    }
    QImage picture(all.size(), QImage::Format_RGB32);
    picture.fill(Qt::black);
    QPainter painter(&picture);
    for (const auto &[place, part] : std::as_const(parts))
        painter.drawImage(place.topLeft() - all.topLeft(), part);
    painter.end();

    QPoint pointer(-1, -1);
    if (QScreen *screen = QGuiApplication::screenAt(QCursor::pos()))
        pointer = QCursor::pos() * screen->devicePixelRatio() - all.topLeft();
    finish();
    if (picture.isNull() || all.isEmpty())
        emit failed(tr("The screen could not be captured."));
    else
        emit grabbed(picture, pointer);
}

bool ScreenGrab::askPortal()
{
    QDBusInterface portal(QStringLiteral("org.freedesktop.portal.Desktop"),
                          QStringLiteral("/org/freedesktop/portal/desktop"),
                          QStringLiteral("org.freedesktop.portal.Screenshot"),
                          QDBusConnection::sessionBus());
    if (!portal.isValid())
        return false;
    const QVariantMap options{{QStringLiteral("interactive"), false}};
    const QDBusReply<QDBusObjectPath> request =
        portal.call(QStringLiteral("Screenshot"), QString(), options);
    if (!request.isValid())
        return false;
    return QDBusConnection::sessionBus().connect(
        QStringLiteral("org.freedesktop.portal.Desktop"), request.value().path(),
        QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"), this,
        SLOT(portalResponse(uint, QVariantMap)));
}

void ScreenGrab::portalResponse(uint response, const QVariantMap &results)
{
    const QString file = QUrl(results.value(QStringLiteral("uri")).toString()).toLocalFile();
    const QImage picture = response == 0 ? QImage(file) : QImage();
    if (!file.isEmpty())
        QFile::remove(file);
    finish();
    if (picture.isNull())
        emit failed(tr("This desktop does not let programs capture the screen."));
    else
        emit grabbed(picture, QPoint(-1, -1));
}

void ScreenGrab::finish()
{
    if (m_window) {
        // Mapped again, a window keeps its old place in the stack: raised,
        // it comes back in front of what was captured.
        m_window->show();
        m_window->raise();
        m_window->activateWindow();
    }
}
