#include "base/globals.h"
#include "diag/reporter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

using namespace ziro;

namespace {

struct FakeView : ReportView {
    int beeps = 0;
    std::vector<ReportLines> reports;
    std::vector<ReportLines> questions;
    std::vector<std::pair<QString, QString>> debugs;
    bool visible = false;
    bool answer = true;

    void beep() override { ++beeps; }
    void showReport(const ReportLines& l) override { reports.push_back(l); }
    bool askConfirmation(const ReportLines& l) override
    {
        questions.push_back(l);
        return answer;
    }
    void showDebug(const QString& r1, const QString& r2) override
    {
        debugs.emplace_back(r1, r2);
        visible = true;
    }
    bool isVisible() const override { return visible; }
};

class ReporterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        g.ProgramFile = QStringLiteral("/opt/ziro/Program/ziro");
        g.dirs.DirProgram = dir.path() + QLatin1Char('/');
        reporter = std::make_unique<Reporter>(g);
        reporter->setView(&view);
    }
    QByteArray logFile() const
    {
        QFile f(dir.filePath(QStringLiteral("ERROR.LOG")));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir dir;
    Globals g;
    FakeView view;
    std::unique_ptr<Reporter> reporter;
};

const QByteArray kHeader =
    "FILE ERROR.LOG : elenco errori e messaggi prodotti dal programma /opt/ziro/Program/ziro\r\n"
    "\r\r\r\n";

}  // namespace

TEST(ReportLinesTest, EveryKind)
{
    struct Case {
        ReportKind kind;
        const char* r1;
        const char* r2;
        int width;
        bool modal;
        bool shown;
    };
    const Case cases[] = {
        {ReportKind::Debug, "Modo DEBUG ctx", "Check: nome", 545, false, true},
        {ReportKind::MissingFile, "Errore, ctx", "Il file nome non esiste", 460, true, true},
        {ReportKind::FileIo, "Errore, ctx", "Problema I/O sul file nome", 460, true, true},
        {ReportKind::FolderIo, "Errore, ctx", "Problema sulla dir. nome", 460, true, true},
        {ReportKind::Message, "ctx", "nome", 460, true, true},
        {ReportKind::AtStart, "ctx", "Andare avanti o selezionare il menù generale", 375, false, true},
        {ReportKind::AtEnd, "ctx", "Tornare indietro o selezionare il menù generale", 375, false, true},
        {ReportKind::BadNumber, "ctx", "Correggere o scrivere nuovamente il numero", 460, true, true},
        {ReportKind::OtherTopic, "ctx", "Selezionare un'altro argomento", 460, true, true},
        {ReportKind::Notice, "ctx", "nome", 375, false, true},
        {ReportKind::LogOnly, "ctx", "nome", 460, false, false},
        // unlisted kinds: prefix by range, their own name as second line
        {static_cast<ReportKind>(7), "Errore, ctx", "nome", 460, true, true},
        {static_cast<ReportKind>(16), "ctx", "nome", 460, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(reportCode(c.kind));
        const ReportLines l = reportLines(c.kind, QStringLiteral("ctx"), QStringLiteral("nome"));
        EXPECT_EQ(l.riga1, QString::fromUtf8(c.r1));
        EXPECT_EQ(l.riga2, QString::fromUtf8(c.r2));
        EXPECT_EQ(l.width, c.width);
        EXPECT_EQ(l.modal, c.modal);
        EXPECT_EQ(l.shown, c.shown);
    }
    const ReportLines q = reportLines(ReportKind::Message, QStringLiteral("Si vuole terminare il programma?"),
                                      QStringLiteral("Premere OK per uscire."), true);
    EXPECT_EQ(q.width, 545);
    EXPECT_TRUE(q.modal);
}

TEST(ReportFilterTest, HideOptions)
{
    ReportOptions o;  // photo reports hidden by default
    EXPECT_TRUE(isReportHidden(o, QStringLiteral("prewiew foto 12")));
    EXPECT_TRUE(isReportHidden(o, QStringLiteral("prewiew foto")));
    EXPECT_FALSE(isReportHidden(o, QStringLiteral("preview foto 12")));
    EXPECT_TRUE(isReportHidden(o, QStringLiteral("display foto")));
    EXPECT_FALSE(isReportHidden(o, QStringLiteral("display foto x")));
    EXPECT_TRUE(isReportHidden(o, QStringLiteral("display pagina libro")));
    EXPECT_TRUE(isReportHidden(o, QStringLiteral("Argomento con Foto")));
    EXPECT_FALSE(isReportHidden(o, QStringLiteral("argomento con foto")));
    o.hideFotoError = false;
    EXPECT_FALSE(isReportHidden(o, QStringLiteral("display foto")));
    o.noError = true;
    EXPECT_TRUE(isReportHidden(o, QStringLiteral("anything")));
}

TEST(ReportPlacementTest, CentresOverMainWindow)
{
    EXPECT_EQ(reportPosition({640, 480}, {460, Hgh}, false), QPoint(89, 156));
    EXPECT_EQ(reportPosition({640, 480}, {460, Hgh}, true), QPoint(89, 191));
    EXPECT_EQ(reportPosition({640, 480}, {375, Hgh}, false), QPoint(131, 156));
    EXPECT_EQ(reportPosition({641, 481}, {545, 260}, false), QPoint(47, 74));
}

TEST(ReportTextTest, GlobalVariablesDump)
{
    Globals g;
    g.PASSsegnale = true;
    g.PASSdomanda = false;
    g.Domanda = QStringLiteral("D12");
    g.Segnale = QStringLiteral("S3");
    g.SegnaleON = true;
    g.MdTemp.Status = true;
    g.MdTemp.L_CQ = true;
    g.MdTemp.Snap = QLatin1Char('Q');
    EXPECT_EQ(globalVariablesText(g),
              QStringLiteral(
                  "Variabili globali:\rPASSsegnale(0 = solo domande): 1, PASSdomanda(0 = solo segnali): 0, "
                  "LockLoop(1 blocco visione): 0, SegnaleON(1 presenza in DB): 1, DomandaON(1 presenza in DB): 0, "
                  "Domanda(nome letto in DB): D12, Segnale(nome letto in DB): S3, SoloFoto(1 modo foto): 0, "
                  "Custom(1 Lez. pers): 0\rMTstatus(1 attivo): 1, MTcustom(1 attivo): 0, MTlciclo(1 attivo): 0, "
                  "MTlsuper(1 attivo): 0, MTlezCqc(1 attivo): 1, MTsnap(Foto-Quiz-Segnale): Q"));
    EXPECT_EQ(databaseInfoText(42, QStringLiteral("A1"), QStringLiteral("B7")),
              QStringLiteral("42 Record - Filtro: A1/B7"));
}

TEST_F(ReporterTest, Kind20WritesLogAtOnceWithoutBeepOrWindow)
{
    reporter->Emsg(ReportKind::LogOnly, QStringLiteral("Lettura impostazioni"), QStringLiteral("ziro.ini"));
    EXPECT_EQ(view.beeps, 0);
    EXPECT_TRUE(view.reports.empty());
    EXPECT_EQ(logFile(), kHeader + "-> Lettura impostazioni\r\n   ziro.ini\r\n\r\n");
}

TEST_F(ReporterTest, LogIsWindows1252AndRewrittenWhole)
{
    reporter->options().writeLog = true;
    reporter->Emsg(ReportKind::OtherTopic, QStringLiteral("Città"), QString());
    reporter->Emsg(ReportKind::LogOnly, QStringLiteral("€ x"), QStringLiteral("n"));
    EXPECT_EQ(logFile(), kHeader
                  + "-> Citt\xE0\r\n   Selezionare un'altro argomento\r\n\r\n"
                    "-> \x80 x\r\n   n\r\n\r\n");
}

TEST_F(ReporterTest, UnwritableLogDoesNotStopReporting)
{
    g.dirs.DirProgram = dir.filePath(QStringLiteral("missing/deeper/"));
    reporter->Emsg(ReportKind::LogOnly, QStringLiteral("ctx"), QStringLiteral("n"));
    EXPECT_FALSE(reporter->saveLog());
    reporter->Emsg(ReportKind::MissingFile, QStringLiteral("ctx"), QStringLiteral("a.db"));
    ASSERT_EQ(view.reports.size(), 1u);
    EXPECT_EQ(view.reports[0].riga2, QStringLiteral("Il file a.db non esiste"));
}

TEST_F(ReporterTest, HiddenReportsBeepAndAreLoggedOnlyWhenLoggingIsOn)
{
    reporter->options().noError = true;
    reporter->Emsg(ReportKind::MissingFile, QStringLiteral("ctx"), QStringLiteral("a"));
    EXPECT_EQ(view.beeps, 1);
    EXPECT_TRUE(view.reports.empty());
    EXPECT_EQ(reporter->ErrorLog().size(), 2);  // header only

    reporter->options().writeLog = true;
    reporter->Emsg(ReportKind::MissingFile, QStringLiteral("ctx"), QStringLiteral("a"));
    EXPECT_TRUE(view.reports.empty());
    EXPECT_EQ(reporter->ErrorLog().size(), 5);

    reporter->options().noError = false;
    reporter->Emsg(ReportKind::FileIo, QStringLiteral("prewiew foto 12"), QStringLiteral("f.jpg"));
    EXPECT_TRUE(view.reports.empty());
    reporter->Emsg(ReportKind::FileIo, QStringLiteral("display foto x"), QStringLiteral("f.jpg"));
    EXPECT_EQ(view.reports.size(), 1u);
}

TEST_F(ReporterTest, Confirmation)
{
    view.answer = false;
    EXPECT_FALSE(reporter->Conferma(QStringLiteral("Si vuole terminare il programma?"),
                                    QStringLiteral("Premere OK per uscire.")));
    ASSERT_EQ(view.questions.size(), 1u);
    EXPECT_EQ(view.questions[0].width, 545);
    EXPECT_EQ(view.questions[0].riga1, QStringLiteral("Si vuole terminare il programma?"));

    view.answer = true;
    EXPECT_TRUE(reporter->Conferma(QStringLiteral("q"), QStringLiteral("n")));

    // Already visible (a notice or the utility): still asked, not passed as OK.
    view.visible = true;
    view.answer = false;
    EXPECT_FALSE(reporter->Conferma(QStringLiteral("q"), QStringLiteral("n")));
    EXPECT_EQ(view.questions.size(), 3u);

    // With reports hidden the question counts as OK without being shown.
    reporter->options().noError = true;
    EXPECT_TRUE(reporter->Conferma(QStringLiteral("q"), QStringLiteral("n")));
    EXPECT_EQ(view.questions.size(), 3u);
}

TEST_F(ReporterTest, WithoutViewNothingIsShownOrAgreed)
{
    reporter->setView(nullptr);
    reporter->Emsg(ReportKind::MissingFile, QStringLiteral("ctx"), QStringLiteral("a"));
    EXPECT_EQ(reporter->ErrorLog().size(), 5);
    EXPECT_FALSE(reporter->Conferma(QStringLiteral("q"), QStringLiteral("n")));
}

TEST_F(ReporterTest, DebugMode)
{
    g.ModoDebug = true;
    int untick = 0;
    QObject::connect(reporter.get(), &Reporter::debugModeLeft, [&] { ++untick; });

    reporter->Debug(QStringLiteral("Filtro tabella"), QStringLiteral("A1"));
    reporter->Emsg(ReportKind::MissingFile, QStringLiteral("ctx"), QStringLiteral("a"));
    reporter->Emsg(ReportKind::Notice, QStringLiteral("second"), QStringLiteral("two"));
    EXPECT_TRUE(view.reports.empty());
    ASSERT_EQ(view.debugs.size(), 3u);
    EXPECT_EQ(view.debugs[0].first, QStringLiteral("Modo DEBUG Filtro tabella"));
    EXPECT_EQ(view.debugs[0].second, QStringLiteral("Check: A1"));
    EXPECT_EQ(view.debugs[2].first, QStringLiteral("second"));
    EXPECT_EQ(view.debugs[2].second, QStringLiteral("two"));
    // Debug lines are logged even with logging off.
    EXPECT_EQ(reporter->ErrorLog().mid(2, 2),
              QStringList({QStringLiteral("-> Modo DEBUG Filtro tabella"), QStringLiteral("   Check: A1")}));

    view.answer = false;
    reporter->Conferma(QStringLiteral("q"), QStringLiteral("n"));
    EXPECT_TRUE(g.ModoDebug);
    view.answer = true;
    EXPECT_TRUE(reporter->Conferma(QStringLiteral("q"), QStringLiteral("n")));
    EXPECT_FALSE(g.ModoDebug);
    EXPECT_EQ(untick, 1);
}
