#include "view/glcapabilities.h"

#include <QDir>
#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>

bool GlCapabilities::isSoftwareRenderer(const QString &renderer)
{
    static const char *const software[] = {"llvmpipe", "softpipe",    "swrast",     "software",
                                           "lavapipe", "swiftshader", "gdi generic"};
    if (renderer.trimmed().isEmpty())
        return true;
    for (const char *name : software) {
        if (renderer.contains(QLatin1String(name), Qt::CaseInsensitive))
            return true;
    }
    return false;
}

bool GlCapabilities::mayHaveHardware()
{
#ifdef Q_OS_LINUX
    // Every hardware driver of the Linux graphics stack opens a DRM render
    // node; without one, only a software renderer could answer.
    return !QDir(QStringLiteral("/dev/dri"))
                .entryList({QStringLiteral("renderD*")}, QDir::System)
                .isEmpty();
#else
    return true;
#endif
}

GlCapabilities GlCapabilities::probe()
{
    GlCapabilities capabilities;
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal"))
        return capabilities;
    // Creating a context loads the driver, and a software one stays in memory
    // (tens of megabytes) for nothing.
    if (!mayHaveHardware())
        return capabilities;

    QOpenGLContext context;
    if (!context.create())
        return capabilities;
    QOffscreenSurface surface;
    surface.setFormat(context.format());
    surface.create();
    if (!surface.isValid() || !context.makeCurrent(&surface))
        return capabilities;

    QOpenGLFunctions *gl = context.functions();
    capabilities.contextCreated = true;
    capabilities.renderer =
        QString::fromLatin1(reinterpret_cast<const char *>(gl->glGetString(GL_RENDERER)));
    gl->glGetIntegerv(GL_MAX_TEXTURE_SIZE, &capabilities.maxTextureSize);
    context.doneCurrent();
    return capabilities;
}
