#include "menus/menu_gen_window.h"

#include "config/settings.h"
#include "content/edition.h"
#include "controls/auto_button_widget.h"
#include "diag/reporter.h"
#include "support/qt_printers.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace ziro;

namespace {

class Outside : public GeneralMenuPort {
public:
    QStringList calls;
    std::vector<FilmRequest> films;
    void FiltraDB(const QString& da, const QString& a, bool) override
    {
        calls << QStringLiteral("filter ") + da + QStringLiteral("..") + a;
    }
    bool VeroSeVuoto(const QString&) override { return false; }
    bool openEditionTable(TModoQuiz, QString*) override { return true; }
    void startTopic(const QString&) override { calls << QStringLiteral("start"); }
    bool playFilm(const FilmRequest& r, QString*) override
    {
        films.push_back(r);
        return true;
    }
    void beep() override { calls << QStringLiteral("beep"); }
};

class MenuGenWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tmp.isValid());
        g.initFromProgram(tmp.path() + QStringLiteral("/ziro/Program/ziro"));
        ASSERT_TRUE(QDir().mkpath(g.dirs.DirProgram));
        ASSERT_TRUE(QDir().mkpath(g.dirs.DirVideo));
        CambiaEdizione(g, static_cast<int>(TModoQuiz::mqAB), nullptr);
        host.resize(640, 480);
        menu = new TMenuGen(&host);
        menu->attach(g, cfg, reporter, outside);
        host.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    }

    void write(const QString& path, const QByteArray& bytes)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    QTemporaryDir tmp;
    Globals g;
    Config cfg;
    Reporter reporter{g};
    Outside outside;
    QWidget host;
    TMenuGen* menu = nullptr;
};

}  // namespace

TEST_F(MenuGenWindowTest, GroupClickShowsTheListWithItsIconsAndAFilmIconPlays)
{
    QByteArray lines;
    for (int i = 0; i < 14; ++i)
        lines += QStringLiteral("Argomento %1                                  #%2 $%3   C%4  \r\n")
                     .arg(i, 2, 10, QLatin1Char('0'))
                     .arg(i == 13 ? QStringLiteral("   ") : QStringLiteral("0%1").arg(i, 2, 10, QLatin1Char('0')))
                     .arg(i % 2 ? QStringLiteral("C%1").arg(i, 2, 10, QLatin1Char('0')) : QStringLiteral("   "))
                     .arg(i, 2, 10, QLatin1Char('0'))
                     .toLatin1();
    write(g.dirs.DirProgram + QStringLiteral("NC0.TXT"), lines);
    write(g.dirs.DirVideo + QStringLiteral("Flm013.MP4"), "film");

    menu->showMenu();
    ASSERT_TRUE(menu->isVisible());
    EXPECT_TRUE(menu->groupPanel()->isVisible());
    EXPECT_FALSE(menu->list()->isVisible());

    TautoButton* c = menu->groupButton(3);
    QTest::mouseClick(c, Qt::LeftButton, {}, c->rect().center());
    EXPECT_FALSE(menu->groupPanel()->isVisible());
    EXPECT_TRUE(menu->groupHead()->isVisible());
    ASSERT_EQ(menu->list()->count(), 14);
    EXPECT_EQ(outside.calls.last(), QStringLiteral("filter C..CZ"));
    EXPECT_TRUE(menu->filmIconAt(0)->isVisible());
    EXPECT_FALSE(menu->htmlIconAt(0)->isVisible());
    EXPECT_TRUE(menu->htmlIconAt(1)->isVisible());

    // Scrolled by two rows, the icons follow the rows they stand beside.
    menu->list()->setCurrentRow(13);
    menu->list()->scrollToBottom();
    const int top = menu->list()->indexAt(QPoint(2, 2)).row();
    ASSERT_EQ(top, 2);
    EXPECT_FALSE(menu->filmIconAt(11)->isVisible());  // row 13 has no film
    EXPECT_TRUE(menu->htmlIconAt(11)->isVisible());
    EXPECT_TRUE(menu->filmIconAt(10)->isVisible());
    QTest::mouseClick(menu->filmIconAt(10), Qt::LeftButton);  // row 12: "012", no such file
    EXPECT_TRUE(outside.films.empty());

    menu->list()->scrollToTop();
    write(g.dirs.DirVideo + QStringLiteral("Flm001.MP4"), "film");
    QTest::mouseClick(menu->filmIconAt(1), Qt::LeftButton);
    ASSERT_EQ(outside.films.size(), 1u);
    EXPECT_TRUE(outside.films[0].file.path.endsWith(QStringLiteral("Flm001.MP4")));
    EXPECT_TRUE(menu->isVisible());

    // Enter on a row starts it and closes the menu.
    menu->list()->setFocus();
    menu->list()->setCurrentRow(3);
    QTest::keyClick(menu->list(), Qt::Key_Return);
    EXPECT_EQ(outside.calls.mid(outside.calls.size() - 2),
              (QStringList{QStringLiteral("filter C03..C03Z"), QStringLiteral("start")}));
    EXPECT_FALSE(menu->isVisible());
}

TEST_F(MenuGenWindowTest, EditionLooksAndGroupsTheEditionDoesNotOffer)
{
    menu->showMenu();
    EXPECT_FALSE(menu->groupButton(8)->isDisabledLook());
    const QImage abUp = menu->button(MenuButton::LNormal)->bitMapUp();

    QTest::mouseClick(menu->button(MenuButton::LCiclo), Qt::LeftButton, {},
                      menu->button(MenuButton::LCiclo)->rect().center());
    ASSERT_TRUE(g.ModoAM());
    // AM has no group H: shown greyed, and a click does nothing.
    EXPECT_TRUE(menu->groupButton(8)->isDisabledLook());
    EXPECT_NE(menu->button(MenuButton::LNormal)->bitMapUp(), abUp);  // no longer the pressed look
    EXPECT_EQ(menu->button(MenuButton::LNormal)->bitMapUp(), menuButtonArt(MenuButton::LNormal).up);
    EXPECT_EQ(menu->button(MenuButton::LCiclo)->bitMapUp(), menuButtonArt(MenuButton::LCiclo).down);

    // The view-mode button shows the mode it sets.
    const ViewMode before = menu->logic()->viewMode();
    QTest::mouseClick(menu->button(MenuButton::SDom), Qt::LeftButton, {},
                      menu->button(MenuButton::SDom)->rect().center());
    EXPECT_EQ(menu->button(MenuButton::SDom)->bitMapUp(), viewModeArt(nextViewMode(before)).up);
}

// The menu's topic lists are looked for when it is made: missing ones are
// reported where the teacher sees them, not only in the log.
TEST_F(MenuGenWindowTest, CreationReportsMissingTopicLists)
{
    struct View : ReportView {
        QStringList shown;
        void beep() override {}
        void showReport(const ReportLines& l) override { shown << l.riga1 + QLatin1Char('|') + l.riga2; }
        bool askConfirmation(const ReportLines&) override { return false; }
        void showDebug(const QString&, const QString&) override {}
        bool isVisible() const override { return false; }
    } view;
    Reporter shown(g);
    shown.setView(&view);
    const QString list = g.dirs.DirProgram + QStringLiteral("NJ0.TXT");

    TMenuGen without(&host);
    without.attach(g, cfg, shown, outside);
    EXPECT_EQ(view.shown, QStringList{QString::fromUtf8("Errore, Caricamento Items menù|Il file ") + list
                                      + QStringLiteral(" non esiste")});

    view.shown.clear();
    write(list, "Esercitazioni                            #       J01  \r\n");
    TMenuGen with(&host);
    with.attach(g, cfg, shown, outside);
    EXPECT_TRUE(view.shown.isEmpty());
}
