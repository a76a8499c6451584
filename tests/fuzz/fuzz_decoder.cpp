// libFuzzer target: any bytes, decoded the way the program decodes a file.
// Built with clang's -fsanitize=fuzzer,address,undefined (see
// tests/fuzz/CMakeLists.txt) and run on the corpus in tests/corpus.
#include "document/imagedecoder.h"

#include <QGuiApplication>

#include <cstddef>
#include <cstdint>

// The leaks of system libraries that tests/lsan.supp lists: the caches
// fontconfig fills the first time an SVG's text needs a font, and the AV1 data
// libheif drops when dav1d refuses it.
extern "C" const char *__lsan_default_suppressions()
{
    return "leak:libfontconfig.so\nleak:libdbus-1.so\nleak:libdav1d.so\n";
}

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    // The image format plugins (JPEG, GIF, TIFF, WebP, ICO) are found through
    // the application object; the text of an SVG needs the fonts of a GUI
    // one (offscreen unless another platform is asked for).
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication application(*argc, *argv);
    ImageDecoder::installAllocationLimit();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    ImageDecoder decoder(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    if (decoder.decode() == ImageDecoder::Result::Decoded) {
        // Touch every pixel, so reads of memory the decoder never owned show.
        const QImage image = decoder.image();
        volatile quint32 sum = 0;
        for (int y = 0; y < image.height(); ++y)
            sum = sum + image.constScanLine(y)[image.bytesPerLine() - 1];
    }
    return 0;
}
