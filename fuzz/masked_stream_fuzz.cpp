// The masked film stream: a file of each masked kind is refused unless it
// carries its mask, and one that is taken reads back as the file with its
// leading bytes restored, at any offset and length, the same bytes the
// installation tools' restore puts on disk.

#include "fuzz_support.h"

#include "platform/files/mask_kinds.h"
#include "platform/files/masked_media.h"
#include "platform/files/masked_stream.h"

#include <vector>

ZIRO_FUZZ_START

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    // The first byte picks the name and where the reads go; the rest is the file.
    const unsigned pick = data[0];
    const QByteArray bytes = ziro::fuzz::bytesOf(data + 1, size - 1);
    static const char* const names[] = {"F.KXV", "F.KXA", "F.KXS", "F.MPG", "F.kxs", "F.DAT"};
    const QString name = QString::fromLatin1(names[pick % 6]);
    ziro::MaskedStream stream;
    QString error;
    if (!stream.open(ziro::fuzz::scratchFile(name, bytes), &error)) {
        ZIRO_FUZZ_CHECK(!error.isEmpty());
        return 0;
    }
    ZIRO_FUZZ_CHECK(stream.size() == bytes.size());
    QByteArray expected = bytes;
    bool masked = false;
    if (const std::optional<ziro::MaskKind> kind = ziro::maskKindOf(name, &masked); kind && masked) {
        ZIRO_FUZZ_CHECK(bytes.startsWith(kind->maskBytes));
        expected.replace(0, kind->restoreBytes.size(), kind->restoreBytes);
    }
    const qint64 n = bytes.size();
    std::vector<char> buffer(std::size_t(n) + 8);
    for (const qint64 offset : {qint64(0), qint64(1), qint64(pick / 6 % 5), n / 2, n - 1, n, n + 3}) {
        for (const qint64 length : {qint64(0), qint64(1), qint64(3), n, n + 8}) {
            if (offset < 0 || length > qint64(buffer.size()))
                continue;
            const qint64 got = stream.read(offset, buffer.data(), length);
            const qint64 want = qBound(qint64(0), qMin(length, n - offset), n);
            ZIRO_FUZZ_CHECK(got == want);
            ZIRO_FUZZ_CHECK(QByteArray(buffer.data(), got) == expected.mid(offset, got));
        }
    }
    ZIRO_FUZZ_CHECK(stream.read(-1, buffer.data(), 1) == -1);
    stream.close();

    // Restored on disk, a masked file holds what the stream read.
    const QString path = ziro::fuzz::scratchFolder() + QLatin1Char('/') + name;
    const ziro::MaskOutcome restored = name.endsWith(QLatin1String("KXS"), Qt::CaseInsensitive)
        ? ziro::SmascheraMP4(path)
        : ziro::SmascheraMedia(path);
    if (restored.ok) {
        ZIRO_FUZZ_CHECK(masked);
        QFile file(restored.path);
        ZIRO_FUZZ_CHECK(file.open(QIODevice::ReadOnly) && file.readAll() == expected);
        QFile::remove(restored.path);
    }
    return 0;
}
