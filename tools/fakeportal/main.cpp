// lumeno-fake-portal [--early | --own-path | --quit] RESPONSE [URI]
//
// Stands in for the desktop portal on the session bus: owns
// org.freedesktop.portal.Desktop and answers each Screenshot call with
// RESPONSE (0 done, 1 cancelled, 2 failed) and, when given, URI as the
// picture, on the request object named after the caller and its
// handle_token, as the portal does since 0.9. --early answers before the
// call's own reply; --own-path answers on a request object of its own
// naming, a moment later, as older portals did (a caller that gives no
// handle_token gets that object too); --quit leaves the bus instead of
// answering.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <sys/prctl.h>

class FakePortal : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Screenshot")

public:
    FakePortal(const QString &mode, uint response, const QString &uri)
        : m_mode(mode), m_response(response), m_uri(uri)
    {
    }

public slots:
    QDBusObjectPath Screenshot(const QString &, const QVariantMap &options,
                               const QDBusMessage &call)
    {
        QString sender = call.service().mid(1);
        sender.replace(QLatin1Char('.'), QLatin1Char('_'));
        QString token = options.value(QStringLiteral("handle_token")).toString();
        if (token.isEmpty() || m_mode == QLatin1String("--own-path"))
            token = QStringLiteral("own");
        const QString path =
            QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2").arg(sender, token);
        call.setDelayedReply(true);
        if (m_mode == QLatin1String("--early"))
            answer(path);
        QDBusConnection::sessionBus().send(
            call.createReply(QVariant::fromValue(QDBusObjectPath(path))));
        if (m_mode == QLatin1String("--quit"))
            QTimer::singleShot(100, qApp, &QCoreApplication::quit);
        else if (m_mode == QLatin1String("--own-path"))
            QTimer::singleShot(300, this, [this, path] { answer(path); });
        else if (m_mode != QLatin1String("--early"))
            answer(path);
        return QDBusObjectPath();
    }

private:
    void answer(const QString &path)
    {
        QDBusMessage signal = QDBusMessage::createSignal(
            path, QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"));
        QVariantMap results;
        if (!m_uri.isEmpty())
            results.insert(QStringLiteral("uri"), m_uri);
        signal << m_response << results;
        QDBusConnection::sessionBus().send(signal);
    }

    QString m_mode;
    uint m_response;
    QString m_uri;
};

int main(int argc, char *argv[])
{
    // Gone with the test that started it, however that ends.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    QCoreApplication app(argc, argv);
    QStringList arguments = app.arguments().mid(1);
    const QString mode = !arguments.isEmpty() && arguments.first().startsWith(QLatin1String("--"))
                             ? arguments.takeFirst()
                             : QString();
    FakePortal portal(mode, arguments.value(0).toUInt(), arguments.value(1));
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.registerObject(QStringLiteral("/org/freedesktop/portal/desktop"), &portal,
                            QDBusConnection::ExportAllSlots) ||
        !bus.registerService(QStringLiteral("org.freedesktop.portal.Desktop"))) {
        std::fprintf(stderr, "lumeno-fake-portal: %s\n", qPrintable(bus.lastError().message()));
        return 1;
    }
    return app.exec();
}

#include "main.moc"
