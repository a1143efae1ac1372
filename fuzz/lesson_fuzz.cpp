// Lesson files as they come from a colleague's stick: read, offered the
// upgrade when of the older schema, and listed. Whatever the bytes, the file
// is either left exactly as it was or upgraded with its old bytes kept in a
// backup beside it.

#include "fuzz_support.h"

#include "authoring/lesson_store.h"
#include "base/reports.h"
#include "platform/dataset/data_table.h"

ZIRO_FUZZ_START

namespace {

class Agreeing : public ziro::NullReports {
public:
    bool Conferma(const QString&, const QString&) override { return true; }
};

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        abort();
    return file.readAll();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = ziro::fuzz::bytesOf(data, size);
    QDir folder(ziro::fuzz::scratchFolder() + QStringLiteral("/Lezioni"));
    folder.removeRecursively();
    folder.mkpath(QStringLiteral("."));
    const QString path = folder.filePath(QStringLiteral("Incroci.xml"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            abort();
    }

    Agreeing reports;
    const ziro::UpgradeOutcome outcome = ziro::upgradeLessonFile(path, reports);
    if (outcome.result == ziro::UpgradeOutcome::Result::Upgraded) {
        ZIRO_FUZZ_CHECK(contentOf(outcome.backupPath) == bytes);
        ziro::DataTable upgraded;
        ZIRO_FUZZ_CHECK(upgraded.loadFromFile(path));
        ZIRO_FUZZ_CHECK(ziro::isCurrentLessonSchema(upgraded));
    } else {
        ZIRO_FUZZ_CHECK(contentOf(path) == bytes);
    }

    ziro::DataTable lesson;
    if (lesson.loadFromFile(path)) {
        for (lesson.first(); !lesson.eof(); lesson.next())
            ziro::lessonEdition(lesson);
    }
    for (const ziro::LessonEntry& entry : ziro::listLessons(folder.path()))
        ZIRO_FUZZ_CHECK(!entry.display.isEmpty());
    return 0;
}
