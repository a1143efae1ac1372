#include "quiz/quiz_colours.h"

#include "base/globals.h"
#include "config/colour_text.h"
#include "config/ini_file.h"
#include "config/settings.h"
#include "config/machine_store.h"
#include "quiz/bank_fixture.h"
#include "support/qt_printers.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace ziro {
namespace {

QuizColourTexts texts(std::initializer_list<const char*> six)
{
    QuizColourTexts t;
    std::size_t i = 0;
    for (const char* s : six)
        t[i++] = QLatin1String(s);
    return t;
}

TEST(QuizColours, EachTextColoursItsOwnRole)
{
    QuizColours c;
    c.Fondo = QColor(1, 1, 1);
    c.ColNo = QColor(2, 2, 2);
    test::RecordingReports reports;
    ASSERT_TRUE(AttivaColori(c, texts({"clRed", "clLime", "clBlue", "clYellow", "clAqua", "$00030201"}), reports));
    EXPECT_EQ(c.MdomBackground, QColor(255, 0, 0));
    EXPECT_EQ(c.Spento, QColor(0, 255, 0));
    EXPECT_EQ(c.MAffBigBackground, QColor(0, 255, 0));
    EXPECT_EQ(c.Acceso, QColor(0, 0, 255));
    EXPECT_EQ(c.MdomText, QColor(255, 255, 0));
    EXPECT_EQ(c.Cold1, QColor(255, 255, 0));
    EXPECT_EQ(c.Cold3, QColor(255, 255, 0));
    EXPECT_EQ(c.MAffBigText, QColor(0, 255, 255));
    EXPECT_EQ(c.ColSi, QColor(1, 2, 3));
    EXPECT_EQ(c.PNdomanda, QColor(Qt::white));
    EXPECT_EQ(c.Fondo, QColor(1, 1, 1)) << "Fondo and ColNo keep their values";
    EXPECT_EQ(c.ColNo, QColor(2, 2, 2));
    EXPECT_TRUE(reports.reports.empty());
}

TEST(QuizColours, DefaultInTheFirstRoleOrOneBadTextGivesTheDefaultSet)
{
    const QuizColours defaults;
    EXPECT_EQ(defaults.Acceso, QColor(250, 255, 160));
    EXPECT_EQ(defaults.MdomBackground, defaults.Fondo);
    EXPECT_EQ(defaults.MdomText, defaults.Cold1);
    EXPECT_EQ(defaults.MAffBigText, defaults.ColSi);

    struct Case {
        QuizColourTexts in;
        int logged;
    };
    const Case cases[] = {
        {texts({"default", "garbage", "", "", "", ""}), 0},
        {texts({"Default", "clRed", "clRed", "clRed", "clRed", "clRed"}), 0},
        {texts({"clRed", "clRed", "clRed", "clRed", "verde", "clRed"}), 1},
        {texts({"clRed", "clRed", "clRed", "", "clRed", "clRed"}), 0},
    };
    for (const Case& c : cases) {
        QuizColours colours;
        colours.Acceso = QColor(9, 9, 9);
        test::RecordingReports reports;
        AttivaColori(colours, c.in, reports);
        EXPECT_EQ(colours, defaults) << c.in[0].toStdString() << " " << c.in[4].toStdString();
        EXPECT_EQ(reports.count(ReportKind::LogOnly), c.logged);
    }
}

TEST(QuizColours, EditorBarsColourTheChosenSample)
{
    QuizColourEditor e;
    EXPECT_EQ(e.info(), "Cliccare sul colore da modificare");
    e.select(6);
    EXPECT_EQ(e.info(), "Carattere delle affermazioni attive");
    e.setRgb(255, 0, 0);
    EXPECT_EQ(e.sample(6), QColor(255, 0, 0));
    e.select(0);  // no such role: the edited one stays
    EXPECT_EQ(e.GeneralTag(), 6);
    e.select(2);
    e.setRgb(5, 10, 300);
    EXPECT_EQ(e.texts()[1], "$00FF0A05");
    EXPECT_EQ(e.texts()[5], "clRed");
}

// What OK stores comes back after a restart in the same roles.
TEST(QuizColours, StoredSetComesBackInTheSameRoles)
{
    QTemporaryDir dir;
    const QString root = dir.path() + QStringLiteral("/R/");
    QDir().mkpath(root + QStringLiteral("ziro/Program"));
    Globals g;
    g.initFromProgram(root + QStringLiteral("ziro/Program/ziro"));
    test::RecordingReports reports;
    Config cfg;
    cfg.CBQuizColor = true;
    Settings settings(g, reports);
    ASSERT_TRUE(settings.write(cfg, SettingId::CBQuizColor));

    QuizColourEditor e;
    const QColor chosen[] = {{10, 20, 30}, {40, 50, 60}, {70, 80, 90}, {100, 110, 120}, {130, 140, 150}, {160, 170, 180}};
    for (int role = 1; role <= 6; ++role) {
        e.select(role);
        e.setRgb(chosen[role - 1].red(), chosen[role - 1].green(), chosen[role - 1].blue());
    }
    QuizColours before;
    ASSERT_TRUE(AttivaColori(before, e.texts(), reports));
    ASSERT_TRUE(settings.SaveQuizColor(cfg, e.texts()));

    class NoStore : public MachineStore {
    public:
        std::optional<QString> readVersion() override { return std::nullopt; }
        bool writeVersion(const QString&) override { return true; }
    } store;
    Globals g2;
    g2.initFromProgram(g.ProgramFile);
    Config restarted;
    ASSERT_TRUE(CaricaIni(g2, restarted, reports, store, QStringLiteral("1.0.0")));
    QuizColours after;
    ASSERT_TRUE(AttivaColori(after, storedQuizColourTexts(restarted), reports));
    EXPECT_EQ(after, before);
    EXPECT_EQ(after.Acceso, QColor(70, 80, 90));
    EXPECT_EQ(after.ColSi, QColor(160, 170, 180));

    // A hand-edited colour that is no colour: the program goes on with the
    // default set, and the log says so once.
    ASSERT_TRUE(g.IniFilePtr->writeString(QStringLiteral("Quiz"), QStringLiteral("Color3"), QStringLiteral("verde")));
    ASSERT_TRUE(g.IniFilePtr->save());
    reports.reports.clear();
    Globals g3;
    g3.initFromProgram(g.ProgramFile);
    Config broken;
    ASSERT_TRUE(CaricaIni(g3, broken, reports, store, QStringLiteral("1.0.0")));
    QuizColours fallback = before;
    EXPECT_FALSE(AttivaColori(fallback, storedQuizColourTexts(broken), reports));
    EXPECT_EQ(fallback, QuizColours{});
    const auto colourLogs = std::count_if(reports.reports.begin(), reports.reports.end(), [](const auto& r) {
        return r.kind == ReportKind::LogOnly && r.context.contains(QLatin1String("Color3"));
    });
    EXPECT_EQ(colourLogs, 1);

    // Back to the defaults: all six keys say so.
    ASSERT_TRUE(ColoriDefault(after, restarted, settings));
    EXPECT_EQ(after, QuizColours{});
    for (const QString& t : storedQuizColourTexts(restarted))
        EXPECT_EQ(t, "default");
}

}  // namespace
}  // namespace ziro
