#include "content/content_table.h"

#include "base/reports.h"

#include <QFileInfo>

namespace ziro {

namespace {

// The indexes the program relies on, and the topic order.
bool addContentIndexes(DataTable& table, QString* error)
{
    table.AggiungiIndice(QStringLiteral("_Argomento"), QStringLiteral("Argomento"),
                         IndexOption::Descending);
    table.AggiungiIndice(QStringLiteral("_Nome segnale"), QStringLiteral("Nome segnale"),
                         IndexOption::Descending);
    table.AggiungiIndice(QStringLiteral("_NumRec"), QStringLiteral("NumRec"),
                         IndexOption::Primary);
    return table.setIndexFieldNames(QStringLiteral("Argomento;NumRec"), error);
}

}  // namespace

bool openContentTable(DataTable& table, const QString& path, QString* error)
{
    // Edits of the table being left are written back first; when that fails
    // the table stays as it was, rather than losing them to the new file.
    if (table.isOpen() && !table.close(error))
        return false;
    table.setFileName(path);
    if (!table.open(error))
        return false;
    return addContentIndexes(table, error);
}

bool switchContentTable(DataTable& table, const QString& path, QString* error)
{
    if (table.isOpen() && table.saveOnClose() && table.isModified() &&
        !table.saveToFile(table.fileName(), DataTable::saveFormatFor(table.fileName()), error))
        return false;
    // Read before anything is let go: a file that does not load leaves the
    // table, its name and its position as they were.
    if (!table.loadFromFile(path, error))
        return false;
    // A readable file that is not a content table gives the old one back.
    const QString topic = QStringLiteral("Argomento"), number = QStringLiteral("NumRec");
    if (table.fieldIndex(topic) < 0 || table.fieldIndex(number) < 0) {
        if (error)
            *error = path + QStringLiteral(": manca il campo ") +
                     (table.fieldIndex(topic) < 0 ? topic : number);
        QString reopenError;
        if (!openContentTable(table, table.fileName(), &reopenError) && error)
            *error += QStringLiteral("; ") + reopenError;
        return false;
    }
    table.setFileName(path);
    return addContentIndexes(table, error);
}

StartupTableResult openStartupTable(DataTable& table, const QString& path)
{
    StartupTableResult result;
    QString error;
    if (openContentTable(table, path, &error)) {
        result.opened = true;
        return result;
    }
    if (table.isOpen() && table.fileName() == path) {
        // Opened, but a later step failed: the table is still usable.
        result.opened = true;
        result.message = QStringLiteral("ERRORE di startup (fase IV)\r\n") + error;
        return result;
    }
    result.fatal = true;
    result.message = QStringLiteral("ERRORE di startup (fase IV)\r\nDatabase ") + path +
                     QStringLiteral(" non aperto (FileExist: ") +
                     (QFileInfo::exists(path) ? QStringLiteral("True") : QStringLiteral("False")) +
                     QStringLiteral(")\r\n") + error + QStringLiteral("\r\n") +
                     QString::fromUtf8("Errore irreversibile, l'applicazione sarà terminata.");
    return result;
}

void MissingFieldLog::attach(DataTable& table)
{
    m_table = &table;
    table.setOnMissingField([this](const QString& name) {
        const QString key = (m_table ? m_table->fileName() : QString()) + QLatin1Char('|') +
                            name.toCaseFolded();
        if (m_logged.contains(key))
            return;
        m_logged.insert(key);
        m_reporter.Emsg(ReportKind::LogOnly, QStringLiteral("Campo mancante nella tabella ") +
                                (m_table ? m_table->fileName() : QString()),
                        name);
    });
}

}  // namespace ziro
