// Masked bitmaps: the header restore and the BMP decode, from bytes and
// from a file.

#include "fuzz_support.h"

#include "controls/kxb.h"

ZIRO_FUZZ_START

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = ziro::fuzz::bytesOf(data, size);
    const std::optional<QImage> fromBytes = ziro::decodeKxb(bytes);
    if (fromBytes)
        ZIRO_FUZZ_CHECK(!fromBytes->isNull() && fromBytes->width() > 0 && fromBytes->height() > 0);
    const std::optional<QImage> fromFile = ziro::loadKxbFile(ziro::fuzz::scratchFile(QStringLiteral("P.KXB"), bytes));
    ZIRO_FUZZ_CHECK(fromFile.has_value() == fromBytes.has_value());
    return 0;
}
