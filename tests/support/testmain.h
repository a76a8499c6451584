#ifndef LUMENO_TESTMAIN_H
#define LUMENO_TESTMAIN_H

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

// Every test process gets a settings store of its own: XDG_CONFIG_HOME points
// at a fresh temporary directory before anything can read settings, and the
// platform defaults to offscreen so the tests need no display.
#define LUMENO_TEST_MAIN(TestObject)                                                               \
    int main(int argc, char *argv[])                                                               \
    {                                                                                              \
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))                                        \
            qputenv("QT_QPA_PLATFORM", "offscreen");                                               \
        QTemporaryDir configHome;                                                                  \
        qputenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit());                               \
        QApplication app(argc, argv);                                                              \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                   \
        TestObject tc;                                                                             \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&tc, argc, argv);                                                      \
    }

#endif
