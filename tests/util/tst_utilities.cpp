#include "util/utilities.h"

#include "tests/support/testmain.h"

#include <QDesktopServices>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QRegularExpression>
#include <QShortcut>
#include <QTemporaryDir>
#include <QUrl>
#include <QVBoxLayout>
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
    void readTextFileUnreadable_data();
    void readTextFileUnreadable();

    void escapeHtml_data();
    void escapeHtml();

    void colorToHex_data();
    void colorToHex();

    void joinList_data();
    void joinList();

    void blendColors_data();
    void blendColors();

    void makeShortcuts_data();
    void makeShortcuts();
    void makeShortcutConnectsOnlyWithReceiverAndMember_data();
    void makeShortcutConnectsOnlyWithReceiverAndMember();
    void makeShortcutContext_data();
    void makeShortcutContext();
    void makeShortcutOwnedByParent();
    void makeShortcutRespondsToKeys();

    void randomIntInRange_data();
    void randomIntInRange();
    void randomIntNegativeMaximum_data();
    void randomIntNegativeMaximum();
    void randomIntAfterSeeding();

    void openUrl();
};

void TestUtilities::readTextFile_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("expected");

    QTest::newRow("empty file") << QByteArray() << QString();
    QTest::newRow("line feeds kept") << QByteArray("a\nb\n") << QStringLiteral("a\nb\n");
    QTest::newRow("CRLF becomes LF")
        << QByteArray("a\r\nb\r\n\r\nc") << QStringLiteral("a\nb\n\nc");
    QTest::newRow("UTF-8") << QByteArray("Gr\xc3\xbc\xc3\x9f"
                                         "e \xe2\x82\xac \xe6\x97\xa5\xe6\x9c\xac\n")
                           << QStringLiteral(u"Grüße € 日本\n");
    QTest::newRow("byte order mark is not content") << QByteArray("\xef\xbb\xbf"
                                                                  "body { }")
                                                    << QStringLiteral("body { }");
    QTest::newRow("no final line end") << QByteArray("last") << QStringLiteral("last");
}

void TestUtilities::readTextFile()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, expected);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("text.txt"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(content), content.size());
    file.close();

    QCOMPARE(::readTextFile(path), expected);
}

void TestUtilities::readTextFileUnreadable_data()
{
    QTest::addColumn<QString>("path");

    QTest::newRow("missing file") << QStringLiteral("does-not-exist.txt");
    QTest::newRow("missing resource") << QStringLiteral(":/no/such/resource.txt");
    QTest::newRow("empty path") << QString();
    QTest::newRow("directory") << QStringLiteral(".");
}

void TestUtilities::readTextFileUnreadable()
{
    QFETCH(QString, path);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    // Relative paths are taken inside a fresh directory, so they cannot exist.
    const QString fullPath =
        path.isEmpty() || path.startsWith(QLatin1Char(':')) ? path : dir.filePath(path);

    QVERIFY(::readTextFile(fullPath).isEmpty());
}

void TestUtilities::escapeHtml_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    QTest::newRow("plain") << QStringLiteral("plain text") << QStringLiteral("plain text");
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("ampersand") << QStringLiteral("a&b") << QStringLiteral("a&amp;b");
    QTest::newRow("angle brackets") << QStringLiteral("<b>") << QStringLiteral("&lt;b&gt;");
    QTest::newRow("double quote") << QStringLiteral("\"x\"") << QStringLiteral("&quot;x&quot;");
    QTest::newRow("single quote untouched") << QStringLiteral("it's") << QStringLiteral("it's");
    QTest::newRow("existing entity escaped again")
        << QStringLiteral("a&lt;b\"c") << QStringLiteral("a&amp;lt;b&quot;c");
    QTest::newRow("every character at once")
        << QStringLiteral("<a href=\"x\">&</a>")
        << QStringLiteral("&lt;a href=&quot;x&quot;&gt;&amp;&lt;/a&gt;");
    QTest::newRow("repeated") << QStringLiteral("&&<<") << QStringLiteral("&amp;&amp;&lt;&lt;");
}

void TestUtilities::escapeHtml()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);

    QCOMPARE(::escapeHtml(text), expected);
}

void TestUtilities::colorToHex_data()
{
    QTest::addColumn<QColor>("color");
    QTest::addColumn<QString>("expected");

    QTest::newRow("red") << QColor(255, 0, 0) << QStringLiteral("#ff0000");
    QTest::newRow("black") << QColor(0, 0, 0) << QStringLiteral("#000000");
    QTest::newRow("white") << QColor(255, 255, 255) << QStringLiteral("#ffffff");
    QTest::newRow("single digits padded") << QColor(1, 2, 3) << QStringLiteral("#010203");
    QTest::newRow("lower case") << QColor(0xab, 0xcd, 0xef) << QStringLiteral("#abcdef");
    QTest::newRow("channel order") << QColor(0x12, 0x34, 0x56) << QStringLiteral("#123456");
    QTest::newRow("alpha 0 ignored") << QColor(0x12, 0x34, 0x56, 0) << QStringLiteral("#123456");
    QTest::newRow("translucent") << QColor(0x0a, 0xb0, 0x0c, 0x80) << QStringLiteral("#0ab00c");
}

void TestUtilities::colorToHex()
{
    QFETCH(QColor, color);
    QFETCH(QString, expected);

    QCOMPARE(::colorToHex(color), expected);
}

void TestUtilities::joinList_data()
{
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QString>("expected");

    QTest::newRow("none") << QStringList() << QString();
    QTest::newRow("one") << QStringList{"a"} << QStringLiteral("a");
    QTest::newRow("two, no comma") << QStringList{"a", "b"} << QStringLiteral("a and b");
    QTest::newRow("three, serial comma")
        << QStringList{"a", "b", "c"} << QStringLiteral("a, b, and c");
    QTest::newRow("four") << QStringList{"red", "green", "blue", "alpha"}
                          << QStringLiteral("red, green, blue, and alpha");
    QTest::newRow("items with spaces") << QStringList{"x y", "z"} << QStringLiteral("x y and z");
}

void TestUtilities::joinList()
{
    QFETCH(QStringList, items);
    QFETCH(QString, expected);

    QCOMPARE(::joinList(items), expected);
}

void TestUtilities::blendColors_data()
{
    QTest::addColumn<QColor>("under");
    QTest::addColumn<QColor>("over");
    QTest::addColumn<bool>("opaque");
    QTest::addColumn<QColor>("expected");

    QTest::newRow("transparent on top")
        << QColor(10, 20, 30) << QColor(200, 100, 50, 0) << false << QColor(10, 20, 30);
    QTest::newRow("opaque on top")
        << QColor(10, 20, 30) << QColor(200, 100, 50) << false << QColor(200, 100, 50);
    // 128/255 of each top channel, truncated; the opaque bottom keeps alpha at
    // exactly 255 although the arithmetic goes through fractions.
    QTest::newRow("translucent on opaque")
        << QColor(0, 0, 0) << QColor(100, 200, 255, 128) << false << QColor(50, 100, 128, 255);
    QTest::newRow("white under 20% black")
        << QColor(255, 255, 255) << QColor(0, 0, 0, 51) << false << QColor(204, 204, 204, 255);
    // Blending a colour onto itself must not change it, even by truncation.
    QTest::newRow("colour onto itself")
        << QColor(100, 100, 100) << QColor(100, 100, 100, 5) << false << QColor(100, 100, 100);
    // The result is not divided by its alpha: half-covered 200 stays 100.
    QTest::newRow("translucent underneath")
        << QColor(200, 100, 50, 128) << QColor(0, 0, 0, 0) << false << QColor(100, 50, 25, 128);
    QTest::newRow("both translucent") << QColor(255, 255, 255, 128) << QColor(255, 0, 0, 128)
                                      << false << QColor(191, 63, 63, 191);
    QTest::newRow("both translucent, alpha truncated")
        << QColor(0, 0, 0, 170) << QColor(0, 0, 0, 6) << false << QColor(0, 0, 0, 172);
    QTest::newRow("opaque flag") << QColor(255, 255, 255, 128) << QColor(255, 0, 0, 128) << true
                                 << QColor(191, 63, 63, 255);
    QTest::newRow("opaque flag, nothing there")
        << QColor(0, 0, 0, 0) << QColor(0, 0, 0, 0) << true << QColor(0, 0, 0, 255);
    QTest::newRow("nothing there")
        << QColor(90, 90, 90, 0) << QColor(80, 80, 80, 0) << false << QColor(0, 0, 0, 0);
}

void TestUtilities::blendColors()
{
    QFETCH(QColor, under);
    QFETCH(QColor, over);
    QFETCH(bool, opaque);
    QFETCH(QColor, expected);

    const QColor result = ::blendColors(under, over, opaque);
    QCOMPARE(result.red(), expected.red());
    QCOMPARE(result.green(), expected.green());
    QCOMPARE(result.blue(), expected.blue());
    QCOMPARE(result.alpha(), expected.alpha());
}

void TestUtilities::makeShortcuts_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QList<QKeySequence>>("expected");

    QTest::newRow("one") << QStringLiteral("Ctrl+O") << QList<QKeySequence>{QKeySequence("Ctrl+O")};
    QTest::newRow("two") << QStringLiteral("Ctrl+O|F3")
                         << QList<QKeySequence>{QKeySequence("Ctrl+O"), QKeySequence("F3")};
    QTest::newRow("empty middle part")
        << QStringLiteral("A||B")
        << QList<QKeySequence>{QKeySequence("A"), QKeySequence(), QKeySequence("B")};
    QTest::newRow("trailing bar") << QStringLiteral("Ctrl+Q|")
                                  << QList<QKeySequence>{QKeySequence("Ctrl+Q"), QKeySequence()};
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
        // Every one of them calls the same slot.
        emit made.at(i)->activated();
        QCOMPARE(recorder.calls, i + 1);
    }
}

void TestUtilities::makeShortcutConnectsOnlyWithReceiverAndMember_data()
{
    QTest::addColumn<bool>("withReceiver");
    QTest::addColumn<bool>("withMember");

    QTest::newRow("receiver and member") << true << true;
    QTest::newRow("receiver only") << true << false;
    QTest::newRow("member only") << false << true;
    QTest::newRow("neither") << false << false;
}

void TestUtilities::makeShortcutConnectsOnlyWithReceiverAndMember()
{
    QFETCH(bool, withReceiver);
    QFETCH(bool, withMember);

    // A connect() with a missing half fails with a warning rather than being
    // skipped; that counts as a fault too.
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));

    QWidget parent;
    Recorder recorder;
    QShortcut *shortcut =
        ::makeShortcut(QKeySequence("Ctrl+K"), &parent, withReceiver ? &recorder : nullptr,
                       withMember ? SLOT(count()) : nullptr);
    QVERIFY(shortcut);

    const bool connected = withReceiver && withMember;
    emit shortcut->activated();
    QCOMPARE(recorder.calls, connected ? 1 : 0);
    // disconnect() reports whether there was any connection at all, which also
    // catches a connection to something other than the recorder.
    QCOMPARE(shortcut->disconnect(), connected);
}

void TestUtilities::makeShortcutContext_data()
{
    QTest::addColumn<Qt::ShortcutContext>("context");

    QTest::newRow("widget") << Qt::WidgetShortcut;
    QTest::newRow("widget with children") << Qt::WidgetWithChildrenShortcut;
    QTest::newRow("window") << Qt::WindowShortcut;
    QTest::newRow("application") << Qt::ApplicationShortcut;
}

void TestUtilities::makeShortcutContext()
{
    QFETCH(Qt::ShortcutContext, context);

    QWidget parent;
    const QShortcut *shortcut =
        ::makeShortcut(QKeySequence("Ctrl+K"), &parent, nullptr, nullptr, context);
    QCOMPARE(shortcut->context(), context);
    QCOMPARE(shortcut->key(), QKeySequence("Ctrl+K"));

    QWidget defaults;
    QCOMPARE(::makeShortcut(QKeySequence("Ctrl+K"), &defaults)->context(), Qt::WindowShortcut);
}

void TestUtilities::makeShortcutOwnedByParent()
{
    auto *parent = new QWidget;
    QPointer<QShortcut> single = ::makeShortcut(QKeySequence("Ctrl+K"), parent);
    QPointer<QShortcut> last = ::makeShortcuts(QStringLiteral("A|B"), parent);
    QCOMPARE(single->parent(), parent);
    QCOMPARE(last->parent(), parent);

    delete parent;
    QVERIFY(single.isNull());
    QVERIFY(last.isNull());
}

void TestUtilities::makeShortcutRespondsToKeys()
{
    // A real key press goes through the shortcut map, so the context decides
    // whether the shortcut fires.
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *target = new QLineEdit;
    auto *other = new QLineEdit;
    layout->addWidget(target);
    layout->addWidget(other);

    Recorder windowWide;
    Recorder widgetOnly;
    ::makeShortcuts(QStringLiteral("Ctrl+Shift+K|F7"), &window, &windowWide, SLOT(count()));
    ::makeShortcut(QKeySequence("Ctrl+Shift+L"), target, &widgetOnly, SLOT(count()),
                   Qt::WidgetShortcut);

    window.show();
    window.activateWindow();
    if (!QTest::qWaitForWindowActive(&window))
        QSKIP("The window could not be activated on this platform.");
    other->setFocus();
    QVERIFY(other->hasFocus());

    QTest::keyClick(other, Qt::Key_K, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(other, Qt::Key_F7);
    QCOMPARE(windowWide.calls, 2);

    QTest::keyClick(other, Qt::Key_L, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(widgetOnly.calls, 0);
    target->setFocus();
    QVERIFY(target->hasFocus());
    QTest::keyClick(target, Qt::Key_L, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(widgetOnly.calls, 1);
    QCOMPARE(windowWide.calls, 2);
}

void TestUtilities::randomIntInRange_data()
{
    QTest::addColumn<int>("max");

    QTest::newRow("0") << 0;
    QTest::newRow("1") << 1;
    QTest::newRow("5") << 5;
    QTest::newRow("1000") << 1000;
    QTest::newRow("INT_MAX") << INT_MAX;
}

void TestUtilities::randomIntInRange()
{
    QFETCH(int, max);

    const int draws = 3000;
    QSet<int> seen;
    for (int i = 0; i < draws; ++i) {
        const int value = ::randomInt(max);
        QVERIFY2(value >= 0 && value <= max, qPrintable(QString::number(value)));
        seen.insert(value);
    }
    // Both ends are reachable: with a handful of values every one of them turns
    // up in this many draws.
    if (max <= 5)
        QCOMPARE(seen.size(), max + 1);
    else
        QVERIFY(seen.size() > 1);
}

void TestUtilities::randomIntNegativeMaximum_data()
{
    QTest::addColumn<int>("max");

    QTest::newRow("-1") << -1;
    QTest::newRow("-100") << -100;
    QTest::newRow("INT_MIN") << INT_MIN;
}

void TestUtilities::randomIntNegativeMaximum()
{
    QFETCH(int, max);

    for (int i = 0; i < 100; ++i)
        QCOMPARE(::randomInt(max), 0);
}

void TestUtilities::randomIntAfterSeeding()
{
    ::seedRandom();
    QSet<int> seen;
    for (int i = 0; i < 100; ++i) {
        const int value = ::randomInt(9);
        QVERIFY(value >= 0 && value <= 9);
        seen.insert(value);
    }
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

    QCOMPARE(recorder.urls.size(), 1);
    QCOMPARE(recorder.urls.first(), QUrl(text));
    QCOMPARE(recorder.urls.first().path(), QStringLiteral("/some path"));
}

LUMENO_TEST_MAIN(TestUtilities)

#include "tst_utilities.moc"
