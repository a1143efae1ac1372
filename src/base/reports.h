#pragma once

// How every part of the program reports failures, notices and yes/no
// questions: one interface, whatever shows them. The report window and the
// error log behind it live with the diagnostics (diag/reporter.h).

#include <QString>

namespace ziro {

// What a report is: it decides the two lines shown, the window's width and
// whether the caller waits. The numbers are the ones the error log has always
// carried; kinds below 10 are failures, and their first line begins with
// "Errore, ".
enum class ReportKind {
    Debug = 0,        // a trace of the diagnostic utility
    MissingFile = 1,  // "Il file <name> non esiste"
    FileIo = 2,       // "Problema I/O sul file <name>"
    FolderIo = 3,     // "Problema sulla dir. <name>"
    Message = 10,     // the context and the name as they stand
    AtStart = 11,     // a notice at the start of a walk: go forward or to the menu
    AtEnd = 12,       // a notice at its end: go back or to the menu
    BadNumber = 13,   // a typed number that leads nowhere
    OtherTopic = 14,  // a topic with nothing to show
    Notice = 15,      // the context and the name; the program goes on
    LogOnly = 20,     // never shown; the log file is written at once
};

// The number a kind is known by in the log.
constexpr int reportCode(ReportKind kind)
{
    return static_cast<int>(kind);
}

// Emsg and the confirmation protocol. Reporting never throws and never
// fails: what cannot be shown is logged, what cannot be logged is dropped.
class Reports {
public:
    virtual ~Reports() = default;

    virtual void Emsg(ReportKind Codice, const QString& Contesto, const QString& Nome) = 0;
    // Asks a yes/no question; true means "OK".
    virtual bool Conferma(const QString& Contesto, const QString& Nome) = 0;
    // A trace of debug mode; called only while debug mode is on.
    virtual void Debug(const QString& Contesto, const QString& Stringa) = 0;
    // Whether the report window is on show.
    virtual bool reportWindowVisible() const = 0;
};

// Reports to nobody: nothing is shown and no question is agreed to.
class NullReports : public Reports {
public:
    void Emsg(ReportKind, const QString&, const QString&) override {}
    bool Conferma(const QString&, const QString&) override { return false; }
    void Debug(const QString&, const QString&) override {}
    bool reportWindowVisible() const override { return false; }
};

}  // namespace ziro
