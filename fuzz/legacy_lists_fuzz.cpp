// The older quiz format's list files: the key map "LNG0000.MAP" and the
// text lists, decoded and cut into lines as the quiz reads them.
//
// Input: the map file, then a NUL byte, then a text list.

#include "fuzz_support.h"

#include "platform/files/text_codec.h"
#include "quiz/quiz_languages.h"

ZIRO_FUZZ_START

namespace {

QStringList linesOf(const QByteArray& bytes)
{
    QStringList lines = ziro::decodeText(bytes).split(QLatin1Char('\n'));
    for (QString& line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = ziro::fuzz::bytesOf(data, size);
    const qsizetype cut = bytes.indexOf('\0');
    const QStringList mapLines = linesOf(cut < 0 ? bytes : bytes.left(cut));
    const QStringList textLines = linesOf(cut < 0 ? QByteArray() : bytes.mid(cut + 1));

    const ziro::LegacyKeyMap map = ziro::LegacyKeyMap::parse(mapLines);
    ZIRO_FUZZ_CHECK(map.VL.size() == map.NQ.size());
    for (const QString& key : map.VL) {
        const QString newKey = map.MatchNewq(key);
        QString error;
        for (const int maxText : {0, 5, 200}) {
            const std::optional<ziro::LegacyEntry> entry = ziro::readLegacyEntry(textLines, newKey, maxText, &error);
            if (entry) {
                ZIRO_FUZZ_CHECK(entry->question.size() <= maxText);
                ziro::withoutNumberGroup(entry->question);
            }
        }
    }
    for (const QString& line : textLines)
        ziro::withoutNumberGroup(line);
    return 0;
}
