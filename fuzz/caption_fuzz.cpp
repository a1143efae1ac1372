// Caption records as shared content files and lessons carry them: read
// leniently, and what is written from a reading reads back the same and
// writes the same bytes again.

#include "fuzz_support.h"

#include "viewers/photo_caption.h"

ZIRO_FUZZ_START

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString record = QString::fromUtf8(ziro::fuzz::bytesOf(data, size));
    const ziro::CaptionReading reading = ziro::readCaption(record);
    ZIRO_FUZZ_CHECK(reading.fieldsApplied >= 0 && reading.fieldsApplied <= 24);
    ziro::captionBackgroundRect(reading.caption);
    ziro::singleLineHeight(reading.caption.fontSize);

    const QString written = ziro::writeCaption(reading.caption);
    if (written.isEmpty())
        return 0;
    const ziro::CaptionReading again = ziro::readCaption(written);
    ZIRO_FUZZ_CHECK(again.complete);
    ZIRO_FUZZ_CHECK(ziro::writeCaption(again.caption) == written);
    return 0;
}
