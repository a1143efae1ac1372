#include "bank_bench.h"

#include "bench_util.h"
#include "base/globals.h"
#include "base/reports.h"
#include "config/settings.h"
#include "platform/dataset/data_table.h"
#include "quiz/quiz_bank.h"
#include "quiz/sample_banks.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <memory>

namespace ziro::bench {

namespace {

double timeBank(const QString& path)
{
    auto bank = std::make_unique<QuestionBank>();
    QString error;
    const auto start = Clock::now();
    const bool ok = bank->open(path, &error);
    const double ms = msSince(start);
    if (!ok)
        fail(error);
    benchmark::DoNotOptimize(bank->blockCount());
    return ms;
}

double timePugixml(const std::string& path)
{
    auto doc = std::make_unique<pugi::xml_document>();
    const auto start = Clock::now();
    const pugi::xml_parse_result result = doc->load_file(path.c_str());
    const double ms = msSince(start);
    if (!result)
        fail(QStringLiteral("pugixml cannot parse %1: %2").arg(QString::fromStdString(path), QLatin1String(result.description())));
    benchmark::DoNotOptimize(doc->first_child());
    return ms;
}

void printLoad(const QString& path, int runs)
{
    const std::string native = QFile::encodeName(path).toStdString();
    timeBank(path);  // warm the page cache and the allocator
    timePugixml(native);
    std::vector<double> bank, pugi;
    for (int i = 0; i < runs; ++i) {
        bank.push_back(timeBank(path));
        pugi.push_back(timePugixml(native));
    }
    QuestionBank counted;
    counted.open(path);
    std::printf("bank_ms %.3f\npugixml_ms %.3f\nblocks %d\nstatements %d\n", median(bank), median(pugi),
                counted.blockCount(), counted.statementCount());
}

// Writes an A-B bank of `statements` into `folder` as the edition's file.
void generate(const QString& folder, int statements)
{
    DataTable table;
    table.setSaveOnClose(false);
    QString error;
    if (!fillSampleBank(table, statements, 10, &error) ||
        !table.saveToFile(QDir(folder).filePath(QStringLiteral("NQM2016.XML")), SaveFormat::Utf8, &error))
        fail(QStringLiteral("cannot generate a bank of %1 statements: %2").arg(statements).arg(error));
}

// Median time of loading a 10-statement block, over blocks spread across
// the whole bank.
}  // namespace

double openBlockMs(const QString& folder, int loads)
{
    Globals g;
    g.dirs.DirProgram = folder + QLatin1Char('/');
    Config config;
    NullReports reports;
    SystemQuizRandom random;
    QuizBank quiz(g, config, reports, random);
    quiz.CaricaBancaQuesiti(1);
    const int blocks = quiz.bank().blockCount();
    if (blocks == 0)
        fail(QStringLiteral("the generated bank did not load"));
    std::vector<double> times;
    for (int i = 0; i < loads; ++i) {
        const QString reference = QStringLiteral("Ad%1").arg(10001 + (i * 7919) % blocks);
        const auto start = Clock::now();
        const bool ok = quiz.LeggiNewQuiz(reference);
        times.push_back(msSince(start));
        if (!ok || quiz.list().NumAff != 10)
            fail(QStringLiteral("block %1 did not load").arg(reference));
    }
    return median(times);
}

int runBank(const QString& file, int runs)
{
    if (!file.isEmpty()) {
        if (!QFileInfo(file).isFile())
            fail(QStringLiteral("no such file: ") + file);
        printLoad(file, runs);
        return 0;
    }
    QTemporaryDir small, large;
    if (!small.isValid() || !large.isValid())
        fail(QStringLiteral("cannot make a temporary folder"));
    generate(small.path(), 7000);
    generate(large.path(), 70000);
    printLoad(QDir(small.path()).filePath(QStringLiteral("NQM2016.XML")), runs);
    // Interleaved rounds, so a busy moment hurts both sizes alike.
    std::vector<double> open, open10x;
    for (int round = 0; round < 5; ++round) {
        open.push_back(openBlockMs(small.path(), 200));
        open10x.push_back(openBlockMs(large.path(), 200));
    }
    std::printf("open_ms %.4f\nopen_ms_10x %.4f\n", median(open), median(open10x));
    return 0;
}

}  // namespace ziro::bench
