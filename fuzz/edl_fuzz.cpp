// A record's film cut "start/end": never a negative frame, and its frames
// turn into positions without overflow.

#include "fuzz_support.h"

#include "viewers/book.h"
#include "viewers/film.h"

ZIRO_FUZZ_START

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(ziro::fuzz::bytesOf(data, size));
    const ziro::EdlRange range = ziro::parseEdl(text);
    ZIRO_FUZZ_CHECK(range.inizio >= 0 && range.fine >= 0);
    ZIRO_FUZZ_CHECK(range.inizio <= ziro::kMaxEdlFrame && range.fine <= ziro::kMaxEdlFrame);
    ziro::frameOf(ziro::unitsOfFrame(range.inizio));
    ziro::frameOf(ziro::unitsOfFrame(range.fine));
    ziro::parsePageNumber(text);
    return 0;
}
