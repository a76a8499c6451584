#include "util/utilities.h"

#include "tests/support/testmain.h"

#include <QTemporaryDir>

// Escaping and contrast show in the colour panel's texts: tested there.
class TestUtil : public QObject
{
    Q_OBJECT

private slots:
    void readTextFile();
    void averageColor();
};

void TestUtil::readTextFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("text.txt"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("\xef\xbb\xbf"
               "a\r\nGr\xc3\xbc\xc3\x9f"
               "e \xe2\x82\xac\r\n\r\nc");
    file.close();
    // Line ends become '\n', UTF-8 is read, the byte order mark is no text.
    QCOMPARE(::readTextFile(path), QStringLiteral(u"a\nGrüße €\n\nc"));
    QVERIFY(::readTextFile(dir.filePath("missing")).isEmpty() &&
            ::readTextFile(dir.path()).isEmpty());
}

// Over the pixels inside the area, weighted by alpha, rounded halves up.
void TestUtil::averageColor()
{
    QImage image(2, 2, QImage::Format_ARGB32);
    image.setPixel(0, 0, qRgba(255, 0, 0, 255));
    image.setPixel(1, 0, qRgba(0, 0, 255, 0));
    image.setPixel(0, 1, qRgba(0, 0, 255, 85));
    image.setPixel(1, 1, qRgba(1, 1, 1, 255));
    QCOMPARE(::averageColor(image, QRect(0, 0, 1, 1)), QColor(255, 0, 0));
    QCOMPARE(::averageColor(image, QRect(0, 0, 2, 1)), QColor(255, 0, 0, 128));
    QCOMPARE(::averageColor(image, QRect(-2, -2, 5, 4)), QColor(110, 0, 37, 149));
    QCOMPARE(::averageColor(image, QRect(1, 0, 1, 1)), QColor(Qt::transparent));
    QCOMPARE(::averageColor(image, QRect(2, 0, 3, 3)), QColor(Qt::transparent));
}

LUMENO_TEST_MAIN(TestUtil)

#include "tst_util.moc"
