#include "document/imagedecoder.h"
#include "tests/support/testimages.h"
#include "tests/support/testmain.h"

#include <QImageWriter>
#include <QVector>

#include <malloc.h>
#include <QTemporaryDir>
#include <QTest>

// Everything a user may be sent ends up in the decoder: it must open what it
// should, by content, and refuse everything else cheaply and without harm.
class TestImageDecoder : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void decodesEveryFormat_data();
    void decodesEveryFormat();
    void refusesOtherFormats_data();
    void refusesOtherFormats();
    void refusesNonImages_data();
    void refusesNonImages();
    void truncatedFilesFailOrDecodeWhatIsThere_data();
    void truncatedFilesFailOrDecodeWhatIsThere();
    void absurdHeadersAreRefusedQuickly_data();
    void absurdHeadersAreRefusedQuickly();
    void opensImagesAboveTheToolkitDefaultLimit();

private:
    QTemporaryDir m_dir;
};

void TestImageDecoder::initTestCase()
{
    ImageDecoder::installAllocationLimit();
    QVERIFY(ImageDecoder::maxImageBytes() >= qint64(16384) * 16384 * 4);
}

void TestImageDecoder::decodesEveryFormat_data()
{
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QImage>("expected"); // null: the size is all that is checked

    const QImage opaque = TestImages::pattern(37, 23);
    const QImage translucent = TestImages::pattern(37, 23, true);
    const auto add = [&](const char *row, const char *format, const char *name, bool exact) {
        const QImage &source = qstrcmp(format, "png") == 0 ? translucent : opaque;
        QTest::newRow(row) << QByteArray(format) << QString::fromLatin1(name)
                           << TestImages::encoded(source, format) << (exact ? source : QImage());
    };
    // The suffix never decides: several files carry a misleading one.
    add("png keeps alpha", "png", "a.png", true);
    add("png named .jpg", "png", "png-really.jpg", true);
    add("jpeg", "jpeg", "a.jpg", false);
    add("jpeg without suffix", "jpeg", "photo", false);
    add("bmp", "bmp", "a.bmp", true);
    add("tiff", "tiff", "a.tif", true);
    add("pbm", "pbm", "a.pbm", false);
    add("pgm", "pgm", "a.pgm", false);
    add("ppm", "ppm", "a.ppm", true);
    add("xbm", "xbm", "a.xbm", false);
    add("xpm", "xpm", "a.xpm", true);
    add("webp", "webp", "a.webp", false);
    QImage gifPixels;
    const QByteArray gif = TestImages::gif(37, 23, &gifPixels);
    QTest::newRow("gif named .txt") << QByteArray("gif") << "a.txt" << gif << gifPixels;
}

void TestImageDecoder::decodesEveryFormat()
{
    QFETCH(QByteArray, format);
    QFETCH(QString, name);
    QFETCH(QByteArray, data);
    QFETCH(QImage, expected);

    QVERIFY2(!data.isEmpty(), "the toolkit cannot write this format here");
    QCOMPARE(ImageDecoder::formatFromContent(data.left(512)), format);

    ImageDecoder decoder(TestImages::write(m_dir.path(), name, data));
    QCOMPARE(decoder.decode(), ImageDecoder::Result::Decoded);
    QCOMPARE(decoder.image().size(), QSize(37, 23));
    QCOMPARE(decoder.size(), QSize(37, 23));
    if (!expected.isNull())
        QCOMPARE(decoder.image().convertToFormat(expected.format()), expected);
}

void TestImageDecoder::refusesOtherFormats_data()
{
    QTest::addColumn<QByteArray>("format");
    // Readers that exist in the toolkit but are not for this tool: a crafted
    // file in one of them is simply not an image here.
    for (const char *format : {"ico", "cur", "icns", "tga", "wbmp", "svg"}) {
        if (QImageWriter::supportedImageFormats().contains(format))
            QTest::newRow(format) << QByteArray(format);
    }
}

void TestImageDecoder::refusesOtherFormats()
{
    QFETCH(QByteArray, format);
    const QByteArray data = TestImages::encoded(TestImages::pattern(16, 16), format.constData());
    QVERIFY(!data.isEmpty());
    ImageDecoder decoder(TestImages::write(m_dir.path(), "other." + format, data));
    QCOMPARE(decoder.decode(), ImageDecoder::Result::NotAnImage);
    QVERIFY(decoder.image().isNull());
}

void TestImageDecoder::refusesNonImages_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("text named .png")
        << TestImages::write(m_dir.path(), "report.png", "just some words\n");
    QTest::newRow("empty file") << TestImages::write(m_dir.path(), "empty.png", QByteArray());
    QTest::newRow("png signature only")
        << TestImages::write(m_dir.path(), "sig.png", QByteArray("\x89PNG\r\n\x1A\n", 8));
    QTest::newRow("BM and nothing else") << TestImages::write(m_dir.path(), "bm.bmp", "BM");
    QTest::newRow("P6 with garbage") << TestImages::write(m_dir.path(), "p.ppm", "P6 x y z\n");
    QTest::newRow("directory") << m_dir.path();
    QTest::newRow("missing file") << m_dir.filePath("missing.png");
    QTest::newRow("empty path") << QString();
}

void TestImageDecoder::refusesNonImages()
{
    QFETCH(QString, path);
    ImageDecoder decoder(path);
    QCOMPARE(decoder.decode(), ImageDecoder::Result::NotAnImage);
    QVERIFY(decoder.image().isNull());
}

void TestImageDecoder::truncatedFilesFailOrDecodeWhatIsThere_data()
{
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<double>("kept");
    QTest::addColumn<QByteArray>("full");
    const QImage pattern = TestImages::pattern(64, 48);
    for (const char *format : {"png", "jpeg", "bmp", "tiff", "ppm", "pgm", "webp", "xpm", "gif"}) {
        const QByteArray full = qstrcmp(format, "gif") == 0 ? TestImages::gif(64, 48)
                                                            : TestImages::encoded(pattern, format);
        for (double kept : {0.1, 0.5, 0.9}) {
            QTest::addRow("%s %d%%", format, int(kept * 100)) << QByteArray(format) << kept << full;
        }
    }
}

void TestImageDecoder::truncatedFilesFailOrDecodeWhatIsThere()
{
    QFETCH(QByteArray, format);
    QFETCH(double, kept);
    QFETCH(QByteArray, full);

    const QByteArray cut = full.left(int(full.size() * kept));
    const QString path = TestImages::write(m_dir.path(), "cut." + format, cut);

    // Fresh allocations are filled with different bytes for the two decodes,
    // so anything left uninitialised shows up as a difference.
    mallopt(M_PERTURB, 0x5A);
    ImageDecoder first(path);
    const ImageDecoder::Result result = first.decode();
    QVERIFY(result != ImageDecoder::Result::TooLarge);
    if (result == ImageDecoder::Result::NotAnImage) {
        QVERIFY(first.image().isNull());
        return;
    }
    // A partial picture is acceptable only if it is the same every time: what
    // the decoder could not read is filled, not left as whatever memory held.
    QCOMPARE(first.image().size(), QSize(64, 48));
    mallopt(M_PERTURB, 0xA5);
    ImageDecoder second(path);
    QCOMPARE(second.decode(), ImageDecoder::Result::Decoded);
    mallopt(M_PERTURB, 0);
    QCOMPARE(second.image(), first.image());
}

void TestImageDecoder::absurdHeadersAreRefusedQuickly_data()
{
    QTest::addColumn<quint32>("width");
    QTest::addColumn<quint32>("height");
    QTest::newRow("100000 squared") << quint32(100000) << quint32(100000);
    QTest::newRow("largest png dimensions") << quint32(0x7fffffff) << quint32(0x7fffffff);
    QTest::newRow("one row, very wide") << quint32(0x7fffffff) << quint32(1);
}

void TestImageDecoder::absurdHeadersAreRefusedQuickly()
{
    QFETCH(quint32, width);
    QFETCH(quint32, height);

    const QString path = TestImages::write(m_dir.path(), QStringLiteral("absurd.png"),
                                           TestImages::pngWithClaimedSize(width, height));
    ImageDecoder decoder(path);
    const ImageDecoder::Result result = decoder.decode();
    QVERIFY(result != ImageDecoder::Result::Decoded);
    QVERIFY(decoder.image().isNull());
    if (result == ImageDecoder::Result::TooLarge)
        QCOMPARE(decoder.size(), QSize(int(width), int(height)));
}

void TestImageDecoder::opensImagesAboveTheToolkitDefaultLimit()
{
    // 6000 x 6000 RGBA is 144 MB of pixels, above the toolkit's default
    // allocation limit of 128 MB.
    QImage big(6000, 6000, QImage::Format_ARGB32);
    big.fill(QColor(10, 200, 30, 255));
    big.setPixel(5999, 5999, qRgba(1, 2, 3, 4));
    const QString path =
        TestImages::write(m_dir.path(), QStringLiteral("big.png"), TestImages::encoded(big, "png"));

    ImageDecoder decoder(path);
    QCOMPARE(decoder.decode(), ImageDecoder::Result::Decoded);
    QCOMPARE(decoder.image().size(), QSize(6000, 6000));
    QCOMPARE(decoder.image().pixel(5999, 5999), qRgba(1, 2, 3, 4));
}

LUMENO_TEST_MAIN(TestImageDecoder)
#include "tst_imagedecoder.moc"
