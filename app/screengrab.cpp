#include "app/screengrab.h"

#include <QCursor>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QDBusServiceWatcher>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QRandomGenerator>
#include <QScreen>
#include <QTimer>
#include <QUrl>
#include <QWidget>

namespace {

// Long enough for a compositor to fade the window out.
constexpr int HideDelay = 300;

const QString PortalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString RequestInterface = QStringLiteral("org.freedesktop.portal.Request");

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
            emit failed(tr("No desktop portal answered: the screen cannot be captured."));
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
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    if (!m_portalWatcher) {
        m_portalWatcher = new QDBusServiceWatcher(
            PortalService, bus, QDBusServiceWatcher::WatchForUnregistration, this);
        connect(m_portalWatcher, &QDBusServiceWatcher::serviceUnregistered, this, [this] {
            if (m_request.isEmpty())
                return;
            listen(QString());
            finish();
            emit failed(tr("The screen could not be captured."));
        });
    }
    // The portal answers on a request object named after this connection
    // and the handle token. Listened for before asking, the answer cannot
    // pass unheard, however soon it comes.
    const QString token = QStringLiteral("lumeno%1").arg(QRandomGenerator::global()->generate());
    QString sender = bus.baseService().mid(1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    if (!listen(QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2").arg(sender, token)))
        return false;
    QDBusMessage call = QDBusMessage::createMethodCall(
        PortalService, QStringLiteral("/org/freedesktop/portal/desktop"),
        QStringLiteral("org.freedesktop.portal.Screenshot"), QStringLiteral("Screenshot"));
    call << QString()
         << QVariantMap{{QStringLiteral("handle_token"), token},
                        {QStringLiteral("interactive"), false}};
    // An answer that comes while this waits is delivered after it returns.
    const QDBusReply<QDBusObjectPath> request = bus.call(call);
    // Portals before 0.9 name the request object themselves.
    if (!request.isValid() ||
        (request.value().path() != m_request && !listen(request.value().path()))) {
        listen(QString());
        return false;
    }
    return true;
}

bool ScreenGrab::listen(const QString &path)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    const QString response = QStringLiteral("Response");
    if (!m_request.isEmpty())
        bus.disconnect(PortalService, m_request, RequestInterface, response, this,
                       SLOT(portalResponse(uint, QVariantMap)));
    m_request = path;
    return path.isEmpty() || bus.connect(PortalService, path, RequestInterface, response, this,
                                         SLOT(portalResponse(uint, QVariantMap)));
}

void ScreenGrab::portalResponse(uint response, const QVariantMap &results)
{
    // 0: done; 1: the user cancelled; 2: refused, or failed otherwise.
    const QString file = QUrl(results.value(QStringLiteral("uri")).toString()).toLocalFile();
    const QImage picture = response == 0 ? QImage(file) : QImage();
    if (!file.isEmpty())
        QFile::remove(file);
    if (m_request.isEmpty())
        return;
    listen(QString());
    finish();
    if (response == 1)
        emit failed(tr("The screen grab was cancelled."));
    else if (response != 0)
        emit failed(tr("This desktop does not let programs capture the screen."));
    else if (picture.isNull())
        emit failed(tr("The screen could not be captured."));
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
