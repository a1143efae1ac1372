#include "menus/vehicle_menu.h"

#include <algorithm>

namespace ziro {

namespace {

const std::array<Vehicle, kVehicles> kVehicleTable = {{
    {1770, "Veicoli privi di motore"},
    {1770, "Veicoli a braccia"},
    {1766, "Veicoli a trazione animale"},
    {1767, "Velocipedi (biciclette)"},
    {1238, "Ciclomotori"},
    {1238, "Ciclomotori"},
    {1772, "Tricicli leggeri"},
    {1239, "Quadricicli leggeri"},
    {1240, "Motoveicoli"},
    {1240, "Motocicli"},
    {1245, "Tricicli a ruote simmetriche - Trikes"},
    {1241, "Tricicli a ruote asimmetriche - Motocarrozzette"},
    {1242, "Tricicli a ruote asimmetriche - Motocarri"},
    {1768, "Quadricicli a motore"},
    {1244, "Autoveicoli"},
    {1244, "Autovetture"},
    {1744, "Autovetture"},
    {1246, "Autobus"},
    {1774, "Scuolabus"},
    {1247, "Autocarri"},
    {1248, "Trattori stradali"},
    {1134, "Autoveicoli per trasporti specifici"},
    {1135, "Autoveicoli per usi speciali"},
    {1136, "Autotreni"},
    {1137, "Autoarticolati"},
    {1138, "Autosnodati"},
    {1139, "Autocaravan"},
    {1142, "Filoveicoli"},
    {1142, "Filoveicoli"},
    {1143, "Rimorchi"},
    {1143, "Rimorchi per il trasporto di cose"},
    {1144, "Rimorchi per trasporti specifici o ad uso speciale"},
    {1145, "Caravan"},
    {1146, "Rimorchi per trasporto di attrezzature turistiche"},
    {1147, "Carrelli appendice"},
    {1148, "Semirimorchi"},
    {1149, "Macchine agricole"},
    {1149, "Trattrici agricole"},
    {9903, "Rimorchi agricoli"},
    {1152, "Macchine operatrici"},
    {1152, "Macchine sgombraneve"},
    {1153, "Carrelli"},
    {1746, "Bulldozer"},
    {1747, "Grader (livellatori)"},
    {9904, "Stabilizzatrici - Riciclatrici"},
    {1749, "Compattatori"},
    {1751, "Caricatori gommati"},
    {1754, "Escavatori gommati"},
    {1753, "Escavatori cingolati"},
    {1755, "Terne"},
    {1756, "Miniescavatori"},
    {1141, "Mezzi d'opera"},
    {1141, "Autocarro"},
    {1757, "Dumper"},
}};

const std::array<VehicleCategory, kVehicleCategories> kVehicleCategoryTable = {{
    {"Veicoli PRIVI DI MOTORE", 1},
    {"CICLOMOTORI", 5},
    {"MOTOVEICOLI", 9},
    {"AUTOVEICOLI", 15},
    {"FILOVEICOLI", 28},
    {"RIMORCHI", 30},
    {"Macchine AGRICOLE", 37},
    {"Macchine OPERATRICI", 40},
    {"MEZZI D'OPERA", 52},
}};

constexpr std::array<int, kVehicleColumns> kLefts = {5, 106, 207, 309, 410, 511};
constexpr std::array<int, 9> kTops = {5, 85, 164, 243, 322, 401, 481, 560, 637};

}  // namespace

const Vehicle& vehicle(int n)
{
    return kVehicleTable[size_t(std::clamp(n, 1, kVehicles) - 1)];
}

const std::array<VehicleCategory, kVehicleCategories>& vehicleCategories()
{
    return kVehicleCategoryTable;
}

QRect vehicleHotspotRect(int n)
{
    if (n < 1 || n > kVehicles)
        return {};
    return QRect(kLefts[size_t((n - 1) % kVehicleColumns)], kTops[size_t((n - 1) / kVehicleColumns)],
                 kVehicleCellWidth, kVehicleCellHeight);
}

int vehicleHotspotAt(QPoint p)
{
    for (int n = 1; n <= kVehicles; ++n)
        if (vehicleHotspotRect(n).contains(p))
            return n;
    return 0;
}

QRect vehicleSelectorRect(int n)
{
    const QRect r = vehicleHotspotRect(n);
    return r.isNull() ? QRect() : r.adjusted(-2, -2, 2, 2);
}

int vehicleBandScroll(int n)
{
    const int band = n <= 24 ? 0 : n <= 48 ? 318 : 954;
    return std::min(band, kVehicleScrollRange - kVehicleViewHeight);
}

int vehicleTabOf(int n)
{
    for (int k = kVehicleCategories - 1; k >= 0; --k)
        if (n >= kVehicleCategoryTable[size_t(k)].first)
            return k;
    return 0;
}

std::optional<int> vehicleTabFromX(int x, int stripWidth)
{
    if (x <= 3 || x >= stripWidth - 15)
        return std::nullopt;
    const int w = kVehicleTabWidth;
    return std::clamp(x / (w + (w + 2) / x), 0, kVehicleCategories - 1);
}

std::optional<int> vehicleKeyMove(int n, MenuKey key)
{
    switch (key) {
    case MenuKey::Left:
        return n >= 2 && n <= 54 ? std::optional(n - 1) : std::nullopt;
    case MenuKey::Right:
        return n >= 1 && n <= 53 ? std::optional(n + 1) : std::nullopt;
    case MenuKey::Up:
        return n >= 7 && n <= 54 ? std::optional(n - 6) : std::nullopt;
    case MenuKey::Down:
        return n >= 1 && n <= 48 ? std::optional(n + 6) : std::nullopt;
    }
    return std::nullopt;
}

const std::array<int, kVehicles>& vehicleSearchOrder()
{
    static const std::array<int, kVehicles> order = [] {
        std::array<int, kVehicles> o{};
        size_t i = 0;
        for (int n = 1; n <= 36; ++n) o[i++] = n;
        for (int n = 42; n >= 37; --n) o[i++] = n;
        for (int n = 43; n <= 48; ++n) o[i++] = n;
        for (int n = 54; n >= 49; --n) o[i++] = n;
        return o;
    }();
    return order;
}

std::optional<int> findVehicle(const QString& photo)
{
    bool ok = false;
    const int p = photo.trimmed().toInt(&ok);
    if (!ok)
        return std::nullopt;
    for (int n : vehicleSearchOrder())
        if (vehicle(n).photo == p)
            return n;
    return std::nullopt;
}

// --- VehicleMenu -------------------------------------------------------------

VehicleMenu::VehicleMenu(Globals& g, VehicleMenuHost& host) : m_g(g), m_host(host) {}

void VehicleMenu::hover(int n)
{
    if (n >= 1 && n <= kVehicles)
        m_fotoCorrente = QString::number(vehicle(n).photo);
}

void VehicleMenu::selectHotspot(int n)
{
    if (n < 1 || n > kVehicles)
        return;
    // The keyboard goes on from the vehicle clicked, also when an earlier
    // one shares its photograph.
    m_current = n;
    m_fotoCorrente = QString::number(vehicle(n).photo);
    m_select = m_fotoCorrente;
}

bool VehicleMenu::key(MenuKey key)
{
    const std::optional<int> to = vehicleKeyMove(m_current, key);
    if (!to)
        return false;
    selectHotspot(*to);
    return true;
}

void VehicleMenu::tabPressed(int tab)
{
    selectHotspot(kVehicleCategoryTable[size_t(std::clamp(tab, 0, kVehicleCategories - 1))].first);
}

int VehicleMenu::start(MenuStart start)
{
    switch (start) {
    case MenuStart::Last:
        break;
    case MenuStart::Current:
        if (m_g.FotoCorrente != 0)
            m_fotoCorrente = m_host.currentFoto1().trimmed();
        break;
    case MenuStart::First:
        m_fotoCorrente = QString::number(vehicle(1).photo);
        break;
    }
    selectHotspot(findVehicle(m_fotoCorrente).value_or(1));
    return m_current;
}

void VehicleMenu::confirm()
{
    if (m_select.isEmpty())
        return;
    if (m_host.SpostaSuRecord(QStringLiteral("Foto1"), m_select, true) != 0)
        m_host.closeQuiz();
    m_g.SoloFoto = true;
    m_host.closeFilmAndBook();
    m_host.closeMenu();
}

void VehicleMenu::exit()
{
    const bool back = m_g.MdTemp.Status && m_quick;
    m_host.closeMenu();
    if (back)
        m_host.returnFromSideTrip();
    m_quick = false;
}

}  // namespace ziro
