#include "app/startup.h"

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QMetaType>

#include <csignal>
#include <new>

void prepareApplication()
{
    // A write past the file-size limit (ulimit -f) would otherwise end the
    // program with SIGXFSZ and lose the unsaved picture; ignored, the write
    // fails like one to a full disk, and the save says so.
    std::signal(SIGXFSZ, SIG_IGN);
    qRegisterMetaType<QFileInfo>("QFileInfo");
    QCoreApplication::setOrganizationName(QStringLiteral("Corvane"));
    QCoreApplication::setOrganizationDomain(QStringLiteral("corvane.org"));
    QCoreApplication::setApplicationName(QStringLiteral("Corvane"));
    QCoreApplication::setApplicationVersion(QStringLiteral(LUMENO_VERSION));
    // Desktops match the window to its menu entry by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral(LUMENO_APP_ID));
}

void showOutOfMemoryMessage()
{
    QMessageBox box(QMessageBox::Critical,
                    QCoreApplication::translate("QCoreApplication", "Out of memory", "NoMemory"),
                    QCoreApplication::translate("QCoreApplication",
                                                "Quillon has run out of memory and will now "
                                                "close.\n\nYou can close other programs to try "
                                                "to free up more memory.",
                                                "NoMemory"),
                    QMessageBox::Ok);
    box.exec();
}

int runEventLoop()
{
    try {
        return QApplication::exec();
    } catch (const std::bad_alloc &) {
        showOutOfMemoryMessage();
        return 2;
    }
}
