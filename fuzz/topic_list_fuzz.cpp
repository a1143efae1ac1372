// Topic list files: any bytes cut into rows, each row into its fields.

#include "fuzz_support.h"

#include "menus/topic_list.h"

ZIRO_FUZZ_START

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = ziro::fuzz::bytesOf(data, size);
    for (const ziro::TopicLine& row : ziro::parseTopicList(bytes)) {
        ZIRO_FUZZ_CHECK(row.title.size() <= 40);
        ZIRO_FUZZ_CHECK(row.code.size() <= 5);
        ZIRO_FUZZ_CHECK(row.selectable() == !row.code.isEmpty());
        ZIRO_FUZZ_CHECK(!row.text.contains(QLatin1Char('\n')) && !row.text.contains(QLatin1Char('\r')));
    }
    ziro::loadTopicList(ziro::fuzz::scratchFile(QStringLiteral("NA0.TXT"), bytes));
    return 0;
}
