// libFuzzer target: any bytes, decoded the way the program decodes a file.
// Built with clang's -fsanitize=fuzzer,address,undefined (see
// tests/fuzz/CMakeLists.txt) and run on the corpus in tests/corpus.
#include "document/imagedecoder.h"

#include <QCoreApplication>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    // The image format plugins (JPEG, GIF, TIFF, WebP) are found through the
    // application object.
    static QCoreApplication application(*argc, *argv);
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
