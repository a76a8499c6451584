#include "app/commandline.h"

#include <QFileInfo>
#include <QSettings>

#include <cstdio>

namespace {

QString usage()
{
    return QStringLiteral(
               "Usage: lumeno [OPTION]... [IMAGE]\n"
               "Look at one raster image and pick colours, positions and sizes out of it.\n"
               "Opens IMAGE (JPEG, PNG, GIF, BMP, TIFF, WebP, HEIC/HEIF, AVIF, JPEG XL, SVG,\n"
               "ICO/CUR, PBM/PGM/PPM, XBM or XPM), or the image on the clipboard when no IMAGE\n"
               "is given.\n\n"
               "Options:\n"
               "  -h, --help     show this help and exit\n"
               "  -v, --version  show the version and exit\n"
               "  --             take what follows as the image, even if it begins with '-'\n\n"
               "Settings are kept in ") +
           QSettings().fileName() + QStringLiteral("\n");
}

void print(FILE *stream, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
}

} // namespace

CommandLine CommandLine::parse(const QStringList &arguments, bool strict)
{
    CommandLine result;
    bool options = true;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (options && argument == QLatin1String("--")) {
            options = false;
        } else if (options &&
                   (argument == QLatin1String("-h") || argument == QLatin1String("--help"))) {
            print(stdout, usage());
            result.exit = true;
            return result;
        } else if (options &&
                   (argument == QLatin1String("-v") || argument == QLatin1String("--version"))) {
            print(stdout, QStringLiteral("Lumeno %1\n").arg(QLatin1String(LUMENO_VERSION)));
            result.exit = true;
            return result;
        } else if (options && argument.size() > 1 && argument.startsWith(QLatin1Char('-'))) {
            if (!strict)
                continue;
            print(stderr, QStringLiteral("lumeno: unknown option '") + argument +
                              QStringLiteral("'\n") + usage());
            result.exit = true;
            result.status = 64;
            return result;
        } else {
            result.paths << argument;
        }
    }
    // The silent start stays: no window asks about it, but a terminal says.
    if (strict && !result.paths.isEmpty() && !QFileInfo::exists(result.paths.first()))
        print(stderr, QStringLiteral("lumeno: '") + result.paths.first() +
                          QStringLiteral("': no such file or folder\n"));
    return result;
}
