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
    void theLaterOfTwoQuickPathsIsLoadedTwice();
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
    QTest::newRow("directory") << m_dir.path();
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
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("expectedText");

    QTest::newRow("text file") << "report.txt" << QByteArray("hello")
                               << "The file 'report.txt' is not a recognized image file.";
    // The file name is shown exactly as it is, placeholders and all.
    QTest::newRow("placeholders in the name")
        << "100%1 %2 %L1.png" << QByteArray("hello")
        << "The file '100%1 %2 %L1.png' is not a recognized image file.";
    QTest::newRow("absurd header")
        << "huge %1.png" << TestImages::pngWithClaimedSize(200000, 200000)
        << "The image in 'huge %1.png' is too large to open: at 200000 x 200000 pixels it would "
           "not fit in this computer's memory.";
}

void TestManager::failuresWarnAndKeepTheDocument()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, data);
    QFETCH(QString, expectedText);

    MessageBoxWatcher boxes;
    Manager manager;
    QSignalSpy shown(&manager, &Manager::showImage);
    manager.setPath(m_png);
    QVERIFY(shown.wait());

    manager.setPath(TestImages::write(m_dir.path(), name, data));
    QTRY_COMPARE(boxes.count(), 1);
    QCOMPARE(boxes.titles.at(0), QStringLiteral("Unable To Open File"));
    QCOMPARE(boxes.texts.at(0), expectedText);
    QCOMPARE(shown.size(), 1);
    QCOMPARE(manager.currentImage()->fileName(), QStringLiteral("photo.png"));
    QVERIFY(!manager.currentImage()->isNull);
}

void TestManager::theLaterOfTwoQuickPathsIsLoadedTwice()
{
    const QString other = TestImages::write(m_dir.path(), "other.png",
                                            TestImages::encoded(TestImages::pattern(5, 5), "png"));
    Manager manager;
    QSignalSpy shown(&manager, &Manager::showImage);
    manager.setPath(m_png);
    manager.setPath(other);
    QTRY_COMPARE(shown.size(), 2);
    QCOMPARE(manager.currentImage()->fileName(), QStringLiteral("other.png"));
    QCOMPARE(shown.at(0).at(0).value<Image *>(), shown.at(1).at(0).value<Image *>());
}

void TestManager::imageDataBecomesAnUntitledDocument()
{
    Manager manager;
    QSignalSpy shown(&manager, &Manager::showImage);

    manager.setImage(QImage());
    QCOMPARE(shown.size(), 0);

    manager.setImage(TestImages::pattern(7, 9));
    QCOMPARE(shown.size(), 1);
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
