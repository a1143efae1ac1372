#pragma once

#include "base/reports.h"

#include <QByteArray>
#include <QObject>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringList>


namespace ziro {

struct Globals;
class SystemServices;

// The three check boxes of the configuration window that steer reports.
struct ReportOptions {
    bool noError = false;       // CBNoError "&Nascondi errori": logged, never shown
    bool writeLog = false;      // CBlog: every report is logged, the file written at exit
    bool hideFotoError = true;  // CBHideFotoError: photo and book page reports not shown
};

// What one report shows and how.
struct ReportLines {
    QString riga1;
    QString riga2;
    int width = 460;
    bool modal = true;
    bool shown = true;
};

// Height of the report window.
inline constexpr int Hgh = 96;
inline constexpr int kConfirmationWidth = 545;
inline constexpr int kDebugWidth = 545;
inline constexpr int kDebugHeight = 260;

// The two lines and the presentation of a report of kind `codice`. A debug
// trace gives the diagnostic utility's lines; `confirmation` is the yes/no
// form of a message (545 wide, always modal).
ReportLines reportLines(ReportKind codice, const QString& contesto, const QString& nome,
                        bool confirmation = false);

// Whether the options keep a report with this context off the screen.
bool isReportHidden(const ReportOptions& options, const QString& contesto);

// The log's first two lines.
QStringList errorLogHeader(const QString& programFile);
// The whole log file: every line followed by CR LF, in Windows-1252.
QByteArray errorLogBytes(const QStringList& lines);

// The global-state dump of the utility's "Var. Glob." button.
QString globalVariablesText(const Globals& g);
// The record count line of the utility's "DataBase" button.
QString databaseInfoText(int count, const QString& firstTopic, const QString& lastTopic);

// Top-left corner of a window of size `own` laid over a main window of size
// `main`, in the main window's coordinates.
QPoint reportPosition(QSize main, QSize own, bool menuOrConfigVisible);

// The report window as the reporter sees it.
class ReportView {
public:
    virtual ~ReportView() = default;
    virtual void beep() = 0;
    // Modal reports return once closed; notices return at once.
    virtual void showReport(const ReportLines& lines) = 0;
    // Blocks until answered; true means "OK".
    virtual bool askConfirmation(const ReportLines& lines) = 0;
    // Opens (or refreshes) the diagnostic utility, non-modal.
    virtual void showDebug(const QString& riga1, const QString& riga2) = 0;
    virtual bool isVisible() const = 0;
};

// The program's single channel for failures, notices and yes/no questions.
// It never throws and never fails: a log that cannot be written is skipped.
class Reporter : public QObject, public Reports {
    Q_OBJECT
public:
    // Starts the log with its header; `globals.ProgramFile` must be set.
    // `system` gives the beep, so that reports made before the windows exist
    // still sound; without it the view beeps.
    explicit Reporter(Globals& globals, SystemServices* system = nullptr);

    void setView(ReportView* view) { m_view = view; }
    ReportView* view() const { return m_view; }

    void Emsg(ReportKind Codice, const QString& Contesto, const QString& Nome) override;
    bool Conferma(const QString& Contesto, const QString& Nome) override;
    void Debug(const QString& Contesto, const QString& Stringa) override;
    bool reportWindowVisible() const override { return m_view && m_view->isVisible(); }

    // Clears debug mode, as the utility's "OK" does.
    void leaveDebugMode();

    QStringList& ErrorLog() { return m_log; }
    const QStringList& ErrorLog() const { return m_log; }
    QString logPath() const;
    // Rewrites "ERROR.LOG" whole; false when it could not be written.
    bool saveLog();

    ReportOptions& options() { return m_options; }
    Globals& globals() { return m_globals; }


Q_SIGNALS:
    // A confirmation's "OK" or the utility's "OK" left debug mode, so that
    // the settings' debug tick follows.
    void debugModeLeft();

private:
    void log(const QString& riga1, const QString& riga2);
    void beep();
    void toStderr(const QString& riga1, const QString& riga2);

    Globals& m_globals;
    ReportView* m_view = nullptr;
    SystemServices* m_system = nullptr;
    ReportOptions m_options;
    QStringList m_log;
    bool m_soloLog = false;
};

}  // namespace ziro
