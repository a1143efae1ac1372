#include "menus/menu_img_window.h"

#include "base/reports.h"
#include "config/settings.h"
#include "controls/jpeg_loader.h"
#include "controls/kxb.h"
#include "menus/menu_vcl_window.h"
#include "menus/picture_grid_widget.h"
#include "platform/dataset/data_table.h"
#include "platform/files/atomic_save.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

namespace ziro {
namespace {

struct CountingReports : Reports {
    void Emsg(ReportKind, const QString& contesto, const QString& nome) override { messages << contesto + nome; }
    bool Conferma(const QString&, const QString&) override { return true; }
    void Debug(const QString&, const QString&) override {}
    bool reportWindowVisible() const override { return false; }
    QStringList messages;
};

// Straight to the widget: parts of the tall picture lie outside the view.
void moveOver(QWidget* w, QPoint pos)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(pos), w->mapToGlobal(QPointF(pos)), Qt::NoButton, {}, {});
    QCoreApplication::sendEvent(w, &move);
}

struct SignHost : SignMenuHost {
    int SpostaSuRecord(const QString&, const QString& value, bool show) override
    {
        if (!show)
            moved << value;
        return 1;
    }
    void closeMenu() override { ++closes; }
    void menuLeft() override { ++left; }
    QStringList moved;
    int closes = 0;
    int left = 0;
};

QString writeContent(const QString& dir)
{
    DataTable t;
    t.createFromFields({FieldDef::integer(QStringLiteral("NumRec")), FieldDef::text(QStringLiteral("Nome segnale"), 5),
                        FieldDef::memo(QStringLiteral("Domanda")), FieldDef::text(QStringLiteral("Argomento"), 3)});
    int n = 0;
    for (const char* sign : {"93", "383"}) {
        t.append();
        t.setField(QStringLiteral("NumRec"), ++n);
        t.setField(QStringLiteral("Nome segnale"), QString::fromLatin1(sign));
        t.setField(QStringLiteral("Domanda"), QString::fromLatin1(n == 1 ? "Q93" : ""));
        t.post();
    }
    const QString path = dir + QStringLiteral("/AAB2016.XML");
    t.saveToFile(path, SaveFormat::Utf8);
    return path;
}

struct SignMenuWindow : ::testing::Test {
    void SetUp() override
    {
        g.dirs.DirProgram = dir.path() + QLatin1Char('/');
        host.resize(640, 480);
        menu = new TMenuImg(&host);
        menu->attach(g, config, reports, signs);
        content = writeContent(dir.path());
        host.show();
    }
    QColor numberColour() const { return menu->numberField()->palette().color(QPalette::Text); }

    QTemporaryDir dir;
    Globals g;
    Config config;
    CountingReports reports;
    SignHost signs;
    QWidget host;
    TMenuImg* menu = nullptr;
    QString content;
};

TEST_F(SignMenuWindow, TypedNumberSelectsScrollsAndConfirms)
{
    menu->CaricaMenuIcone(int(TModoQuiz::mqAB), content);
    // The picture is missing: the grid is empty and the hot spots still work.
    EXPECT_FALSE(menu->pictureLoaded());
    menu->showMenu(false, QStringLiteral("1"));
    EXPECT_EQ(menu->numberField()->text(), QStringLiteral("1"));

    QTest::keyClick(menu, Qt::Key_S);
    QTest::keyClicks(menu->numberField(), QStringLiteral("093"));
    QTest::keyClick(menu->numberField(), Qt::Key_Return);
    EXPECT_EQ(menu->logic()->current(), 99);
    EXPECT_EQ(menu->grid()->selected(), 99);
    EXPECT_EQ(menu->scrollPosition(), signBandScroll(99 + kComponentOffset));
    EXPECT_EQ(menu->activeTab(), 3);
    EXPECT_EQ(numberColour(), QColor(128, 0, 0));  // 93 has a statement

    QTest::keyClick(menu, Qt::Key_Return);
    EXPECT_EQ(signs.moved, QStringList{QStringLiteral("93")});
    EXPECT_FALSE(menu->isVisible());
}

TEST_F(SignMenuWindow, PointerHoverClickWheelAndTabs)
{
    menu->CaricaMenuIcone(int(TModoQuiz::mqAB), content);
    menu->showMenu(false, QStringLiteral("1"));
    // Hovering the lights of A-B shows them marked without any statement.
    const int k696 = *findSignHotspot(SignLayout::Road, QStringLiteral("696"));
    moveOver(menu->grid(), signHotspotRect(k696).center());
    EXPECT_EQ(menu->numberField()->text(), QStringLiteral("696"));
    EXPECT_EQ(numberColour(), QColor(128, 0, 0));
    moveOver(menu->grid(), signHotspotRect(3).center());
    EXPECT_EQ(numberColour(), QColor(Qt::black));

    QTest::mouseClick(menu->grid(), Qt::LeftButton, {}, signHotspotRect(10).center());
    EXPECT_EQ(menu->logic()->current(), 10);
    // A press on the frame confirms the selected sign.
    QTest::mouseClick(menu->grid(), Qt::LeftButton, {}, signSelectorRect(10).topLeft() + QPoint(1, 1));
    EXPECT_EQ(signs.moved.size(), 1);

    menu->showMenu(false, QStringLiteral("1"));
    const int before = menu->scrollPosition();
    QWheelEvent down(QPointF(10, 10), QPointF(10, 10), {}, QPoint(0, -120), Qt::NoButton, {}, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(menu, &down);
    EXPECT_EQ(menu->scrollPosition(), before + kSignRowStep);

    // Some headings have a scroll of their own.
    const QPoint precedence = menu->tabs()->tabRect(1).center();
    moveOver(menu->tabs(), precedence);
    QTest::mouseClick(menu->tabs(), Qt::LeftButton, {}, precedence);
    EXPECT_EQ(menu->logic()->current(), 41);
    EXPECT_EQ(menu->scrollPosition(), 400);

    // The VIGILE tab: the heading first, then the sign itself.
    const QPoint vigile = menu->tabs()->tabRect(9).center();
    moveOver(menu->tabs(), vigile);
    EXPECT_EQ(menu->activeTab(), 9);
    QTest::mouseClick(menu->tabs(), Qt::LeftButton, {}, vigile);
    EXPECT_EQ(menu->logic()->current(), 309);
    EXPECT_EQ(menu->numberField()->text(), QStringLiteral("383"));
    EXPECT_EQ(menu->scrollPosition(), signBandScroll(309 + kComponentOffset));
    QTest::mouseClick(menu->tabs(), Qt::LeftButton, {}, vigile);
    EXPECT_EQ(signs.moved.last(), QStringLiteral("383"));
}

TEST_F(SignMenuWindow, PicturesByContentAndBadContent)
{
    QImage page(kSignPictureWidth, kSignPictureHeight, QImage::Format_RGB32);
    page.fill(Qt::yellow);
    ASSERT_TRUE(saveFileAtomically(g.dirs.DirProgram + QStringLiteral("ZIROMNU1.JPG"), encodeJpeg(page, 50)));
    ASSERT_TRUE(saveFileAtomically(g.dirs.DirProgram + QStringLiteral("RUZUDOR3.ODE"), QByteArray(5000, 'x')));
    menu->CaricaMenuIcone(int(TModoQuiz::mqCQ), content);
    EXPECT_TRUE(menu->pictureLoaded());
    EXPECT_EQ(menu->logic()->layout(), SignLayout::Cqc);
    menu->CaricaMenuIcone(int(TModoQuiz::mqCD), content);
    EXPECT_FALSE(menu->pictureLoaded());

    // A content file that cannot be read: one message, no marks.
    menu->CaricaMenuIcone(int(TModoQuiz::mqAB), dir.path() + QStringLiteral("/none.xml"));
    ASSERT_EQ(reports.messages.size(), 1);
    EXPECT_TRUE(reports.messages[0].startsWith(QStringLiteral("Errore su MenuImg.IdentifyDaQuiz()")));
    EXPECT_FALSE(menu->questionFlags().has(93));
}

TEST_F(SignMenuWindow, StartPositionFollowsTheSetting)
{
    menu->CaricaMenuIcone(int(TModoQuiz::mqAB), content);
    config.MenuIconeSetting = 3;
    menu->showMenu(false, QStringLiteral("383"));
    EXPECT_EQ(menu->logic()->current(), 310);
    menu->BtEsciClick();
    config.MenuIconeSetting = 2;
    menu->showMenu(false, QStringLiteral("7"));
    EXPECT_EQ(menu->logic()->current(), 310);
    config.MenuIconeSetting = 1;
    menu->showMenu(false, QStringLiteral("7"));
    EXPECT_EQ(menu->logic()->current(), kSignFallbackHotspot);
    QTest::keyClick(menu, Qt::Key_Left);
    EXPECT_EQ(menu->logic()->current(), 1);
    QTest::keyClick(menu, Qt::Key_Left);
    EXPECT_EQ(menu->logic()->current(), 1);
    QTest::keyClick(menu, Qt::Key_Escape);
    EXPECT_FALSE(menu->isVisible());
    EXPECT_TRUE(signs.moved.isEmpty());
    EXPECT_EQ(signs.left, 2);
}

TEST_F(SignMenuWindow, ButtonHintsFollowTheSetting)
{
    menu->showMenu(false, QStringLiteral("1"));
    const QPoint ok = menu->okButtonRect().center();
    auto hintAt = [&](QPoint pos) {
        QToolTip::hideText();
        QHelpEvent help(QEvent::ToolTip, pos, menu->mapToGlobal(pos));
        QCoreApplication::sendEvent(menu, &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    EXPECT_EQ(hintAt(ok), QStringLiteral("Conferma"));
    EXPECT_EQ(hintAt(menu->exitButtonRect().center()), QStringLiteral("Uscita"));
    config.CBhint = true;
    EXPECT_NE(hintAt(ok), QStringLiteral("Conferma"));
}

struct VehicleHost : VehicleMenuHost {
    int SpostaSuRecord(const QString&, const QString& value, bool) override
    {
        moved << value;
        return 1;
    }
    QStringList moved;
};

TEST(VehicleMenuWindow, PictureKeysHoverAndConfirm)
{
    QTemporaryDir dir;
    Globals g;
    g.dirs.DirProgram = dir.path() + QLatin1Char('/');
    Config config;
    CountingReports reports;
    VehicleHost vehicles;
    QWidget host;
    host.resize(640, 480);
    auto* menu = new TMenuVcl(&host);
    // Missing picture: said once, at the first showing, and the hot spots
    // work over an empty area.
    menu->attach(g, config, reports, vehicles);
    EXPECT_TRUE(reports.messages.isEmpty());
    host.show();
    menu->showMenu(false);
    EXPECT_FALSE(menu->pictureLoaded());
    ASSERT_EQ(reports.messages.size(), 1);
    EXPECT_TRUE(reports.messages[0].startsWith(QStringLiteral("Failed to open")));
    QTest::keyClick(menu, Qt::Key_Right);
    EXPECT_EQ(menu->logic()->current(), 2);
    QTest::keyClick(menu, Qt::Key_Escape);
    menu->showMenu(false);
    EXPECT_EQ(reports.messages.size(), 1);
    QTest::keyClick(menu, Qt::Key_Escape);

    QImage picture(kVehiclePictureWidth, kVehiclePictureHeight, QImage::Format_RGB888);
    picture.fill(Qt::green);
    QByteArray bmp = encodeKxb(picture, "BM");
    ASSERT_TRUE(saveFileAtomically(g.dirs.DirProgram + QStringLiteral("Rarezid2"), bmp));
    menu->showMenu(false);
    EXPECT_TRUE(menu->pictureLoaded());
    EXPECT_EQ(menu->nameShown(), QStringLiteral("Veicoli privi di motore"));
    for (int i = 0; i < 4; ++i)
        QTest::keyClick(menu, Qt::Key_Down);
    EXPECT_EQ(menu->logic()->current(), 25);
    EXPECT_EQ(menu->scrollPosition(), 318);
    QTest::keyClick(menu, Qt::Key_Left);
    EXPECT_EQ(menu->scrollPosition(), 0);

    moveOver(menu->grid(), vehicleHotspotRect(37).center());
    EXPECT_EQ(menu->nameShown(), QStringLiteral("Macchine agricole"));
    const QPoint tab = menu->tabs()->tabRect(8).center();
    moveOver(menu->tabs(), tab);
    QTest::mouseClick(menu->tabs(), Qt::LeftButton, {}, tab);
    EXPECT_EQ(menu->logic()->current(), 52);
    EXPECT_EQ(menu->scrollPosition(), vehicleBandScroll(52));

    QTest::mouseClick(menu->grid(), Qt::LeftButton, {}, vehicleHotspotRect(39).center());
    QTest::mouseClick(menu->grid(), Qt::LeftButton, {}, vehicleSelectorRect(39).topLeft() + QPoint(1, 1));
    EXPECT_EQ(vehicles.moved, QStringList{QStringLiteral("9903")});
    EXPECT_TRUE(g.SoloFoto);
    EXPECT_FALSE(menu->isVisible());
}

}  // namespace
}  // namespace ziro
