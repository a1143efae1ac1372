#include "crossroads/cross_fixture.h"

#include <gtest/gtest.h>

namespace ziro::test {
namespace {

using namespace ziro::cross;

CrossRow with(CrossRow row, const QList<std::pair<QString, QString>>& more)
{
    for (const auto& m : more) {
        bool replaced = false;
        for (auto& [field, value] : row)
            if (field == m.first) {
                value = m.second;
                replaced = true;
            }
        if (!replaced)
            row << m;
    }
    return row;
}

CrossRow numbered(int number, const QList<std::pair<QString, QString>>& more = {})
{
    return with(row631(), QList<std::pair<QString, QString>>{{"Incrocio", QString::number(number)}} + more);
}

TEST(CrossLoad, UnknownNumberIsReportedAndNothingShown)
{
    CrossInstall install({row631()}, {"Crs631.KXA"});
    EXPECT_FALSE(install.session.load("632"));
    ASSERT_EQ(install.reports.shown.size(), 1);
    EXPECT_EQ(install.reports.shown[0].kind, ReportKind::Message);
    EXPECT_EQ(install.reports.shown[0].context, "Ricerca incroci su DBCROSS");
    EXPECT_EQ(install.reports.shown[0].name, QString::fromUtf8("Non è possibile localizzare il n. 632"));
    EXPECT_FALSE(install.session.isLoaded());
}

TEST(CrossLoad, MissingFilmIsReportedAndTheCrossroadsStillShows)
{
    CrossInstall install({row631()});
    ASSERT_TRUE(install.session.load("631"));
    ASSERT_EQ(install.reports.shown.size(), 1);
    EXPECT_EQ(install.reports.shown[0].kind, ReportKind::MissingFile);
    EXPECT_EQ(install.reports.shown[0].context, "Incroci animati");
    EXPECT_TRUE(install.reports.shown[0].name.endsWith("Video/Crs631.AVI"));
    // A press then says there is no film, and nothing plays.
    install.session.evaluate();
    EXPECT_EQ(install.reports.shown.last().context, "incroci animati");
    EXPECT_TRUE(install.player.log.isEmpty());
}

TEST(CrossLoad, OpensTheMaskedFilmOnTheFirstFrameOfThePassage)
{
    CrossInstall install({row631()}, {"Crs631.KXA"});
    ASSERT_TRUE(install.session.load("631"));
    EXPECT_TRUE(install.player.openedPath.endsWith("Crs631.KXA"));
    EXPECT_EQ(install.player.log.last(), "show 4");
    EXPECT_TRUE(install.reports.shown.isEmpty());
}

TEST(CrossLoad, RenumberedSignsUseTheirTargetsFilmAndRules)
{
    // 649 has a record of its own; 659 has none and borrows 657's.
    CrossInstall install({numbered(649, {{"Sequenza", "A"}}), numbered(657)}, {"Crs600.KXA", "Crs657.KXA"});
    ASSERT_TRUE(install.session.load("649"));
    EXPECT_EQ(install.session.displayNumber(), "600");
    EXPECT_TRUE(install.player.openedPath.endsWith("Crs600.KXA"));
    // The single answer rule of 600: the pick is judged at once.
    install.enter({1});
    EXPECT_FALSE(install.session.waiting());
    ASSERT_TRUE(install.session.load("659"));
    EXPECT_EQ(install.session.number(), "657");
}

TEST(CrossLoad, FilmThatDoesNotOpenIsReported)
{
    CrossInstall install({row631()}, {"Crs631.KXA"});
    install.player.opens = false;
    ASSERT_TRUE(install.session.load("631"));
    ASSERT_EQ(install.reports.shown.size(), 1);
    EXPECT_EQ(install.reports.shown[0].context, "Errore incroci animati:\rApertura Mediaplayer fallita.");
}

TEST(CrossLoad, SirenSwitchLoadsTheOtherRecord)
{
    CrossInstall install({numbered(619), numbered(6190, {{"Seq_2", "ASM"}})}, {"Crs619.KXA"});
    ASSERT_TRUE(install.session.load("619"));
    EXPECT_EQ(install.session.emergency(), 1);
    ASSERT_TRUE(install.session.switchEmergency());
    EXPECT_EQ(install.session.number(), "6190");
    EXPECT_EQ(install.session.emergency(), 2);
    EXPECT_TRUE(install.player.openedPath.endsWith("Crs619.KXA"));
    ASSERT_TRUE(install.session.switchEmergency());
    EXPECT_EQ(install.session.number(), "619");
}

struct CrossExercise : ::testing::Test {
    CrossInstall install{{row631(),
                          numbered(635, {{"Seq_2", "BAC"}, {"SErr1", "BAC"}}),
                          numbered(636, {{"Seq_2", "BAC"}}),
                          numbered(641, {{"Sequenza", "ABCD"}, {"Seq_2", "BACD"}, {"SErr1", "BCA"}}),
                          numbered(600, {{"Sequenza", "AB"}, {"SErr1", "B"}, {"Seq_2", "ERR"}}),
                          numbered(612, {{"SErr2", "ACB"}, {"FErr2", "100"}, {"FErr3", "90"}}),
                          numbered(613, {{"SErr120", "CBA  900"}, {"SErr2", ""}}),
                          numbered(6190, {{"Sequenza", "SMA"}, {"Seq_2", "ASM"}, {"Colori", "rgb"}}),
                          numbered(614, {{"Sequenza", "A"}}),
                          numbered(616, {{"SErr3", "BAC"}, {"FErr4", "180"}}),
                          numbered(617, {{"Sequenza", "ABCDE"}}),
                          numbered(6450, {{"Sequenza", "FHAN"}, {"Seq_2", "AFHN"}})},
                         {"Crs631.KXA", "Crs635.KXA", "Crs636.KXA", "Crs641.KXA", "Crs600.KXA", "Crs612.KXA",
                          "Crs613.KXA", "Crs619.KXA", "Crs614.KXA", "Crs616.KXA", "Crs617.KXA", "Crs645.KXA"}};
    CrossSession& s = install.session;
    FakeCrossPlayer& player = install.player;

    void load(const char* n)
    {
        ASSERT_TRUE(s.load(QString::fromLatin1(n)));
        player.log.clear();
    }
};

TEST_F(CrossExercise, CorrectOrderPlaysThePassage)
{
    load("631");
    install.enter({1, 2, 3});
    EXPECT_EQ(install.view.slots.value(1), "A r");
    EXPECT_EQ(install.view.slots.value(3), "C g");
    EXPECT_EQ(s.vPass(), 1);
    EXPECT_EQ(s.check(), Verdict::Correct);
    player.showFrame(3);  // the mouse was last over vehicle 3
    s.evaluate();
    EXPECT_EQ(player.lastPlay(), "play 4-60");
    EXPECT_FALSE(s.waiting());
    // A press while it plays pauses, another resumes up to its end.
    s.evaluate();
    EXPECT_EQ(player.log.last(), "pause");
    // At its end the entries go and the empty scene shows.
    player.finish(60);
    s.segmentEnded();
    EXPECT_TRUE(s.waiting());
    EXPECT_EQ(s.entered(), "");
    EXPECT_EQ(player.log.last(), "show 0");
    EXPECT_TRUE(install.view.slots.isEmpty());
}

TEST_F(CrossExercise, WrongOrdersPlayTheirStretchAndGreyTheSlots)
{
    const std::pair<std::vector<int>, const char*> cases[] = {
        {{2, 1, 3}, "play 60-100"}, {{1, 3, 2}, "play 100-140"}, {{3, 2, 1}, "play 0-0"}};
    for (const auto& [order, played] : cases) {
        load("631");
        install.enter(order);
        EXPECT_EQ(s.check(), Verdict::Wrong);
        s.evaluate();
        EXPECT_EQ(player.log.first(), "show 0");
        EXPECT_EQ(player.lastPlay(), played);
        EXPECT_EQ(install.view.slots.value(1).right(4), "grey");
        EXPECT_EQ(install.view.slots.value(3).right(4), "grey");
    }
    // Two entries for the same order: the later one is played.
    load("616");
    install.enter({2, 1, 3});
    s.evaluate();
    EXPECT_EQ(player.lastPlay(), "play 140-180");

    // A result on show: a press pauses it and the next resumes to its end.
    load("631");
    install.enter({2, 1, 3});
    s.evaluate();
    player.pos = 70;
    s.evaluate();
    player.isPlaying = false;
    s.evaluate();
    EXPECT_EQ(player.log.last(), "resume 100");
}

TEST_F(CrossExercise, BadStretchesAreReportedAndNotPlayed)
{
    // Its end (90) lies before its start (100).
    load("612");
    install.enter({1, 3, 2});
    s.evaluate();
    EXPECT_EQ(player.lastPlay(), "");
    EXPECT_EQ(install.reports.shown.last().context, "incroci animati");
    // SErr120 has no end frame: reported, and the entries stay.
    install.reports.shown.clear();
    load("613");
    install.enter({3, 2, 1});
    s.evaluate();
    EXPECT_EQ(player.lastPlay(), "");
    ASSERT_EQ(install.reports.shown.size(), 1);
    EXPECT_TRUE(install.reports.shown[0].name.contains("SErr120"));
    EXPECT_EQ(s.entered(), "CBA");
}

TEST_F(CrossExercise, FramesPastTheEndAreClamped)
{
    player.frames = 80;
    load("631");
    install.enter({1, 3, 2});  // 100..140 in an animation of 80 frames
    s.evaluate();
    EXPECT_EQ(player.lastPlay(), "play 79-79");
}

TEST_F(CrossExercise, AlternativeOrders)
{
    // 635's alternative is a result of its own: the SErr stretch plays.
    load("635");
    install.enter({2, 1, 3});
    EXPECT_EQ(s.check(), Verdict::Alternative);
    s.evaluate();
    EXPECT_EQ(player.lastPlay(), "play 60-100");
    EXPECT_NE(install.view.slots.value(1).right(4), "grey");
    // Any other crossroads counts it as correct: the passage plays.
    load("636");
    install.enter({2, 1, 3});
    EXPECT_EQ(s.check(), Verdict::Correct);
    s.evaluate();
    EXPECT_EQ(player.lastPlay(), "play 4-60");
}

TEST_F(CrossExercise, EntryLimits)
{
    load("631");
    install.enter({1, 1});
    EXPECT_EQ(install.view.beeps, 1);
    EXPECT_EQ(s.entered(), "A");
    install.enter({4});  // no fourth vehicle
    EXPECT_EQ(install.view.beeps, 2);
    // While a result plays, a hot spot pauses it instead.
    install.enter({2, 3});
    s.evaluate();
    install.enter({1});
    EXPECT_EQ(player.log.last(), "pause");
}

TEST_F(CrossExercise, RepeatedVehiclesAndTheLastSlot)
{
    // On Seq_2 from the start, vehicle 2 may be picked again as fifth.
    load("641");
    install.enter({2, 1, 3, 4});
    EXPECT_EQ(s.vPass(), 2);
    install.enter({2});
    EXPECT_EQ(s.entered(), "BACDB");
    EXPECT_EQ(install.view.beeps, 0);
    // No sixth entry, even though the rule for vehicle 2 still holds.
    install.enter({2});
    EXPECT_EQ(install.view.beeps, 1);
    EXPECT_EQ(s.nextEntry(), 6);

    // 617 takes vehicle 1 again as fourth; the fifth entry fills the last
    // slot, and vehicle 5, never entered, still finds no sixth.
    load("617");
    install.enter({1, 2, 3, 1, 4});
    EXPECT_EQ(s.entered(), "ABCAD");
    install.enter({5});
    EXPECT_EQ(s.entered(), "ABCAD");
    EXPECT_EQ(install.view.beeps, 2);
    EXPECT_FALSE(install.view.slots.contains(6));

    // A wrong beginning: one entry fewer completes it, and only the first
    // n - 1 letters choose the stretch.
    load("641");
    install.enter({2, 3, 1});
    EXPECT_EQ(s.vPass(), 0);
    EXPECT_EQ(s.expectedEntries(), 4);
    s.evaluate();
    EXPECT_EQ(player.lastPlay(), "play 60-100");
}

TEST_F(CrossExercise, HintWhenOnlyTheLastVehicleIsMissing)
{
    load("631");
    install.enter({1, 2});
    s.pressPicture();
    EXPECT_TRUE(install.view.hint);
    s.releasePicture();
    EXPECT_FALSE(install.view.hint);
    EXPECT_EQ(player.log.last(), "show 0");
    // Not on a wrong beginning, not with one vehicle missing of two.
    load("631");
    install.enter({2, 1});
    s.pressPicture();
    EXPECT_FALSE(install.view.hint);
    load("631");
    install.enter({1});
    s.pressPicture();
    EXPECT_FALSE(install.view.hint);
    // A reset leaves nothing that could bring it back (one vehicle).
    load("614");
    install.enter({1});
    s.reset();
    EXPECT_EQ(s.vPass(), 0);
    s.pressPicture();
    EXPECT_FALSE(install.view.hint);
}

TEST_F(CrossExercise, SirenOnFillsItsOrderAndPlaysTheFixedFrames)
{
    player.frames = 2000;
    load("6190");
    s.evaluate();
    EXPECT_EQ(s.entered(), "ASM");
    EXPECT_EQ(player.lastPlay(), "play 888-1124");
    // The order of the scene without the siren is wrong here.
    load("6190");
    install.enter({1, 2, 3});
    EXPECT_EQ(s.check(), Verdict::Wrong);
    // 6450: four letters, its own frames; its demonstration order 3, 1, 2, 4.
    player.frames = 5000;
    load("6450");
    s.evaluate();
    EXPECT_EQ(s.entered(), "AFHN");
    EXPECT_EQ(player.lastPlay(), "play 3879-4125");
    load("6450");
    s.demonstrate();
    EXPECT_EQ(s.entered(), "AFHN");
    EXPECT_EQ(player.lastPlay(), "play 3879-4125");
}

TEST_F(CrossExercise, SingleAnswer)
{
    load("600");
    install.enter({2});  // the vehicle SErr1 names: wrong
    EXPECT_EQ(player.lastPlay(), "play 60-100");
    EXPECT_EQ(install.view.slots.value(1), "B grey");

    load("600");
    install.enter({1});
    EXPECT_EQ(player.lastPlay(), "play 4-60");  // n + 2 .. B1
    EXPECT_EQ(install.view.slots.value(1), "A grey");  // Seq_2 "ERR" greys even the right one
}

TEST_F(CrossExercise, MouseFramesAndStillFrames)
{
    load("631");
    s.hoverHotSpot(2);
    s.hoverHotSpot(0);
    s.rightPressHotSpot(3);
    EXPECT_EQ(player.log, (QStringList{"show 2", "show 0", "show 199"}));
    EXPECT_EQ(s.programming(), 9);
    s.hoverHotSpot(1);  // held: the mouse does not move it
    s.evaluate();
    EXPECT_EQ(s.programming(), 0);
    EXPECT_EQ(player.log.last(), "show 0");
    EXPECT_TRUE(player.lastPlay().isEmpty());
}

TEST_F(CrossExercise, DemonstrationFollowsItsSchedule)
{
    load("631");
    ASSERT_TRUE(s.demonstrate());
    EXPECT_EQ(install.view.waits, (QList<int>{1000, 1000, 1000, 1000}));
    EXPECT_EQ(player.log, (QStringList{"show 1", "show 2", "show 3", "show 4", "play 4-60"}));
    EXPECT_TRUE(s.demonstrating());
    EXPECT_FALSE(s.demonstrate());  // one at a time
    player.finish(60);
    s.segmentEnded();
    EXPECT_FALSE(s.demonstrating());
}

TEST_F(CrossExercise, DemonstrationStopsAfterAReset)
{
    load("631");
    install.view.duringWait = [this](int i) {
        if (i == 1)
            s.userReset();
    };
    s.demonstrate();
    EXPECT_EQ(install.view.waits.size(), 2);
    EXPECT_EQ(player.lastPlay(), "");
    EXPECT_EQ(s.entered(), "");
    // A hot spot click during a demonstration does nothing.
    install.view.duringWait = [this](int) { install.enter({3}); };
    s.demonstrate();
    EXPECT_EQ(install.view.beeps, 0);
}

TEST_F(CrossExercise, DemonstrationOfTheSirenAndOfASingleAnswer)
{
    player.frames = 2000;
    load("6190");
    s.demonstrate();
    EXPECT_EQ(s.entered(), "ASM");
    EXPECT_EQ(player.lastPlay(), "play 888-1124");

    player.frames = 50;
    load("600");
    s.demonstrate();
    EXPECT_EQ(install.view.waits.mid(install.view.waits.size() - 3), (QList<int>{2000, 2000, 1000}));
    EXPECT_EQ(player.log.mid(player.log.size() - 3), (QStringList{"show 48", "show 49", "show 3"}));
    EXPECT_FALSE(s.demonstrating());
}

TEST_F(CrossExercise, ProgrammingAreasOnlyInDebugModeAndWrittenBackOnClose)
{
    load("631");
    s.setProgramming(2);
    EXPECT_EQ(s.programming(), 0);

    install.g.ModoDebug = true;
    s.setProgramming(3);
    EXPECT_FALSE(install.view.menuEnabled);
    s.programPress(Qt::LeftButton, QPoint(120, 90));
    // A corner above and left of the anchor still gives a positive area.
    s.programPress(Qt::RightButton, QPoint(100, 60));
    EXPECT_EQ(install.view.programmed, QRect(100, 60, 20, 30));
    s.programPress(Qt::MiddleButton, QPoint(5, 5));
    EXPECT_EQ(s.record()->hotSpot(3), QRect(100, 60, 20, 30));
    EXPECT_EQ(install.reports.debug.first(), "Modo: Prog. area3 [F3]");
    s.setProgramming(0);
    EXPECT_TRUE(install.view.menuEnabled);
    EXPECT_EQ(install.reports.debug.last(), "Modo: 0 (Utente) ");
    s.close();
    EXPECT_EQ(CrossTable(install.tablePath()).find(631, nullptr)->areas[2], QRect(100, 60, 20, 30));
}

}  // namespace
}  // namespace ziro::test
