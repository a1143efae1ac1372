// Statement references: a block reference as a content record holds it, and
// the references of a custom lesson (the current schema with seventy, the
// older one with fifty, padded when fourteen characters long), read against
// a small bank written by the program's own writer.
//
// Input: the first line is the block reference; each further line is one
// lesson reference, Quesito1 onwards. An odd first byte picks the older
// schema.

#include "fuzz_support.h"

#include "base/globals.h"
#include "base/reports.h"
#include "config/settings.h"
#include "platform/dataset/data_table.h"
#include "quiz/quiz_bank.h"
#include "quiz/sample_banks.h"

ZIRO_FUZZ_START

namespace {

class FirstRandom : public ziro::QuizRandom {
public:
    int draw(int n) override { return n; }
};

struct Bench {
    ziro::Globals g;
    ziro::Config config;
    ziro::NullReports reports;
    FirstRandom random;
    ziro::QuizBank bank{g, config, reports, random};

    Bench()
    {
        ziro::DataTable table;
        const QString path = ziro::fuzz::scratchFolder() + QStringLiteral("/bank.cds");
        if (!ziro::fillSampleBank(table, 40, 7) || !table.saveToFile(path, ziro::SaveFormat::Utf8)
            || !bank.bank().open(path))
            abort();
    }
};

Bench& bench()
{
    static Bench b;
    return b;
}

bool lessonOf(ziro::DataTable& lesson, bool older, const QStringList& references)
{
    QList<ziro::FieldDef> fields;
    const int count = older ? 50 : ziro::kMaxStatements;
    for (int k = 1; k <= count; ++k) {
        ziro::FieldDef f;
        f.name = QStringLiteral("Quesito%1").arg(k);
        f.type = ziro::FieldType::Text;
        fields << f;
    }
    if (!lesson.createFromFields(fields) || !lesson.append())
        return false;
    for (int k = 1; k <= count && k <= references.size(); ++k)
        lesson.setField(k - 1, references[k - 1]);
    return lesson.post();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Bench& b = bench();
    QStringList lines = QString::fromUtf8(ziro::fuzz::bytesOf(data, size)).split(QLatin1Char('\n'));
    const QString reference = lines.takeFirst();
    b.g.Edizione = (size > 0 && (data[0] & 2)) ? ziro::TModoQuiz::mqCD : ziro::TModoQuiz::mqAB;
    if (b.bank.LeggiNewQuiz(reference))
        ZIRO_FUZZ_CHECK(b.bank.list().NumAff >= 0 && b.bank.list().NumAff <= ziro::kMaxStatements);

    ziro::DataTable lesson;
    if (!lessonOf(lesson, size > 0 && (data[0] & 1), lines))
        return 0;
    b.bank.LeggiCustomQuiz(lesson);
    const ziro::StatementList& list = b.bank.list();
    ZIRO_FUZZ_CHECK(list.NumAff >= 0 && list.NumAff <= ziro::kMaxStatements);
    return 0;
}
