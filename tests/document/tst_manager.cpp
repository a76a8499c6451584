#include "document/manager.h"
#include "tests/support/messageboxwatcher.h"
#include "tests/support/testimages.h"
#include "tests/support/testmain.h"

#include <QClipboard>
#include <QDir>
#include <QMimeData>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

class TestManager : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void loadsAFileAsAnUnmodifiedDocument();
    void unusablePathsAreIgnoredSilently_data();
    void unusablePathsAreIgnoredSilently();
    void failuresWarnAndKeepTheDocument_data();
    void failuresWarnAndKeepTheDocument();
    void theLaterOfTwoQuickPathsIsLoadedOnce();
    void imageDataBecomesAnUntitledDocument();
    void clipboardIsTakenOverOnlyUntilADocumentIsShown();
    void pasteReplacesTheDocumentWithoutAsking();
    void destructionWhileLoadingDeliversNothing();

private:
    QTemporaryDir m_dir;
    QString m_png;
};

void TestManager::initTestCase()
{
    qRegisterMetaType<QFileInfo>("QFileInfo");
    m_png = TestImages::write(m_dir.path(), "photo.png",
                              TestImages::encoded(TestImages::pattern(40, 30), "png"));
}

void TestManager::init()
{
    QApplication::clipboard()->clear();
}

void TestManager::loadsAFileAsAnUnmodifiedDocument()
{
    Manager manager;
    QSignalSpy shown(&manager, &Manager::showImage);

    // A relative path still gives an absolute document path.
    const QString previous = QDir::currentPath();
    QDir::setCurrent(m_dir.path());
    manager.setPath(QStringLiteral("photo.png"));
    QDir::setCurrent(previous);

    QVERIFY(shown.wait());
    Image *image = shown.at(0).at(0).value<Image *>();
    QCOMPARE(image, manager.currentImage());
    QCOMPARE(image->path, QFileInfo(m_png).absoluteFilePath());
    QCOMPARE(image->fileName(), QStringLiteral("photo.png"));
    QVERIFY(!image->modified);
    QVERIFY(image->hasFile);
    QVERIFY(!image->isNull);
    QCOMPARE(image->image.size(), QSize(40, 30));
}

void TestManager::unusablePathsAreIgnoredSilently_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("empty") << QString();
    QTest::newRow("missing") << m_dir.filePath(QStringLiteral("missing.png"));
}

void TestManager::unusablePathsAreIgnoredSilently()
{
    QFETCH(QString, path);
    MessageBoxWatcher boxes;
    Manager manager;
    QSignalSpy shown(&manager, &Manager::showImage);

    manager.setPath(path);
    // Anything the unusable path scheduled would run before this valid load.
    manager.setPath(m_png);
    QVERIFY(shown.wait());
    QCOMPARE(shown.size(), 1);
    QCOMPARE(manager.currentImage()->fileName(), QStringLiteral("photo.png"));
    QCOMPARE(boxes.count(), 0);
}

void TestManager::failuresWarnAndKeepTheDocument_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expectedText");

    const auto file = [this](const char *name, const QByteArray &data) {
        return TestImages::write(m_dir.path(), QString::fromUtf8(name), data);
    };
    QTest::newRow("text file") << file("report.txt", "hello")
                               << "The file 'report.txt' is not a recognized image file.";
    // The file name is shown exactly as it is, placeholders and all.
    QTest::newRow("placeholders in the name")
        << file("100%1 %2 %L1.png", "hello")
        << "The file '100%1 %2 %L1.png' is not a recognized image file.";
    QTest::newRow("absurd header")
        << file("huge %1.png", TestImages::pngWithClaimedSize(200000, 200000))
        << "The image in 'huge %1.png' is too large to open: at 200000 x 200000 pixels it would "
           "not fit in this computer's memory.";
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("a %1 folder")));
    QTest::newRow("folder") << m_dir.filePath(QStringLiteral("a %1 folder/"))
                            << "'a %1 folder' is a folder, not an image file.";
    const QString fifo = m_dir.filePath(QStringLiteral("pipe.png"));
    QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QTest::newRow("named pipe") << fifo << "'pipe.png' is a named pipe, not an image file.";
    QTest::newRow("device") << "/dev/null"
                            << "'null' is a device, not an image file.";
    // A regular file whose every read fails (EIO), even for root.
    QTest::newRow("unreadable") << "/proc/self/mem"
                                << "The file 'mem' cannot be read. Check that it is still there "
                                   "and that you are allowed to open it.";
}

void TestManager::failuresWarnAndKeepTheDocument()
{
    QFETCH(QString, path);
    QFETCH(QString, expectedText);

    MessageBoxWatcher boxes;
    Manager manager;
    QSignalSpy shown(&manager, &Manager::showImage);
    manager.setPath(m_png);
    QVERIFY(shown.wait());

    manager.setPath(path);
    QTRY_COMPARE(boxes.count(), 1);
    QCOMPARE(boxes.titles.at(0), QStringLiteral("Unable To Open File"));
    QCOMPARE(boxes.texts.at(0), expectedText);
    QCOMPARE(shown.size(), 1);
    QCOMPARE(manager.currentImage()->fileName(), QStringLiteral("photo.png"));
    QVERIFY(!manager.currentImage()->isNull);
}

void TestManager::theLaterOfTwoQuickPathsIsLoadedOnce()
{
    const QString other = TestImages::write(m_dir.path(), "other.png",
                                            TestImages::encoded(TestImages::pattern(5, 5), "png"));
    Manager manager;
    QSignalSpy shown(&manager, &Manager::showImage);
    manager.setPath(m_png);
    manager.setPath(other);
    QVERIFY(shown.wait());
    QCOMPARE(manager.currentImage()->fileName(), QStringLiteral("other.png"));
    // Results come in request order: a second decode of the pair would be
    // shown before this later request.
    manager.setPath(m_png);
    QTRY_COMPARE(shown.size(), 2);
    QCOMPARE(manager.currentImage()->fileName(), QStringLiteral("photo.png"));
    QCOMPARE(shown.at(0).at(0).value<Image *>(), shown.at(1).at(0).value<Image *>());
}

void TestManager::imageDataBecomesAnUntitledDocument()
{
    MessageBoxWatcher boxes;
    Manager manager;
    QSignalSpy shown(&manager, &Manager::showImage);

    manager.setImage(QImage());
    QCOMPARE(shown.size(), 0);

    // Encoded data, as other programs offer it, meets the same checks as a
    // file: the content decides, and a header claiming too much is refused.
    QMimeData huge;
    huge.setData(QStringLiteral("image/png"), TestImages::pngWithClaimedSize(200000, 200000));
    QVERIFY(manager.setImageData(&huge));
    QTRY_COMPARE(boxes.count(), 1);
    QCOMPARE(boxes.texts.at(0), QStringLiteral("The image is too large to open: at 200000 x "
                                               "200000 pixels it would not fit in this "
                                               "computer's memory."));
    QMimeData text;
    text.setData(QStringLiteral("image/png"), "no picture");
    QVERIFY(!manager.setImageData(&text));
    QMimeData encoded;
    encoded.setData(QStringLiteral("image/bmp"),
                    TestImages::encoded(TestImages::pattern(6, 5), "png"));
    QVERIFY(manager.setImageData(&encoded));
    QCOMPARE(manager.currentImage()->image.size(), QSize(6, 5));
    QCOMPARE(shown.size(), 1);

    manager.setImage(TestImages::pattern(7, 9));
    QCOMPARE(shown.size(), 2);
    const Image *image = manager.currentImage();
    QCOMPARE(image->path, QStringLiteral("untitled"));
    QCOMPARE(image->fileName(), QStringLiteral("untitled"));
    QVERIFY(image->modified);
    QVERIFY(!image->hasFile);
    QCOMPARE(image->image.size(), QSize(7, 9));
}

void TestManager::clipboardIsTakenOverOnlyUntilADocumentIsShown()
{
    Manager manager;
    QSignalSpy shown(&manager, &Manager::showImage);

    QApplication::clipboard()->setText(QStringLiteral("words"));
    QCOMPARE(shown.size(), 0);

    QApplication::clipboard()->setImage(TestImages::pattern(11, 12));
    QTRY_COMPARE(shown.size(), 1);
    QCOMPARE(manager.currentImage()->fileName(), QStringLiteral("untitled"));
    QVERIFY(manager.currentImage()->modified);

    // Once a document is shown, new clipboard content only matters to Paste.
    QApplication::clipboard()->setImage(TestImages::pattern(3, 3));
    manager.trySetFromClipboard();
    QCoreApplication::processEvents();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(manager.currentImage()->image.size(), QSize(11, 12));
}

void TestManager::pasteReplacesTheDocumentWithoutAsking()
{
    MessageBoxWatcher boxes;
    Manager manager;
    QSignalSpy shown(&manager, &Manager::showImage);
    manager.setImage(TestImages::pattern(4, 4)); // modified, unsaved

    QApplication::clipboard()->setText(QStringLiteral("no image here"));
    manager.setFromClipboard();
    QCOMPARE(shown.size(), 1);

    QApplication::clipboard()->setImage(TestImages::pattern(8, 6));
    manager.setFromClipboard();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(manager.currentImage()->image.size(), QSize(8, 6));
    QCOMPARE(manager.currentImage()->path, QStringLiteral("untitled"));
    QCOMPARE(boxes.count(), 0);
}

void TestManager::destructionWhileLoadingDeliversNothing()
{
    const QString large = TestImages::write(
        m_dir.path(), "large.jpg", TestImages::encoded(TestImages::pattern(3000, 2000), "jpeg"));
    int shown = 0;
    {
        Manager manager;
        connect(&manager, &Manager::showImage, this, [&shown](Image *) { ++shown; });
        manager.setPath(large);
        QCoreApplication::processEvents(); // the request reaches the loader
        manager.setPath(m_png);
        QCoreApplication::processEvents();
    } // waits for both decodes
    QCoreApplication::processEvents();
    QCOMPARE(shown, 0);
}

LUMENO_TEST_MAIN(TestManager)
#include "tst_manager.moc"
