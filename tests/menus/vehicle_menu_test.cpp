#include "menus/vehicle_menu.h"

#include "content/photo_files.h"
#include "controls/kxb.h"
#include "platform/files/atomic_save.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

namespace ziro {
namespace {

TEST(VehicleMenuGrid, GeometryBandsAndTabs)
{
    EXPECT_EQ(vehicleHotspotRect(1), QRect(5, 5, 94, 70));
    EXPECT_EQ(vehicleHotspotRect(54), QRect(511, 637, 94, 70));
    EXPECT_EQ(vehicleSelectorRect(8), QRect(104, 83, 98, 74));
    EXPECT_EQ(vehicleHotspotAt(QPoint(110, 90)), 8);
    EXPECT_EQ(vehicleHotspotAt(QPoint(2, 2)), 0);
    EXPECT_LE(vehicleHotspotRect(54).bottom(), kVehiclePictureHeight);

    const std::vector<std::pair<int, int>> bands = {{1, 0}, {24, 0}, {25, 318}, {48, 318}, {49, 398}, {54, 398}};
    for (const auto& [n, scroll] : bands)
        EXPECT_EQ(vehicleBandScroll(n), scroll) << n;

    const std::vector<std::pair<int, int>> tabs = {{1, 0}, {4, 0}, {5, 1}, {30, 5}, {36, 5}, {37, 6}, {51, 7}, {52, 8}, {54, 8}};
    for (const auto& [n, tab] : tabs)
        EXPECT_EQ(vehicleTabOf(n), tab) << n;
    EXPECT_EQ(vehicleTabFromX(72, 625), 1);
    EXPECT_FALSE(vehicleTabFromX(3, 625));
    EXPECT_EQ(vehicleTabFromX(5000, 6000), kVehicleCategories - 1);
}

TEST(VehicleMenuGrid, KeyLimits)
{
    struct Case { int n; MenuKey key; std::optional<int> to; };
    const std::vector<Case> cases = {
        {48, MenuKey::Down, 54}, {49, MenuKey::Down, std::nullopt}, {6, MenuKey::Up, std::nullopt},
        {7, MenuKey::Up, 1},     {54, MenuKey::Right, std::nullopt}, {1, MenuKey::Left, std::nullopt},
        {7, MenuKey::Left, 6},   {6, MenuKey::Right, 7},
    };
    for (const Case& c : cases)
        EXPECT_EQ(vehicleKeyMove(c.n, c.key), c.to) << c.n << " " << int(c.key);
}

TEST(VehicleMenuGrid, SharedPhotographsFindTheFirstInSearchOrder)
{
    const std::vector<std::pair<int, int>> shared = {
        {1770, 1}, {1238, 5}, {1240, 9}, {1244, 15}, {1142, 28}, {1143, 30}, {1149, 38}, {1152, 41}, {1141, 53}};
    for (const auto& [photo, n] : shared)
        EXPECT_EQ(findVehicle(QString::number(photo)), n) << photo;
    EXPECT_EQ(findVehicle(QStringLiteral(" 09903")), 39);
    EXPECT_FALSE(findVehicle(QStringLiteral("1")));
    EXPECT_FALSE(findVehicle(QString()));
    EXPECT_EQ(vehicle(54).name, std::string("Dumper"));
}

struct Host : VehicleMenuHost {
    int SpostaSuRecord(const QString& field, const QString& value, bool show) override
    {
        log.push_back("move " + field.toStdString() + " " + value.toStdString() + (show ? " show" : ""));
        return found;
    }
    void closeQuiz() override { log.push_back("close quiz"); }
    void closeFilmAndBook() override { log.push_back("close film book"); }
    void returnFromSideTrip() override { log.push_back("return"); }
    void closeMenu() override { log.push_back("close menu"); }
    QString currentFoto1() const override { return foto1; }
    int found = 1;
    QString foto1;
    std::vector<std::string> log;
};

TEST(VehicleMenuSelection, StartPositions)
{
    Globals g;
    Host host;
    VehicleMenu menu(g, host);
    // Pointing at "Macchine agricole" reopens on "Trattrici agricole", the
    // first of the two in search order.
    menu.hover(37);
    EXPECT_EQ(menu.start(MenuStart::Last), 38);
    EXPECT_EQ(menu.start(MenuStart::First), 1);

    host.foto1 = QStringLiteral("1246");
    EXPECT_EQ(menu.start(MenuStart::Current), 1);  // no photograph on show
    g.FotoCorrente = 3;
    EXPECT_EQ(menu.start(MenuStart::Current), 18);
    host.foto1 = QStringLiteral("4444");
    EXPECT_EQ(menu.start(MenuStart::Current), 1);

    // A click on the second of two vehicles with the same photograph keeps
    // the keyboard there.
    menu.selectHotspot(6);
    ASSERT_TRUE(menu.key(MenuKey::Right));
    EXPECT_EQ(menu.current(), 7);
    menu.tabPressed(8);
    EXPECT_EQ(menu.current(), 52);
    EXPECT_EQ(menu.select(), QStringLiteral("1141"));
}

TEST(VehicleMenuConfirm, MovesByPhotographAndLeavesPhotoMode)
{
    Globals g;
    Host host;
    VehicleMenu menu(g, host);
    menu.selectHotspot(39);
    menu.confirm();
    EXPECT_TRUE(g.SoloFoto);
    const std::vector<std::string> want = {"move Foto1 9903 show", "close quiz", "close film book", "close menu"};
    EXPECT_EQ(host.log, want);

    host.log.clear();
    host.found = 0;
    g.SoloFoto = false;
    menu.confirm();
    EXPECT_TRUE(g.SoloFoto);
    EXPECT_EQ(std::count(host.log.begin(), host.log.end(), "close quiz"), 0);
}

TEST(VehicleMenuConfirm, EscReturnsOnlyFromAQuickTrip)
{
    struct Case { bool quick; bool pending; bool returns; };
    for (const Case& c : {Case{true, true, true}, Case{false, true, false}, Case{true, false, false}}) {
        Globals g;
        g.MdTemp.Status = c.pending;
        Host host;
        VehicleMenu menu(g, host);
        menu.setQuick(c.quick);
        menu.exit();
        EXPECT_EQ(std::count(host.log.begin(), host.log.end(), "return"), c.returns ? 1 : 0);
        EXPECT_FALSE(menu.quick());
    }
}

TEST(VehiclePhotographs, NumbersFrom9000FallBackToTheInstalledFolder)
{
    QTemporaryDir dir;
    Folders f;
    f.DirFoto = dir.path() + QStringLiteral("/Foto/");
    f.DirFotoUtente = dir.path() + QStringLiteral("/Utente/");
    ASSERT_TRUE(QDir().mkpath(f.DirFoto) && QDir().mkpath(f.DirFotoUtente));
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(saveFileAtomically(f.DirFoto + QStringLiteral("9904.KXB"), encodeKxb(picture)));
    ASSERT_TRUE(picture.save(f.DirFotoUtente + QStringLiteral("9903.BMP")));
    ASSERT_TRUE(saveFileAtomically(f.DirFoto + QStringLiteral("9903.KXB"), encodeKxb(picture)));

    // The school's own picture wins; the installed one is the fall-back.
    const auto own = photoFile(f, QStringLiteral("9903"));
    ASSERT_TRUE(own);
    EXPECT_TRUE(own->path.startsWith(f.DirFotoUtente));
    EXPECT_FALSE(own->masked);
    const auto installed = photoFile(f, QStringLiteral("9904"));
    ASSERT_TRUE(installed);
    EXPECT_TRUE(installed->masked);
    ASSERT_TRUE(loadPhoto(*installed));
    // Neither exists: the school's folder is where it is reported missing.
    EXPECT_TRUE(photoFile(f, QStringLiteral("9905"))->path.startsWith(f.DirFotoUtente));
}

}  // namespace
}  // namespace ziro
