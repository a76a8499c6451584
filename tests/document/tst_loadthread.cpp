#include "document/loadthread.h"
#include "tests/support/testimages.h"
#include "tests/support/testmain.h"

#include <QAtomicInt>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestLoadThread : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void validAndInvalidRequests();
    void requestsAreHandledInOrderExactlyOnce();
    void restartsAfterIdle();
    void requestsRacingTheWorkerAreNeverLost();
    void destructionDropsQueuedRequests();

private:
    QTemporaryDir m_dir;
    QString m_png;
    QString m_text;
    QString m_large;
};

void TestLoadThread::initTestCase()
{
    qRegisterMetaType<QFileInfo>("QFileInfo");
    m_png = TestImages::write(m_dir.path(), "small.png",
                              TestImages::encoded(TestImages::pattern(30, 20), "png"));
    m_text = TestImages::write(m_dir.path(), "report.png", "not an image");
    m_large = TestImages::write(m_dir.path(), "large.jpg",
                                TestImages::encoded(TestImages::pattern(3000, 2000), "jpeg", 95));
}

void TestLoadThread::validAndInvalidRequests()
{
    LoadThread thread;
    QCOMPARE(thread.objectName(), QStringLiteral("load_thread"));
    QSignalSpy loaded(&thread, &LoadThread::imageLoaded);
    QSignalSpy failed(&thread, &LoadThread::imageFailed);

    const QFileInfo png(m_png);
    thread.loadImage(png);
    QVERIFY(loaded.wait());
    QCOMPARE(loaded.at(0).at(0).value<QFileInfo>(), png);
    QCOMPARE(loaded.at(0).at(1).value<QImage>().size(), QSize(30, 20));

    const QFileInfo text(m_text);
    thread.loadImage(text);
    QVERIFY(failed.wait());
    QCOMPARE(failed.at(0).at(0).value<QFileInfo>(), text);
    QCOMPARE(loaded.size(), 1);
}

void TestLoadThread::requestsAreHandledInOrderExactlyOnce()
{
    LoadThread thread;
    QStringList received;
    const auto record = [&received](const QFileInfo &file) {
        received.append(file.fileName());
    };
    connect(&thread, &LoadThread::imageLoaded, this,
            [record](const QFileInfo &f, const QImage &) { record(f); });
    connect(&thread, &LoadThread::imageFailed, this, record);

    // The first request is slow, so the rest queue up behind it.
    QStringList expected;
    thread.loadImage(QFileInfo(m_large));
    expected.append(QFileInfo(m_large).fileName());
    for (int i = 0; i < 12; ++i) {
        const QString path = i % 3 == 0 ? m_text : m_png;
        thread.loadImage(QFileInfo(path));
        expected.append(QFileInfo(path).fileName());
    }
    // The same file twice is decoded twice.
    thread.loadImage(QFileInfo(m_png));
    expected.append(QFileInfo(m_png).fileName());

    QTRY_COMPARE_WITH_TIMEOUT(received.size(), expected.size(), 30000);
    QCOMPARE(received, expected);
    QTRY_VERIFY(thread.isFinished());
    QCOMPARE(received.size(), expected.size());
}

void TestLoadThread::restartsAfterIdle()
{
    LoadThread thread;
    QSignalSpy loaded(&thread, &LoadThread::imageLoaded);
    thread.loadImage(QFileInfo(m_png));
    QVERIFY(loaded.wait());
    QTRY_VERIFY(thread.isFinished());

    thread.loadImage(QFileInfo(m_png));
    QTRY_COMPARE(loaded.size(), 2);
}

void TestLoadThread::requestsRacingTheWorkerAreNeverLost()
{
    // Each new request is made the moment the previous result is out, while the
    // worker is on its way out of run(): none may be dropped. The GUI thread
    // spins on the counter rather than waiting for events, to hit that moment.
    LoadThread thread;
    QAtomicInt results;
    connect(
        &thread, &LoadThread::imageFailed, &thread,
        [&results](const QFileInfo &) { results.ref(); }, Qt::DirectConnection);

    const int rounds = 1000;
    const QFileInfo request(m_text);
    for (int i = 0; i < rounds; ++i) {
        thread.loadImage(request);
        QElapsedTimer deadline;
        deadline.start();
        while (results.loadAcquire() == i && deadline.elapsed() < 10000) {
        }
        QCOMPARE(results.loadAcquire(), i + 1);
    }
}

void TestLoadThread::destructionDropsQueuedRequests()
{
    QAtomicInt decoded;
    {
        LoadThread thread;
        const auto count = [&decoded](const QFileInfo &, const QImage &) {
            decoded.ref();
        };
        connect(&thread, &LoadThread::imageLoaded, &thread, count, Qt::DirectConnection);
        thread.loadImage(QFileInfo(m_large));
        thread.loadImage(QFileInfo(m_png));
    } // waits for the large file at most, never for the one behind it
    QVERIFY(decoded.loadAcquire() <= 1);
}

LUMENO_TEST_MAIN(TestLoadThread)
#include "tst_loadthread.moc"
