#include "app/lumeno.h"
#include "app/startup.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    prepareApplication();

    auto *window = new Lumeno;
    window->show();
    QObject::connect(&app, &QGuiApplication::lastWindowClosed, &app, &QCoreApplication::quit);

    const int status = runEventLoop();
    // The window's destructor writes its settings; it must run before the
    // application object goes.
    delete window;
    return status;
}
