#include "app/lumeno.h"
#include "tests/support/testmain.h"

#include <QTest>

// Every picture of the window comes from the registry: each must be there,
// by name, at its size, decoded once.
class TestRegistry : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void everyPictureByName_data();
    void everyPictureByName();
    void disabledIconsAreFaded();
    void checkerTilesAreIdentical();
    void unknownNamesAnswerNullAndAreRemembered();
    void fadedPixmapOfNothingIsNothing();
    void monospaceFontChangesOnlyTheFamily();

private:
    Lumeno *m_window = nullptr;
};

void TestRegistry::initTestCase()
{
    m_window = new Lumeno;
    QCOMPARE(Lumeno::instance(), m_window);
}

void TestRegistry::cleanupTestCase()
{
    delete m_window;
    QCOMPARE(Lumeno::instance(), nullptr);
}

void TestRegistry::everyPictureByName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("isIcon");

    const struct
    {
        const char *name;
        int width, height;
        bool isIcon;
    } pictures[] = {
        {"open", 24, 19, true},
        {"save", 20, 20, true},
        {"save-as", 20, 20, true},
        {"copy", 22, 24, true},
        {"paste", 22, 24, true},
        {"cut", 19, 24, true},
        {"crop", 24, 24, true},
        {"zoom-to-sel", 24, 24, true},
        {"zoom-to-fit", 24, 24, true},
        {"zoom-reset", 24, 24, true},
        {"wrench", 24, 24, true},
        {"left-click", 18, 24, true},
        {"right-click", 18, 24, true},
        {"double-left-click", 21, 26, true},
        {"wheel", 15, 24, true},
        {"menu-button-arrow", 7, 4, true},
        {"logo-16", 16, 16, true},
        {"logo-24", 24, 24, true},
        {"logo-32", 32, 32, true},
        {"logo-48", 48, 48, true},
        {"checker", 14, 14, false},
        {"checker-swatch", 14, 14, false},
        {"drag-and-drop-target", 450, 329, false},
        {"drag-and-drop", 69, 81, false},
    };
    for (const auto &picture : pictures) {
        QTest::newRow(picture.name) << QString::fromLatin1(picture.name)
                                    << QSize(picture.width, picture.height) << picture.isIcon;
    }
}

void TestRegistry::everyPictureByName()
{
    QFETCH(QString, name);
    QFETCH(QSize, size);
    QFETCH(bool, isIcon);

    QCOMPARE(m_window->pixmap(name).size(), size);
    // Pictures of the pixmaps folder get no icon; the icons folder's get both.
    QCOMPARE(m_window->icon(name).isNull(), !isIcon);
    if (isIcon)
        QCOMPARE(m_window->icon(name).availableSizes().value(0), size);
}

void TestRegistry::disabledIconsAreFaded()
{
    const QImage normal =
        m_window->pixmap(QStringLiteral("open")).toImage().convertToFormat(QImage::Format_ARGB32);
    const QImage disabled = m_window->icon(QStringLiteral("open"))
                                .pixmap(normal.size(), QIcon::Disabled, QIcon::Off)
                                .toImage()
                                .convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(disabled.size(), normal.size());
    int opaque = 0;
    for (int y = 0; y < normal.height(); ++y) {
        for (int x = 0; x < normal.width(); ++x) {
            const int alpha = qAlpha(normal.pixel(x, y));
            const int faded = qAlpha(disabled.pixel(x, y));
            QVERIFY2(qAbs(faded - alpha * 64 / 255) <= 1,
                     qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
            opaque += alpha == 255;
        }
    }
    QVERIFY(opaque > 0);
}

void TestRegistry::checkerTilesAreIdentical()
{
    const QImage checker =
        m_window->pixmap(QStringLiteral("checker")).toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(checker, m_window->pixmap(QStringLiteral("checker-swatch"))
                          .toImage()
                          .convertToFormat(QImage::Format_RGB32));
    const QRgb grey = qRgb(195, 195, 195);
    const QRgb white = qRgb(255, 255, 255);
    for (int y = 0; y < 14; ++y) {
        for (int x = 0; x < 14; ++x)
            QCOMPARE(checker.pixel(x, y), ((x < 7) == (y < 7)) ? grey : white);
    }
}

void TestRegistry::unknownNamesAnswerNullAndAreRemembered()
{
    QVERIFY(m_window->pixmap(QStringLiteral("no-such-picture")).isNull());
    QVERIFY(m_window->icon(QStringLiteral("no-such-picture")).isNull());
    // The Windows icon file sits in the icons folder but is no PNG.
    QVERIFY(m_window->pixmap(QStringLiteral("lumeno")).isNull());

    // Answers are references into the registry: the entry exists now.
    QPixmap &entry = m_window->pixmap(QStringLiteral("late-entry"));
    entry = QPixmap(3, 3);
    QCOMPARE(m_window->pixmap(QStringLiteral("late-entry")).size(), QSize(3, 3));
}

void TestRegistry::fadedPixmapOfNothingIsNothing()
{
    QVERIFY(Lumeno::fadedPixmap(QPixmap(), 64).isNull());
}

void TestRegistry::monospaceFontChangesOnlyTheFamily()
{
    QFont font = m_window->font();
    font.setPointSize(17);
    font.setItalic(true);
    m_window->setFont(font);
    const QFont monospace = m_window->monospaceFont();
    QCOMPARE(monospace.family(), QStringLiteral("courier"));
    QCOMPARE(monospace.pointSize(), 17);
    QVERIFY(monospace.italic());
}

LUMENO_TEST_MAIN(TestRegistry)
#include "tst_registry.moc"
