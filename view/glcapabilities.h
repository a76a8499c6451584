#ifndef LUMENO_GLCAPABILITIES_H
#define LUMENO_GLCAPABILITIES_H

#include <QString>

// What the platform's OpenGL can do, found by creating a context once.
struct GlCapabilities
{
    bool contextCreated = false;
    QString renderer; // GL_RENDERER of the context, empty without one
    int maxTextureSize = 0;

    // An OpenGL viewport pays only on a hardware renderer: a software one is
    // many times slower than the raster viewport.
    bool worthUsing() const { return contextCreated && !isSoftwareRenderer(renderer); }

    static bool isSoftwareRenderer(const QString &renderer);
    // Whether the machine may have a hardware OpenGL driver at all (on Linux:
    // a DRM render node exists).
    static bool mayHaveHardware();
    // Creates a context on an offscreen surface and reads its renderer. On
    // platforms that cannot host an OpenGL widget (offscreen, minimal), and
    // where no hardware driver can exist, no context is attempted.
    static GlCapabilities probe();
};

#endif
