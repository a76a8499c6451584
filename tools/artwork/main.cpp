// lumeno-artwork OUTDIR
//
// Draws every picture of the program's resource tree, at one and at two pixels to the
// unit, and writes them to OUTDIR/icons and OUTDIR/pixmaps; and the application icon for
// the desktop's icon theme to OUTDIR/hicolor. The output is deterministic:
// running it twice gives identical files.
#include "artwork.h"
#include "painting.h"

#include <QDir>
#include <QGuiApplication>
#include <QImageReader>
#include <QTextStream>

#include <cstdio>
#include <functional>

namespace {

struct Picture
{
    const char *path; // relative to OUTDIR
    int width;
    int height;
    std::function<QImage()> draw;
};

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);

    const QStringList arguments = application.arguments();
    if (arguments.size() != 2) {
        std::fprintf(stderr, "usage: lumeno-artwork OUTDIR\n");
        return 2;
    }
    const QDir out(arguments.at(1));

    const Picture pictures[] = {
        {"icons/open.png", 24, 19, art::openIcon},
        {"icons/save.png", 20, 20, art::saveIcon},
        {"icons/save-as.png", 20, 20, art::saveAsIcon},
        {"icons/copy.png", 22, 24, art::copyIcon},
        {"icons/paste.png", 22, 24, art::pasteIcon},
        {"icons/crop.png", 24, 24, art::cropIcon},
        {"icons/zoom-to-sel.png", 24, 24, art::zoomToSelectionIcon},
        {"icons/zoom-to-fit.png", 24, 24, art::zoomToFitIcon},
        {"icons/zoom-reset.png", 24, 24, art::zoomResetIcon},
        {"icons/wrench.png", 24, 24, art::wrenchIcon},
        {"icons/left-click.png", 18, 24, art::leftClickIcon},
        {"icons/right-click.png", 18, 24, art::rightClickIcon},
        {"icons/double-left-click.png", 21, 26, art::doubleLeftClickIcon},
        {"icons/wheel.png", 15, 24, art::wheelIcon},
        {"icons/menu-button-arrow.png", 7, 4, art::menuButtonArrow},
        {"icons/menu-button-arrow-disabled.png", 7, 4, art::menuButtonArrowDisabled},
        {"icons/logo-16.png", 16, 16,
         [] {
             return art::logo(16);
         }},
        {"icons/logo-48.png", 48, 48,
         [] {
             return art::logo(48);
         }},
        {"pixmaps/checker.png", 14, 14, art::checkerTile},
        {"pixmaps/checker-swatch.png", 14, 14, art::checkerTile},
        {"pixmaps/drag-and-drop-target.png", 450, 329, art::dropTargetPicture},
    };

    if (!out.mkpath(QStringLiteral("icons")) || !out.mkpath(QStringLiteral("pixmaps"))) {
        std::fprintf(stderr, "lumeno-artwork: cannot create the folders in %s\n",
                     qPrintable(out.path()));
        return 1;
    }

    int failures = 0;
    // Every picture once as name.png and once at twice the size as name@2x.png, for
    // displays with two device pixels (or one and a half) to a logical pixel.
    for (const int scale : {1, 2}) {
        art::setScale(scale);
        const QString suffix = scale == 1 ? QStringLiteral(".png") : QStringLiteral("@2x.png");
        for (const Picture &picture : pictures) {
            QString name = QString::fromLatin1(picture.path);
            name.replace(QStringLiteral(".png"), suffix);
            const QString path = out.filePath(name);
            QImage image = picture.draw();
            if (image.width() != picture.width * scale ||
                image.height() != picture.height * scale) {
                std::fprintf(stderr, "lumeno-artwork: %s is %dx%d, expected %dx%d\n",
                             qPrintable(name), image.width(), image.height(), picture.width * scale,
                             picture.height * scale);
                ++failures;
                continue;
            }
            // Straight alpha keeps the colours of half-transparent edges exact in the file.
            if (image.hasAlphaChannel())
                image = image.convertToFormat(QImage::Format_ARGB32);
            image.setDevicePixelRatio(1);
            if (!image.save(path, "PNG")) {
                std::fprintf(stderr, "lumeno-artwork: cannot write %s\n", qPrintable(path));
                ++failures;
            }
        }
    }
    art::setScale(1);

    // The application icon of the desktop's icon theme.
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QString folder = QStringLiteral("hicolor/%1x%1/apps").arg(size);
        const QString path = out.filePath(folder + QStringLiteral("/org.corvane.Lumeno.png"));
        if (!out.mkpath(folder) ||
            !art::logo(size).convertToFormat(QImage::Format_ARGB32).save(path, "PNG")) {
            std::fprintf(stderr, "lumeno-artwork: cannot write %s\n", qPrintable(path));
            ++failures;
        }
    }

    return failures == 0 ? 0 : 1;
}
