// Colour texts of the settings and caption records: whatever reads as a
// colour writes as a text that reads as the same colour.

#include "fuzz_support.h"

#include "config/colour_text.h"

ZIRO_FUZZ_START

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(ziro::fuzz::bytesOf(data, size));
    const std::optional<QColor> colour = ziro::colourFromText(text);
    if (!colour)
        return 0;
    ZIRO_FUZZ_CHECK(colour->isValid());
    const std::optional<QColor> again = ziro::colourFromText(ziro::colourToText(*colour));
    ZIRO_FUZZ_CHECK(again && again->rgb() == colour->rgb());
    return 0;
}
