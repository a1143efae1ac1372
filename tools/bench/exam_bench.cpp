#include "exam_bench.h"

#include "bank_bench.h"
#include "bench_util.h"
#include "base/globals.h"
#include "base/reports.h"
#include "config/settings.h"
#include "platform/dataset/data_table.h"
#include "quiz/exam.h"
#include "quiz/quiz_bank.h"
#include "quiz/sample_banks.h"

#include <QDir>
#include <QTemporaryDir>

namespace ziro::bench {

namespace {

// 7,000 statements as the official bank has them: 25 chapters of 28
// sub-topics of 10 statements, keyed chapter, sub-topic, part.
void writeExamBank(const QString& path)
{
    DataTable table;
    table.setSaveOnClose(false);
    QString error;
    if (!table.createFromFields(questionBankFields(), &error))
        fail(error);
    for (int c = 1; c <= 25; ++c)
        for (int s = 1; s <= 28; ++s)
            for (int i = 1; i <= 10; ++i) {
                BankRow r;
                r.Blocco = QStringLiteral("%1%2%3").arg(c, 2, 10, QLatin1Char('0')).arg(s, 2, 10, QLatin1Char('0')).arg(1);
                r.id = QString::number(i);
                r.Risposta = (c + s + i) % 2 == 0;
                r.Testo = QStringLiteral("Affermazione %1 del capitolo %2, argomento %3").arg(i).arg(c).arg(s);
                r.Figura = QString::number(100 + (c * 28 + s) % 400);
                r.Domanda = QStringLiteral("1");
                if (!appendBankRow(table, r, &error))
                    fail(error);
            }
    if (!table.saveToFile(path, SaveFormat::Utf8, &error))
        fail(error);
}

void writeQuizBank(const QString& path)
{
    DataTable table;
    table.setSaveOnClose(false);
    QString error;
    if (!fillSampleBank(table, 7000, 10, &error) || !table.saveToFile(path, SaveFormat::Utf8, &error))
        fail(QStringLiteral("cannot generate a bank: ") + error);
}

}  // namespace

int runExam(int runs)
{
    QTemporaryDir examDir, quizDir;
    if (!examDir.isValid() || !quizDir.isValid())
        fail(QStringLiteral("cannot make a temporary folder"));
    const QString examPath = QDir(examDir.path()).filePath(QStringLiteral("NQM2016.XML"));
    writeExamBank(examPath);
    writeQuizBank(QDir(quizDir.path()).filePath(QStringLiteral("NQM2016.XML")));

    QuestionBank bank;
    QString error;
    if (!bank.open(examPath, &error))
        fail(error);
    auto start = Clock::now();
    ExamDraw first = drawExam(bank, 1);
    const double firstMs = msSince(start);
    if (!first.ok())
        fail(first.error);
    std::vector<double> draws;
    for (int i = 0; i < runs; ++i) {
        start = Clock::now();
        const ExamDraw d = drawExam(bank, static_cast<std::uint32_t>(2 + i));
        draws.push_back(msSince(start));
        if (!d.ok())
            fail(d.error);
    }
    const double drawMs = median(draws);
    const double openMs = openBlockMs(quizDir.path(), runs);
    std::printf("draw_first_ms %.4f\ndraw_ms %.4f\nopen_ms %.4f\nratio %.2f\n", firstMs, drawMs, openMs,
                openMs > 0 ? drawMs / openMs : 0.0);
    return 0;
}

}  // namespace ziro::bench
