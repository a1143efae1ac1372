#pragma once

// Question banks written into a temporary program folder, and stand-ins for
// the reports, the quiz window and the random order.

#include "base/reports.h"
#include "platform/dataset/data_table.h"
#include "quiz/quiz_list_port.h"
#include "quiz/quiz_order.h"
#include "quiz/sample_banks.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <deque>
#include <gtest/gtest.h>

namespace ziro::test {

struct RecordedReport {
    ReportKind kind;
    QString context;
    QString name;
};

struct RecordingReports : Reports {
    std::vector<RecordedReport> reports;
    void Emsg(ReportKind k, const QString& c, const QString& n) override { reports.push_back({k, c, n}); }
    bool Conferma(const QString&, const QString&) override { return true; }
    void Debug(const QString&, const QString&) override {}
    bool reportWindowVisible() const override { return false; }
    int count(ReportKind kind) const
    {
        return int(std::count_if(reports.begin(), reports.end(), [kind](const auto& r) { return r.kind == kind; }));
    }
};

struct RecordingPort : QuizListPort {
    QStringList calls;
    QStringList messages;
    bool control = false;
    int beeps = 0;
    void ResettaSelezione(int n) override { calls << QStringLiteral("reset %1").arg(n); }
    void VediInfo() override { calls << QStringLiteral("info"); }
    void numberGrid(int count) override { calls << QStringLiteral("grid %1").arg(count); }
    void showMessage(const QString& text) override { messages << text; }
    bool controlHeld() const override { return control; }
    void beep() override { ++beeps; }
};

// Answers the draws it was given, then 1 for ever.
struct ScriptedRandom : QuizRandom {
    std::deque<int> draws;
    int calls = 0;
    int draw(int n) override
    {
        ++calls;
        if (draws.empty())
            return 1;
        const int r = draws.front();
        draws.pop_front();
        return r;
    }
};

inline BankRow row(const char* blocco, const char* id, bool vero, const QString& testo, const char* figura = "",
                   const char* domanda = "1", const char* info2 = "")
{
    BankRow r;
    r.Blocco = QLatin1String(blocco);
    r.id = QLatin1String(id);
    r.Risposta = vero;
    r.Testo = testo;
    r.Lingua1 = QStringLiteral("fr ") + testo;
    r.Lingua2 = QStringLiteral("de ") + testo;
    r.Difficolta = QString::fromLatin1(id).toInt() % 11;
    r.Figura = QLatin1String(figura);
    r.Domanda = QLatin1String(domanda);
    r.Info2 = QString::fromUtf8(info2);
    r.Audio1 = QStringLiteral("%1_%2").arg(QLatin1String(blocco), QLatin1String(id));
    return r;
}

// `n` statements of one block, ids 1..n, texts "<block> n".
inline std::vector<BankRow> blockRows(const char* blocco, int n)
{
    std::vector<BankRow> rows;
    for (int i = 1; i <= n; ++i) {
        const QByteArray id = QByteArray::number(i);
        rows.push_back(row(blocco, id.constData(), i % 2 == 1,
                           QStringLiteral("%1 %2").arg(QLatin1String(blocco)).arg(i)));
    }
    return rows;
}

inline void writeBank(const QString& path, const std::vector<BankRow>& rows,
                      SaveFormat format = SaveFormat::Utf8)
{
    DataTable t;
    QString error;
    ASSERT_TRUE(t.createFromFields(questionBankFields(), &error)) << qPrintable(error);
    for (const BankRow& r : rows)
        ASSERT_TRUE(appendBankRow(t, r, &error)) << qPrintable(error);
    ASSERT_TRUE(t.saveToFile(path, format, &error)) << qPrintable(error);
}

inline QByteArray contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

}  // namespace ziro::test
