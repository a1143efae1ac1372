#pragma once

#include "base/reports.h"

#include <QStringList>

namespace ziro::test {

// Keeps every report as one line "<kind> <context> | <name>", and every
// question as "? <context>", answered with `answer`.
struct LoggingReports : Reports {
    QStringList log;
    bool answer = true;
    void Emsg(ReportKind kind, const QString& contesto, const QString& nome) override
    {
        log << QStringLiteral("%1 %2 | %3").arg(reportCode(kind)).arg(contesto, nome);
    }
    bool Conferma(const QString& contesto, const QString&) override
    {
        log << QStringLiteral("? ") + contesto;
        return answer;
    }
    void Debug(const QString&, const QString&) override {}
    bool reportWindowVisible() const override { return false; }
};

}  // namespace ziro::test
