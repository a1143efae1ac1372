#include "content/navigator.h"

#include "base/globals.h"
#include "config/settings.h"
#include "content/content_fixture.h"
#include "content/edition.h"
#include "diag/reporter.h"
#include "support/qt_printers.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <stdexcept>

using namespace ziro;
using ziro::test::buildTable;
using ziro::test::Rec;

namespace {

// Viewers with just enough state for the walk to ask about; every call that
// changes what is on screen goes to the shared log.
struct FakeViewers : ViewerPorts {
    FakeViewers(Globals& g, QStringList& log) : g(g), log(log) {}
    Globals& g;
    QStringList& log;
    bool html = false, photo = false, previews = false, film = false, playing = false, quiz = false;
    bool singlePhotoShown = true;

    bool htmlOpen() const override { return html; }
    void closeHtml() override
    {
        if (html) log << "closeHtml";
        html = false;
    }
    bool photoViewerOpen() const override { return photo; }
    void openPhotoViewer(int p) override
    {
        log << QStringLiteral("openPhoto %1").arg(p);
        photo = true;
    }
    void showNextPhoto() override { log << "nextPhoto"; }
    void showPreviousPhoto() override { log << "prevPhoto"; }
    void closePhotoViewer() override
    {
        if (photo) log << "closePhoto";
        photo = false;
    }
    bool showSinglePhoto(const QString& path, int) override
    {
        log << "single " + path;
        photo = singlePhotoShown;
        return singlePhotoShown;
    }
    bool previewsOpen() const override { return previews; }
    void openFirstPreview() override { log << "firstPreview"; }
    void nextBookPage() override { log << "nextPage"; }
    void previousBookPage() override { log << "prevPage"; }
    bool filmOpen() const override { return film; }
    bool filmPlaying() const override { return playing; }
    void resumeFilm() override { log << "resumeFilm"; }
    void pauseFilm() override { log << "pauseFilm"; }
    void restartFilm() override { log << "restartFilm"; }
    void closeFilms() override
    {
        if (film) log << "closeFilms";
        film = false;
    }
    bool quizVisible() const override { return quiz; }
    void loadQuizBlock(const QString& d) override
    {
        log << "quiz " + d;
        quiz = true;
        g.DomandaON = true;
    }
    void closeQuiz() override
    {
        if (quiz) log << "closeQuiz";
        quiz = false;
        g.DomandaON = false;
    }
    void focusQuiz() override { log << "focusQuiz"; }
    QString pictogramName(const QString& n) const override { return n == "800" ? "800n" : n; }
};

struct FakeMain : MainViewPort {
    FakeMain(Globals& g, QStringList& log, FakeViewers& v) : g(g), log(log), v(v) {}
    Globals& g;
    QStringList& log;
    FakeViewers& v;
    bool quizButton = false, fotoButton = false, videoButton = false, libroButton = false;
    bool progressVisible = false;
    QString bookLabel;
    int jumpHidden = 0;

    void setQuizButton(bool e) override { quizButton = e; }
    void setFotoButton(bool e) override { fotoButton = e; }
    void setVideoButton(bool e) override { videoButton = e; }
    void setLibroButton(bool e) override { libroButton = e; }
    void setBookLabel(const QString& p) override { bookLabel = p; }
    void hideJumpField() override { ++jumpHidden; }
    void setProgressVisible(bool visible) override { progressVisible = visible; }
    void message(const QString& text) override { log << "message " + text; }
    // As the main window does: only a record with photographs opens them.
    void SWfotoClick() override
    {
        log << "SWfotoClick";
        if (g.FotoON) {
            v.photo = true;
            g.FotoCorrente = 1;
            g.NumeroFoto = 1;
        }
    }
};

// The sign area as the walk sees it: showing a sign locks the view on a
// record with a quiz block and ends a linked view.
struct FakeSign : SignAreaPort {
    FakeSign(Globals& g, QStringList& log) : g(g), log(log) {}
    Globals& g;
    QStringList& log;
    bool throwOnShow = false;
    bool lastFlgIcone = false, lastModoTxt = false;

    void Visione(const QString& figura, bool flgIcone, bool modoTxt) override
    {
        if (throwOnShow)
            throw std::runtime_error("picture");
        if (!g.SegnaleON)
            return;
        log << "sign " + figura;
        lastFlgIcone = flgIcone;
        lastModoTxt = modoTxt;
        g.LockLoop = g.QuizON;
        g.VistaLink = false;
    }
    int cleared = 0;  // times the icon panels were cleared
    void CancellaIcone() override { ++cleared; }
    void emptySignArea() override { log << "emptySign"; }
};

struct RecordingView : ReportView {
    QStringList shown;
    bool visible = false;
    void beep() override {}
    void showReport(const ReportLines& l) override { shown << l.riga1; }
    bool askConfirmation(const ReportLines&) override { return true; }
    void showDebug(const QString& a, const QString&) override { shown << "debug " + a; }
    bool isVisible() const override { return visible; }
};

class NavigatorTest : public ::testing::Test {
protected:
    NavigatorTest()
    {
        reporter.setView(&view);
        reporter.options().hideFotoError = false;
        cfg.CBnoSsD = false;  // every record is walked unless a test asks otherwise
        CambiaEdizione(g, 1, nullptr);
        g.dirs.DirBook = "/data/book/";
        g.dirs.DirBookCDE = "/data/bookcde/";
        g.dirs.DirFoto = "/data/foto/";
        g.dirs.DirFotoUtente = "/data/utente/foto/";
        g.dirs.DirPicSgn = "/data/sgn/";
        g.dirs.DirPicSgt = "/data/sgt/";
    }

    void build(std::initializer_list<Rec> rows)
    {
        ASSERT_TRUE(buildTable(table, rows));
        makeNavigator();
        nav->FiltraDB("A00", "Z99", false);
    }

    // The machine as the walk sees it: beeps and waits are counted, random
    // draws come from a script, files exist when the test says so.
    struct Services : WalkServices {
        explicit Services(NavigatorTest& t) : t(t) {}
        NavigatorTest& t;
        void beep() override { ++t.beeps; }
        void wait(double s) override { t.waits << s; }
        int random(int bound) override
        {
            int r = 0;
            if (!t.randoms.empty()) {
                r = t.randoms.front();
                t.randoms.pop_front();
            }
            return qBound(0, r, bound - 1);
        }
        bool fileExists(const QString& p) const override { return t.files.contains(p); }
        void closeCustomLesson() override { t.log << "closeLesson"; }
    };
    Services services{*this};

    void makeNavigator()
    {
        nav = std::make_unique<Navigator>(g, cfg, reporter, table, viewers, main, sign, services);
    }

    // Builds and shows the first record of the table, then forgets what
    // showing it did.
    void start(std::initializer_list<Rec> rows)
    {
        build(rows);
        nav->Avvio(1);
        forget();
    }

    void forget()
    {
        log.clear();
        view.shown.clear();
        beeps = 0;
    }

    int at() const { return table.fieldInt("NumRec"); }

    // The record flags and media buttons, compactly.
    QString flags() const
    {
        QStringList s;
        if (g.QuizON) s << "quiz";
        if (!g.Domanda.isEmpty()) s << "dom=" + g.Domanda;
        if (g.SegnaleON) s << "sign=" + g.Segnale;
        if (g.SegnaleF) s << "f";
        if (g.SegnaleSpeciale) s << "special";
        if (g.FotoON) s << "foto";
        if (g.VideoON) s << "video";
        if (g.TestoON) s << "testo";
        if (g.LibroON) s << "libro=" + main.bookLabel;
        if (g.AudioON) s << "audio";
        for (int i = 0; i < 10; ++i) {
            if (g.IconaON[std::size_t(i)]) s << QStringLiteral("icona%1").arg(i + 1);
        }
        QString buttons = "btn:";
        if (main.quizButton) buttons += 'Q';
        if (main.fotoButton) buttons += 'F';
        if (main.videoButton) buttons += 'V';
        if (main.libroButton) buttons += 'L';
        s << buttons;
        return s.join(' ');
    }

    Globals g;
    Config cfg;
    Reporter reporter{g};
    RecordingView view;
    DataTable table;
    QStringList log;
    FakeViewers viewers{g, log};
    FakeMain main{g, log, viewers};
    FakeSign sign{g, log};
    int beeps = 0;
    QList<double> waits;
    QSet<QString> files;
    std::deque<int> randoms;
    std::unique_ptr<Navigator> nav;
};

QList<int> walkNumbers(DataTable& t)
{
    QList<int> n;
    for (t.first(); !t.eof(); t.next())
        n << t.fieldInt("NumRec");
    return n;
}

// ------------------------------------------------------------------ filter

TEST_F(NavigatorTest, FiltraDBCoversWholeTopicsAndTitlesTheRange)
{
    build({{1, "A01"}, {0, "B00", {{"Domanda", "5"}}}, {7, "B00"}, {500000, "B00", {{"Domanda", "6"}}},
           {3, "B01"}, {4, "H17"}, {5, "H18"}, {6, "J01"}});
    struct Case {
        const char* da;
        const char* a;
        bool count;
        QList<int> records;
        const char* title;
        const char* sottoArg;
        const char* description;
        int total;
    } cases[] = {
        {"B00", "B00Z", false, {0, 7, 500000}, "La strada", "B00", "Limiti > B00/B00Z", 3},
        {"B00", "B00Z", true, {0, 7, 500000}, "La strada", "B00", "Limiti > B00/B00Z", 2},
        {"H", "HZ", false, {4, 5}, "Primo soccorso", "H", "Limiti > H/HZ", 2},
        {"Default", "", false, {0, 7, 500000, 3, 4}, "Selezione di avvio", "B00", "Limiti > B00/H17", 5},
        {"OFF", "", false, {1, 0, 7, 500000, 3, 4, 5, 6}, "Tutte le domande", "",
         "Eliminato, Tutti i record accessibili", 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.da) + (c.count ? " counting" : ""));
        nav->FiltraDB(c.da, c.a, c.count);
        EXPECT_EQ(walkNumbers(table), c.records);
        EXPECT_EQ(g.TitoloArgomento, QString::fromUtf8(c.title));
        EXPECT_EQ(nav->fields().SottoArgCorr, QLatin1String(c.sottoArg));
        EXPECT_EQ(g.DescrizioneFiltro, QLatin1String(c.description));
        EXPECT_EQ(g.TotaleRecord, c.total);
    }

    // A settings file without the start-up codes still gives the default range.
    cfg.EFAda.clear();
    cfg.EFAa.clear();
    nav->FiltraDB("Default", "", false);
    EXPECT_EQ(walkNumbers(table), (QList<int>{0, 7, 500000, 3, 4}));
    cfg.EFAda = "H17";
    cfg.EFAa = "J01";
    nav->FiltraDB("Default", "", false);
    EXPECT_EQ(walkNumbers(table), (QList<int>{4, 5, 6}));
    EXPECT_EQ(nav->fields().SottoArgCorr, QLatin1String("H17"));
}

TEST_F(NavigatorTest, FiltraDBOffSetsTheCounterFromThePosition)
{
    build({{1, "A01", {{"Domanda", "1"}}}, {2, "B00"}, {3, "B00", {{"Domanda", "3"}}}, {4, "C00"}});
    nav->FiltraDB("B00", "B00Z", false);
    table.last();  // record 3, third of the whole table
    nav->FiltraDB("OFF", "", false);
    EXPECT_EQ(at(), 3);
    EXPECT_EQ(g.ContatoreRecord, 2);
    EXPECT_EQ(g.TotaleRecord, 4);

    // Counting passes the position to the counter: on the first record that
    // is 0, which counts quiz blocks.
    table.first();
    nav->FiltraDB("OFF", "", true);
    EXPECT_EQ(g.ContatoreRecord, 2);
    EXPECT_EQ(g.TotaleRecord, 2);
}

TEST_F(NavigatorTest, CountsAndEmptinessLeaveTheCursorAlone)
{
    build({{1, "B00", {{"Domanda", "  "}}}, {2, "B00"}, {3, "B00", {{"Domanda", " "}, {"Video", "9"}}}});
    table.setRecNo(2);
    EXPECT_EQ(nav->ContaDomande(0), 0);  // blank codes are no quiz block
    EXPECT_EQ(nav->ContaDomande(2), 2);
    EXPECT_TRUE(nav->VeroSeVuoto("Domanda"));
    EXPECT_FALSE(nav->VeroSeVuoto("Video"));
    EXPECT_EQ(at(), 2);
}

TEST_F(NavigatorTest, VicinoUtileLooksAtTheNeighboursWithoutMoving)
{
    build({{1, "B00", {{"Nome segnale", "10"}}},
           {2, "B00", {{"Domanda", "2"}, {"Selezione", "NO"}}},
           {3, "B00", {{"Domanda", "3"}, {"Selezione", "SI"}}}});
    table.setRecNo(2);
    EXPECT_TRUE(nav->VicinoUtile(-1));  // a sign
    EXPECT_TRUE(nav->VicinoUtile(1));   // a selected quiz block
    table.setRecNo(1);
    EXPECT_FALSE(nav->VicinoUtile(1));  // a quiz block not selected
    EXPECT_FALSE(nav->VicinoUtile(-1));  // nothing before the first
    EXPECT_EQ(at(), 1);
}

// ------------------------------------------------------------ record check

TEST_F(NavigatorTest, ControllaDbSetsFlagsAndButtonsPerField)
{
    files.insert("/data/book/Pag12.KXB");
    files.insert("/data/bookcde/Pag14.KXB");
    struct Case {
        const char* name;
        std::vector<std::pair<const char*, const char*>> fields;
        bool custom;
        TModoQuiz edition;
        bool fotoFull;
        const char* expected;
    } cases[] = {
        {"quiz code d", {{"Domanda", "d12"}}, false, TModoQuiz::mqAB, false, "quiz dom=Cd12 btn:Q"},
        {"quiz code", {{"Domanda", "12"}}, false, TModoQuiz::mqAB, false, "quiz dom=Ad12 btn:Q"},
        {"sign f", {{"Nome segnale", "f120"}}, false, TModoQuiz::mqAB, false, "sign=120 f btn:"},
        {"special first", {{"Nome segnale", "599"}}, false, TModoQuiz::mqAB, false, "sign=599 special btn:"},
        {"special last", {{"Nome segnale", "686"}}, false, TModoQuiz::mqAB, false, "sign=686 special btn:"},
        {"between ranges", {{"Nome segnale", "630"}}, false, TModoQuiz::mqAB, false, "sign=630 btn:"},
        {"not a number", {{"Nome segnale", "6a1"}}, false, TModoQuiz::mqAB, false, "sign=6a1 btn:"},
        {"html only", {{"Html1", "h1"}}, false, TModoQuiz::mqAB, false, "foto btn:F"},
        {"film text sound icon",
         {{"Video", "v"}, {"Testo", "t"}, {"Audio", "a"}, {"Icona3", "x"}},
         false, TModoQuiz::mqAB, false, "video testo audio icona3 btn:V"},
        {"book page", {{"Libro", "12"}}, false, TModoQuiz::mqAB, false, "libro=12 btn:L"},
        {"book page missing", {{"Libro", "13"}}, false, TModoQuiz::mqAB, false, "btn:"},
        {"book page not a name", {{"Libro", "../12"}}, false, TModoQuiz::mqAB, false, "btn:"},
        {"book of C-D-E", {{"Libro", "14"}}, false, TModoQuiz::mqCD, false, "libro=14 btn:L"},
        {"custom, not selected", {{"Domanda", "12"}, {"Quesito1", "q"}}, true, TModoQuiz::mqAB, false, "btn:"},
        {"custom, no statements", {{"Domanda", "12"}, {"Selezione", "SI"}}, true, TModoQuiz::mqAB, false,
         "dom=Ad12 btn:Q"},
        {"custom quiz", {{"Domanda", "12"}, {"Selezione", "SI"}, {"Quesito1", "q"}}, true, TModoQuiz::mqAB, false,
         "quiz dom=Ad12 btn:Q"},
        {"custom lone photo", {{"Foto1", "p"}}, true, TModoQuiz::mqAB, false, "foto btn:"},
        {"custom lone photo, full screen", {{"Foto1", "p"}}, true, TModoQuiz::mqAB, true, "foto btn:F"},
        {"custom two photos", {{"Foto1", "p"}, {"Foto2", "q"}}, true, TModoQuiz::mqAB, false, "foto btn:F"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(buildTable(table, {{1, "B00", c.fields}}));
        makeNavigator();
        g.Custom = c.custom;
        g.Edizione = c.edition;
        cfg.CBfotoFull = c.fotoFull;
        EXPECT_TRUE(nav->ControllaDb(0));
        EXPECT_EQ(flags(), QLatin1String(c.expected));
    }
}

TEST_F(NavigatorTest, SpecialSignsAreTheSixtyNineCrossroadsNumbers)
{
    int count = 0;
    for (int n = 0; n < 1000; ++n)
        count += Navigator::isSpecialSign(QString::number(n)) ? 1 : 0;
    EXPECT_EQ(count, 69);
    for (const char* name : {"", "f610", "610a", " 610", "+610", "0610x", "6100000000"})
        EXPECT_FALSE(Navigator::isSpecialSign(name)) << name;
}

// ------------------------------------------------------- skipping records

TEST_F(NavigatorTest, CercaContiguoSkipsWhatTheViewModeHides)
{
    const Rec sign1{1, "B00", {{"Nome segnale", "1"}}};
    struct Case {
        const char* name;
        std::initializer_list<Rec> rows;
        bool passSegnale, passDomanda, custom;
        const char* campo;
        int from, direzione, expected;
    } cases[] = {
        {"only questions", {sign1, {2, "B00", {{"Nome segnale", "2"}}}, {3, "B00", {{"Domanda", "3"}}}},
         false, true, false, "Domanda", 1, 1, 3},
        {"spare 2 stays", {sign1, {2, "B00", {{"Spare", "2"}}}, {3, "B00", {{"Domanda", "3"}}}},
         false, true, false, "Domanda", 1, 1, 2},
        {"only signs skip spare 3",
         {{1, "B00", {{"Domanda", "1"}}}, {2, "B00", {{"Nome segnale", "2"}, {"Spare", "3"}}},
          {3, "B00", {{"Nome segnale", "3"}}}},
         true, false, false, "Nome segnale", 1, 1, 3},
        {"spare 3 shown with questions",
         {{1, "B00", {{"Domanda", "1"}}}, {2, "B00", {{"Nome segnale", "2"}, {"Spare", "3"}}},
          {3, "B00", {{"Nome segnale", "3"}}}},
         true, true, false, "Nome segnale", 1, 1, 2},
        {"custom Selezione NO",
         {sign1, {2, "B00", {{"Domanda", "2"}, {"Selezione", "NO"}, {"Quesito1", "q"}}},
          {3, "B00", {{"Domanda", "3"}, {"Quesito1", "q"}}}},
         true, true, true, "Domanda", 1, 1, 3},
        {"custom without statements",
         {sign1, {2, "B00", {{"Domanda", "2"}}}, {3, "B00", {{"Domanda", "3"}, {"Quesito1", "q"}}}},
         true, true, true, "Domanda", 1, 1, 3},
        {"backward",
         {{1, "B00", {{"Domanda", "1"}}}, {2, "B00", {{"Nome segnale", "2"}}}, {3, "B00", {{"Nome segnale", "3"}}}},
         false, true, false, "Domanda", 3, -1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(buildTable(table, c.rows));
        makeNavigator();
        nav->FiltraDB("A00", "Z99", false);
        g.PASSsegnale = c.passSegnale;
        g.PASSdomanda = c.passDomanda;
        g.Custom = c.custom;
        table.setRecNo(c.from);
        EXPECT_TRUE(nav->CercaContiguo(c.campo, c.direzione));
        EXPECT_EQ(at(), c.expected);
        EXPECT_TRUE(view.shown.isEmpty());
    }
}

// Reaching the end while skipping reports it once and keeps the record on
// show: it never lands on a record the mode hides.
TEST_F(NavigatorTest, SkippingToTheEndReportsOnceAndKeepsTheRecordOnShow)
{
    for (bool skipOption : {false, true}) {
        SCOPED_TRACE(skipOption ? "skip option" : "plain");
        cfg.CBnoSsD = skipOption;
        g.PASSsegnale = false;  // only questions
        start({{1, "B00", {{"Domanda", "1"}}}, {2, "B00", {{"Domanda", "2"}}},
               {3, "B00", {{"Nome segnale", "3"}}}, {4, "B00", {{"Nome segnale", "4"}}}});
        nav->SWavanti();
        EXPECT_EQ(at(), 2);
        forget();

        nav->SWavanti();
        EXPECT_EQ(view.shown, QStringList{"Argomento terminato"});
        EXPECT_EQ(at(), 2);
        EXPECT_EQ(g.Domanda, QLatin1String("Ad2"));
        EXPECT_FALSE(g.SegnaleON);
        EXPECT_FALSE(log.join(' ').contains("sign"));
        EXPECT_FALSE(log.join(' ').contains("quiz Ad2"));  // not shown again either

        nav->SWavanti();
        EXPECT_EQ(beeps, 1);
        EXPECT_EQ(view.shown.size(), 1);
        EXPECT_EQ(at(), 2);

        // The way back still works from there.
        nav->SWindietro();
        EXPECT_EQ(at(), 1);
    }
}

// ------------------------------------------------------------------- steps

struct Branch {
    const char* name;
    bool forward;
    std::function<void(FakeViewers&, Globals&)> setup;
    QStringList expected;
};

class StepBranchTest : public NavigatorTest, public ::testing::WithParamInterface<Branch> {};

TEST_P(StepBranchTest, HandsTheStepToWhatIsOpen)
{
    const Branch& b = GetParam();
    start({{1, "B00", {{"Nome segnale", "101"}, {"Domanda", "12"}}},
           {2, "B00", {{"Nome segnale", "102"}, {"Domanda", "13"}}},
           {3, "B00", {{"Nome segnale", "103"}}}});
    table.setRecNo(2);
    nav->ControllaDb(0);
    forget();
    const int jumps = main.jumpHidden;
    b.setup(viewers, g);
    if (b.forward)
        nav->SWavanti();
    else
        nav->SWindietro();
    EXPECT_EQ(log, b.expected);
    EXPECT_EQ(at(), 2);  // none of them moves
    EXPECT_FALSE(g.VistaLink);
    EXPECT_EQ(main.jumpHidden, jumps + 1);
}

void photos(FakeViewers& v, Globals& g, int current, int count)
{
    v.photo = true;
    g.FotoCorrente = current;
    g.NumeroFoto = count;
}

INSTANTIATE_TEST_SUITE_P(
    Navigator, StepBranchTest,
    ::testing::Values(
        Branch{"html_fwd", true, [](FakeViewers& v, Globals&) { v.html = v.photo = true; }, {"closeHtml", "closePhoto"}},
        Branch{"last_photo_fwd", true, [](FakeViewers& v, Globals& g) { photos(v, g, 3, 3); }, {"closePhoto"}},
        Branch{"only_photo_quiz_fwd", true,
               [](FakeViewers& v, Globals& g) {
                   photos(v, g, 1, 1);
                   v.quiz = true;
               },
               {"closePhoto", "focusQuiz"}},
        Branch{"other_photo_fwd", true, [](FakeViewers& v, Globals& g) { photos(v, g, 1, 3); }, {"nextPhoto"}},
        Branch{"previews_fwd", true, [](FakeViewers& v, Globals&) { v.previews = true; }, {"firstPreview"}},
        Branch{"link_fwd", true, [](FakeViewers&, Globals& g) { g.VistaLink = true; }, {"sign 102"}},
        Branch{"book_fwd", true, [](FakeViewers&, Globals& g) { g.PagineLibro = true; }, {"nextPage"}},
        Branch{"film_fwd", true, [](FakeViewers& v, Globals&) { v.film = true; }, {"resumeFilm"}},
        Branch{"photo_mode_quiz_fwd", true,
               [](FakeViewers& v, Globals& g) {
                   g.SoloFoto = true;
                   photos(v, g, 1, 1);
               },
               {"closePhoto", "quiz Ad13"}},
        Branch{"html_back", false, [](FakeViewers& v, Globals&) { v.html = v.photo = true; }, {"closeHtml", "closePhoto"}},
        Branch{"first_photo_back", false, [](FakeViewers& v, Globals& g) { photos(v, g, 1, 3); }, {"closePhoto"}},
        Branch{"other_photo_back", false, [](FakeViewers& v, Globals& g) { photos(v, g, 2, 3); }, {"prevPhoto"}},
        Branch{"previews_back", false, [](FakeViewers& v, Globals&) { v.previews = true; }, {"firstPreview"}},
        Branch{"link_back", false, [](FakeViewers&, Globals& g) { g.VistaLink = true; }, {"sign 102"}},
        Branch{"book_back", false, [](FakeViewers&, Globals& g) { g.PagineLibro = true; }, {"prevPage"}},
        Branch{"film_back", false, [](FakeViewers& v, Globals&) { v.film = true; }, {"restartFilm"}},
        Branch{"photo_mode_quiz_back", false,
               [](FakeViewers& v, Globals& g) {
                   g.SoloFoto = true;
                   photos(v, g, 1, 1);
               },
               {"closePhoto", "quiz Ad13"}}),
    [](const ::testing::TestParamInfo<Branch>& info) { return std::string(info.param.name); });

// One walk forward and back through a sign with a quiz block, a question, a
// record of photographs and a sign, in both views.
TEST_F(NavigatorTest, WalksForwardAndBackThroughEveryKindOfRecord)
{
    start({{1, "B00", {{"Nome segnale", "101"}, {"Domanda", "11"}}},
           {2, "B00", {{"Domanda", "12"}}},
           {3, "B00", {{"Foto1", "p"}}},
           {4, "B00", {{"Nome segnale", "104"}}}});
    EXPECT_TRUE(g.LockLoop);  // the sign of record 1 holds its quiz back

    struct Step {
        bool forward;
        QStringList log;
        int record;
        const char* notice;
    } steps[] = {
        {true, {"quiz Ad11"}, 1, nullptr},          // unlocked without moving
        {true, {"quiz Ad12"}, 2, nullptr},
        {true, {"SWfotoClick"}, 3, nullptr},
        {true, {"closePhoto", "focusQuiz"}, 3, nullptr},
        {true, {"closeQuiz", "sign 104"}, 4, nullptr},
        {true, {"sign 104"}, 4, "Argomento terminato"},
        {true, {}, 4, nullptr},                     // only a beep
        {false, {"SWfotoClick"}, 3, nullptr},
        {false, {"closePhoto"}, 3, nullptr},
        {false, {"SWfotoClick"}, 2, nullptr},       // leaving the photographs: photo mode
        {false, {"quiz Ad12"}, 2, nullptr},         // the question ends photo mode
        {false, {"closeQuiz", "sign 101"}, 1, nullptr},
        {false, {"sign 101"}, 1, "Inizio Argomento"},
        {false, {}, 1, nullptr},
    };
    int index = 0;
    for (const Step& s : steps) {
        SCOPED_TRACE(index++);
        forget();
        if (s.forward)
            nav->SWavanti();
        else
            nav->SWindietro();
        EXPECT_EQ(log, s.log);
        EXPECT_EQ(at(), s.record);
        EXPECT_EQ(view.shown, s.notice ? QStringList{s.notice} : QStringList{});
        EXPECT_EQ(beeps, s.log.isEmpty() && !s.notice ? 1 : 0);
        if (index == 2) {
            EXPECT_EQ(g.ContatoreRecord, 2);  // raised while the quiz was visible
        }
        if (index == 10) {
            EXPECT_TRUE(g.SoloFoto);
        }
    }
    EXPECT_FALSE(g.SoloFoto);
    EXPECT_TRUE(sign.lastFlgIcone);
    EXPECT_EQ(sign.lastModoTxt, cfg.CBNomeSegnali);
}

TEST_F(NavigatorTest, Spare1ShowsTheNextQuestionInSignsOnlyView)
{
    for (const char* spare : {"1", ""}) {
        SCOPED_TRACE(spare);
        g.PASSdomanda = false;  // only signs
        start({{1, "B00", {{"Nome segnale", "101"}, {"Spare", spare}}},
               {2, "B00", {{"Domanda", "2"}}},
               {3, "B00", {{"Nome segnale", "103"}}}});
        viewers.quiz = true;
        nav->SWavanti();
        if (*spare) {
            EXPECT_EQ(at(), 2);
            EXPECT_EQ(log, QStringList{"quiz Ad2"});
        } else {
            EXPECT_EQ(at(), 3);
        }
        EXPECT_FALSE(g.PASSdomanda);
    }
}

// A sign shown with a quiz block loaded while records without questions are
// skipped: going back looks for the previous question and stops there.
TEST_F(NavigatorTest, BackFromASignWithAQuizLoadedStopsAtThePreviousQuestion)
{
    cfg.CBnoSsD = true;
    start({{1, "B00", {{"Domanda", "1"}}}, {2, "B00", {{"Nome segnale", "102"}}}});
    table.setRecNo(2);
    nav->ControllaDb(0);
    viewers.quiz = true;
    g.DomandaON = true;
    forget();
    nav->SWindietro();
    EXPECT_EQ(at(), 1);
    EXPECT_EQ(log, QStringList{"quiz Ad1"});
    EXPECT_TRUE(view.shown.isEmpty());
}

// ------------------------------------------------------------- photo mode

TEST_F(NavigatorTest, Spare5StartsPhotoModeGoingForwardEvenWhenSkipping)
{
    cfg.CBnoSsD = true;  // records without a quiz block are skipped...
    start({{1, "B00", {{"Nome segnale", "101"}, {"Domanda", "1"}}},
           {2, "B00", {{"Spare", "5"}, {"Foto1", "p"}}},
           {3, "B00", {{"Spare", "5"}, {"Foto1", "q"}}}});
    nav->SWavanti();  // record 1's quiz first
    forget();
    nav->SWavanti();  // ...but not the photographs that follow it
    EXPECT_EQ(at(), 2);
    EXPECT_TRUE(g.SoloFoto);
    EXPECT_EQ(log, QStringList{"SWfotoClick"});

    forget();
    nav->SWavanti();
    EXPECT_EQ(at(), 3);
    EXPECT_EQ(log, QStringList{"SWfotoClick"});

    forget();
    nav->SWavanti();
    EXPECT_EQ(view.shown, QStringList{"Ultima foto"});  // not "Argomento terminato"
    nav->SWavanti();
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(view.shown.size(), 1);
}

TEST_F(NavigatorTest, PhotoModeGoingBackEndsAtTheQuestionOrTheStart)
{
    start({{1, "B00", {{"Domanda", "1"}, {"Spare", "4"}}},
           {2, "B00", {{"Foto1", "p"}}},
           {3, "B00", {{"Foto1", "q"}}}});
    g.SoloFoto = true;
    table.setRecNo(3);
    nav->ControllaDb(0);
    nav->SWindietro();
    EXPECT_EQ(at(), 2);
    EXPECT_EQ(log, QStringList{"SWfotoClick"});

    forget();
    nav->SWindietro();  // record 1 opens the sequence: back to its question
    EXPECT_EQ(at(), 1);
    EXPECT_FALSE(g.SoloFoto);
    EXPECT_EQ(log, (QStringList{"closePhoto", "quiz Ad1"}));

    // From the first record of a photo walk there is nothing before.
    start({{1, "B00", {{"Foto1", "p"}}}, {2, "B00", {{"Foto1", "q"}}}});
    g.SoloFoto = true;
    nav->SWindietro();
    EXPECT_EQ(view.shown, QStringList{"Foto iniziale"});
    nav->SWindietro();
    EXPECT_EQ(beeps, 1);
}

// --------------------------------------------------------------- jumps

TEST_F(NavigatorTest, JmpRandomCountsItsJumpsFromOneToTen)
{
    start({{1, "B00"}, {2, "B00"}, {3, "B00"}, {4, "B00"}, {5, "B00"}});
    randoms = {705, 1};  // far forward: cut short at the last record
    nav->JmpRandom();
    EXPECT_EQ(at(), 5);
    EXPECT_FALSE(table.eof());  // landing there is not the end of the walk
    EXPECT_EQ(g.ContatoreRecord, 2);
    EXPECT_EQ(nav->fields().NumeroJmp, 2);

    randoms = {2, 0};  // two back
    nav->JmpRandom();
    EXPECT_EQ(at(), 3);
    for (int i = 0; i < 8; ++i)
        nav->JmpRandom();
    EXPECT_EQ(nav->fields().NumeroJmp, 1);
    EXPECT_TRUE(view.shown.isEmpty());
}

TEST_F(NavigatorTest, MixedOrderWalksTheWholeTableByRandomJumps)
{
    cfg.CBesame = true;
    build({{1, "A01"}, {2, "B00"}, {3, "B00"}, {4, "C01"}});
    nav->FiltraDB("B00", "B00Z", false);
    nav->Avvio(1);
    EXPECT_EQ(g.TitoloArgomento, QLatin1String("Tutte le domande"));
    EXPECT_EQ(table.recordCount(), 4);
    EXPECT_EQ(nav->fields().NumeroJmp, 1);
    randoms = {2, 1};
    const int from = at();
    nav->SWavanti();
    EXPECT_EQ(nav->fields().NumeroJmp, 2);
    EXPECT_EQ(table.recNo(), 4);
    EXPECT_NE(at(), from);
}

TEST_F(NavigatorTest, SpostaSuRecordPrefersTheExactValue)
{
    files.insert("/data/sgt/999.BMP");
    files.insert("/data/sgt/800n.BMP");
    files.insert("/data/foto/555.KXB");
    struct Case {
        const char* campo;
        const char* value;
        int result;
        int record;  // where the cursor is afterwards
    } cases[] = {
        {"Nome segnale", "12", 1, 2},  // "120" comes first but "12" exists
        {"Nome segnale", "3", 1, 3},   // only a prefix: the first that begins with it
        {"Foto1", "77", 1, 4},
        {"NumRec", "3", 1, 3},
        {"Nome segnale", "999", 2, 1},  // a picture without a record
    };
    start({{1, "B00", {{"Nome segnale", "120"}}},
           {2, "B00", {{"Nome segnale", "12"}}},
           {3, "B00", {{"Nome segnale", "345"}}},
           {4, "B00", {{"Foto1", "777"}}}});
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.campo) + " " + c.value);
        table.first();
        EXPECT_EQ(nav->SpostaSuRecord(c.campo, c.value, false), c.result);
        EXPECT_EQ(at(), c.record);
    }
    EXPECT_TRUE(view.shown.isEmpty());

    // The sign picture is looked up after the pictogram rule outside A-B and AM.
    g.Edizione = TModoQuiz::mqCD;
    EXPECT_EQ(nav->SpostaSuRecord("Nome segnale", "800", false), 2);
    g.Edizione = TModoQuiz::mqAB;
    EXPECT_EQ(nav->SpostaSuRecord("Nome segnale", "800", false), 0);
}

TEST_F(NavigatorTest, SpostaSuRecordReportsWhatItCannotFind)
{
    files.insert("/data/foto/555.KXB");
    start({{1, "B00", {{"Nome segnale", "120"}}}, {2, "B00", {{"Nome segnale", "610"}, {"Domanda", "6"}}}});

    EXPECT_EQ(nav->SpostaSuRecord("Nome segnale", "998", false), 0);
    g.PASSsegnale = false;
    EXPECT_EQ(nav->SpostaSuRecord("Nome segnale", "998", false), 0);
    view.visible = true;
    EXPECT_EQ(nav->SpostaSuRecord("Nome segnale", "998", false), 0);
    EXPECT_EQ(view.shown, (QStringList{"La figura digitata non esiste", "Non ci sono domande per la figura scelta",
                                       "La figura digitata non esiste"}));
    g.PASSsegnale = true;
    view.visible = false;
    forget();

    viewers.playing = true;
    EXPECT_EQ(nav->SpostaSuRecord("Foto1", "555", false), 1);
    EXPECT_TRUE(g.SoloFoto);
    EXPECT_EQ(g.FotoCorrente, 555);
    EXPECT_EQ(log, (QStringList{"single /data/foto/555.KXB", "pauseFilm"}));
    // The user's own photographs are plain bitmaps in their folder.
    files.insert("/data/utente/foto/9001.BMP");
    EXPECT_EQ(nav->SpostaSuRecord("Foto1", "9001", false), 1);
    EXPECT_TRUE(log.contains(QStringLiteral("single /data/utente/foto/9001.BMP"))) << qPrintable(log.join('|'));
    log.clear();

    g.SoloFoto = false;
    EXPECT_EQ(nav->SpostaSuRecord("Foto1", "556", false), 1);
    EXPECT_FALSE(g.SoloFoto);
    EXPECT_EQ(view.shown, QStringList{"Errore, display foto"});
    EXPECT_EQ(at(), 1);
}

TEST_F(NavigatorTest, SpostaSuRecordWithActionShowsTheRecord)
{
    start({{1, "B00", {{"Nome segnale", "120"}}}, {2, "B00", {{"Nome segnale", "12"}, {"Domanda", "2"}}},
           {3, "B00", {{"Nome segnale", "610"}}}});
    viewers.quiz = true;
    g.VistaLink = true;
    nav->fields().BloccoAvanti = true;
    EXPECT_EQ(nav->SpostaSuRecord("Nome segnale", "12", true), 1);
    EXPECT_EQ(log, (QStringList{"sign 12", "quiz Ad2", "closeQuiz"}));
    EXPECT_FALSE(g.VistaLink);
    EXPECT_FALSE(nav->fields().BloccoAvanti);

    forget();
    viewers.quiz = true;
    EXPECT_EQ(nav->SpostaSuRecord("Nome segnale", "610", true), 1);
    EXPECT_TRUE(viewers.quiz);  // a crossroads scene keeps the quiz
}

// ------------------------------------------------------------- side trips

TEST_F(NavigatorTest, AttivaModoTempKeepsThePendingWayBack)
{
    start({{1, "B00"}, {2, "B00", {{"Nome segnale", "101"}}}, {3, "H01", {{"Domanda", "3"}}}});
    nav->FiltraDB("B00", "B00Z", false);
    table.setRecNo(2);
    nav->ControllaDb(0);
    g.ContatoreRecord = 4;
    g.ContatoreAffermazioni = 5;
    viewers.quiz = true;

    nav->AttivaModoTemp("H01", "H01Z", false);
    const TMdTemp& t = g.MdTemp;
    EXPECT_TRUE(t.Status);
    EXPECT_EQ(t.Snap, QLatin1Char('Q'));
    EXPECT_EQ(t.RecNum, 2);
    EXPECT_EQ(t.Argomento, QLatin1String("B00"));
    EXPECT_EQ(t.NumDomanda, 4);
    EXPECT_EQ(t.NumAffermazione, 5);
    EXPECT_TRUE(t.Segnale);
    EXPECT_FALSE(t.Domanda);
    EXPECT_TRUE(t.L_AB);
    EXPECT_TRUE(t.LezPers.isEmpty());
    EXPECT_EQ(walkNumbers(table), QList<int>{3});

    // A second trip from inside the first re-filters but keeps the way back.
    viewers.photo = true;
    nav->AttivaModoTemp("A", "Z", false);
    EXPECT_EQ(t.RecNum, 2);
    EXPECT_EQ(t.Snap, QLatin1Char('Q'));
    EXPECT_EQ(t.Argomento, QLatin1String("B00"));
    EXPECT_EQ(walkNumbers(table), (QList<int>{1, 2, 3}));
    EXPECT_FALSE(viewers.photo);
}

TEST_F(NavigatorTest, AttivaModoTempLeavesACustomLesson)
{
    start({{1, "B00", {{"Foto1", "p"}}}});
    g.Custom = true;
    g.Edizione = TModoQuiz::mqCQ;
    viewers.photo = true;
    g.FotoCorrente = 3;
    nav->AttivaModoTemp("A01", "A01", false);
    EXPECT_EQ(g.MdTemp.Snap, QLatin1Char('F'));
    EXPECT_EQ(g.MdTemp.Foto, 3);
    EXPECT_TRUE(g.MdTemp.Custom);
    EXPECT_TRUE(g.MdTemp.L_CQ);
    EXPECT_FALSE(g.MdTemp.L_AB);
    EXPECT_EQ(g.MdTemp.LezPers, QLatin1String("/lessons/test.xml"));
    EXPECT_EQ(log, (QStringList{"closePhoto", "closeLesson"}));
}

// The way back from a side trip: the edition the trip left (switched back
// through the edition port), the record by its number, and the counters as
// they were, with the way back spent. One that cannot be taken is dropped.
TEST_F(NavigatorTest, ReturnFromSideTripRestoresEditionRecordAndCounters)
{
    struct Editions : EditionPort {
        QList<TModoQuiz> opened;
        bool ok = true;
        bool openEditionTable(TModoQuiz e, QString* error) override
        {
            opened << e;
            if (!ok)
                *error = QStringLiteral("broken");
            return ok;
        }
    } editions;

    start({{1, "B00", {{"Nome segnale", "101"}}},
           {2, "B00", {{"Nome segnale", "102"}, {"Domanda", "2"}}},
           {3, "H01", {{"Domanda", "3"}}}});
    nav->FiltraDB("B00", "B00Z", false);
    table.setRecNo(2);
    nav->ControllaDb(0);
    g.ContatoreRecord = 4;
    g.ContatoreAffermazioni = 5;
    nav->AttivaModoTemp("H01", "H01Z", false);
    nav->Avvio(0);
    ASSERT_EQ(at(), 3);

    EXPECT_TRUE(nav->returnFromSideTrip(editions));
    EXPECT_TRUE(editions.opened.isEmpty());  // the trip stayed in this edition
    EXPECT_FALSE(g.MdTemp.Status);
    EXPECT_EQ(at(), 2);
    EXPECT_EQ(walkNumbers(table), (QList<int>{1, 2}));
    EXPECT_EQ(g.ContatoreRecord, 4);
    EXPECT_EQ(g.ContatoreAffermazioni, 5);
    EXPECT_EQ(g.Segnale, QLatin1String("102"));
    EXPECT_EQ(nav->fields().SottoArgCorr, QLatin1String("B00"));

    // A trip taken from another edition goes back to it first; when its
    // table cannot be opened the way back is dropped and nothing moves.
    for (const bool ok : {false, true}) {
        SCOPED_TRACE(ok);
        nav->FiltraDB("B00", "B00Z", false);
        table.setRecNo(2);
        nav->ControllaDb(0);
        nav->AttivaModoTemp("H01", "H01Z", false);
        g.MdTemp.L_AB = false;
        g.MdTemp.L_CD = true;
        editions.ok = ok;
        editions.opened.clear();
        EXPECT_EQ(nav->returnFromSideTrip(editions), ok);
        EXPECT_EQ(editions.opened, QList<TModoQuiz>{TModoQuiz::mqCD});
        EXPECT_FALSE(g.MdTemp.Status);
        EXPECT_EQ(g.Edizione, ok ? TModoQuiz::mqCD : TModoQuiz::mqAB);
        EXPECT_EQ(at(), ok ? 2 : 3);
        CambiaEdizione(g, int(TModoQuiz::mqAB), nullptr);
    }
    // Nothing pending: nothing to take.
    EXPECT_FALSE(nav->returnFromSideTrip(editions));
}

// A back step ends in the view the menu chose: a question forced on for a
// record marked "1" in a signs-only view is let go again, and a questions-
// only view keeps its questions.
TEST_F(NavigatorTest, BackStepEndsInTheViewChosenInTheMenu)
{
    struct Case {
        bool passSegnale, passDomanda;
    };
    for (const Case c : {Case{true, false}, Case{false, true}, Case{true, true}}) {
        SCOPED_TRACE(QStringLiteral("signs %1 questions %2").arg(c.passSegnale).arg(c.passDomanda).toStdString());
        g.PASSsegnale = c.passSegnale;
        g.PASSdomanda = c.passDomanda;
        start({{1, "B00", {{"Nome segnale", "101"}, {"Domanda", "1"}}},
               {2, "B00", {{"Domanda", "2"}, {"Spare", "1"}}},
               {3, "B00", {{"Nome segnale", "103"}, {"Domanda", "3"}, {"Spare", "1"}}}});
        table.setRecNo(3);
        nav->ControllaDb(0);
        viewers.quiz = true;
        nav->SWindietro();
        EXPECT_EQ(g.PASSsegnale, c.passSegnale);
        EXPECT_EQ(g.PASSdomanda, c.passDomanda);
        nav->SWindietro();
        EXPECT_EQ(g.PASSdomanda, c.passDomanda);
    }
}

// A failure while a topic starts is said in a message box, and the lesson
// goes on with what was reached.
TEST_F(NavigatorTest, AFailureOfTheStartIsSaid)
{
    build({{1, "B00", {{"Nome segnale", "101"}}}});
    forget();
    sign.throwOnShow = true;
    nav->Avvio(1);
    EXPECT_EQ(log, QStringList{"message ERRORE di avvio\r\npicture"});
    EXPECT_TRUE(view.shown.isEmpty());
    EXPECT_EQ(at(), 1);
}

// --------------------------------------------------------- custom lessons

TEST_F(NavigatorTest, CustomLessonWalksSignsQuestionsAndPhotographs)
{
    g.Custom = true;
    start({{1, "B00", {{"Nome segnale", "101"}, {"Domanda", "1"}, {"Selezione", "SI"}, {"Quesito1", "q"}}},
           {2, "B00", {{"Foto1", "p"}, {"Foto2", "p2"}}},
           {3, "B00", {{"Foto1", "r"}}},
           {4, "B00", {{"Domanda", "4"}, {"Selezione", "SI"}, {"Quesito1", "q"}}}});
    EXPECT_TRUE(main.progressVisible);

    struct Step {
        bool forward;
        QStringList log;
        int record;
    } steps[] = {
        {true, {"quiz Ad1"}, 1},
        {true, {"SWfotoClick"}, 2},
        {true, {"SWfotoClick"}, 3},              // photographs run on into the next record
        {true, {"emptySign", "closePhoto"}, 3},  // the next one has a question
        {true, {"quiz Ad4"}, 4},
        {false, {"SWfotoClick"}, 3},
        {false, {"openPhoto -1"}, 2},            // back from photograph 1: the previous one's last
        {false, {"emptySign", "closePhoto"}, 2}, // the one before has a sign
        {false, {"sign 101", "closeQuiz"}, 1},
    };
    int index = 0;
    for (const Step& s : steps) {
        SCOPED_TRACE(index++);
        forget();
        if (s.forward)
            nav->SWavanti();
        else
            nav->SWindietro();
        EXPECT_EQ(log, s.log);
        EXPECT_EQ(at(), s.record);
    }
}

// Photographs that run on into the next record count it; running back into
// the previous one takes the count down, but never below the first record.
TEST_F(NavigatorTest, CustomLessonPhotographsRunningOnCountTheRecords)
{
    const Rec::Fields photos{{"Foto1", "p"}};
    const struct {
        bool forward;
        int before, after;
    } cases[] = {{true, 1, 2}, {false, 2, 1}, {false, 1, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.forward ? "forward from " : "back from ") << c.before);
        g.Custom = true;
        build({{1, "B00", photos}, {2, "B00", photos}});
        c.forward ? table.first() : table.last();
        nav->Avvio(0);  // opens the record's one photograph
        ASSERT_TRUE(viewers.photo);
        g.ContatoreRecord = c.before;
        c.forward ? nav->SWavanti() : nav->SWindietro();
        EXPECT_EQ(at(), c.forward ? 2 : 1);
        EXPECT_EQ(g.ContatoreRecord, c.after);
    }
}

// At either end of a lesson a step has nowhere to go: the record, its
// counter and the sign's panels stay as they are. With the photo viewer on
// its last photograph (its first going back) nothing at all happens; with it
// closed the end of the lesson is said.
TEST_F(NavigatorTest, CustomLessonStepPastAnEndKeepsTheRecordAndItsPanels)
{
    const Rec::Fields question{{"Domanda", "1"}, {"Selezione", "SI"}, {"Quesito1", "q"}};
    const Rec::Fields withSign{{"Nome segnale", "101"}, {"Icona1", "12"}, {"Foto1", "p"}, {"Foto2", "q"}};
    const Rec::Fields photos{{"Foto1", "p"}, {"Foto2", "q"}};
    struct Case {
        const char* name;
        bool forward;
        Rec::Fields end;  // the record at the end the step goes towards
        bool viewerOpen;
        QStringList said;
    } cases[] = {
        {"forward, sign", true, withSign, false, {"Argomento terminato"}},
        {"forward, sign, last photograph", true, withSign, true, {}},
        {"forward, photographs only, last one", true, photos, true, {}},
        {"back, sign", false, withSign, false, {"Inizio Argomento"}},
        {"back, sign, first photograph", false, withSign, true, {}},
        {"back, photographs only, first one", false, photos, true, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g.Custom = true;
        if (c.forward)
            build({{1, "B00", question}, {2, "B00", c.end}});
        else
            build({{1, "B00", c.end}, {2, "B00", question}});
        c.forward ? table.last() : table.first();
        nav->Avvio(0);
        viewers.photo = c.viewerOpen;
        g.NumeroFoto = 2;
        g.FotoCorrente = c.forward ? 2 : 1;
        g.ContatoreRecord = 2;
        const int record = at();
        forget();
        sign.cleared = 0;

        c.forward ? nav->SWavanti() : nav->SWindietro();
        EXPECT_EQ(at(), record);
        EXPECT_EQ(g.ContatoreRecord, 2);
        EXPECT_EQ(sign.cleared, 0);
        EXPECT_EQ(log, QStringList());
        EXPECT_EQ(view.shown, c.said);
        EXPECT_EQ(viewers.photo, c.viewerOpen);
    }
}

// ------------------------------------------------------------- bad input

// A sign with its question holds the forward step once (the question comes
// first); a step back is never held.
TEST_F(NavigatorTest, CustomLessonLockHoldsOnlyTheForwardStep)
{
    g.Custom = true;
    start({{1, "B00", {{"Nome segnale", "101"}, {"Domanda", "1"}, {"Selezione", "SI"}, {"Quesito1", "q"}}},
           {2, "B00", {{"Nome segnale", "102"}, {"Domanda", "2"}, {"Selezione", "SI"}, {"Quesito1", "q"}}}});
    ASSERT_TRUE(g.LockLoop);
    nav->SWavanti();
    EXPECT_EQ(at(), 1);
    nav->SWavanti();
    ASSERT_EQ(at(), 2);
    ASSERT_TRUE(g.LockLoop);
    forget();
    nav->SWindietro();
    EXPECT_EQ(at(), 1);
    EXPECT_EQ(log, QStringList{"sign 101"});
}

TEST_F(NavigatorTest, AFailureDuringAStepWaitsAndFinishesTheStep)
{
    start({{1, "B00", {{"Nome segnale", "101"}}}, {2, "B00", {{"Nome segnale", "102"}}}});
    sign.throwOnShow = true;
    const int jumps = main.jumpHidden;
    nav->SWavanti();
    EXPECT_EQ(waits, QList<double>{0.2});
    EXPECT_EQ(at(), 2);
    EXPECT_TRUE(g.PASSdomanda);
    EXPECT_EQ(main.jumpHidden, jumps + 1);
}

TEST_F(NavigatorTest, EmptyRangesMissingFieldsAndClosedTablesDoNotBreakTheWalk)
{
    build({{1, "B00", {{"Nome segnale", "1"}}}});
    nav->FiltraDB("K00", "K00Z", true);
    EXPECT_EQ(g.TotaleRecord, 0);
    nav->Avvio(0);
    nav->SWavanti();
    nav->SWindietro();
    nav->JmpRandom();
    EXPECT_EQ(nav->SpostaSuRecord("NumRec", "1", true), 0);
    EXPECT_TRUE(view.shown.contains("Argomento terminato"));
    EXPECT_TRUE(view.shown.contains("Foto iniziale"));  // nothing to show: a photo walk
    EXPECT_FALSE(g.SegnaleON);

    // A lesson file that lacks most fields walks with every flag off.
    ASSERT_TRUE(buildTable(table, {{1, "B00"}, {2, "B00"}},
                           {FieldDef::integer("NumRec"), FieldDef::text("Argomento", 3)}));
    makeNavigator();
    g.PASSsegnale = false;  // only questions: nothing to show at all
    cfg.CBnoSsD = true;
    nav->FiltraDB("B00", "B00Z", false);
    nav->Avvio(1);
    nav->SWavanti();
    nav->SWindietro();
    EXPECT_EQ(flags(), QLatin1String("btn:"));

    // A table that never opened.
    DataTable closed;
    Navigator lone(g, cfg, reporter, closed, viewers, main, sign, services);
    lone.FiltraDB("B00", "B00Z", true);
    lone.Avvio(1);
    lone.SWavanti();
    lone.SWindietro();
    lone.JmpRandom();
    EXPECT_EQ(lone.ContaDomande(0), 0);
    EXPECT_TRUE(lone.VeroSeVuoto("Domanda"));
}

}  // namespace
