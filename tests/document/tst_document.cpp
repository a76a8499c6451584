#include "app/startup.h"
#include "document/colorprofile.h"
#include "document/document.h"
#include "document/imagedecoder.h"
#include "document/loadthread.h"
#include "document/manager.h"
#include "tests/support/testimages.h"
#include "tests/support/testmain.h"

#include <QBuffer>
#include <QClipboard>
#include <QColorSpace>
#include <QDir>
#include <QElapsedTimer>
#include <QImageWriter>
#include <QMimeData>
#include <QPainter>
#include <QProcess>
#include <QSignalSpy>
#include <QThreadPool>
#include <QUndoStack>

#include <jxl/encode.h>

#include <algorithm>
#include <malloc.h>
#include <sys/resource.h>
#include <sys/stat.h>

static QByteArray corpusFile(const char *name)
{
    QFile file(QStringLiteral(LUMENO_CORPUS_DIR "/") + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// image as HEIC or AVIF (by suffix), encoded by libheif's own heif-enc with
// the given options; its colour space goes in as an ICC profile.
static QByteArray heifEncoded(const QImage &image, const char *suffix, const QStringList &options)
{
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("in.png"));
    const QString target = dir.filePath(QStringLiteral("out.") + QLatin1String(suffix));
    image.save(source);
    QProcess encoder;
    encoder.start(QStringLiteral("heif-enc"), options + QStringList{"-o", target, source});
    encoder.waitForFinished(60000);
    QFile file(target);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// image as JPEG XL, encoded by libjxl in a single call: lossless, or lossy
// (its pixels coded as XYB), asking for orientation (1 to 8) and with the
// image's colour space as its ICC profile.
static QByteArray jxlEncoded(const QImage &image, bool lossless, int orientation = 1)
{
    const QImage rgba = image.convertToFormat(QImage::Format_RGBA8888);
    JxlEncoder *encoder = JxlEncoderCreate(nullptr);
    JxlBasicInfo info;
    JxlEncoderInitBasicInfo(&info);
    info.xsize = uint32_t(rgba.width());
    info.ysize = uint32_t(rgba.height());
    info.bits_per_sample = 8;
    info.alpha_bits = image.hasAlphaChannel() ? 8 : 0;
    info.num_extra_channels = image.hasAlphaChannel() ? 1 : 0;
    info.uses_original_profile = lossless;
    info.orientation = JxlOrientation(orientation);
    JxlEncoderSetBasicInfo(encoder, &info);
    const QColorSpace space = image.colorSpace();
    const QByteArray icc = (space.isValid() ? space : QColorSpace::SRgb).iccProfile();
    JxlEncoderSetICCProfile(encoder, reinterpret_cast<const uint8_t *>(icc.constData()),
                            size_t(icc.size()));
    JxlEncoderFrameSettings *settings = JxlEncoderFrameSettingsCreate(encoder, nullptr);
    JxlEncoderSetFrameLossless(settings, lossless);
    const JxlPixelFormat format = {image.hasAlphaChannel() ? 4u : 3u, JXL_TYPE_UINT8,
                                   JXL_NATIVE_ENDIAN, 0};
    const QImage pixels =
        image.hasAlphaChannel() ? rgba : rgba.convertToFormat(QImage::Format_RGB888);
    JxlEncoderAddImageFrame(settings, &format, pixels.constBits(), size_t(pixels.sizeInBytes()));
    JxlEncoderCloseInput(encoder);
    QByteArray data(1 << 16, '\0');
    auto *next = reinterpret_cast<uint8_t *>(data.data());
    size_t left = size_t(data.size());
    const bool done = JxlEncoderProcessOutput(encoder, &next, &left) == JXL_ENC_SUCCESS;
    JxlEncoderDestroy(encoder);
    data.chop(qsizetype(left));
    return done ? data : QByteArray();
}

// The largest difference of any channel of any pixel, unpremultiplied.
static int largestDifference(const QImage &a, const QImage &b)
{
    const QImage x = a.convertToFormat(QImage::Format_ARGB32);
    const QImage y = b.convertToFormat(QImage::Format_ARGB32);
    int largest = 0;
    for (int row = 0; row < x.height(); ++row) {
        for (int column = 0; column < x.width(); ++column) {
            const QRgb p = x.pixel(column, row), q = y.pixel(column, row);
            largest = std::max({largest, qAbs(qRed(p) - qRed(q)), qAbs(qGreen(p) - qGreen(q)),
                                qAbs(qBlue(p) - qBlue(q)), qAbs(qAlpha(p) - qAlpha(q))});
        }
    }
    return largest;
}

// The document, from the bytes of a file to the history of its changes.
class TestDocument : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init() { QApplication::clipboard()->clear(); }
    void saving_data();
    void saving();
    void hostileCorpus_data();
    void hostileCorpus();
    void formats_data();
    void formats();
    void loader();
    void staleLoadsAreDropped();
    void opening_data();
    void opening();
    void picturesWithoutFiles();
    void history();
    void colourProfiles_data();
    void colourProfiles();
    void profilesSurvive();
    void previews_data();
    void previews();
    void previewOfAStaleRequest();

private:
    QTemporaryDir m_dir;
    QString m_png;
    QString m_large;
    long m_baseRssKb = 0;
};

void TestDocument::initTestCase()
{
    prepareApplication(); // a write past the file-size limit fails instead of ending the test
    m_png = TestImages::write(m_dir.path(), "photo.png",
                              TestImages::encoded(TestImages::pattern(40, 30), "png"));
    m_large = TestImages::write(m_dir.path(), "large.jpg",
                                TestImages::encoded(TestImages::pattern(3000, 2000), "jpeg", 95));
    rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    m_baseRssKb = usage.ru_maxrss;
}

void TestDocument::saving_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QImage>("pixels");
    QTest::addColumn<bool>("saved");
    const QImage small = TestImages::pattern(6, 6, true);
    QTest::newRow("over a file") << "existing.png" << small << true;
    QTest::newRow("unknown suffix") << "existing.unknownformat" << small << false;
    // The toolkit writes icons, scaled down; this program does not.
    QTest::newRow("a format only read") << "existing.ico" << small << false;
    QTest::newRow("missing folder") << "missing/folder/a.png" << small << false;
    QTest::newRow("folder in place of the file") << "folder.png" << small << false;
    // JPEG cannot hold an image this wide: the writer fails part way.
    QTest::newRow("writer fails part way")
        << "existing.jpg" << QImage(70000, 1, QImage::Format_RGB32) << false;
    // A small picture is still in the file's buffer when the final commit
    // writes it: past a file-size limit that write fails like a full disk.
    QTest::newRow("final write fails") << "limited.png" << small << false;
}

void TestDocument::saving()
{
    QFETCH(QString, target);
    QFETCH(QImage, pixels);
    QFETCH(bool, saved);
    QTemporaryDir dir;
    for (const char *name :
         {"existing.unknownformat", "existing.png", "existing.jpg", "existing.ico"})
        TestImages::write(dir.path(), QLatin1String(name), "the original bytes");
    QDir(dir.path()).mkdir(QStringLiteral("folder.png"));
    Document document;
    document.open(dir.filePath(QStringLiteral("a.png")), pixels);
    document.crop(QRect(0, 0, pixels.width() - 1, pixels.height()));
    document.crop(QRect(0, 0, pixels.width(), pixels.height())); // the whole: no change
    QSignalSpy changed(&document, &Document::changed);

    const rlimit unlimited{RLIM_INFINITY, RLIM_INFINITY}, limited{16, RLIM_INFINITY};
    if (target == QLatin1String("limited.png"))
        setrlimit(RLIMIT_FSIZE, &limited);
    const bool result = document.save(dir.filePath(target));
    setrlimit(RLIMIT_FSIZE, &unlimited);
    QCOMPARE(result, saved);
    const Image &image = *document.image();
    QCOMPARE(image.modified, !saved);
    QCOMPARE(changed.size(), saved ? 1 : 0);
    QCOMPARE(image.fileName(), saved ? target : QStringLiteral("a.png"));
    QFile file(dir.filePath(target));
    if (saved)
        QCOMPARE(QImage(file.fileName()).convertToFormat(QImage::Format_ARGB32), image.image);
    else if (file.open(QIODevice::ReadOnly))
        QCOMPARE(file.readAll(), QByteArray("the original bytes"));
    // Nothing is left behind, no temporary file either.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 4);
}

void TestDocument::hostileCorpus_data()
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
}

// Each file of the hostile corpus gets the verdict recorded for it, fast, in
// little memory, and the same pixels every time.
void TestDocument::hostileCorpus()
{
    QFETCH(QString, path);
    QFETCH(QStringList, verdict);
    // Fresh allocations are filled with different bytes for the two decodes:
    // a pixel taken from memory the decoder never wrote shows as a difference.
    mallopt(M_PERTURB, 0x5A);
    QElapsedTimer timer;
    timer.start();
    ImageDecoder first(path);
    const ImageDecoder::Result result = first.decode();
    const qint64 elapsed = timer.elapsed();
    rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    const QStringList results = {"decoded", "refused", "too-large", "unreadable"};
    QCOMPARE(results.value(int(result)), verdict.at(0));
    // Refusing a header that claims gigabytes costs no more than a small
    // picture does (the bounds leave room for sanitizers).
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

void TestDocument::formats_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<QImage>("expected"); // as shown: turned the way the file asks
    QTest::addColumn<int>("tolerance");   // of any channel, for lossy coding
    QTest::addColumn<QColorSpace>("space");

    const QImage opaque = TestImages::pattern(24, 16).convertToFormat(QImage::Format_RGB32);
    const QImage translucent = TestImages::pattern(24, 16, true);
    QImage p3 = opaque;
    p3.setColorSpace(QColorSpace(QColorSpace::DisplayP3));
    const QTransform quarter = QTransform().rotate(90);
    // heif-enc's lossless coding still goes through YCbCr: one step off at most.
    const QStringList lossless = {"-L", "-p", "chroma=444"};

    QTest::newRow("HEIC") << heifEncoded(opaque, "heic", {"-q", "90"}) << QByteArray("heif")
                          << opaque << 4 << QColorSpace();
    QTest::newRow("AVIF with alpha") << heifEncoded(translucent, "avif", lossless)
                                     << QByteArray("avif") << translucent << 1 << QColorSpace();
    // The picture as coded, and the file asking for a quarter turn anticlockwise.
    QByteArray turned = heifEncoded(opaque, "heic", lossless);
    turned.replace(turned.indexOf("pixi"), 5, "irot\x01");
    QTest::newRow("HEIC turned") << turned << QByteArray("heif")
                                 << opaque.transformed(quarter.inverted()) << 1 << QColorSpace();
    QTest::newRow("HEIC with an ICC profile")
        << heifEncoded(p3, "heic", lossless) << QByteArray("heif") << opaque << 1
        << p3.colorSpace();
    // Display P3 in the nclx colour description (primaries 12, sRGB curve 13).
    QByteArray nclx = heifEncoded(opaque, "avif", lossless);
    nclx.replace(nclx.indexOf("nclx") + 4, 4, QByteArray("\0\x0c\0\x0d", 4));
    QTest::newRow("AVIF with an nclx description")
        << nclx << QByteArray("avif") << opaque << 1 << p3.colorSpace();
    QTest::newRow("JPEG XL with alpha, turned")
        << jxlEncoded(translucent, true, JXL_ORIENT_ROTATE_90_CW) << QByteArray("jxl")
        << translucent.transformed(quarter) << 0 << QColorSpace(QColorSpace::SRgb);
    QTest::newRow("JPEG XL lossy, Display P3")
        << jxlEncoded(p3, false) << QByteArray("jxl") << opaque << 6 << p3.colorSpace();

    QImage drawn(24, 16, QImage::Format_ARGB32);
    drawn.fill(Qt::transparent);
    QPainter(&drawn).fillRect(0, 0, 12, 16, Qt::red);
    QTest::newRow("SVG") << QByteArray("<?xml version=\"1.0\"?>\n<!-- red -->\n"
                                       "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"24\" "
                                       "height=\"16\"><rect width=\"12\" height=\"16\" "
                                       "fill=\"red\"/></svg>")
                         << QByteArray("svg") << drawn << 0 << QColorSpace();
    // The toolkit's writer rounds translucent pixels by one step.
    QTest::newRow("ICO") << TestImages::encoded(translucent, "ico") << QByteArray("ico")
                         << translucent << 1 << QColorSpace();
}

// Each format the toolkit has no reader for is recognised by its content and
// shown as the file asks, in the colours and colour space it holds.
void TestDocument::formats()
{
    QFETCH(QByteArray, data);
    QFETCH(QByteArray, format);
    QFETCH(QImage, expected);
    QFETCH(int, tolerance);
    QFETCH(QColorSpace, space);
    QCOMPARE(ImageDecoder::formatFromContent(data), format);
    ImageDecoder decoder(data);
    QCOMPARE(decoder.decode(), ImageDecoder::Result::Decoded);
    const QImage image = decoder.image();
    QCOMPARE(image.size(), expected.size());
    QCOMPARE(image.hasAlphaChannel(), expected.hasAlphaChannel());
    QCOMPARE(image.colorSpace(), space);
    const int difference = largestDifference(image, expected);
    QVERIFY2(difference <= tolerance, qPrintable(QString::number(difference)));
}

void TestDocument::loader()
{
    const QString text = TestImages::write(m_dir.path(), "report.png", "not an image");
    QStringList received;
    {
        QObject receiver; // takes the results queued to it into its grave
        LoadThread thread;
        const auto record = [&received](const QFileInfo &file, quint64 generation) {
            received << file.fileName() + QLatin1Char(' ') + QString::number(generation);
        };
        connect(&thread, &LoadThread::imageFailed, &receiver, record);
        connect(&thread, &LoadThread::imageLoaded, &receiver,
                [record](const QFileInfo &f, quint64 g, const Picture &) { record(f, g); });
        // The first request is slow; of those made meanwhile only the newest
        // is decoded (and the first one, unless the worker had not taken it
        // up yet), the same file again too.
        int generation = 0;
        for (const QString &path : {m_large, text, m_png, text})
            thread.loadImage(QFileInfo(path), ++generation);
        QTRY_COMPARE_WITH_TIMEOUT(received.value(received.size() - 1), "report.png 4", 30000);
        received.removeOne(QStringLiteral("large.jpg 1"));
        QCOMPARE(received, QStringList{"report.png 4"});
        // A request made just as the worker stops is never lost.
        QAtomicInt results;
        connect(
            &thread, &LoadThread::imageFailed, &thread, [&results] { results.ref(); },
            Qt::DirectConnection);
        for (int i = 0; i < 300; ++i) {
            thread.loadImage(QFileInfo(text), i);
            QElapsedTimer deadline;
            deadline.start();
            while (results.loadAcquire() == i && deadline.elapsed() < 10000) {
            }
            QCOMPARE(results.loadAcquire(), i + 1);
        }
    }
}

// The newest thing the user did wins: a file that finishes decoding after a
// paste (or a crop, a drop, another file) is dropped, and the newer picture
// stays with its history.
void TestDocument::staleLoadsAreDropped()
{
    Manager manager;
    Document *document = manager.document();
    document->open(m_png, TestImages::pattern(7, 7));
    auto *thread = manager.findChild<LoadThread *>();
    QSignalSpy decoded(thread, &LoadThread::imageLoaded);
    manager.setPath(m_large);
    QVERIFY(manager.isLoading());
    QCoreApplication::processEvents();           // the decode starts
    manager.setImage(TestImages::pattern(5, 5)); // pasted while it runs
    QVERIFY(!manager.isLoading());
    thread->wait();
    QCoreApplication::processEvents(); // its result reaches the manager
    QCOMPARE(decoded.size(), 1);
    QCOMPARE(document->image()->image.size(), QSize(5, 5));
    QVERIFY(document->undoStack()->canUndo());
    // Nor does a late file replace one asked for after it.
    manager.setPath(m_large);
    QCoreApplication::processEvents();
    manager.setPath(m_png);
    QCoreApplication::processEvents();
    thread->wait();
    QTRY_COMPARE(document->image()->image.size(), QSize(40, 30));
    const int count = int(decoded.size());
    // A request not started when something newer happens is not decoded.
    manager.setPath(m_large);
    document->crop(QRect(0, 0, 2, 2));
    QCoreApplication::processEvents();
    thread->wait();
    QVERIFY(!manager.isLoading() && decoded.size() == count);
}

void TestDocument::opening_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("message"); // empty: none; "photo.png" and "large.webp" open

    const auto file = [this](const char *name, const QByteArray &data) {
        return TestImages::write(m_dir.path(), QString::fromUtf8(name), data);
    };
    QTest::newRow("relative path") << "photo.png"
                                   << "";
    QTest::newRow("missing") << m_dir.filePath("missing.png") << "";
    // The file name is shown exactly as it is, placeholders and all.
    QTest::newRow("text file") << file("100%1 %2.png", "hello")
                               << "The file '100%1 %2.png' is not a recognized image file.";
    QTest::newRow("absurd header")
        << file("huge %1.png", corpusFile("huge.png"))
        << "The image in 'huge %1.png' is too large to open: at 1000000 x 1000000 pixels it would "
           "not fit in this computer's memory.";
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("a %1 folder")));
    QTest::newRow("folder") << m_dir.filePath("a %1 folder/")
                            << "'a %1 folder' is a folder, not an image file.";
    const QString fifo = m_dir.filePath(QStringLiteral("pipe.png"));
    mkfifo(QFile::encodeName(fifo).constData(), 0600);
    QTest::newRow("named pipe") << fifo << "'pipe.png' is a named pipe, not an image file.";
    QTest::newRow("unreadable") << "/proc/self/mem"
                                << "The file 'mem' cannot be read. Check that it is still there "
                                   "and that you are allowed to open it.";
    // 6000 x 6000 RGBA is 144 MB, above the toolkit's default allocation
    // limit, which the loader raises itself. (The WebP reader allocates its
    // picture itself; the others are handed one of the right size.)
    QImage big(6000, 6000, QImage::Format_ARGB32);
    big.fill(QColor(10, 200, 30));
    QTest::newRow("above the toolkit's limit")
        << file("large.webp", TestImages::encoded(big, "webp")) << "";
}

void TestDocument::opening()
{
    QFETCH(QString, path);
    QFETCH(QString, message);
    Manager manager;
    QSignalSpy shown(manager.document(), &Document::shown);
    QSignalSpy failed(&manager, &Manager::failed);
    manager.setPath(m_png);
    QVERIFY(shown.wait());
    // A relative path gives an absolute document path.
    const QString previous = QDir::currentPath();
    QDir::setCurrent(m_dir.path());
    manager.setPath(path);
    const bool opens = path.endsWith(QLatin1String("photo.png")) || path.endsWith("large.webp");
    if (opens)
        manager.setPath(path); // twice in one turn: loaded once
    QDir::setCurrent(previous);
    if (opens)
        QVERIFY(shown.wait(20000));
    else if (!message.isEmpty())
        QTRY_COMPARE(failed.size(), 1);
    // Anything a path scheduled would run before this last load.
    manager.setPath(m_png);
    QTRY_COMPARE(shown.size(), opens ? 3 : 2);
    QCOMPARE(failed.size(), message.isEmpty() ? 0 : 1);
    if (!message.isEmpty())
        QCOMPARE(failed.first().at(0).toString() + ": " + failed.first().at(1).toString(),
                 message.prepend("Unable To Open File: "));
    const Image *image = manager.document()->image();
    QCOMPARE(shown.last().at(0).value<Image *>(), image);
    QVERIFY(!image->modified && image->hasFile);
    QCOMPARE(image->path, QFileInfo(m_png).absoluteFilePath());
}

void TestDocument::picturesWithoutFiles()
{
    Manager manager;
    QSignalSpy shown(manager.document(), &Document::shown);
    QSignalSpy failed(&manager, &Manager::failed);
    // Copied in another program while no document is shown: taken over.
    QApplication::clipboard()->setImage(TestImages::pattern(11, 12));
    QTRY_COMPARE(shown.size(), 1);
    const Image *image = manager.document()->image();
    QVERIFY(image->modified && !image->hasFile && image->fileName() == "untitled");
    // Once one is shown, only a paste takes the clipboard, without asking.
    QApplication::clipboard()->setImage(TestImages::pattern(3, 3));
    QCoreApplication::processEvents();
    QCOMPARE(image->image.size(), QSize(11, 12));
    manager.setFromClipboard();
    QCOMPARE(image->image.size(), QSize(3, 3));
    // Dropped or pasted data meets the same checks as a file: the content
    // decides, a header claiming too much is refused.
    QMimeData huge;
    huge.setData(QStringLiteral("image/png"), corpusFile("huge.png"));
    QVERIFY(manager.setImageData(&huge));
    QCOMPARE(failed.size(), 1);
    QCOMPARE(failed.first().at(0).toString() + ": " + failed.first().at(1).toString(),
             "Unable To Open Image: The image is too large to open: at 1000000 x 1000000 "
             "pixels it would not fit in this computer's memory.");
    QMimeData encoded;
    encoded.setData(QStringLiteral("image/bmp"),
                    TestImages::encoded(TestImages::pattern(6, 5), "png"));
    QVERIFY(manager.setImageData(&encoded));
    QCOMPARE(image->image.size(), QSize(6, 5));
    manager.setImage(QImage());
    QCOMPARE(shown.size(), 3);
}

void TestDocument::history()
{
    Document document;
    ViewState where;
    where.valid = true;
    document.setViewStateSource([&where] { return where; });
    QList<ViewState> shownIn;
    connect(&document, &Document::shown, this,
            [&shownIn](Image *, const ViewState &state) { shownIn << state; });
    QUndoStack *stack = document.undoStack();
    const Image &image = *document.image();
    const QImage photo = TestImages::pattern(100, 80);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("photo.png"));
    document.open(path, photo);
    where = {true, QRectF(10, 10, 20, 30), 3.0, QPointF(20, 25)};
    QVERIFY(document.crop(QRect(10, 10, 20, 30)));
    QVERIFY(image.modified && image.image == photo.copy(10, 10, 20, 30));
    QCOMPARE(shownIn.last().zoom, 3.0); // a crop keeps the zoom
    where = {true, QRectF(1, 2, 3, 4), 2.0, QPointF(5, 6)};
    document.replace(TestImages::pattern(120, 90));
    QVERIFY(image.modified && !image.hasFile && image.path == QStringLiteral("untitled"));

    // Undo brings back the whole document and where the user stood.
    stack->undo();
    QCOMPARE(image.image, photo.copy(10, 10, 20, 30));
    QVERIFY(image.modified && image.hasFile && image.path == path);
    QCOMPARE(shownIn.last().selection, QRectF(1, 2, 3, 4));
    QCOMPARE(shownIn.last().zoom, 2.0);
    stack->undo();
    QVERIFY(image.image == photo && !image.modified);
    QCOMPARE(shownIn.last().selection, QRectF(10, 10, 20, 30));
    QCOMPARE(shownIn.last().zoom, 3.0);
    stack->redo();
    QVERIFY(image.modified && shownIn.last().valid && shownIn.last().zoom == 3.0);
    // Saved over its file, that step is the file's, and the one before it
    // differs from it now.
    QVERIFY(document.save(path));
    stack->undo();
    QVERIFY(image.image == photo && image.modified);
    stack->redo();
    QVERIFY(!image.modified);
    // Opening a file starts a new history.
    document.open(m_png, photo);
    QVERIFY(!stack->canUndo() && !stack->canRedo());

    // The history holds at most four times the current picture; the oldest
    // steps go first, and the steps kept still work.
    for (int i = 1; i <= 6; ++i)
        document.replace(TestImages::pattern(100 + i, 80));
    const int kept = stack->count();
    QVERIFY(kept > 1 && kept < 6);
    while (stack->canUndo())
        stack->undo();
    QCOMPARE(image.image.width(), 106 - kept);
    // The newest step stays, however large: a crop to a small part of a
    // large picture can be undone.
    document.open(m_png, photo);
    document.crop(QRect(0, 0, 50, 50));
    document.crop(QRect(0, 0, 2, 2));
    QVERIFY(document.historyBytes() > document.historyLimit());
    stack->undo();
    QCOMPARE(image.image, photo.copy(0, 0, 50, 50));
}

namespace {

// A flat picture of colour in space, encoded in format; PNG and JPEG carry
// the space as an embedded profile.
QByteArray tagged(const QColorSpace &space, const char *format = "png", QRgb colour = 0)
{
    QImage picture(130, 70, QImage::Format_RGB32); // more than one band of rows
    picture.fill(colour ? colour : qRgb(200, 100, 50));
    picture.setColorSpace(space);
    return TestImages::encoded(picture, format, 100);
}

} // namespace

void TestDocument::colourProfiles_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QRgb>("shown");
    QTest::addColumn<bool>("shared"); // shown as stored, no copy
    QTest::addColumn<bool>("ignored");
    const QRgb stored = qRgb(200, 100, 50);
    QTest::newRow("untagged") << tagged(QColorSpace()) << stored << true << false;
    // What many programs write for sRGB.
    QTest::newRow("gamma 2.2, sRGB primaries")
        << tagged(QColorSpace(QColorSpace::Primaries::SRgb, 2.2f)) << stored << true << false;
    // Published conversions of (200, 100, 50).
    QTest::newRow("Display P3") << tagged(QColorSpace::DisplayP3) << qRgb(215, 93, 31) << false
                                << false;
    QTest::newRow("Adobe RGB") << tagged(QColorSpace::AdobeRgb) << qRgb(227, 100, 42) << false
                               << false;
    QTest::newRow("JPEG, Display P3")
        << tagged(QColorSpace::DisplayP3, "jpeg") << qRgb(215, 93, 31) << false << false;
    QByteArray damaged = tagged(QColorSpace::DisplayP3);
    damaged[damaged.indexOf("iCCP") + 40] = 'x';
    QTest::newRow("damaged profile") << damaged << stored << true << true;
}

void TestDocument::colourProfiles()
{
    QFETCH(QByteArray, file);
    QFETCH(QRgb, shown);
    QFETCH(bool, shared);
    QFETCH(bool, ignored);
    ImageDecoder decoder(file);
    QCOMPARE(decoder.decode(), ImageDecoder::Result::Decoded);
    const Picture picture(decoder.image(), decoder.profileIgnored());
    QCOMPARE(picture.profileIgnored, ignored);
    QCOMPARE(picture.srgb.cacheKey() == picture.stored.cacheKey(), shared);
    // JPEG's own rounding: within two steps.
    for (const QPoint at : {QPoint(0, 0), QPoint(129, 69)}) {
        const QRgb pixel = picture.srgb.pixel(at);
        QVERIFY2(qAbs(qRed(pixel) - qRed(shown)) <= 2 && qAbs(qGreen(pixel) - qGreen(shown)) <= 2 &&
                     qAbs(qBlue(pixel) - qBlue(shown)) <= 2,
                 qPrintable(QString::number(pixel, 16)));
    }
}

// Crops, saves, copies and undo keep the stored values and the profile; a
// format that cannot hold one gets the sRGB values.
void TestDocument::profilesSurvive()
{
    const QColorSpace p3(QColorSpace::DisplayP3);
    QVERIFY(ColorProfile::toSrgbUnclipped(qRgb(255, 0, 0), p3).outsideSrgb());
    QVERIFY(!ColorProfile::toSrgbUnclipped(qRgb(200, 100, 50), p3).outsideSrgb());

    Manager manager;
    Document *document = manager.document();
    QImage picture(4, 3, QImage::Format_ARGB32);
    picture.fill(qRgb(200, 100, 50));
    picture.setColorSpace(p3);
    document->open(m_dir.filePath(QStringLiteral("p3.png")), picture);
    QVERIFY(document->crop(QRect(1, 1, 2, 2)));
    QCOMPARE(document->image()->srgb.pixel(0, 0), qRgb(215, 93, 31));
    for (const char *name : {"crop.png", "crop.bmp"}) {
        QVERIFY(document->save(m_dir.filePath(QLatin1String(name))));
        const QImage saved(m_dir.filePath(QLatin1String(name)));
        const bool png = QByteArray(name).endsWith("png");
        QCOMPARE(saved.size(), QSize(2, 2));
        QCOMPARE(saved.pixel(1, 1), png ? qRgb(200, 100, 50) : qRgb(215, 93, 31));
        QCOMPARE(saved.colorSpace() == p3, png);
    }
    QApplication::clipboard()->setImage(document->copy(QRect()));
    document->undoStack()->undo();
    QCOMPARE(document->image()->srgb.size(), QSize(4, 3));
    manager.setFromClipboard();
    QCOMPARE(document->image()->image.pixel(0, 0), qRgb(200, 100, 50));
    QCOMPARE(document->image()->image.colorSpace(), p3);
    QCOMPARE(document->shownPixels().pixel(0, 0), qRgb(215, 93, 31));
}

void TestDocument::previews_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("previewed");
    const QImage picture = TestImages::pattern(800, 600);
    QTest::newRow("baseline JPEG") << TestImages::encoded(picture, "jpeg") << true;
    QByteArray progressive;
    {
        QBuffer buffer(&progressive);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "jpeg");
        writer.setProgressiveScanWrite(true);
        QVERIFY(writer.write(picture));
    }
    QTest::newRow("progressive JPEG") << progressive << false;
    QTest::newRow("not much larger than the view")
        << TestImages::encoded(picture.copy(0, 0, 200, 150), "jpeg") << false;
}

// The centre part of a large baseline JPEG decodes alone, pixel for pixel as
// in the whole picture.
void TestDocument::previews()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, previewed);
    ImageDecoder part(file);
    part.setPreviewOf(QSize(100, 80));
    QCOMPARE(part.decode() == ImageDecoder::Result::Decoded, previewed);
    if (!previewed)
        return;
    ImageDecoder whole(file);
    QCOMPARE(whole.decode(), ImageDecoder::Result::Decoded);
    QCOMPARE(part.size(), QSize(800, 600));
    const QRect rect(part.previewOffset(), part.image().size());
    QVERIFY(rect.contains(QRect(350, 260, 100, 80)) && rect.width() <= 200);
    QCOMPARE(part.image(), whole.image().copy(rect));
}

// A preview whose picture is no longer the newest request never shows, even
// when nothing else does: the newer request fails.
void TestDocument::previewOfAStaleRequest()
{
    const QString jpeg = TestImages::write(
        m_dir.path(), "large.jpg", TestImages::encoded(TestImages::pattern(2000, 1500), "jpeg"));
    Manager manager;
    manager.setPreviewSize(QSize(200, 150));
    QSignalSpy previews(&manager, &Manager::previewReady);
    QSignalSpy failed(&manager, &Manager::failed);
    manager.setPath(jpeg);
    QCoreApplication::processEvents(); // both decodes start; their results queue
    manager.setPath(TestImages::write(m_dir.path(), "words.png", "not an image"));
    QVERIFY(failed.wait());
    manager.findChild<LoadThread *>()->wait();
    QThreadPool::globalInstance()->waitForDone();
    QCoreApplication::processEvents();
    QCOMPARE(previews.size(), 0);
    QVERIFY(manager.document()->image()->isNull);
}

LUMENO_TEST_MAIN(TestDocument)

#include "tst_document.moc"
