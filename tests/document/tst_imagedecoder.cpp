#include "document/imagedecoder.h"
#include "tests/support/testimages.h"
#include "tests/support/testmain.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <malloc.h>
#include <sys/resource.h>

// Everything a user may be sent ends up in the decoder: it must open what it
// should, by content, and refuse everything else cheaply and without harm.
class TestImageDecoder : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void decodesEveryFormat_data();
    void decodesEveryFormat();
    // Each file of the hostile corpus gets the verdict recorded for it, fast,
    // in little memory, and the same pixels every time.
    void hostileCorpus_data();
    void hostileCorpus();
    void opensImagesAboveTheToolkitDefaultLimit();

private:
    QTemporaryDir m_dir;
    long m_baseRssKb = 0;
};

void TestImageDecoder::initTestCase()
{
    ImageDecoder::installAllocationLimit();
    QVERIFY(ImageDecoder::memoryBudget() >= ImageDecoder::peakBytes(6000, 6000, 32));
    rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    m_baseRssKb = usage.ru_maxrss;
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

void TestImageDecoder::hostileCorpus_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QStringList>("verdict");
    QFile verdicts(QStringLiteral(LUMENO_CORPUS_DIR "/verdicts"));
    QVERIFY(verdicts.open(QIODevice::ReadOnly | QIODevice::Text));
    while (!verdicts.atEnd()) {
        const QString line = QString::fromUtf8(verdicts.readLine()).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        QStringList words = line.split(QLatin1Char(' '));
        const QString name = words.takeFirst();
        QTest::newRow(qPrintable(name)) << QStringLiteral(LUMENO_CORPUS_DIR "/") + name << words;
    }
    QTest::newRow("directory") << m_dir.path() << QStringList{"refused"};
    QTest::newRow("missing file") << m_dir.filePath("missing.png") << QStringList{"unreadable"};
}

void TestImageDecoder::hostileCorpus()
{
    QFETCH(QString, path);
    QFETCH(QStringList, verdict);

    // Fresh allocations are filled with different bytes for the two decodes,
    // so a pixel taken from memory the decoder never wrote shows up as a
    // difference.
    mallopt(M_PERTURB, 0x5A);
    QElapsedTimer timer;
    timer.start();
    ImageDecoder first(path);
    const ImageDecoder::Result result = first.decode();
    const qint64 elapsed = timer.elapsed();
    rusage usage;
    getrusage(RUSAGE_SELF, &usage);

    const QHash<QString, ImageDecoder::Result> results{
        {"decoded", ImageDecoder::Result::Decoded},
        {"refused", ImageDecoder::Result::NotAnImage},
        {"too-large", ImageDecoder::Result::TooLarge},
        {"unreadable", ImageDecoder::Result::Unreadable}};
    QCOMPARE(result, results.value(verdict.at(0)));
    // Refusing a header that claims gigabytes costs no more than a small
    // picture does (the bounds leave room for sanitizers and valgrind).
    QVERIFY2(elapsed < 500, qPrintable(QString::number(elapsed) + " ms"));
    QVERIFY2(usage.ru_maxrss - m_baseRssKb < 100 * 1024,
             qPrintable(QString::number(usage.ru_maxrss)));
    if (result != ImageDecoder::Result::Decoded) {
        QVERIFY(first.image().isNull());
        return;
    }
    QCOMPARE(QStringLiteral("%1x%2").arg(first.image().width()).arg(first.image().height()),
             verdict.at(1));
    if (verdict.size() > 3) {
        const QStringList at = verdict.at(3).split(QLatin1Char(','));
        QCOMPARE(first.image().pixel(at.at(0).toInt(), at.at(1).toInt()), qRgba(0, 0, 0, 0));
    }
    mallopt(M_PERTURB, 0xA5);
    ImageDecoder second(path);
    QCOMPARE(second.decode(), ImageDecoder::Result::Decoded);
    mallopt(M_PERTURB, 0);
    QCOMPARE(second.image(), first.image());
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
