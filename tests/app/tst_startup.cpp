#include "app/lumeno.h"
#include "app/startup.h"
#include "document/image.h"
#include "tests/support/messageboxwatcher.h"
#include "tests/support/testimages.h"
#include "tests/support/testmain.h"
#include "view/view.h"

#include <QClipboard>
#include <QSettings>
#include <QTest>
#include <QTimer>

#include <new>

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void identityAddressesTheSettingsStore();
    void emptyClipboardLeavesTheWindowEmpty();
    void clipboardImageIsShownAtStart();
    void outOfMemoryEndsWithStatusTwo();
    void normalQuitEndsWithStatusZero();
};

void TestStartup::identityAddressesTheSettingsStore()
{
    prepareApplication();
    QCOMPARE(QCoreApplication::organizationName(), QStringLiteral("Corvane"));
    QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Corvane"));
    QSettings settings;
    QVERIFY(settings.fileName().endsWith(QStringLiteral("Corvane/Corvane.conf")));
    QVERIFY(settings.fileName().startsWith(qEnvironmentVariable("XDG_CONFIG_HOME")));
}

void TestStartup::emptyClipboardLeavesTheWindowEmpty()
{
    QApplication::clipboard()->setText(QStringLiteral("text only"));
    Lumeno window;
    window.show();
    // The clipboard is consulted by a 1 ms timer started in the constructor;
    // a later timer fires after it.
    bool later = false;
    QTimer::singleShot(5, &window, [&later] { later = true; });
    QTRY_VERIFY(later);
    QCOMPARE(window.windowTitle(), QStringLiteral("Corvane"));
    QVERIFY(!window.view()->hasImage());
}

void TestStartup::clipboardImageIsShownAtStart()
{
    QApplication::clipboard()->setImage(TestImages::pattern(64, 32));
    Lumeno window;
    window.show();
    QTRY_VERIFY(window.view()->hasImage());
    QCOMPARE(window.windowTitle(), QStringLiteral("* untitled (64x32)"));
    QVERIFY(window.view()->image()->modified);
    QVERIFY(!window.view()->image()->hasFile);
}

void TestStartup::outOfMemoryEndsWithStatusTwo()
{
    MessageBoxWatcher boxes;
    QTimer::singleShot(0, [] { throw std::bad_alloc(); });
    QCOMPARE(runEventLoop(), 2);
    QCOMPARE(boxes.count(), 1);
    QCOMPARE(boxes.titles.at(0), QStringLiteral("Out of memory"));
    QCOMPARE(boxes.texts.at(0),
             QStringLiteral("Quillon has run out of memory and will now close.\n\nYou can close "
                            "other programs to try to free up more memory."));
}

void TestStartup::normalQuitEndsWithStatusZero()
{
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    QCOMPARE(runEventLoop(), 0);
}

LUMENO_TEST_MAIN(TestStartup)
#include "tst_startup.moc"
