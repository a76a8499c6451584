#include "util/stopwatch.h"
#include "util/utilities.h"

#include "tests/support/testmain.h"

#include <QDesktopServices>
#include <QShortcut>
#include <QTemporaryDir>
#include <QUrl>

#include <climits>

// Counts shortcut activations and opened addresses.
class Recorder : public QObject
{
    Q_OBJECT

public:
    int calls = 0;
    QList<QUrl> urls;

public slots:
    void count() { ++calls; }
    void handleUrl(const QUrl &url) { urls.append(url); }
};

class TestUtil : public QObject
{
    Q_OBJECT

private slots:
    void readTextFile_data();
    void readTextFile();
    void texts_data();
    void texts();
    void shortcuts();
    void randomAndUrls();
    void stopwatch();
};

void TestUtil::readTextFile_data()
{
    QTest::addColumn<QByteArray>("content"); // empty: no file at all
    QTest::addColumn<QString>("expected");

    QTest::newRow("CRLF becomes LF")
        << QByteArray("a\r\nb\r\n\r\nc") << QStringLiteral("a\nb\n\nc");
    QTest::newRow("UTF-8, byte order mark dropped") << QByteArray("\xef\xbb\xbfGr\xc3\xbc\xc3\x9f"
                                                                  "e \xe2\x82\xac\n")
                                                    << QStringLiteral(u"Grüße €\n");
    QTest::newRow("missing") << QByteArray() << QString();
}

void TestUtil::readTextFile()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("text.txt")));
    if (!content.isEmpty()) {
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();
    }
    QCOMPARE(::readTextFile(file.fileName()), expected);
    QVERIFY(::readTextFile(dir.path()).isEmpty());
}

void TestUtil::texts_data()
{
    QTest::addColumn<QString>("actual");
    QTest::addColumn<QString>("expected");

    QTest::newRow("escapeHtml, single quote untouched, entities again")
        << ::escapeHtml("<a href=\"x\">&'&lt;</a>")
        << "&lt;a href=&quot;x&quot;&gt;&amp;'&amp;lt;&lt;/a&gt;";
    QTest::newRow("colorToHex ignores alpha")
        << ::colorToHex(QColor(0x0a, 0xb0, 0x0c, 0)) << "#0ab00c";
    QTest::newRow("joinList none") << ::joinList({}) << "";
    QTest::newRow("joinList one") << ::joinList({"a"}) << "a";
    QTest::newRow("joinList two") << ::joinList({"a", "b"}) << "a and b";
    QTest::newRow("joinList four") << ::joinList({"a", "b", "c", "d"}) << "a, b, c, and d";
    // Whole-number results do not truncate one too low; channels stay
    // premultiplied by the coverage.
    const auto blend = [](QColor under, QColor over, bool opaque) {
        const QColor c = ::blendColors(under, over, opaque);
        return c.name() + QLatin1Char(' ') + QString::number(c.alpha());
    };
    QTest::newRow("white under 20% black")
        << blend(QColor(255, 255, 255), QColor(0, 0, 0, 51), false) << "#cccccc 255";
    QTest::newRow("translucent underneath")
        << blend(QColor(200, 100, 50, 128), QColor(0, 0, 0, 0), false) << "#643219 128";
    QTest::newRow("both translucent")
        << blend(QColor(0, 0, 0, 170), QColor(0, 0, 0, 6), false) << "#000000 172";
    QTest::newRow("opaque flag") << blend(QColor(255, 255, 255, 128), QColor(255, 0, 0, 128), true)
                                 << "#bf3f3f 255";
    // Averages over the pixels inside the area, weighted by alpha, rounded
    // halves up.
    const auto average = [](int width, const QList<QRgb> &pixels, const QRect &area) {
        QImage image(width, int(pixels.size()) / width, QImage::Format_ARGB32);
        for (int i = 0; i < pixels.size(); ++i)
            image.setPixel(i % width, i / width, pixels.at(i));
        const QColor c = ::averageColor(image, area);
        return QStringLiteral("%1,%2,%3,%4")
            .arg(c.red())
            .arg(c.green())
            .arg(c.blue())
            .arg(c.alpha());
    };
    QTest::newRow("average of one translucent pixel")
        << average(1, {qRgba(10, 20, 30, 77)}, QRect(0, 0, 1, 1)) << "10,20,30,77";
    QTest::newRow("average at a corner: the four inside, halves up")
        << average(2, {qRgb(0, 0, 0), qRgb(1, 1, 0), qRgb(1, 0, 0), qRgb(1, 1, 1)},
                   QRect(-1, -1, 3, 3))
        << "1,1,0,255";
    QTest::newRow("average: transparent adds no colour")
        << average(2, {qRgba(255, 0, 0, 255), qRgba(0, 0, 255, 0)}, QRect(0, 0, 2, 1))
        << "255,0,0,128";
    QTest::newRow("average weighted by alpha")
        << average(2, {qRgba(255, 0, 0, 255), qRgba(0, 0, 255, 85)}, QRect(-2, -2, 5, 5))
        << "191,0,64,170";
    QTest::newRow("average of transparent pixels")
        << average(1, {qRgba(200, 100, 50, 0)}, QRect(0, 0, 1, 1)) << "0,0,0,0";
    QTest::newRow("average outside") << average(1, {qRgb(1, 2, 3)}, QRect(1, 0, 3, 3)) << "0,0,0,0";
    const auto contrast = [](const QColor &a, const QColor &b) {
        return QString::number(::contrastRatio(a, b), 'f', 2);
    };
    QTest::newRow("contrast black, white") << contrast(Qt::black, Qt::white) << "21.00";
    QTest::newRow("contrast white, #777") << contrast(Qt::white, QColor(0x777777)) << "4.48";
    QTest::newRow("contrast blue, white") << contrast(Qt::blue, Qt::white) << "8.59";
}

void TestUtil::texts()
{
    QFETCH(QString, actual);
    QFETCH(QString, expected);
    QCOMPARE(actual, expected);
}

void TestUtil::shortcuts()
{
    QWidget parent;
    Recorder recorder;
    QShortcut *last = ::makeShortcuts(QStringLiteral("Ctrl+O||Ctrl++"), &parent, &recorder,
                                      SLOT(count()), Qt::WidgetWithChildrenShortcut);
    const QList<QShortcut *> made = parent.findChildren<QShortcut *>();
    const QList<QKeySequence> keys = {QKeySequence("Ctrl+O"), QKeySequence(),
                                      QKeySequence(Qt::CTRL | Qt::Key_Plus)};
    QCOMPARE(made.size(), keys.size()); // empty parts are kept
    QCOMPARE(last, made.last());
    for (int i = 0; i < made.size(); ++i) {
        QCOMPARE(made.at(i)->key(), keys.at(i));
        QCOMPARE(made.at(i)->context(), Qt::WidgetWithChildrenShortcut);
        emit made.at(i)->activated();
    }
    QCOMPARE(recorder.calls, 3);
    // Without a receiver or a member nothing is connected.
    QShortcut *bare = ::makeShortcut(QKeySequence("Ctrl+K"), &parent, &recorder);
    QCOMPARE(bare->context(), Qt::WindowShortcut);
    QVERIFY(!bare->disconnect());
}

void TestUtil::randomAndUrls()
{
    for (const int max : {INT_MIN, 0, 5, INT_MAX}) {
        QSet<int> seen;
        for (int i = 0; i < 500; ++i) {
            const int value = ::randomInt(max);
            QVERIFY(value >= 0 && value <= qMax(max, 0));
            seen.insert(value);
        }
        if (max == 5)
            QCOMPARE(seen.size(), 6);
        else
            QCOMPARE(seen.size() > 1, max > 0);
    }
    ::seedRandom();
    QVERIFY(::randomInt(5) <= 5);

    // A handler for a scheme of our own keeps the desktop out of the test.
    Recorder recorder;
    QDesktopServices::setUrlHandler(QStringLiteral("lumeno-test"), &recorder, "handleUrl");
    ::openUrl(QStringLiteral("lumeno-test://host/some path?q=1"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("lumeno-test"));
    QCOMPARE(recorder.urls, QList<QUrl>{QUrl(QStringLiteral("lumeno-test://host/some path?q=1"))});
}

void TestUtil::stopwatch()
{
    const auto spin = [](int ms) {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < ms) {
        }
        return timer.nsecsElapsed() / 1e9;
    };
    Stopwatch &watch = globalStopwatch;
    watch.start();
    spin(1);
    resetStopwatch();
    QCOMPARE(watch.stop(), 0.0);
    QCOMPARE(watch.elapsed(), 0.0);

    watch.start();
    const double first = spin(3);
    watch.start(); // neither restarts nor counts
    QVERIFY(watch.elapsed() >= first - 1e-9);
    const double total = watch.stop();
    QVERIFY(total >= first - 1e-9);
    spin(5); // time between periods does not count
    QCOMPARE(watch.stop(), total);
    QCOMPARE(watch.elapsed(), 0.0);

    QElapsedTimer bracket;
    bracket.start();
    watch.start();
    const double second = spin(2);
    const double both = watch.stop();
    QVERIFY(both - total >= second - 1e-9 && both - total <= bracket.nsecsElapsed() / 1e9 + 1e-9);
    QCOMPARE(watch.startCount(), 2);
}

LUMENO_TEST_MAIN(TestUtil)

#include "tst_util.moc"
