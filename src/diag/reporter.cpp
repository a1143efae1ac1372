#include "diag/reporter.h"

#include "base/globals.h"
#include "platform/files/atomic_save.h"
#include "platform/files/text_codec.h"
#include "platform/system/system_services.h"

#include <QDir>

#include <cstdio>

namespace ziro {

namespace {
const QString kErrorPrefix = QStringLiteral("Errore, ");

QString bit(bool b)
{
    return b ? QStringLiteral("1") : QStringLiteral("0");
}
}  // namespace

ReportLines reportLines(ReportKind kind, const QString& contesto, const QString& nome,
                        bool confirmation)
{
    ReportLines r;
    if (kind == ReportKind::Debug) {
        r.riga1 = QStringLiteral("Modo DEBUG ") + contesto;
        r.riga2 = QStringLiteral("Check: ") + nome;
        r.width = kDebugWidth;
        r.modal = false;
        return r;
    }
    const int code = reportCode(kind);
    r.riga1 = (code >= 0 && code <= 9) ? kErrorPrefix + contesto : contesto;
    switch (kind) {
    case ReportKind::MissingFile:
        r.riga2 = QStringLiteral("Il file ") + nome + QStringLiteral(" non esiste");
        break;
    case ReportKind::FileIo: r.riga2 = QStringLiteral("Problema I/O sul file ") + nome; break;
    case ReportKind::FolderIo: r.riga2 = QStringLiteral("Problema sulla dir. ") + nome; break;
    case ReportKind::AtStart:
        r.riga2 = QStringLiteral("Andare avanti o selezionare il menù generale");
        break;
    case ReportKind::AtEnd:
        r.riga2 = QStringLiteral("Tornare indietro o selezionare il menù generale");
        break;
    case ReportKind::BadNumber:
        r.riga2 = QStringLiteral("Correggere o scrivere nuovamente il numero");
        break;
    case ReportKind::OtherTopic: r.riga2 = QStringLiteral("Selezionare un'altro argomento"); break;
    default:
        // Messages, notices and log lines show the name; so does a number
        // read back from elsewhere that names no kind, which would otherwise
        // repeat the previous report's second line.
        r.riga2 = nome;
        break;
    }
    if (kind == ReportKind::LogOnly) {
        r.shown = false;
        r.modal = false;
    } else if (kind == ReportKind::AtStart || kind == ReportKind::AtEnd
               || kind == ReportKind::Notice) {
        r.width = 375;
        r.modal = false;
    }
    if (confirmation) {
        r.width = kConfirmationWidth;
        r.modal = true;
        r.shown = true;
    }
    return r;
}

bool isReportHidden(const ReportOptions& options, const QString& contesto)
{
    if (options.noError)
        return true;
    if (!options.hideFotoError)
        return false;
    return contesto.startsWith(QLatin1String("prewiew foto"))
        || contesto == QLatin1String("display foto")
        || contesto == QLatin1String("display pagina libro")
        || contesto == QLatin1String("Argomento con Foto");
}

QStringList errorLogHeader(const QString& programFile)
{
    return {QStringLiteral("FILE ERROR.LOG : elenco errori e messaggi prodotti dal programma ")
                + QDir::toNativeSeparators(programFile),
            QStringLiteral("\r\r")};
}

QByteArray errorLogBytes(const QStringList& lines)
{
    QString text;
    for (const QString& line : lines) {
        text += line;
        text += QLatin1String("\r\n");
    }
    return encodeWindows1252(text);
}

QString globalVariablesText(const Globals& g)
{
    const TMdTemp& t = g.MdTemp;
    return QStringLiteral("Variabili globali:\rPASSsegnale(0 = solo domande): ") + bit(g.PASSsegnale)
        + QStringLiteral(", PASSdomanda(0 = solo segnali): ") + bit(g.PASSdomanda)
        + QStringLiteral(", LockLoop(1 blocco visione): ") + bit(g.LockLoop)
        + QStringLiteral(", SegnaleON(1 presenza in DB): ") + bit(g.SegnaleON)
        + QStringLiteral(", DomandaON(1 presenza in DB): ") + bit(g.DomandaON)
        + QStringLiteral(", Domanda(nome letto in DB): ") + g.Domanda
        + QStringLiteral(", Segnale(nome letto in DB): ") + g.Segnale
        + QStringLiteral(", SoloFoto(1 modo foto): ") + bit(g.SoloFoto)
        + QStringLiteral(", Custom(1 Lez. pers): ") + bit(g.Custom) + QStringLiteral("\r")
        + QStringLiteral("MTstatus(1 attivo): ") + bit(t.Status)
        + QStringLiteral(", MTcustom(1 attivo): ") + bit(t.Custom)
        + QStringLiteral(", MTlciclo(1 attivo): ") + bit(t.L_AM)
        + QStringLiteral(", MTlsuper(1 attivo): ") + bit(t.L_CD)
        + QStringLiteral(", MTlezCqc(1 attivo): ") + bit(t.L_CQ)
        + QStringLiteral(", MTsnap(Foto-Quiz-Segnale): ") + QString(t.Snap);
}

QString databaseInfoText(int count, const QString& firstTopic, const QString& lastTopic)
{
    return QString::number(count) + QStringLiteral(" Record - Filtro: ") + firstTopic
        + QLatin1Char('/') + lastTopic;
}

QPoint reportPosition(QSize main, QSize own, bool menuOrConfigVisible)
{
    const int offset = menuOrConfigVisible ? 1 : 36;
    return {(main.width() - own.width()) / 2 - 1, (main.height() - own.height()) / 2 - offset};
}

Reporter::Reporter(Globals& globals, SystemServices* system)
    : m_globals(globals), m_system(system), m_log(errorLogHeader(globals.ProgramFile))
{
}

QString Reporter::logPath() const
{
    return m_globals.dirs.DirProgram + QStringLiteral("ERROR.LOG");
}

bool Reporter::saveLog()
{
    if (m_globals.dirs.DirProgram.isEmpty())
        return false;  // never guess a folder: the working directory is nobody's
    QString error;
    if (saveFileAtomically(logPath(), errorLogBytes(m_log), &error))
        return true;
    std::fprintf(stderr, "ziro: ERROR.LOG not written: %s\n", qUtf8Printable(error));
    return false;
}

void Reporter::log(const QString& riga1, const QString& riga2)
{
    m_log << QStringLiteral("-> ") + riga1 << QStringLiteral("   ") + riga2 << QString();
    m_soloLog = false;
}

void Reporter::beep()
{
    if (m_system)
        m_system->beep();
    else if (m_view)
        m_view->beep();
}

void Reporter::toStderr(const QString& riga1, const QString& riga2)
{
    std::fprintf(stderr, "ziro: %s | %s\n", qUtf8Printable(riga1), qUtf8Printable(riga2));
}

void Reporter::Emsg(ReportKind Codice, const QString& Contesto, const QString& Nome)
{
    const ReportLines lines = reportLines(Codice, Contesto, Nome);

    if (Codice == ReportKind::Debug) {
        // The utility is already up with these lines.
        Debug(Contesto, Nome);
        beep();
        if (m_options.writeLog || m_soloLog)
            log(lines.riga1, lines.riga2);
        return;
    }
    if (Codice == ReportKind::LogOnly) {
        m_soloLog = true;
        log(lines.riga1, lines.riga2);
        saveLog();
        return;
    }

    beep();
    // A report nobody can see yet (the windows don't exist) is at least kept.
    if (m_options.writeLog || m_soloLog || !m_view)
        log(lines.riga1, lines.riga2);
    if (isReportHidden(m_options, Contesto))
        return;
    if (!m_view) {
        toStderr(lines.riga1, lines.riga2);
        return;
    }
    if (m_globals.ModoDebug)
        m_view->showDebug(lines.riga1, lines.riga2);
    else
        m_view->showReport(lines);
}

bool Reporter::Conferma(const QString& Contesto, const QString& Nome)
{
    const ReportLines lines = reportLines(ReportKind::Message, Contesto, Nome, /*confirmation=*/true);
    beep();
    if (m_options.writeLog || m_soloLog || !m_view)
        log(lines.riga1, lines.riga2);
    // Long-standing convention: with reports hidden, questions count as OK.
    if (isReportHidden(m_options, Contesto))
        return true;
    if (!m_view) {
        // Nobody can answer: don't let a question pass as agreed.
        toStderr(lines.riga1, lines.riga2);
        return false;
    }
    const bool ok = m_view->askConfirmation(lines);
    if (ok && m_globals.ModoDebug)
        leaveDebugMode();
    return ok;
}

void Reporter::Debug(const QString& Contesto, const QString& Stringa)
{
    const ReportLines lines = reportLines(ReportKind::Debug, Contesto, Stringa);
    if (m_view)
        m_view->showDebug(lines.riga1, lines.riga2);
    else
        toStderr(lines.riga1, lines.riga2);
    log(lines.riga1, lines.riga2);
}

void Reporter::leaveDebugMode()
{
    m_globals.ModoDebug = false;
    Q_EMIT debugModeLeft();
}

}  // namespace ziro
