#pragma once

// The vehicle menu's logic, apart from its window: the 54 vehicles with
// their photographs and names, the grid, the search order for shared
// photographs, the nine tabs, the keys, the start position and what
// confirming and leaving do to the lesson.

#include "base/globals.h"
#include "menus/sign_menu.h"

#include <QPoint>
#include <QRect>
#include <QString>

#include <array>
#include <optional>

namespace ziro {

inline constexpr int kVehicles = 54;
inline constexpr int kVehicleColumns = 6;
inline constexpr int kVehicleCellWidth = 94;
inline constexpr int kVehicleCellHeight = 70;
inline constexpr int kVehiclePictureWidth = 612;
inline constexpr int kVehiclePictureHeight = 716;
inline constexpr int kVehicleViewHeight = 317;
inline constexpr int kVehicleScrollRange = 715;
inline constexpr int kVehiclePageStep = 318;
inline constexpr int kVehicleCategories = 9;
inline constexpr int kVehicleTabWidth = 69;

struct Vehicle {
    int photo;
    const char* name;
};
// Hot spot n (1..54).
const Vehicle& vehicle(int n);

struct VehicleCategory {
    const char* caption;
    int first;  // first hot spot
};
const std::array<VehicleCategory, kVehicleCategories>& vehicleCategories();

QRect vehicleHotspotRect(int n);
int vehicleHotspotAt(QPoint p);
QRect vehicleSelectorRect(int n);
// The scroll position of n's band, limited to the scroll range.
int vehicleBandScroll(int n);
int vehicleTabOf(int n);
std::optional<int> vehicleTabFromX(int x, int stripWidth);
std::optional<int> vehicleKeyMove(int n, MenuKey key);
// The hot spots in the order every search by photograph walks.
const std::array<int, kVehicles>& vehicleSearchOrder();
// The first hot spot in search order showing photograph `photo` (compared
// as a number); nullopt when none does.
std::optional<int> findVehicle(const QString& photo);

// What the vehicle menu asks of the lesson screen.
class VehicleMenuHost {
public:
    virtual ~VehicleMenuHost() = default;
    // Moves to the first record whose first photograph begins with `photo`
    // and shows it, or shows the photograph alone: non-zero when done.
    virtual int SpostaSuRecord(const QString& field, const QString& value, bool show)
    {
        Q_UNUSED(field);
        Q_UNUSED(value);
        Q_UNUSED(show);
        return 0;
    }
    virtual void closeQuiz() {}
    virtual void closeFilmAndBook() {}
    // Takes the way back of the pending side trip (the general menu key).
    virtual void returnFromSideTrip() {}
    virtual void closeMenu() {}
    // The first photograph of the current record.
    virtual QString currentFoto1() const { return {}; }
};

class VehicleMenu {
public:
    VehicleMenu(Globals& g, VehicleMenuHost& host);

    int current() const { return m_current; }
    const QString& select() const { return m_select; }
    const QString& fotoCorrente() const { return m_fotoCorrente; }
    bool quick() const { return m_quick; }
    void setQuick(bool quick) { m_quick = quick; }

    // The pointer over hot spot n: its photograph becomes the menu's
    // current one (the start position of the next opening).
    void hover(int n);
    // Selects hot spot n (pointer, keys, tabs, start).
    void selectHotspot(int n);
    bool key(MenuKey key);
    void tabPressed(int tab);
    // The start position at activation; returns the hot spot selected.
    int start(MenuStart start);

    void confirm();
    void exit();

private:
    Globals& m_g;
    VehicleMenuHost& m_host;
    int m_current = 1;
    QString m_select = QStringLiteral("1770");
    QString m_fotoCorrente = QStringLiteral("1770");
    bool m_quick = false;
};

}  // namespace ziro
