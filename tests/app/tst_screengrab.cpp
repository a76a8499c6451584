#include "app/screengrab.h"
#include "tests/support/testimages.h"
#include "tests/support/testmain.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QUrl>

// The screen grab where the toolkit cannot capture the screen (here the
// offscreen platform, as on Wayland): through the desktop portal, here a fake
// one on a private session bus that starts no service by itself.
class TestScreenGrab : public QObject
{
    Q_OBJECT

private slots:
    void portal_data();
    void portal();
};

void TestScreenGrab::portal_data()
{
    QTest::addColumn<QStringList>("portal"); // the fake's options; empty: no portal
    QTest::addColumn<QString>("failure");    // what failed() says; empty: grabbed

    const QString refused =
        QStringLiteral("This desktop does not let programs capture the screen.");
    QTest::newRow("answered") << QStringList{"0"} << QString();
    QTest::newRow("answered before its reply") << QStringList{"--early", "0"} << QString();
    QTest::newRow("an older portal's request path") << QStringList{"--own-path", "0"} << QString();
    QTest::newRow("cancelled") << QStringList{"1"} << "The screen grab was cancelled.";
    QTest::newRow("refused") << QStringList{"2"} << refused;
    QTest::newRow("gone without answering")
        << QStringList{"--quit"} << "The screen could not be captured.";
    QTest::newRow("no portal") << QStringList()
                               << "No desktop portal answered: the screen cannot be captured.";
}

void TestScreenGrab::portal()
{
    QFETCH(QStringList, portal);
    QFETCH(QString, failure);

    const QString service = QStringLiteral("org.freedesktop.portal.Desktop");
    QDBusConnectionInterface *bus = QDBusConnection::sessionBus().interface();
    QVERIFY2(bus, "no session bus");
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("screen shot.png"));
    const QImage screen = TestImages::pattern(64, 48);
    QVERIFY(screen.save(file));
    QProcess fake;
    fake.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    if (!portal.isEmpty()) {
        fake.start(QStringLiteral(LUMENO_FAKE_PORTAL),
                   portal << QUrl::fromLocalFile(file).toString(QUrl::FullyEncoded));
        QTRY_VERIFY(bus->isServiceRegistered(service));
    }

    QWidget window;
    window.show();
    ScreenGrab grab(&window);
    QSignalSpy grabbed(&grab, &ScreenGrab::grabbed);
    QSignalSpy failed(&grab, &ScreenGrab::failed);
    grab.grab();
    QVERIFY(!window.isVisible());
    QTRY_COMPARE(grabbed.size() + failed.size(), 1);
    QVERIFY(window.isVisible());
    QCOMPARE(failed.isEmpty() ? QString() : failed.first().at(0).toString(), failure);
    if (failure.isEmpty()) {
        QCOMPARE(grabbed.first().at(0).value<QImage>().convertToFormat(screen.format()), screen);
        QCOMPARE(grabbed.first().at(1).toPoint(), QPoint(-1, -1));
        QVERIFY(!QFile::exists(file)); // read, then removed
    }
    // Gone from the bus before the next row's portal takes its name.
    fake.kill();
    fake.waitForFinished();
    QTRY_VERIFY(!bus->isServiceRegistered(service));
}

LUMENO_TEST_MAIN(TestScreenGrab)

#include "tst_screengrab.moc"
