#include "document/image.h"
#include "tests/support/testimages.h"
#include "tests/support/testmain.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestImage : public QObject
{
    Q_OBJECT

private slots:
    void freshImageIsEmpty();
    void pixelColor_data();
    void pixelColor();
    void flagsFollowTheConstructorNotSetImage();
    void setImageWithEqualPixelsChangesNothing();
    void saveWritesAndAdoptsTheFile();
    void failedSaveChangesNothing_data();
    void failedSaveChangesNothing();
};

void TestImage::freshImageIsEmpty()
{
    const Image image;
    QVERIFY(image.isNull);
    QVERIFY(!image.modified);
    QVERIFY(!image.hasFile);
    QVERIFY(image.path.isEmpty());
    QCOMPARE(image.width(), 0);
    QCOMPARE(image.height(), 0);
    QVERIFY(!image.contains(0, 0));
    QCOMPARE(image.pixelColor(QPointF(0, 0), Qt::cyan), QColor(Qt::cyan));
}

void TestImage::pixelColor_data()
{
    QTest::addColumn<QPointF>("point");
    QTest::addColumn<QPoint>("pixel"); // (-1, -1): the fallback is expected

    // Coordinates truncate toward zero, so -0.5 still lies on pixel 0.
    QTest::newRow("negative fraction truncates to zero") << QPointF(-0.5, 3.7) << QPoint(0, 3);
    QTest::newRow("just inside the right edge") << QPointF(9.999, 0) << QPoint(9, 0);
    QTest::newRow("right edge is outside") << QPointF(10.0, 0) << QPoint(-1, -1);
    QTest::newRow("bottom edge is outside") << QPointF(2, 10.0) << QPoint(-1, -1);
    QTest::newRow("minus one is outside") << QPointF(-1.0, 5) << QPoint(-1, -1);
    QTest::newRow("far away") << QPointF(-1e9, 1e9) << QPoint(-1, -1);
    QTest::newRow("translucent border pixel keeps its alpha") << QPointF(0, 0) << QPoint(0, 0);
}

void TestImage::pixelColor()
{
    QFETCH(QPointF, point);
    QFETCH(QPoint, pixel);

    const QImage pattern = TestImages::pattern(10, 10, true);
    const Image image(QStringLiteral("untitled"), pattern, true, false);
    const QColor fallback(1, 2, 3, 0);
    const QColor colour = image.pixelColor(point, fallback);
    if (pixel.x() < 0)
        QCOMPARE(colour, fallback);
    else
        QCOMPARE(colour.rgba(), pattern.pixel(pixel));
    if (pixel == QPoint(0, 0))
        QCOMPARE(colour.alpha(), 128);
}

void TestImage::flagsFollowTheConstructorNotSetImage()
{
    const Image loaded(QStringLiteral("/tmp/a.png"), TestImages::pattern(4, 3), false, true);
    QVERIFY(!loaded.isNull);
    QVERIFY(!loaded.modified);
    QVERIFY(loaded.hasFile);
    QCOMPARE(loaded.fileName(), QStringLiteral("a.png"));
    QCOMPARE(loaded.pixmap.size(), QSize(4, 3));

    const Image pasted(QStringLiteral("untitled"), TestImages::pattern(4, 3), true, false);
    QCOMPARE(pasted.fileName(), QStringLiteral("untitled"));
    QVERIFY(pasted.modified);
}

void TestImage::setImageWithEqualPixelsChangesNothing()
{
    const QImage pixels = TestImages::pattern(8, 8);
    Image image(QStringLiteral("/tmp/a.png"), pixels, false, true);
    image.setImage(pixels.copy()); // equal, though not shared
    QVERIFY(!image.modified);

    image.setImage(pixels.copy(0, 0, 4, 4));
    QVERIFY(image.modified);
    QCOMPARE(image.pixmap.size(), QSize(4, 4));
    QCOMPARE(image.width(), 4);

    image.setImage(QImage());
    QVERIFY(image.isNull);
    QVERIFY(image.pixmap.isNull());
}

void TestImage::saveWritesAndAdoptsTheFile()
{
    QTemporaryDir dir;
    const QImage pixels = TestImages::pattern(20, 10, true);
    Image image(QStringLiteral("untitled"), pixels, true, false);

    const QString target = dir.filePath(QStringLiteral("new.png"));
    QVERIFY(image.save(target));
    QCOMPARE(image.fileName(), QStringLiteral("new.png"));
    QCOMPARE(image.path, target);
    QVERIFY(!image.modified);
    QVERIFY(image.hasFile);
    QCOMPARE(QImage(target).convertToFormat(QImage::Format_ARGB32), pixels);

    // Saving again overwrites the same file in place of a new one.
    image.setImage(pixels.mirrored());
    QVERIFY(image.save());
    QCOMPARE(QImage(target).convertToFormat(QImage::Format_ARGB32), pixels.mirrored());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("new.png")});
}

void TestImage::failedSaveChangesNothing_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QImage>("pixels");

    const QImage small = TestImages::pattern(6, 6);
    QTest::newRow("unknown suffix") << QStringLiteral("existing.unknownformat") << small;
    QTest::newRow("no suffix") << QStringLiteral("existing") << small;
    QTest::newRow("missing folder") << QStringLiteral("missing/folder/a.png") << small;
    QTest::newRow("folder in place of the file") << QStringLiteral("folder.png") << small;
    QTest::newRow("parent is a file") << QStringLiteral("existing.png/a.png") << small;
    // JPEG cannot hold an image this wide: the writer fails part way, after the
    // target would already have been truncated by a naive save.
    QTest::newRow("writer fails part way")
        << QStringLiteral("existing.jpg") << QImage(70000, 1, QImage::Format_RGB32);
}

void TestImage::failedSaveChangesNothing()
{
    QFETCH(QString, target);
    QFETCH(QImage, pixels);

    QTemporaryDir dir;
    const QByteArray original("the original bytes");
    for (const char *name : {"existing.unknownformat", "existing", "existing.png", "existing.jpg"})
        TestImages::write(dir.path(), QString::fromLatin1(name), original);
    QDir(dir.path()).mkdir(QStringLiteral("folder.png"));

    Image image(dir.filePath(QStringLiteral("a.png")), pixels, true, true);
    const QString path = image.path;
    QVERIFY(!image.save(dir.filePath(target)));
    QCOMPARE(image.path, path);
    QVERIFY(image.modified);
    QVERIFY(image.hasFile);

    QFile file(dir.filePath(target));
    if (file.open(QIODevice::ReadOnly))
        QCOMPARE(file.readAll(), original);
    // No temporary file is left behind either.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 4);
}

LUMENO_TEST_MAIN(TestImage)
#include "tst_image.moc"
