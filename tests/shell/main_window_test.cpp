// The lesson screen itself, with fakes or the real ports plugged in: what its
// controls, keys and the topic pop-up reach, and what they leave alone.

#include "shell/main_window.h"

#include "base/globals.h"
#include "config/machine_store.h"
#include "config/settings.h"
#include "content/content_fixture.h"
#include "content/navigator.h"
#include "controls/auto_button_widget.h"
#include "diag/reporter.h"
#include "menus/back_sub_arg_window.h"
#include "shell/ports_ui.h"
#include "support/fakes.h"
#include "support/port_fakes.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using namespace ziro;
using ziro::test::Rec;

namespace {

// A lesson screen on a small table, activated as far as its keys and clicks
// go (the settings are not read: nothing here needs them).
template <typename Viewers, typename Menus>
struct Screen {
    explicit Screen(const QString& root)
    {
        g.initFromProgram(root + QStringLiteral("/ziro/Program/ziro"));
        config.CBnoSsD = false;  // every record is a step, questions or not
        reporter = std::make_unique<Reporter>(g, &system);
        base = std::make_unique<TBase>(g, config, store, *reporter, system, dialogs, nullptr,
                                       viewers, menus);
        base->state.Sblocco = true;
        base->navigator().fields().Sblocco = true;
    }

    // The records, filtered to their topics and the first one shown.
    bool open(std::initializer_list<Rec> rows)
    {
        if (!ziro::test::buildTable(base->Table1, rows))
            return false;
        base->FiltraDB(QStringLiteral("A00"), QStringLiteral("Z99"), false);
        base->navigator().Avvio(0);
        return true;
    }

    Globals g;
    Config config;
    FileMachineStore store{QDir::tempPath() + QStringLiteral("/ziro-main-window-store.ini")};
    ziro::test::FakeSystem system;
    ziro::test::FakeDialogs dialogs;
    std::unique_ptr<Reporter> reporter;
    Viewers viewers;
    Menus menus;
    std::unique_ptr<TBase> base;
};

struct Logging {
    QStringList entries;
};

// The logging fakes need the log before they are made.
struct LoggingViewers : Logging, ziro::test::LoggingViewers {
    LoggingViewers() : ziro::test::LoggingViewers(Logging::entries) {}
};
struct LoggingMenus : Logging, ziro::test::LoggingMenus {
    LoggingMenus() : ziro::test::LoggingMenus(Logging::entries) {}
};

class MainWindowTest : public ::testing::Test {
protected:
    QTemporaryDir tmp;
};

QAction* popupAction(QMenu* menu, const QString& hint)
{
    for (QAction* a : menu->actions())
        if (a->data().toString() == hint)
            return a;
    return nullptr;
}

}  // namespace

// A right press on the number panel asks for the record's text, and is not
// taken for the topic pop-up; a press on the pause button starts the
// crossroads' automatic play while the exercise is on show.
TEST_F(MainWindowTest, NumberPanelRightPressAndPausePressReachTheirViewers)
{
    Screen<LoggingViewers, LoggingMenus> s(tmp.path());
    ASSERT_TRUE(s.open({Rec(1, "B01", {{"Nome segnale", "101"}, {"Testo", "Nota"}})}));
    s.base->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(s.base.get()));
    s.base->Display->show();  // as it is when the sign's picture is on show
    s.viewers.log.clear();

    QTest::mousePress(s.base->Display, Qt::RightButton);
    QTest::mouseRelease(s.base->Display, Qt::RightButton);
    EXPECT_EQ(s.viewers.log, QStringList{"openTextViewer"});
    EXPECT_FALSE(s.base->PopUpArg->isVisible());

    s.viewers.log.clear();
    QTest::mouseClick(s.base->tasto(MainButton::C), Qt::LeftButton);
    EXPECT_FALSE(s.viewers.log.contains("crossroadsAutoplay"));
    s.viewers.cross = true;
    QTest::mousePress(s.base->tasto(MainButton::C), Qt::LeftButton);
    EXPECT_EQ(s.viewers.log, QStringList{"crossroadsAutoplay"});
    QTest::mouseRelease(s.base->tasto(MainButton::C), Qt::LeftButton);
}

// The last step of a pop-up choice clears the linked view of the sign area,
// even when the choice opens no topic (the icon menu).
TEST_F(MainWindowTest, PopupChoiceClearsTheLinkedView)
{
    Screen<LoggingViewers, LoggingMenus> s(tmp.path());
    ASSERT_TRUE(s.open({Rec(1, "B01", {{"Nome segnale", "101"}})}));
    s.g.VistaLink = true;
    QAction* icons = popupAction(s.base->PopUpArg, QStringLiteral("ICONE"));
    ASSERT_NE(icons, nullptr);
    icons->trigger();
    EXPECT_TRUE(s.menus.log.contains(QStringLiteral("signMenu %1").arg(int(TModoQuiz::mqAB))));
    EXPECT_FALSE(s.g.VistaLink);
}

// Until a vehicle menu exists, its quick trip (a right press on the icon menu
// button, or keypad 3) leaves the lesson where it is: no side trip, no photo
// mode, the same record and range.
TEST_F(MainWindowTest, QuickVehicleTripWithoutAVehicleMenuLeavesTheLesson)
{
    Screen<ShellViewers, ShellMenus> s(tmp.path());
    ASSERT_TRUE(s.open({Rec(1, "A01", {{"Nome segnale", "1"}}),
                        Rec(1, "B01", {{"Nome segnale", "101"}}),
                        Rec(2, "B01", {{"Nome segnale", "102"}})}));
    s.base->FiltraDB(QStringLiteral("B01"), QStringLiteral("B01Z"), false);
    s.base->navigator().Avvio(0);
    s.base->SWavanti();
    ASSERT_EQ(s.base->Table1.fieldText(QStringLiteral("Nome segnale")), QStringLiteral("102"));
    const QString range = s.g.DescrizioneFiltro;

    QTest::mousePress(s.base->tasto(MainButton::MNU), Qt::RightButton);
    QTest::mouseRelease(s.base->tasto(MainButton::MNU), Qt::RightButton);
    s.base->GestioneTastiera(Qt::Key_3, Qt::KeypadModifier);

    EXPECT_FALSE(s.g.MdTemp.Status);
    EXPECT_FALSE(s.g.SoloFoto);
    EXPECT_EQ(s.g.DescrizioneFiltro, range);
    EXPECT_EQ(s.base->Table1.fieldText(QStringLiteral("Nome segnale")), QStringLiteral("102"));
    EXPECT_EQ(s.base->state.SottoArgCorr, QStringLiteral("B01"));
}

// The film button with no film player to open the film in: the failure is
// said, and no film is recorded as open or playing.
TEST_F(MainWindowTest, AFilmThatDoesNotOpenIsNotMarkedOpen)
{
    Screen<ShellViewers, ShellMenus> s(tmp.path());
    ASSERT_TRUE(QDir().mkpath(s.g.dirs.DirVideo));
    QFile film(s.g.dirs.DirVideo + QStringLiteral("Flm7.MPG"));
    ASSERT_TRUE(film.open(QIODevice::WriteOnly));
    film.write("not a film");
    film.close();
    ASSERT_TRUE(s.open({Rec(1, "B01", {{"Nome segnale", "101"}, {"Video", "7"}})}));
    ASSERT_TRUE(s.g.VideoON);

    s.base->logic().SWvideoClick();
    EXPECT_FALSE(s.g.VideoAperto);
    EXPECT_FALSE(s.g.VideoInCorso);
    ASSERT_EQ(s.dialogs.shown.size(), 1);
    EXPECT_TRUE(s.dialogs.shown.first().startsWith(QStringLiteral("Errore player video MPG:\r")))
        << qPrintable(s.dialogs.shown.first());
}

// "A" on a topic whose code the banner cannot read: a short tone and the
// banner's own message, not a line in the log only.
TEST_F(MainWindowTest, BannerWriteFailureIsSaid)
{
    Screen<ShellViewers, ShellMenus> s(tmp.path());
    s.viewers.setMainWindow(s.base.get());
    auto* banner = new TBackSubArg(s.base.get());
    s.base->attachBanner(banner);
    s.config.CBJumpMark2 = true;  // "Recupero out": the banner answers "A"
    ASSERT_TRUE(s.open({Rec(1, "BX1", {{"Nome segnale", "101"}})}));
    s.base->FiltraDB(QStringLiteral("BX1"), QStringLiteral("BX1Z"), false);
    ASSERT_EQ(s.base->state.SottoArgCorr, QStringLiteral("BX1"));
    s.base->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(s.base.get()));

    const int beeps = s.system.beeps;
    s.base->GestioneTastiera(Qt::Key_A, Qt::NoModifier);
    EXPECT_FALSE(banner->isVisible());
    EXPECT_EQ(s.dialogs.shown, QStringList{QStringLiteral("Errore su scrittura argomento.")});
    EXPECT_EQ(s.system.beeps, beeps + 1);
}
