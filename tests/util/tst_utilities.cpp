#include "util/utilities.h"

#include "tests/support/testmain.h"

#include <QDesktopServices>
#include <QFile>
#include <QRegularExpression>
#include <QShortcut>
#include <QTemporaryDir>
#include <QUrl>
#include <QWidget>

#include <climits>

// Receives shortcut activations and opened URLs.
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

class TestUtilities : public QObject
{
    Q_OBJECT

private slots:
    void readTextFile_data();
    void readTextFile();
    void readTextFileUnreadable();
    void texts_data();
    void texts();
    void blendColors_data();
    void blendColors();
    void makeShortcuts_data();
    void makeShortcuts();
    void makeShortcutConnectsOnlyWithReceiverAndMember();
    void randomInt_data();
    void randomInt();
    void openUrl();
};

void TestUtilities::readTextFile_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("expected");

    QTest::newRow("CRLF becomes LF, no final line end")
        << QByteArray("a\r\nb\r\n\r\nc") << QStringLiteral("a\nb\n\nc");
    QTest::newRow("UTF-8") << QByteArray("Gr\xc3\xbc\xc3\x9f"
                                         "e \xe2\x82\xac \xe6\x97\xa5\xe6\x9c\xac\n")
                           << QStringLiteral(u"Grüße € 日本\n");
    QTest::newRow("byte order mark is not content") << QByteArray("\xef\xbb\xbf"
                                                                  "body { }")
                                                    << QStringLiteral("body { }");
}

void TestUtilities::readTextFile()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, expected);

    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("text.txt")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(content), content.size());
    file.close();
    QCOMPARE(::readTextFile(file.fileName()), expected);
}

void TestUtilities::readTextFileUnreadable()
{
    QTemporaryDir dir;
    const QStringList paths = {dir.filePath(QStringLiteral("missing.txt")),
                               QStringLiteral(":/no/such/resource.txt"), QString(), dir.path()};
    for (const QString &path : paths)
        QVERIFY2(::readTextFile(path).isEmpty(), qPrintable(path));
}

// The pure text helpers; each row holds a helper's result and the text
// expected from it.
void TestUtilities::texts_data()
{
    QTest::addColumn<QString>("actual");
    QTest::addColumn<QString>("expected");

    QTest::newRow("escapeHtml: every character, single quote untouched")
        << ::escapeHtml("<a href=\"x\">&'</a>") << "&lt;a href=&quot;x&quot;&gt;&amp;'&lt;/a&gt;";
    QTest::newRow("escapeHtml: entity escaped again")
        << ::escapeHtml("a&lt;b&&") << "a&amp;lt;b&amp;&amp;";
    QTest::newRow("colorToHex: zero-padded, lower case, in order")
        << ::colorToHex(QColor(0x0a, 0x0b, 0x0c)) << "#0a0b0c";
    QTest::newRow("colorToHex: alpha ignored")
        << ::colorToHex(QColor(0xff, 0x34, 0x56, 0)) << "#ff3456";
    QTest::newRow("joinList: none") << ::joinList({}) << "";
    QTest::newRow("joinList: one") << ::joinList({"a"}) << "a";
    QTest::newRow("joinList: two, no comma") << ::joinList({"a", "b"}) << "a and b";
    QTest::newRow("joinList: three, serial comma") << ::joinList({"a", "b", "c"}) << "a, b, and c";
    QTest::newRow("joinList: four")
        << ::joinList({"red", "green", "blue", "alpha"}) << "red, green, blue, and alpha";
}

void TestUtilities::texts()
{
    QFETCH(QString, actual);
    QFETCH(QString, expected);
    QCOMPARE(actual, expected);
}

void TestUtilities::blendColors_data()
{
    QTest::addColumn<QColor>("under");
    QTest::addColumn<QColor>("over");
    QTest::addColumn<bool>("opaque");
    QTest::addColumn<QColor>("expected");

    QTest::newRow("transparent on top")
        << QColor(10, 20, 30) << QColor(200, 100, 50, 0) << false << QColor(10, 20, 30);
    // Whole-number results must not truncate one too low: the alpha of an
    // opaque bottom stays 255, 80% of 255 stays 204, a colour onto itself
    // stays the same.
    QTest::newRow("translucent on opaque")
        << QColor(0, 0, 0) << QColor(100, 200, 255, 128) << false << QColor(50, 100, 128, 255);
    QTest::newRow("white under 20% black")
        << QColor(255, 255, 255) << QColor(0, 0, 0, 51) << false << QColor(204, 204, 204, 255);
    QTest::newRow("colour onto itself")
        << QColor(100, 100, 100) << QColor(100, 100, 100, 5) << false << QColor(100, 100, 100);
    // Not divided by the resulting alpha: half-covered 200 stays 100.
    QTest::newRow("translucent underneath")
        << QColor(200, 100, 50, 128) << QColor(0, 0, 0, 0) << false << QColor(100, 50, 25, 128);
    QTest::newRow("both translucent, alpha truncated")
        << QColor(0, 0, 0, 170) << QColor(0, 0, 0, 6) << false << QColor(0, 0, 0, 172);
    QTest::newRow("opaque flag") << QColor(255, 255, 255, 128) << QColor(255, 0, 0, 128) << true
                                 << QColor(191, 63, 63, 255);
}

void TestUtilities::blendColors()
{
    QFETCH(QColor, under);
    QFETCH(QColor, over);
    QFETCH(bool, opaque);
    QFETCH(QColor, expected);
    QCOMPARE(::blendColors(under, over, opaque), expected);
}

void TestUtilities::makeShortcuts_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QList<QKeySequence>>("expected");

    QTest::newRow("two") << QStringLiteral("Ctrl+O|F3")
                         << QList<QKeySequence>{QKeySequence("Ctrl+O"), QKeySequence("F3")};
    QTest::newRow("empty parts kept") << QStringLiteral("A||B|")
                                      << QList<QKeySequence>{QKeySequence("A"), QKeySequence(),
                                                             QKeySequence("B"), QKeySequence()};
    QTest::newRow("empty text") << QString() << QList<QKeySequence>{QKeySequence()};
    QTest::newRow("plus key") << QStringLiteral("Ctrl++|+")
                              << QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Plus),
                                                     QKeySequence(Qt::Key_Plus)};
}

void TestUtilities::makeShortcuts()
{
    QFETCH(QString, keys);
    QFETCH(QList<QKeySequence>, expected);

    QWidget parent;
    Recorder recorder;
    QShortcut *last =
        ::makeShortcuts(keys, &parent, &recorder, SLOT(count()), Qt::WidgetWithChildrenShortcut);

    const QList<QShortcut *> made = parent.findChildren<QShortcut *>(Qt::FindDirectChildrenOnly);
    QCOMPARE(made.size(), expected.size());
    QCOMPARE(last, made.last());
    for (int i = 0; i < made.size(); ++i) {
        QCOMPARE(made.at(i)->key(), expected.at(i));
        QCOMPARE(made.at(i)->context(), Qt::WidgetWithChildrenShortcut);
        emit made.at(i)->activated();
        QCOMPARE(recorder.calls, i + 1);
    }
}

void TestUtilities::makeShortcutConnectsOnlyWithReceiverAndMember()
{
    // A connect() with a missing half fails with a warning rather than being
    // skipped; that counts as a fault too.
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));

    QWidget parent;
    Recorder recorder;
    const struct
    {
        QObject *receiver;
        const char *member;
    } cases[] = {{&recorder, SLOT(count())}, {&recorder, nullptr}, {nullptr, SLOT(count())}, {}};
    for (const auto &c : cases) {
        QShortcut *shortcut = ::makeShortcut(QKeySequence("Ctrl+K"), &parent, c.receiver, c.member);
        QCOMPARE(shortcut->parent(), &parent);
        QCOMPARE(shortcut->key(), QKeySequence("Ctrl+K"));
        QCOMPARE(shortcut->context(), Qt::WindowShortcut);

        const bool connected = c.receiver && c.member;
        recorder.calls = 0;
        emit shortcut->activated();
        QCOMPARE(recorder.calls, connected ? 1 : 0);
        // Also catches a connection to something other than the recorder.
        QCOMPARE(shortcut->disconnect(), connected);
    }
}

void TestUtilities::randomInt_data()
{
    QTest::addColumn<int>("max");
    QTest::addColumn<bool>("seeded");

    QTest::newRow("INT_MIN") << INT_MIN << false;
    QTest::newRow("0") << 0 << false;
    QTest::newRow("5") << 5 << false;
    QTest::newRow("5, seeded") << 5 << true;
    QTest::newRow("INT_MAX") << INT_MAX << false;
}

void TestUtilities::randomInt()
{
    QFETCH(int, max);
    QFETCH(bool, seeded);

    if (seeded)
        ::seedRandom();
    const int top = qMax(max, 0);
    QSet<int> seen;
    for (int i = 0; i < 2000; ++i) {
        const int value = ::randomInt(max);
        QVERIFY2(value >= 0 && value <= top, qPrintable(QString::number(value)));
        seen.insert(value);
    }
    // With a handful of values both ends turn up in this many draws.
    if (top <= 5)
        QCOMPARE(seen.size(), top + 1);
    else
        QVERIFY(seen.size() > 1);
}

void TestUtilities::openUrl()
{
    // A handler for a scheme of our own keeps the desktop out of the test.
    Recorder recorder;
    QDesktopServices::setUrlHandler(QStringLiteral("lumeno-test"), &recorder, "handleUrl");
    const QString text = QStringLiteral("lumeno-test://host/some path?q=1#part");
    ::openUrl(text);
    QDesktopServices::unsetUrlHandler(QStringLiteral("lumeno-test"));
    QCOMPARE(recorder.urls, QList<QUrl>{QUrl(text)});
}

LUMENO_TEST_MAIN(TestUtilities)

#include "tst_utilities.moc"
