#ifndef LUMENO_COMMANDLINE_H
#define LUMENO_COMMANDLINE_H

#include <QString>
#include <QStringList>

// What the command line asks for: the image to open (the first path; any
// further ones are ignored), or help, the version, or nothing at all because
// of an unknown option. A path that begins with a dash is given after "--".
struct CommandLine
{
    // The program ends at once, with status (0 after help or the version,
    // 64 after an unknown option); no window is made.
    bool exit = false;
    int status = 0;
    // The images named, in order.
    QStringList paths;

    // Reads arguments, the first of which is the program. Help and the
    // version go to standard output; errors and the usage to standard error,
    // and so does the name of an image path that does not exist (the program
    // still starts). Unless strict, unknown options pass: a first look before
    // the toolkit has taken its own options (-platform, -style...) out, so
    // that help and the version need no display.
    // The usage names the settings file: the application's names must be
    // set first.
    static CommandLine parse(const QStringList &arguments, bool strict);
};

#endif
