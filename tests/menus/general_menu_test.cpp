#include "menus/general_menu.h"

#include "content/content_table.h"

#include "config/settings.h"
#include "content/edition.h"
#include "diag/reporter.h"
#include "support/qt_printers.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace ziro;

namespace {

class FakeReportView : public ReportView {
public:
    std::vector<ReportLines> reports;
    std::vector<std::pair<QString, QString>> debugs;
    bool answer = true;
    int confirmations = 0;
    void beep() override {}
    void showReport(const ReportLines& l) override { reports.push_back(l); }
    bool askConfirmation(const ReportLines& l) override
    {
        reports.push_back(l);
        ++confirmations;
        return answer;
    }
    void showDebug(const QString& a, const QString& b) override { debugs.emplace_back(a, b); }
    bool isVisible() const override { return false; }
};

// Records what the menu asks of its own window and of the rest of the
// program.
class FakePort : public GeneralMenuPort, public GeneralMenuView {
public:
    QStringList calls;
    QSet<QString> emptyFields;  // VeroSeVuoto answers true for these
    bool openSucceeds = true;
    bool launchSucceeds = true;
    bool lessonList = false;
    int beeps = 0;
    QString startFallback;
    std::vector<FilmRequest> films;

    void FiltraDB(const QString& da, const QString& a, bool c) override
    {
        calls << QStringLiteral("filter %1..%2%3").arg(da, a, c ? QStringLiteral(" count") : QString());
    }
    bool VeroSeVuoto(const QString& campo) override { return emptyFields.contains(campo); }
    bool openEditionTable(TModoQuiz e, QString* error) override
    {
        calls << QStringLiteral("open %1").arg(static_cast<int>(e));
        if (!openSucceeds)
            *error = QStringLiteral("unreadable");
        return openSucceeds;
    }
    void rebuildTopicLists() override { calls << QStringLiteral("lists"); }
    void startTopic(const QString& fallback) override
    {
        calls << QStringLiteral("start");
        startFallback = fallback;
    }
    void closeMenu() override { calls << QStringLiteral("close"); }
    bool lessonListVisible() const override { return lessonList; }
    void showLessonList() override { calls << QStringLiteral("lessons"); }
    void showConfiguration() override { calls << QStringLiteral("config"); }
    bool openExam() override
    {
        calls << QStringLiteral("exam");
        return true;
    }
    void closeMainWindow() override { calls << QStringLiteral("exit?"); }
    void endProgram() override { calls << QStringLiteral("end"); }
    bool playsFilms = true;
    bool playFilm(const FilmRequest& r, QString* error) override
    {
        films.push_back(r);
        if (!playsFilms)
            *error = QStringLiteral("no player");
        return playsFilms;
    }
    void openHtml(const QString& page) override { calls << QStringLiteral("html ") + page; }
    bool launch(const QString& program, QString* error) override
    {
        calls << QStringLiteral("launch ") + QFileInfo(program).fileName();
        if (!launchSucceeds)
            *error = QStringLiteral("denied");
        return launchSucceeds;
    }
    void saveViewMode() override { calls << QStringLiteral("save view"); }
    void beep() override { ++beeps; }
    std::vector<MenuFunction> pressed;  // function buttons shown pressed by key
    void showFunctionPressed(MenuFunction f) override { pressed.push_back(f); }
};

class GeneralMenuTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tmp.isValid());
        g.initFromProgram(tmp.path() + QStringLiteral("/ziro/Program/ziro"));
        ASSERT_TRUE(QDir().mkpath(g.dirs.DirProgram));
        ASSERT_TRUE(QDir().mkpath(g.dirs.DirVideo));
        CambiaEdizione(g, static_cast<int>(TModoQuiz::mqAB), nullptr);
        reporter.setView(&view);
    }

    void writeList(const QString& name, const QByteArray& text)
    {
        QFile f(g.dirs.DirProgram + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    // The last report's two lines.
    std::pair<QString, QString> lastReport() const
    {
        if (view.reports.empty())
            return {};
        return {view.reports.back().riga1, view.reports.back().riga2};
    }

    QTemporaryDir tmp;
    Globals g;
    Config cfg;
    Reporter reporter{g};
    FakeReportView view;
    FakePort port;
    GeneralMenu menu{g, cfg, reporter, port, port};
};

const QByteArray kGroupB =
    "Segnali di pericolo: generalit\xe0                  #012 %PERIC   $B01     B01  \r\n"
    "\r\n"
    "Curve e strettoie                                #    %PERIC            B02  \r\n"
    "Passaggi a livello                               #015                   B03  \r\n";

}  // namespace

TEST(GeneralMenuRules, OkDecisions)
{
    struct Case {
        TopicContent content;
        bool signs, questions;
        OkOutcome outcome;
    };
    const TopicContent photosOnly{false, true, true, true, true};
    const TopicContent nothing{true, true, true, true, true};
    const TopicContent filmOnly{true, false, true, true, true};
    const TopicContent signsNoQuiz{true, true, true, true, false};
    const TopicContent quizNoSigns{true, true, true, false, true};
    const Case cases[] = {
        {photosOnly, true, true, OkOutcome::PhotoMode},
        {photosOnly, false, true, OkOutcome::PhotoMode},
        {nothing, true, true, OkOutcome::RefuseEmpty},
        {filmOnly, true, true, OkOutcome::Start},
        {signsNoQuiz, false, true, OkOutcome::RefuseNoQuestions},
        {signsNoQuiz, true, false, OkOutcome::Start},
        {quizNoSigns, true, false, OkOutcome::RefuseNoSigns},
        {quizNoSigns, false, true, OkOutcome::Start},
        {quizNoSigns, true, true, OkOutcome::Start},
    };
    for (const Case& c : cases)
        EXPECT_EQ(decideOk(c.content, c.signs, c.questions), c.outcome)
            << "signs " << c.signs << " questions " << c.questions;
    EXPECT_EQ(refusalText(OkOutcome::RefuseEmpty), QStringLiteral("Non ci sono elementi disponibili"));
    EXPECT_EQ(refusalText(OkOutcome::RefuseNoSigns),
              QStringLiteral("Non ci sono rappresentazioni grafiche disponibili"));
    EXPECT_EQ(refusalText(OkOutcome::RefuseNoQuestions), QStringLiteral("Non ci sono domande disponibili"));
    EXPECT_TRUE(refusalText(OkOutcome::Start).isEmpty());
}

TEST(GeneralMenuRules, SpecificSettings)
{
    const QString j = QStringLiteral("Titolo J"), e = QStringLiteral("Titolo E");
    struct Case {
        TModoQuiz edition;
        const char* group;
        int row;
        const char* title;
        std::optional<bool> soloFoto;
        const char* panel;
    };
    const Case cases[] = {
        {TModoQuiz::mqAM, "A", -1, "", true, ""},
        {TModoQuiz::mqAM, "J", 3, "", std::nullopt, ""},
        {TModoQuiz::mqAB, "J", 11, "Titolo J", true, "695"},
        {TModoQuiz::mqAB, "J", 12, "Titolo J", false, "695"},
        {TModoQuiz::mqCD, "J", 9, "", true, ""},
        {TModoQuiz::mqCQ, "J", 10, "", false, ""},
        {TModoQuiz::mqAB, "J", -1, "", std::nullopt, ""},  // chosen from the pop-up
        {TModoQuiz::mqAB, "E", 0, "Titolo E", std::nullopt, "604"},
        {TModoQuiz::mqAB, "B", 0, "Altro", std::nullopt, ""},
    };
    for (const Case& c : cases) {
        const SpecificSettings s = settaggiSpecifici(c.edition, QLatin1String(c.group), c.row,
                                                     QLatin1String(c.title), j, e);
        EXPECT_EQ(s.soloFoto, c.soloFoto) << c.group << c.row;
        EXPECT_EQ(s.numberPanel, QLatin1String(c.panel)) << c.group << c.row;
    }
}

TEST(GeneralMenuRules, KeySelectionWalk)
{
    KeySelection s;
    s = moveKeySelection(s, Qt::Key_Down, TModoQuiz::mqAB);
    EXPECT_EQ(s.SelectBand, 1);  // the first arrow selects the first group
    s = moveKeySelection(s, Qt::Key_Right, TModoQuiz::mqAB);
    EXPECT_EQ(s.SelectBand, 6);
    s = moveKeySelection(s, Qt::Key_Right, TModoQuiz::mqAB);
    EXPECT_EQ(s.SelectBand, 6);  // no third column
    s = moveKeySelection(s, Qt::Key_Up, TModoQuiz::mqAB);
    EXPECT_EQ(s.SelectBand, 5);
    s.SelectBand = 10;
    EXPECT_EQ(moveKeySelection(s, Qt::Key_Down, TModoQuiz::mqAB).SelectBand, 1);
    s.SelectBand = 9;
    EXPECT_EQ(moveKeySelection(s, Qt::Key_Down, TModoQuiz::mqCD).SelectBand, 1);  // J skipped
    s.SelectBand = 7;
    EXPECT_EQ(moveKeySelection(s, Qt::Key_Down, TModoQuiz::mqAM).SelectBand, 9);  // H skipped
    s.SelectBand = 3;
    EXPECT_EQ(moveKeySelection(s, Qt::Key_Right, TModoQuiz::mqAM).SelectBand, 3);  // not onto H
    s.SelectBand = 5;
    EXPECT_EQ(moveKeySelection(s, Qt::Key_Right, TModoQuiz::mqAB).SelectBand, 10);  // the bottom row too
    s.SelectBand = 10;
    EXPECT_EQ(moveKeySelection(s, Qt::Key_Left, TModoQuiz::mqAB).SelectBand, 5);

    s = moveKeySelection(s, Qt::Key_Tab, TModoQuiz::mqAB);
    EXPECT_EQ(s.SelKeyMode, 2);
    s.SelFunction = 9;  // the exam, last of the row
    EXPECT_EQ(moveKeySelection(s, Qt::Key_Right, TModoQuiz::mqAB).SelFunction, 1);
    EXPECT_EQ(moveKeySelection(s, Qt::Key_Up, TModoQuiz::mqAB).SelFunction, 8);
    EXPECT_EQ(moveKeySelection(s, Qt::Key_Tab, TModoQuiz::mqAB).SelKeyMode, 1);
}

TEST(GeneralMenuRules, RowTextStopsAtTheFirstMarkedField)
{
    const struct {
        const char* line;
        const char* shown;
    } cases[] = {
        {"Curve e strettoie                       #012 %PERIC   $B02     B02  ", "Curve e strettoie"},
        {"Sorpasso #3 in curva                    #    B03  ", "Sorpasso #3 in curva"},
        {"Breve #01 C01  ", "Breve"},
        {"Senza marcatori                         C04  ", "Senza marcatori"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(topicRowText(parseTopicLine(QString::fromLatin1(c.line))), QLatin1String(c.shown)) << c.line;
}

TEST_F(GeneralMenuTest, ViewModeCyclesAndOnlyAClickWritesTheSettings)
{
    cfg.CBonlySegn = true;  // questions not shown
    menu.activate();
    EXPECT_FALSE(g.PASSdomanda);
    EXPECT_TRUE(g.PASSsegnale);
    EXPECT_EQ(menu.viewMode(), ViewMode::SignsOnly);

    menu.viewModeClicked(true);
    EXPECT_EQ(menu.viewMode(), ViewMode::Both);
    EXPECT_TRUE(g.SegnaliDaMenu);
    EXPECT_FALSE(cfg.CBonlySegn);
    EXPECT_FALSE(cfg.CBonlyDom);
    EXPECT_TRUE(port.calls.contains(QStringLiteral("save view")));

    port.calls.clear();
    menu.viewModeClicked(false);  // the settings asked: nothing is written back
    EXPECT_EQ(menu.viewMode(), ViewMode::QuestionsOnly);
    EXPECT_FALSE(g.SegnaliDaMenu);
    EXPECT_FALSE(cfg.CBonlyDom);
    EXPECT_FALSE(port.calls.contains(QStringLiteral("save view")));

    menu.viewModeClicked(true);
    EXPECT_EQ(menu.viewMode(), ViewMode::SignsOnly);
    EXPECT_TRUE(g.SegnaliDaMenu);
    EXPECT_TRUE(cfg.CBonlySegn);

    port.lessonList = true;  // ignored while the lesson list is open
    menu.viewModeClicked(true);
    EXPECT_EQ(menu.viewMode(), ViewMode::SignsOnly);
}

TEST_F(GeneralMenuTest, GroupButtonLoadsTheListAndARowStartsItsTopic)
{
    writeList(QStringLiteral("NB0.TXT"), kGroupB);
    g.ModoDebug = true;
    menu.activate();
    menu.groupClicked(2);
    ASSERT_EQ(menu.rows().size(), 4u);
    EXPECT_FALSE(menu.groupPanelShown());
    EXPECT_EQ(menu.SelezionatoML(), -1);
    EXPECT_EQ(port.calls.last(), QStringLiteral("filter B..BZ count"));
    ASSERT_FALSE(view.debugs.empty());
    EXPECT_EQ(view.debugs.back().second, QStringLiteral("Check: N. items > 0/3"));

    // A second group press while the list is up does nothing.
    port.calls.clear();
    menu.groupClicked(3);
    EXPECT_TRUE(port.calls.isEmpty());

    // The empty row beeps and moves on; the last row can't move past the end.
    menu.listClicked(1);
    EXPECT_EQ(port.beeps, 1);
    EXPECT_EQ(menu.listSelection(), 2);
    EXPECT_FALSE(port.calls.contains(QStringLiteral("start")));
    menu.listClicked(99);
    EXPECT_EQ(port.beeps, 2);

    menu.listClicked(2);
    EXPECT_EQ(port.calls, (QStringList{QStringLiteral("filter B02..B02Z count"), QStringLiteral("close"),
                                       QStringLiteral("start")}));
    EXPECT_FALSE(g.SoloFoto);
}

TEST_F(GeneralMenuTest, GroupRulesPerEdition)
{
    // The missing file is reported with its path.
    menu.activate();
    menu.groupClicked(1);
    EXPECT_EQ(lastReport().second.contains(QStringLiteral("NA0.TXT")), true);
    EXPECT_TRUE(view.reports.back().riga1.contains(QString::fromUtf8("Caricamento Items menù")) ||
                view.reports.back().riga2.contains(QString::fromUtf8("Caricamento Items menù")));
    EXPECT_TRUE(menu.groupPanelShown());

    // AM's group H and C-D-E's group J do nothing, even with their files.
    writeList(QLatin1String(editionInfo(TModoQuiz::mqAM).lettera) + QStringLiteral("H0.TXT"), kGroupB);
    writeList(QLatin1String(editionInfo(TModoQuiz::mqCD).lettera) + QStringLiteral("J0.TXT"), kGroupB);
    CambiaEdizione(g, static_cast<int>(TModoQuiz::mqAM), nullptr);
    port.calls.clear();
    menu.groupClicked(8);
    CambiaEdizione(g, static_cast<int>(TModoQuiz::mqCD), nullptr);
    menu.groupClicked(10);
    EXPECT_TRUE(port.calls.isEmpty());
    EXPECT_TRUE(menu.groupPanelShown());

    // CQC's tenth group is "L"; a one-line list starts at once.
    writeList(QStringLiteral("QL0.TXT"), "Trasporto di persone                             #       L01  \r\n");
    CambiaEdizione(g, static_cast<int>(TModoQuiz::mqCQ), nullptr);
    menu.groupClicked(10);
    EXPECT_EQ(port.calls, (QStringList{QStringLiteral("filter L..LZ count"), QStringLiteral("close"),
                                       QStringLiteral("start")}));
}

// A list of two rows or more is shown to choose from; a group with one
// topic, or none listed, starts at once.
TEST_F(GeneralMenuTest, ListSizeDecidesBetweenChoosingAndStarting)
{
    const QByteArray row1 = "Segnali di pericolo                              #       B01  \r\n";
    const QByteArray row2 = "Curve e strettoie                                #       B02  \r\n";
    const struct {
        QByteArray list;
        bool startsAtOnce;
    } cases[] = {{"", true}, {row1, true}, {row1 + row2, false}, {row1 + "\r\n" + row2, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.list.toStdString());
        writeList(QStringLiteral("NB0.TXT"), c.list);
        GeneralMenu fresh{g, cfg, reporter, port, port};
        fresh.activate();
        port.calls.clear();
        fresh.groupClicked(2);
        QStringList expected{QStringLiteral("filter B..BZ count")};
        if (c.startsAtOnce)
            expected << QStringLiteral("close") << QStringLiteral("start");
        EXPECT_EQ(port.calls, expected);
        EXPECT_FALSE(fresh.groupPanelShown());
    }
}

// An empty row moves the selection to the next row; an empty last row has
// none after it and keeps the selection.
TEST_F(GeneralMenuTest, EmptyLastRowKeepsTheSelectionOnIt)
{
    writeList(QStringLiteral("NB0.TXT"), kGroupB + "\r\n");
    menu.activate();
    menu.groupClicked(2);
    ASSERT_EQ(menu.rows().size(), 5u);
    menu.listClicked(4);
    EXPECT_EQ(port.beeps, 1);
    EXPECT_EQ(menu.listSelection(), 4);
    EXPECT_FALSE(port.calls.contains(QStringLiteral("start")));
}

// The function row wraps both ways: Up or Left from the first function
// selects the last one (the exam), and Enter runs it; one more step back is
// the print module.
TEST_F(GeneralMenuTest, FunctionRowWrapsFromTheFirstToTheLast)
{
    g.dirs.DirPressKit = g.dirs.DirProgram;  // no print module there: running it says so
    for (const int key : {Qt::Key_Up, Qt::Key_Left}) {
        SCOPED_TRACE(key);
        menu.activate();
        menu.keyDown(Qt::Key_Tab, {});
        ASSERT_EQ(menu.keySelection().SelFunction, 1);
        menu.keyDown(key, {});
        EXPECT_EQ(menu.keySelection().SelFunction, 9);
        port.pressed.clear();
        port.calls.clear();
        menu.keyDown(Qt::Key_Return, {});
        EXPECT_EQ(port.pressed, std::vector<MenuFunction>{MenuFunction::Exam});
        EXPECT_TRUE(port.calls.contains(QStringLiteral("exam")));

        menu.keyDown(key, {});
        EXPECT_EQ(menu.keySelection().SelFunction, 8);
        port.pressed.clear();
        view.reports.clear();
        menu.keyDown(Qt::Key_Return, {});
        EXPECT_EQ(port.pressed, std::vector<MenuFunction>{MenuFunction::Print});
        EXPECT_TRUE(lastReport().second.contains(QStringLiteral("pressKit.exe")));
    }
}

TEST_F(GeneralMenuTest, OkRefusesAnEmptyTopicAndKeepsTheMenu)
{
    writeList(QStringLiteral("NB0.TXT"), kGroupB);
    cfg.CBonlySegn = true;  // questions only
    cfg.CBonlyDom = false;
    menu.activate();
    menu.viewModeClicked(false);
    menu.viewModeClicked(false);
    ASSERT_EQ(menu.viewMode(), ViewMode::QuestionsOnly);
    menu.groupClicked(2);
    port.emptyFields = {QStringLiteral("Domanda"), QStringLiteral("Video"), QStringLiteral("Libro")};
    port.calls.clear();
    menu.listClicked(0);
    EXPECT_EQ(lastReport(), std::make_pair(QStringLiteral("Argomento vuoto"),
                                           QStringLiteral("Non ci sono domande disponibili")));
    EXPECT_FALSE(port.calls.contains(QStringLiteral("close")));

    // Photographs only: photo mode, and the topic starts.
    port.emptyFields << QStringLiteral("Nome segnale");
    menu.listClicked(0);
    EXPECT_TRUE(g.SoloFoto);
    EXPECT_TRUE(port.calls.contains(QStringLiteral("start")));
}

// What failed is said: a file that is not there is missing; one that is
// there but cannot be read is an I/O problem, with where the reader stopped.
TEST_F(GeneralMenuTest, EditionSwitchSaysWhatReallyFailed)
{
    struct TablePort : FakePort {
        DataTable table;
        Globals* g = nullptr;
        bool openEditionTable(TModoQuiz e, QString* error) override
        {
            return switchContentTable(table, contentFilePath(*g, e), error);
        }
    } tablePort;
    tablePort.g = &g;
    GeneralMenu realTables{g, cfg, reporter, tablePort, tablePort};
    realTables.activate();
    const QString path = contentFilePath(g, TModoQuiz::mqAM);

    EXPECT_FALSE(realTables.editionClicked(TModoQuiz::mqAM));
    EXPECT_EQ(lastReport().first, QStringLiteral("Errore, Cambio edizione"));
    EXPECT_EQ(lastReport().second, QStringLiteral("Il file ") + path + QStringLiteral(" non esiste"));

    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("<?xml version=\"1.0\"?>\n<DATAPACKET Version=\"2.0\">\n<METADATA><FIELDS>\n<ROWDATA>");
    f.close();
    EXPECT_FALSE(realTables.editionClicked(TModoQuiz::mqAM));
    EXPECT_TRUE(g.ModoAB());
    EXPECT_EQ(lastReport().first, QStringLiteral("Errore, Cambio edizione"));
    const QString second = lastReport().second;
    EXPECT_TRUE(second.startsWith(QStringLiteral("Problema I/O sul file ") + path + QStringLiteral(" (line ")))
        << qPrintable(second);
    EXPECT_FALSE(second.contains(QStringLiteral("non esiste")));
    EXPECT_EQ(second.count(path), 1) << qPrintable(second);
}

TEST_F(GeneralMenuTest, EditionSwitchKeepsTheOldEditionWhenTheTableFailsToOpen)
{
    menu.activate();
    port.openSucceeds = false;
    EXPECT_FALSE(menu.editionClicked(TModoQuiz::mqCD));
    EXPECT_TRUE(g.ModoAB());
    EXPECT_EQ(g.LetteraEdizione, QStringLiteral("N"));
    EXPECT_EQ(menu.pressedEdition(), TModoQuiz::mqAB);
    EXPECT_TRUE(lastReport().second.contains(QStringLiteral("ACD2014.XML")));
    EXPECT_FALSE(port.calls.contains(QStringLiteral("lists")));

    port.openSucceeds = true;
    port.calls.clear();
    EXPECT_TRUE(menu.editionClicked(TModoQuiz::mqCD));
    EXPECT_TRUE(g.ModoCD());
    EXPECT_EQ(g.LetteraEdizione, QLatin1String(editionInfo(TModoQuiz::mqCD).lettera));
    EXPECT_EQ(menu.pressedEdition(), TModoQuiz::mqCD);
    EXPECT_EQ(port.calls, (QStringList{QStringLiteral("open 2"), QStringLiteral("lists"),
                                       QStringLiteral("filter Default.."),
                                       QStringLiteral("filter Default.. count")}));

    // The edition already current does nothing, unless a custom lesson is open.
    port.calls.clear();
    EXPECT_FALSE(menu.editionClicked(TModoQuiz::mqCD));
    EXPECT_TRUE(port.calls.isEmpty());
    g.Custom = true;
    EXPECT_TRUE(menu.editionClicked(TModoQuiz::mqCD));
    EXPECT_FALSE(g.Custom);

    // Nothing responds while the lesson list holds the menu.
    menu.setAbilita(false);
    EXPECT_FALSE(menu.editionClicked(TModoQuiz::mqAM));
}

TEST_F(GeneralMenuTest, PrintModuleEndsTheProgramOnlyOnceStarted)
{
    g.dirs.DirPressKit = g.dirs.DirProgram;
    menu.printClicked();
    EXPECT_TRUE(lastReport().second.contains(g.dirs.DirPressKit + QStringLiteral("pressKit.exe")));
    EXPECT_TRUE(port.calls.isEmpty());

    QFile module(g.dirs.DirPressKit + QStringLiteral("PRESSKIT.EXE"));
    ASSERT_TRUE(module.open(QIODevice::WriteOnly));
    module.close();
    view.answer = false;
    menu.printClicked();
    EXPECT_EQ(view.confirmations, 1);
    EXPECT_TRUE(port.calls.isEmpty());

    view.answer = true;
    port.launchSucceeds = false;
    menu.printClicked();
    EXPECT_EQ(port.calls, QStringList{QStringLiteral("launch PRESSKIT.EXE")});
    EXPECT_TRUE(lastReport().second.contains(QStringLiteral("denied")));

    port.launchSucceeds = true;
    port.calls.clear();
    menu.printClicked();
    EXPECT_EQ(port.calls, (QStringList{QStringLiteral("launch PRESSKIT.EXE"), QStringLiteral("end")}));
}

TEST_F(GeneralMenuTest, KeysAndRowIcons)
{
    writeList(QStringLiteral("NB0.TXT"), kGroupB);
    QFile film(g.dirs.DirVideo + QStringLiteral("Flm012.mp4"));
    ASSERT_TRUE(film.open(QIODevice::WriteOnly));
    film.close();
    menu.activate();

    // Esc on the group buttons asks to leave the program.
    menu.keyDown(Qt::Key_Escape, {});
    EXPECT_EQ(port.calls.last(), QStringLiteral("exit?"));

    // Arrow to group B, Enter loads it; Esc goes back to the groups.
    menu.keyDown(Qt::Key_Down, {});
    menu.keyDown(Qt::Key_Down, {});
    menu.keyDown(Qt::Key_Return, {});
    EXPECT_EQ(menu.loadedLetter(), QStringLiteral("B"));
    const auto request = menu.filmFor(0);
    ASSERT_TRUE(request.has_value());
    EXPECT_TRUE(request->file.exists);
    EXPECT_EQ(request->size, 5);
    EXPECT_TRUE(request->daMenu);
    EXPECT_FALSE(menu.filmFor(2).has_value());  // "#" without a number
    EXPECT_FALSE(menu.filmFor(7).has_value());  // past the list
    menu.filmClicked(0);
    EXPECT_EQ(port.films.size(), 1u);
    EXPECT_TRUE(view.reports.empty());
    // A film that will not play is said as the film button says it.
    port.playsFilms = false;
    menu.filmClicked(0);
    EXPECT_EQ(lastReport(), std::make_pair(QStringLiteral("Errore player video AVC:"),
                                           QStringLiteral("no player")));

    menu.htmlClicked(0);
    EXPECT_EQ(port.calls.last(), QStringLiteral("html B01"));
    EXPECT_TRUE(port.calls.contains(QStringLiteral("filter B01..B01Z count")));

    menu.keyDown(Qt::Key_Escape, {});
    EXPECT_TRUE(menu.groupPanelShown());
    EXPECT_EQ(menu.rows().size(), 10u);  // ten empty rows until the next group

    // Function 6 by keyboard is the view-mode button.
    const ViewMode before = menu.viewMode();
    menu.keyDown(Qt::Key_Tab, {});
    for (int i = 1; i < 6; ++i)
        menu.keyDown(Qt::Key_Right, {});
    menu.keyDown(Qt::Key_Return, {});
    EXPECT_EQ(menu.viewMode(), nextViewMode(before));
}

// The photo mode of a group applies to a choice made in the menu, not to a
// topic chosen later from the pop-up after that group was opened.
TEST_F(GeneralMenuTest, PopupChoiceIsNotTakenForTheGroupLastOpened)
{
    CambiaEdizione(g, static_cast<int>(TModoQuiz::mqAM), nullptr);
    writeList(QLatin1String(editionInfo(TModoQuiz::mqAM).lettera) + QStringLiteral("A0.TXT"), kGroupB);
    menu.activate();
    menu.groupClicked(1);
    menu.listClicked(0);
    EXPECT_TRUE(g.SoloFoto);  // AM's group A is shown as photographs

    g.TitoloArgomento = g.TitoliGruppi[2];  // the pop-up filtered a topic of group C
    menu.TastoOK(-1);
    EXPECT_FALSE(g.SoloFoto);
    g.TitoloArgomento = g.TitoliGruppi[0];  // and one of group A again
    menu.TastoOK(-1);
    EXPECT_TRUE(g.SoloFoto);
}
