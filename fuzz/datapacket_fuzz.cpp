// The table reader on any bytes, and a table it accepted written back in
// both forms (plain ASCII with references, as lessons are, and UTF-8) and
// read again: the values must come back as they were read.

#include "fuzz_support.h"

#include "platform/dataset/data_table.h"

ZIRO_FUZZ_START

namespace {

void checkRoundTrip(ziro::DataTable& table, ziro::SaveFormat format)
{
    const QByteArray written = table.toXml(format);
    ziro::DataTable again;
    QString error;
    if (!again.loadFromData(written, QStringLiteral("again"), &error)) {
        fprintf(stderr, "written table refused: %s\n", qPrintable(error));
        abort();
    }
    ZIRO_FUZZ_CHECK(again.fieldCount() == table.fieldCount());
    ZIRO_FUZZ_CHECK(again.recordCount() == table.recordCount());
    for (int r = 1; r <= table.recordCount(); ++r) {
        for (int f = 0; f < table.fieldCount(); ++f)
            ZIRO_FUZZ_CHECK(again.fieldTextAt(r, f) == table.fieldTextAt(r, f));
    }
    if (format == ziro::SaveFormat::Ascii) {
        for (const char c : written)
            ZIRO_FUZZ_CHECK(static_cast<unsigned char>(c) < 0x80);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ziro::DataTable table;
    QString error;
    if (!table.loadFromData(ziro::fuzz::bytesOf(data, size), QStringLiteral("fuzz"), &error)) {
        ZIRO_FUZZ_CHECK(!error.isEmpty());
        return 0;
    }
    checkRoundTrip(table, ziro::SaveFormat::Ascii);
    checkRoundTrip(table, ziro::SaveFormat::Utf8);
    return 0;
}
