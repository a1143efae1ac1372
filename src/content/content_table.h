#pragma once

#include "platform/dataset/data_table.h"

#include <QSet>
#include <QString>

namespace ziro {

class Reports;

// Opens a content table the way the main window does: the whole file, then
// the three indexes the program relies on, ordered by topic and record.
bool openContentTable(DataTable& table, const QString& path, QString* error = nullptr);

// Replaces an open table with another file (an edition change). Edits of
// the table being left are written back first; when that or the new file's
// load fails, the table keeps its file and data and the result is false.
bool switchContentTable(DataTable& table, const QString& path, QString* error = nullptr);

// How the first open at start went.
struct StartupTableResult {
    bool opened = false;  // the table is usable
    bool fatal = false;   // the program cannot go on
    QString message;      // what to show; empty when all went well
};

// The first open of the A-B table at start, with the messages of the
// main window's creation phase IV.
StartupTableResult openStartupTable(DataTable& table, const QString& path);

// Logs each field that the open table lacks once (kind 20) the first time
// a caller reads it, so that an old lesson file is visible in the log
// without a report in front of the class at every step.
class MissingFieldLog {
public:
    explicit MissingFieldLog(Reports& reporter) : m_reporter(reporter) {}
    void attach(DataTable& table);
    void reset() { m_logged.clear(); }

private:
    Reports& m_reporter;
    QSet<QString> m_logged;
    DataTable* m_table = nullptr;
};

}  // namespace ziro
