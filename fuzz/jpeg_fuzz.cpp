// JPEG pictures through libjpeg-turbo, and the picture loader that picks a
// decoder by content.

#include "fuzz_support.h"

#include "controls/jpeg_loader.h"

ZIRO_FUZZ_START

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = ziro::fuzz::bytesOf(data, size);
    QString error;
    const std::optional<QImage> picture = ziro::decodeJpeg(bytes, &error);
    if (picture)
        ZIRO_FUZZ_CHECK(!picture->isNull());
    else
        ZIRO_FUZZ_CHECK(!error.isEmpty() || !ziro::looksLikeJpeg(bytes));
    ziro::loadPictureFile(ziro::fuzz::scratchFile(QStringLiteral("P.JPG"), bytes), &error);
    return 0;
}
