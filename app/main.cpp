#include "app/commandline.h"
#include "app/lumeno.h"
#include "app/startup.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    prepareApplication();
    // Help and the version need no display: answered before the toolkit
    // looks for one.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (const CommandLine first = CommandLine::parse(arguments, false); first.exit)
        return first.status;

    QApplication app(argc, argv);
    const CommandLine commandLine = CommandLine::parse(QCoreApplication::arguments(), true);
    if (commandLine.exit)
        return commandLine.status;

    auto *window = new Lumeno(commandLine.paths.value(0));
    window->show();
    window->chooseFirstImage(commandLine.paths);
    QObject::connect(&app, &QGuiApplication::lastWindowClosed, &app, &QCoreApplication::quit);

    const int status = runEventLoop();
    // The window's destructor writes its settings; it must run before the
    // application object goes.
    delete window;
    return status;
}
