#include "shell/main_logic.h"

#include "base/globals.h"
#include "config/settings.h"
#include "diag/reporter.h"
#include "platform/dataset/data_table.h"
#include "platform/dataset/table_schema.h"
#include "support/port_fakes.h"
#include "support/qt_printers.h"

#include <QDir>
#include <QFile>
#include <QRegularExpressionValidator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

using namespace ziro;

namespace {

using C = KeyCommand;
constexpr auto KP = Qt::KeypadModifier;
constexpr auto NO = Qt::NoModifier;

using Shell = ziro::test::LoggingShell;
using Viewers = ziro::test::LoggingViewers;
using Menus = ziro::test::LoggingMenus;
using Actions = ziro::test::LoggingActions;

struct ReportViewFake : ReportView {
    QStringList& log;
    bool answer = true;
    QString logPath;
    bool logOnDiskWhenAsked = false;
    std::vector<ReportLines> reports;
    explicit ReportViewFake(QStringList& l) : log(l) {}
    void beep() override {}
    void showReport(const ReportLines& l) override { reports.push_back(l); }
    bool askConfirmation(const ReportLines& l) override
    {
        log << "ask " + l.riga2;
        logOnDiskWhenAsked = QFile::exists(logPath);
        return answer;
    }
    void showDebug(const QString& r1, const QString&) override { log << "debug " + r1; }
    bool isVisible() const override { return false; }
};

class MainLogicTest : public ::testing::Test {
protected:
    QTemporaryDir tmp;
    QStringList log;
    Globals g;
    Config config;
    std::unique_ptr<Reporter> reporter;
    ReportViewFake view{log};
    MainState st;
    DataTable table;
    Shell shell{log};
    Viewers viewers{log};
    Menus menus{log};
    Actions actions{log};
    std::unique_ptr<MainLogic> logic;

    void SetUp() override
    {
        ASSERT_TRUE(tmp.isValid());
        g.ProgramFile = tmp.filePath(QStringLiteral("ziro"));
        g.dirs.DirProgram = tmp.path() + QLatin1Char('/');
        g.dirs.DirVideo = tmp.path() + QStringLiteral("/Video/");
        ASSERT_TRUE(QDir().mkpath(g.dirs.DirVideo));
        reporter = std::make_unique<Reporter>(g);
        reporter->setView(&view);
        reporter->options().hideFotoError = false;
        view.logPath = reporter->logPath();

        QList<FieldDef> fields;
        for (const char* f : {"Html1", "Foto1", "Foto2", "Video", "EDL"})
            fields << FieldDef::text(QLatin1String(f), 15);
        ASSERT_TRUE(table.createFromFields(fields));
        ASSERT_TRUE(table.append());
        ASSERT_TRUE(table.post());

        st.Sblocco = true;
        logic = std::make_unique<MainLogic>(g, config, *reporter, st, table, shell, viewers,
                                            menus, actions);
    }

    void setRecord(std::initializer_list<std::pair<const char*, const char*>> values)
    {
        ASSERT_TRUE(table.edit());
        for (const char* f : {"Html1", "Foto1", "Foto2", "Video", "EDL"})
            ASSERT_TRUE(table.setField(QLatin1String(f), QString()));
        for (const auto& [f, v] : values)
            ASSERT_TRUE(table.setField(QLatin1String(f), QString::fromLatin1(v)));
        ASSERT_TRUE(table.post());
    }

    void touch(const QString& name)
    {
        QFile f(g.dirs.DirVideo + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("x");
    }

    void key(int k, Qt::KeyboardModifiers m = NO, bool ejump = false)
    {
        logic->GestioneTastiera(k, m, ejump, false);
    }
};

// ---------------------------------------------------------------------------

TEST(KeyMapTest, Table)
{
    struct Case {
        int key;
        Qt::KeyboardModifiers mods;
        bool ejump;
        bool errorVisible;
        std::vector<KeyAction> expected;
    };
    const auto af = [](int n) { return std::vector<KeyAction>{{C::ActionFunction, n}}; };
    const auto one = [](C c) { return std::vector<KeyAction>{{c, 0}}; };
    const std::vector<KeyAction> none;
    const auto ctrlAlt = Qt::ControlModifier | Qt::AltModifier;
    const Case cases[] = {
        {Qt::Key_Left, NO, false, false, af(3)},
        {Qt::Key_Left, NO, true, false, af(3)},  // the arrows step from the jump field too
        {Qt::Key_Right, NO, true, false, af(5)},
        {Qt::Key_Slash, KP, false, false, af(3)},
        {Qt::Key_Slash, KP, true, false, none},
        {Qt::Key_Slash, NO, false, false, none},
        {Qt::Key_Asterisk, KP, false, false, af(5)},
        {Qt::Key_Up, NO, false, false, one(C::SelectionUp)},
        {Qt::Key_Minus, KP, false, false, one(C::SelectionUp)},
        {Qt::Key_Minus, NO, false, false, none},
        {Qt::Key_Down, NO, false, false, one(C::SelectionDown)},
        {Qt::Key_Plus, KP, false, false, one(C::SelectionDown)},
        {Qt::Key_Escape, NO, false, false, one(C::GeneralMenu)},
        {Qt::Key_F5, NO, false, false, one(C::ToggleHtml)},
        {Qt::Key_Period, KP, false, false, one(C::ToggleHtml)},
        {Qt::Key_Comma, KP, false, false, one(C::ToggleHtml)},
        {Qt::Key_Delete, KP, false, false, one(C::ToggleHtml)},
        {Qt::Key_Delete, KP, true, false, none},
        {Qt::Key_Delete, NO, false, false, none},
        {Qt::Key_F7, NO, false, false, af(1)},
        {Qt::Key_F8, NO, false, false, af(2)},
        {Qt::Key_F9, NO, false, false, af(6)},
        {Qt::Key_F10, NO, false, false, af(7)},
        {Qt::Key_F11, NO, false, false, af(8)},
        {Qt::Key_F12, NO, true, false, af(9)},
        {Qt::Key_1, KP, false, false, af(1)},
        {Qt::Key_2, KP, false, false, af(2)},
        {Qt::Key_4, KP, false, false, af(6)},
        {Qt::Key_5, KP, false, false, af(7)},
        {Qt::Key_6, KP, false, false, af(8)},
        {Qt::Key_0, KP, false, false, af(9)},
        {Qt::Key_0, KP, true, false, none},  // typed into the jump field
        {Qt::Key_1, NO, false, false, none},  // the digit row is not the keypad
        {Qt::Key_3, KP, false, false, one(C::IconMenuRightClick)},
        {Qt::Key_A, NO, false, false, one(C::ShowBanner)},
        {Qt::Key_A, NO, true, true, one(C::ShowBanner)},
        {Qt::Key_7, KP, false, false, one(C::ShowBanner)},
        {Qt::Key_7, KP, false, true, none},
        {Qt::Key_I, NO, true, false, one(C::RecallIcons)},
        {Qt::Key_8, KP, false, false, one(C::RecallIcons)},
        {Qt::Key_I, Qt::ControlModifier, false, false, {{C::RecallIcons, 0}, {C::ConfigSecondPage, 0}}},
        {Qt::Key_S, NO, true, false, one(C::OpenJumpField)},
        {Qt::Key_9, KP, false, false, one(C::OpenJumpField)},
        {Qt::Key_D, ctrlAlt, false, false, one(C::DebugOn)},
        {Qt::Key_D, Qt::ControlModifier, false, false, none},
        {Qt::Key_D, NO, false, false, none},
        {Qt::Key_Return, NO, false, false, one(C::OpenSelectedPanel)},
        {Qt::Key_Enter, KP, false, false, one(C::OpenSelectedPanel)},
        {Qt::Key_Return, NO, true, false, none},
        {Qt::Key_X, NO, false, false, none},
        // A presenter clicker: its pages step, "B" and "." black out, but
        // not while a sign name is typed.
        {Qt::Key_PageDown, NO, false, false, af(5)},
        {Qt::Key_PageUp, NO, true, false, af(3)},
        {Qt::Key_B, NO, false, false, one(C::ToggleBlackout)},
        {Qt::Key_Period, NO, false, false, one(C::ToggleBlackout)},
        {Qt::Key_B, NO, true, false, none},
        {Qt::Key_Period, NO, true, false, none},
        {Qt::Key_E, NO, false, false, one(C::OpenExam)},
        {Qt::Key_E, NO, true, false, none},
    };
    for (const Case& c : cases)
        EXPECT_EQ(KeyMap::decode(c.key, c.mods, c.ejump, c.errorVisible), c.expected)
            << "key 0x" << std::hex << c.key << " mods 0x" << int(c.mods) << std::dec
            << " ejump " << c.ejump << " error " << c.errorVisible;
}

TEST(HighlightTest, NeighboursAndDisabled)
{
    using B = MainButton;
    const std::pair<B, std::vector<B>> table[] = {
        {B::MNG, {B::MNU}},          {B::MNU, {B::MNG, B::L}},       {B::L, {B::MNU, B::C}},
        {B::C, {B::L, B::R}},        {B::R, {B::C, B::FOTO}},        {B::FOTO, {B::VIDEO, B::R}},
        {B::VIDEO, {B::FOTO, B::LIBRO}}, {B::LIBRO, {B::VIDEO, B::QUIZ}}, {B::QUIZ, {B::LIBRO}},
    };
    for (const auto& [b, off] : table) {
        EXPECT_EQ(highlightNeighbours(b), off) << int(b);
        const HighlightChange lit = highlightOnHover(b, false);
        EXPECT_EQ(lit.lit, std::optional<B>(b));
        EXPECT_EQ(lit.off, off);
        // A disabled button stays dark, its neighbours still go out.
        const HighlightChange dark = highlightOnHover(b, true);
        EXPECT_FALSE(dark.lit.has_value());
        EXPECT_EQ(dark.off, off);
    }
}

TEST(JumpFieldTest, SignNamesOnly)
{
    const std::pair<const char*, bool> cases[] = {
        {"1", true}, {"123", true}, {"f1234", true}, {"12A", true}, {"", false},
        {"123456", false}, {"1/2", false}, {"..", false}, {" 12", false}, {"1\n", false},
    };
    QRegularExpressionValidator* v = static_cast<QRegularExpressionValidator*>(makeJumpValidator(nullptr));
    for (const auto& [text, ok] : cases) {
        QString s = QString::fromLatin1(text);
        int pos = 0;
        EXPECT_EQ(isJumpText(s), ok) << text;
        // The field itself may be empty while typing, nothing else.
        const bool fieldAccepts = ok || s.isEmpty();
        EXPECT_EQ(v->validate(s, pos) == QValidator::Acceptable, fieldAccepts) << text;
    }
    delete v;
}

TEST(EdlTest, Parsing)
{
    const std::pair<const char*, EdlRange> cases[] = {
        {"", {0, 0}},         {"   ", {0, 0}},      {"100/250", {100, 250}}, {" 100 / 250 ", {100, 250}},
        {"100/", {100, 0}},   {"/250", {0, 250}},   {"100", {100, 0}},       {"abc/250", {0, 250}},
        {"100/x9", {100, 0}}, {"-5/20", {0, 20}},   {"1/2/3", {1, 0}},       {"9999999999/1", {9999999999, 1}},
    };
    for (const auto& [text, range] : cases)
        EXPECT_EQ(parseEdl(QString::fromLatin1(text)), range) << text;
}

// ---------------------------------------------------------------------------

TEST_F(MainLogicTest, ActionShowsPressedWaitsThenRuns)
{
    EXPECT_TRUE(logic->ActionFunction(5));
    EXPECT_EQ(log, (QStringList{QStringLiteral("pressed %1").arg(int(MainButton::R)), "wait 0.3",
                                QStringLiteral("released %1").arg(int(MainButton::R)), "SWavanti"}));
}

TEST_F(MainLogicTest, ActionDispatch)
{
    g.FotoON = g.LibroON = g.QuizON = g.LockLoop = true;
    g.Domanda = QStringLiteral("12");
    st.SottoArgCorr = QStringLiteral("B00");
    setRecord({{"Foto1", "7"}});
    touch(QStringLiteral("Fls1.MPG"));
    g.Edizione = TModoQuiz::mqCD;  // the film button works whatever the record
    const std::pair<int, QString> cases[] = {
        {1, "showGeneralMenu"}, {2, QStringLiteral("signMenu %1").arg(int(TModoQuiz::mqCD))},
        {3, "SWindietro"},      {5, "SWavanti"},
        {6, "openPhotoViewer 1"}, {7, "playFilm"},
        {8, "showBookPage"},    {9, "loadQuiz 12"},
    };
    for (const auto& [code, call] : cases) {
        log.clear();
        EXPECT_TRUE(logic->ActionFunction(code)) << code;
        EXPECT_TRUE(log.contains(call)) << code << " " << log.join(", ").toStdString();
    }
    for (int code : {0, 4, 10, -1}) {
        log.clear();
        EXPECT_FALSE(logic->ActionFunction(code));
        EXPECT_TRUE(log.isEmpty()) << code;
    }
}

TEST_F(MainLogicTest, DisabledButtonAndLockedStartRefuse)
{
    g.FotoON = true;
    setRecord({{"Foto1", "7"}});
    shell.disabled = {MainButton::FOTO};
    EXPECT_FALSE(logic->ActionFunction(6));
    key(Qt::Key_F9);
    EXPECT_TRUE(log.isEmpty());

    // Before the activation F7 shows nothing at all.
    st.Sblocco = false;
    key(Qt::Key_F7);
    key(Qt::Key_Escape);
    EXPECT_FALSE(logic->ActionFunction(1));
    EXPECT_TRUE(log.isEmpty()) << log.join(", ").toStdString();
    // Debug mode is the exception.
    key(Qt::Key_D, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_TRUE(g.ModoDebug);
}

TEST_F(MainLogicTest, SecondActionDuringThePressedLookIsIgnored)
{
    int nested = 0;
    shell.onWait = [&](double) {
        ++nested;
        EXPECT_TRUE(logic->actionRunning());
        EXPECT_FALSE(logic->ActionFunction(3));
        key(Qt::Key_Left);
        key(Qt::Key_F7);
    };
    EXPECT_TRUE(logic->ActionFunction(5));
    EXPECT_EQ(nested, 1);
    EXPECT_EQ(log.count("SWavanti"), 1);
    EXPECT_FALSE(log.contains("SWindietro"));
    EXPECT_FALSE(log.contains("showGeneralMenu"));
    // The guard is released afterwards.
    EXPECT_FALSE(logic->actionRunning());
    shell.onWait = {};
    EXPECT_TRUE(logic->ActionFunction(3));
    EXPECT_TRUE(log.contains("SWindietro"));
}

TEST_F(MainLogicTest, KeysReachTheirHandlers)
{
    key(Qt::Key_Up);
    key(Qt::Key_Plus, KP);
    key(Qt::Key_I, Qt::ControlModifier);
    key(Qt::Key_S);
    key(Qt::Key_7, KP);
    EXPECT_EQ(log, (QStringList{"moveSelection 0", "moveSelection 1", "PLinkClick", "configPage2",
                                "openJumpField", "showBanner"}));

    // Enter opens the selected panel only when there is one.
    log.clear();
    key(Qt::Key_Return);
    st.SelectPos = 3;
    key(Qt::Key_Return);
    EXPECT_EQ(log, QStringList{"openSelectedPanel"});

    // F5 opens the record's page, and closes it when open.
    log.clear();
    setRecord({{"Html1", "H12"}});
    key(Qt::Key_F5);
    viewers.html = true;
    key(Qt::Key_Period, KP);
    EXPECT_EQ(log, (QStringList{"openHtml H12", "closeHtml"}));

    log.clear();
    key(Qt::Key_B);
    key(Qt::Key_Period);
    key(Qt::Key_E);
    EXPECT_EQ(log, (QStringList{"blackout", "blackout", "openExam"}));
}

TEST_F(MainLogicTest, EnterConfirmingTheJumpFieldDoesNotOpenThePanel)
{
    st.SelectPos = 2;
    logic->jumpEntered(QStringLiteral("f123"));
    // The release arrives after the field has hidden and lost the focus.
    key(Qt::Key_Return, NO, false);
    EXPECT_EQ(log, (QStringList{"searchSign f123", "hideJumpField"}));
    key(Qt::Key_Return, NO, false);
    EXPECT_EQ(log.last(), "openSelectedPanel");

    log.clear();
    logic->jumpEntered(QString());  // nothing typed: the field stays
    key(Qt::Key_Enter, KP, true);
    EXPECT_TRUE(log.isEmpty());
}

TEST_F(MainLogicTest, DebugModeOn)
{
    config.CBNoError = true;
    reporter->options().noError = true;
    key(Qt::Key_D, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_TRUE(g.ModoDebug);
    EXPECT_TRUE(config.CBMDebug);
    EXPECT_FALSE(config.CBNoError);
    EXPECT_FALSE(reporter->options().noError);
    EXPECT_TRUE(log.contains("debug Modo DEBUG  > Avvio")) << log.join(", ").toStdString();
}

// ---------------------------------------------------------------------------

TEST_F(MainLogicTest, GeneralMenuKey)
{
    // The banner only closes.
    viewers.banner = true;
    logic->TastoMNGClick();
    EXPECT_EQ(log, QStringList{"closeBanner"});

    log.clear();
    viewers.banner = false;
    viewers.book = viewers.film = viewers.cross = viewers.html = true;
    logic->TastoMNGClick();
    EXPECT_EQ(log, (QStringList{"closeBook", "closeFilms", "closeCrossroads", "closeHtml",
                                "saveResumeMark", "closeQuiz", "emptySignArea", "showGeneralMenu"}));

    // A pending side trip is returned from instead.
    log.clear();
    viewers.book = viewers.film = viewers.cross = viewers.html = false;
    g.MdTemp.Status = true;
    actions.returnOk = false;
    logic->TastoMNGClick();
    EXPECT_EQ(log, (QStringList{"returnFromSideTrip", "beep", "message Errore recupero jmpMark."}));
}

TEST_F(MainLogicTest, IconMenuKeyChoosesTheMenu)
{
    struct Case {
        const char* sub;
        bool fromPopup;
        TModoQuiz edition;
        bool sideTrip;
        QString expected;
    };
    const auto sign = [](TModoQuiz e) { return QStringLiteral("signMenu %1").arg(int(e)); };
    const Case cases[] = {
        {"B00", false, TModoQuiz::mqAB, false, sign(TModoQuiz::mqAB)},
        {"A01", false, TModoQuiz::mqAB, false, "vehicleMenu 0"},
        {"A", false, TModoQuiz::mqAM, false, "vehicleMenu 0"},
        {"A01", true, TModoQuiz::mqAM, false, sign(TModoQuiz::mqAM)},
        {"C05", false, TModoQuiz::mqCQ, false, sign(TModoQuiz::mqCQ)},
        // The edition the side trip will return to, not the current one.
        {"C05", false, TModoQuiz::mqAB, true, sign(TModoQuiz::mqCD)},
        {"C05", false, TModoQuiz::mqCustom, false, QString::fromUtf8("message Modalità quiz non più supportata!")},
    };
    for (const Case& c : cases) {
        log.clear();
        st.SottoArgCorr = QLatin1String(c.sub);
        g.Edizione = c.edition;
        g.MdTemp.Status = c.sideTrip;
        g.MdTemp.L_AB = false;
        g.MdTemp.L_CD = true;
        logic->TastoMNUClick(c.fromPopup);
        ASSERT_FALSE(log.isEmpty());
        EXPECT_EQ(log.last(), c.expected) << c.sub << " " << c.fromPopup;
        EXPECT_TRUE(log.contains("closeFilms") && log.contains("closeBook") && log.contains("closePreviews"));
    }
}

TEST_F(MainLogicTest, IconMenuRightPress)
{
    logic->iconMenuRightPress();
    EXPECT_EQ(log, (QStringList{"closeFilms", "closeBook", "closeCrossroads", "closePreviews",
                                "AttivaModoTemp A01 A01 0", "closeQuiz", "vehicleMenu 1"}));
    EXPECT_TRUE(g.SoloFoto);

    log.clear();
    g.MdTemp.Status = true;
    logic->iconMenuRightPress();
    EXPECT_EQ(log.first(), "returnFromSideTrip");
    EXPECT_EQ(log.last(), "popup 0");

    // Without a vehicle menu to show, the quick trip moves nothing.
    log.clear();
    g.MdTemp.Status = false;
    g.SoloFoto = false;
    menus.vehicleMenu = false;
    logic->iconMenuRightPress();
    EXPECT_TRUE(log.isEmpty()) << log.join(", ").toStdString();
    EXPECT_FALSE(g.SoloFoto);
}

TEST_F(MainLogicTest, PopupChoice)
{
    st.SottoArgCorr = QStringLiteral("A01");
    logic->popupChosen(QStringLiteral("ICONE"));
    EXPECT_TRUE(log.contains(QStringLiteral("signMenu %1").arg(int(TModoQuiz::mqAB))));
    EXPECT_EQ(log.last(), "clearIconLinking");

    log.clear();
    logic->popupChosen(QStringLiteral("B"));
    EXPECT_EQ(log, (QStringList{"closePreviews", "AttivaModoTemp B BZ 1", "generalMenuOk",
                                "clearIconLinking"}));

    log.clear();
    g.SoloFoto = true;
    config.CBNomeSegnali = true;
    logic->popupChosen(QStringLiteral("J15"));
    EXPECT_EQ(log, (QStringList{"closePreviews", "AttivaModoTemp J15 J15Z 1", "generalMenuOk",
                                "closePreviews", "closePhotoViewer", "closeQuiz",
                                "showCurrentSign 1", "clearIconLinking"}));
    EXPECT_FALSE(g.SoloFoto);

    // In a custom lesson a record with a sign locks on the sign.
    log.clear();
    g.Custom = true;
    g.SegnaleON = true;
    logic->popupChosen(QStringLiteral("H17"));
    EXPECT_EQ(log.mid(3), (QStringList{"closePhotoViewer", "closeQuiz", "clearIconLinking"}));
    EXPECT_TRUE(g.LockLoop);
}

// ---------------------------------------------------------------------------

TEST_F(MainLogicTest, PhotoButtonDecisions)
{
    struct Case {
        const char* html1;
        const char* foto1;
        const char* foto2;
        bool custom;
        bool fromClick;
        bool viewerOpen;
        QStringList expected;
    };
    const QStringList previews{"preparePreviews", "showPreviews"};
    const Case cases[] = {
        {"H1", "7", "", false, true, false, previews},
        {"", "7", "8", false, false, false, previews},
        {"", "7", "8", true, true, false, previews},
        {"", "7", "8", true, false, false, {"openPhotoViewer 1"}},  // custom, from the walk
        {"", "7", "", false, true, false, {"openPhotoViewer 1"}},
        {"H1", "", "", false, true, false, {"openHtml H1"}},
        {"", "7", "8", false, true, true, {"album"}},
        {"", "7", "", false, false, true, {"openPhotoViewer 1"}},  // the walk reopens
        {"", "", "", false, true, false, {}},
    };
    g.FotoON = true;
    for (const Case& c : cases) {
        setRecord({{"Html1", c.html1}, {"Foto1", c.foto1}, {"Foto2", c.foto2}});
        g.Custom = c.custom;
        viewers.photo = c.viewerOpen;
        log.clear();
        logic->SWfotoClick(c.fromClick);
        EXPECT_EQ(log, c.expected) << c.html1 << "|" << c.foto1 << "|" << c.foto2 << " custom "
                                   << c.custom << " click " << c.fromClick;
    }
    g.FotoON = false;
    log.clear();
    logic->SWfotoClick(true);
    EXPECT_TRUE(log.isEmpty());
}

TEST_F(MainLogicTest, FilmResolution)
{
    struct Case {
        QStringList files;
        QString file;  // empty: missing
        FilmPlayer player;
        bool masked;
    };
    const Case cases[] = {
        {{"Flm1.KXS", "Flm1.KXV"}, "Flm1.KXS", FilmPlayer::Mp4, true},
        {{"Flm1.MP4", "Flm1.KXS", "Flm1.KXV"}, "Flm1.MP4", FilmPlayer::Mp4, false},
        {{"Flm1.KXV"}, "Flm1.KXV", FilmPlayer::Mpeg, true},
        {{"Flm1.KXV", "Flm1.MPG"}, "Flm1.MPG", FilmPlayer::Mpeg, false},
        {{"flm1.mp4"}, "flm1.mp4", FilmPlayer::Mp4, false},  // authored on Windows
        {{"Flm1.AVI"}, "", FilmPlayer::Mpeg, false},
    };
    int n = 0;
    for (const Case& c : cases) {
        const QString folder = tmp.path() + QStringLiteral("/r%1/").arg(n++);
        ASSERT_TRUE(QDir().mkpath(folder));
        for (const QString& f : c.files) {
            QFile file(folder + f);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        }
        const FilmFile film = resolveFilm(folder, QStringLiteral("Flm1"));
        const QString label = c.files.join(QLatin1Char(','));
        EXPECT_EQ(film.exists, !c.file.isEmpty()) << label.toStdString();
        EXPECT_EQ(film.path, folder + (c.file.isEmpty() ? QStringLiteral("Flm1.MPG") : c.file));
        EXPECT_EQ(film.player, c.player) << label.toStdString();
        EXPECT_EQ(film.masked, c.masked) << label.toStdString();
    }
}

TEST_F(MainLogicTest, FilmButtonPlaysTheRecordsFilm)
{
    g.VideoON = true;
    g.VideoSize = 2;
    setRecord({{"Video", "22"}, {"EDL", "100/250"}});
    touch(QStringLiteral("Flm22.KXS"));
    viewers.html = true;
    logic->SWvideoClick();
    EXPECT_EQ(log, (QStringList{"closePhotoViewer", "busy", "playFilm", "closeHtml", "normal"}));
    EXPECT_EQ(viewers.request.file.path, g.dirs.DirVideo + QStringLiteral("Flm22.KXS"));
    EXPECT_EQ(viewers.request.file.player, FilmPlayer::Mp4);
    EXPECT_EQ(viewers.request.inizio, 100);
    EXPECT_EQ(viewers.request.fine, 250);
    EXPECT_EQ(viewers.request.size, 2);
    EXPECT_FALSE(viewers.request.daMenu);
    EXPECT_TRUE(g.VideoAperto && g.VideoInCorso);

    // F10 again closes it.
    log.clear();
    viewers.film = true;
    logic->SWvideoClick();
    EXPECT_EQ(log, QStringList{"closeFilms"});
}

TEST_F(MainLogicTest, FilmButtonInCdePlaysFls1FullSize)
{
    g.Edizione = TModoQuiz::mqCD;
    g.VideoON = false;
    g.SoloFoto = true;
    setRecord({{"Video", "22"}, {"EDL", "100/250"}});
    touch(QStringLiteral("Flm22.MP4"));
    touch(QStringLiteral("Fls1.KXV"));
    logic->SWvideoClick();
    EXPECT_FALSE(log.contains("closePhotoViewer"));
    EXPECT_EQ(viewers.request.file.path, g.dirs.DirVideo + QStringLiteral("Fls1.KXV"));
    EXPECT_EQ(viewers.request.file.player, FilmPlayer::Mpeg);
    EXPECT_EQ(viewers.request.inizio, 0);
    EXPECT_EQ(viewers.request.fine, 0);
    EXPECT_EQ(viewers.request.size, 5);
    EXPECT_TRUE(viewers.request.daMenu);
}

TEST_F(MainLogicTest, FilmMissingOrFailing)
{
    g.VideoON = true;
    setRecord({{"Video", "9"}});
    logic->SWvideoClick();
    ASSERT_EQ(view.reports.size(), 1u);
    EXPECT_EQ(view.reports[0].riga1, QStringLiteral("Errore, Player video"));
    EXPECT_EQ(view.reports[0].riga2,
              QStringLiteral("Il file ") + g.dirs.DirVideo + QStringLiteral("Flm9.MPG non esiste"));
    EXPECT_FALSE(log.contains("playFilm"));

    // A film name that would leave the folder is never looked up.
    setRecord({{"Video", "../x"}});
    logic->SWvideoClick();
    EXPECT_EQ(view.reports.size(), 2u);
    EXPECT_FALSE(log.contains("playFilm"));

    setRecord({{"Video", "9"}});
    touch(QStringLiteral("Flm9.MP4"));
    viewers.playOk = false;
    log.clear();
    logic->SWvideoClick();
    EXPECT_EQ(log, (QStringList{"closePhotoViewer", "busy", "playFilm", "stopFilm", "normal",
                                "message Errore player video AVC:\rboom"}));
    EXPECT_FALSE(g.VideoAperto);
}

TEST_F(MainLogicTest, FilmReadsTheConfigurationTableWhileItIsShown)
{
    struct ConfigMenus : Menus {
        DataTable* source = nullptr;
        using Menus::Menus;
        const DataTable* configSourceTable() const override { return source; }
    } cm{log};
    DataTable other;
    ASSERT_TRUE(other.createFromFields({FieldDef::text(QStringLiteral("Video"), 5),
                                        FieldDef::text(QStringLiteral("EDL"), 15)}));
    ASSERT_TRUE(other.append());
    ASSERT_TRUE(other.setField(QStringLiteral("Video"), QStringLiteral("5")));
    ASSERT_TRUE(other.setField(QStringLiteral("EDL"), QStringLiteral("3/4")));
    ASSERT_TRUE(other.post());
    cm.source = &other;
    MainLogic l(g, config, *reporter, st, table, shell, viewers, cm, actions);
    g.VideoON = true;
    setRecord({{"Video", "22"}});
    touch(QStringLiteral("Flm5.MPG"));
    l.SWvideoClick();
    EXPECT_EQ(viewers.request.file.path, g.dirs.DirVideo + QStringLiteral("Flm5.MPG"));
    EXPECT_EQ(viewers.request.inizio, 3);
    EXPECT_EQ(viewers.request.fine, 4);
}

TEST_F(MainLogicTest, QuizButton)
{
    g.QuizON = true;
    g.Domanda = QStringLiteral("d12");
    struct Case {
        bool lockLoop, passSegnale, quizVisible;
        QString expected;
    };
    const Case cases[] = {
        {false, true, false, "beep"},
        {true, true, false, "loadQuiz d12"},
        {false, false, false, "loadQuiz d12"},
        {false, true, true, "loadQuiz d12"},
    };
    for (const Case& c : cases) {
        log.clear();
        g.LockLoop = c.lockLoop;
        g.PASSsegnale = c.passSegnale;
        viewers.quiz = c.quizVisible;
        logic->SWquizClick();
        EXPECT_EQ(log, QStringList{c.expected});
    }
    // An open film closes in any case.
    log.clear();
    viewers.film = true;
    g.LockLoop = false;
    g.PASSsegnale = true;
    viewers.quiz = false;
    logic->SWquizClick();
    EXPECT_EQ(log, (QStringList{"beep", "closeFilms"}));
}

TEST_F(MainLogicTest, BookButtonAndPause)
{
    g.LibroON = true;
    logic->SWlibroClick();
    g.SoloFoto = true;
    logic->SWlibroClick();
    viewers.book = true;
    logic->SWlibroClick();
    EXPECT_EQ(log, (QStringList{"closePhotoViewer", "showBookPage", "showBookPage", "closeBook"}));

    log.clear();
    logic->PausaVideo();  // no film: nothing
    viewers.film = true;
    viewers.playing = true;
    logic->PausaVideo();
    viewers.playing = false;
    logic->PausaVideo();
    EXPECT_EQ(log, (QStringList{"pauseFilm", "resumeFilm"}));
}

// ---------------------------------------------------------------------------

TEST_F(MainLogicTest, CloseQuery)
{
    struct Case {
        bool answer;
        bool generalVisible;
        bool sblocco;
        bool allowed;
        QStringList tail;  // after the question
    };
    const Case cases[] = {
        {true, false, true, true, {"closeCrossroads", "saveResumeMark"}},
        {true, true, true, true, {"closeCrossroads"}},
        {true, false, false, true, {"closeCrossroads"}},
        {false, false, true, false, {"refreshCrossroads"}},
    };
    viewers.film = true;
    viewers.cross = true;
    for (const Case& c : cases) {
        log.clear();
        view.answer = c.answer;
        menus.generalVisible = c.generalVisible;
        st.Sblocco = c.sblocco;
        EXPECT_EQ(logic->closeQuery(), c.allowed);
        EXPECT_EQ(st.tmpEski, c.answer);
        EXPECT_EQ(log, (QStringList{"closeFilms", "ask Premere OK per uscire."} + c.tail));
    }
}

TEST_F(MainLogicTest, CloseQueryWritesTheLogBeforeAsking)
{
    config.CBlog = true;
    ASSERT_FALSE(QFile::exists(view.logPath));
    logic->closeQuery();
    EXPECT_TRUE(view.logOnDiskWhenAsked);
}

TEST_F(MainLogicTest, EndingAtOnceAsksNothingAndSavesNothing)
{
    config.CBlog = true;
    logic->endAtOnce();
    EXPECT_TRUE(logic->closeQuery());
    EXPECT_TRUE(log.isEmpty());
    EXPECT_FALSE(QFile::exists(view.logPath));
}

}  // namespace
