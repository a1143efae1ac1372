#include "crossroads/cross_data.h"

#include "content/navigator.h"
#include "platform/dataset/data_table.h"

#include <QFile>

#include <algorithm>

namespace ziro::cross {

namespace {

QString areaField(const char* prefix, int k)
{
    return QLatin1String(prefix) + QString::number(k);
}

const char* const kAreaParts[4] = {"Xt", "Yt", "Xb", "Yb"};

FieldDef smallInt(const QString& name)
{
    return {name, FieldType::SmallInt, 0, {}, {}};
}

// Only an XML datapacket is read: an optional byte order mark and blanks,
// then markup.
bool looksLikeXml(const QByteArray& bytes)
{
    int i = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (i < bytes.size() && (bytes[i] == ' ' || bytes[i] == '\t' || bytes[i] == '\r' || bytes[i] == '\n'))
        ++i;
    return i < bytes.size() && bytes[i] == '<';
}

bool loadTable(const QString& path, DataTable& table, QString* why)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *why = QStringLiteral("%1: %2").arg(path, file.errorString());
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (!looksLikeXml(bytes)) {
        *why = QStringLiteral("%1: not an XML datapacket (compact form not supported)").arg(path);
        return false;
    }
    QString error;
    if (!table.loadFromData(bytes, path, &error)) {
        *why = error;
        return false;
    }
    for (const FieldDef& field : tableFields()) {
        if (!table.findField(field.name)) {
            *why = QStringLiteral("%1: field %2 missing").arg(path, field.name);
            return false;
        }
    }
    return true;
}

bool locateNumber(DataTable& table, int number)
{
    table.first();
    return table.locate(QStringLiteral("Incrocio"), QString::number(number));
}

std::optional<int> number(const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

CrossRecord readRecord(const DataTable& t)
{
    CrossRecord r;
    r.number = t.fieldInt(QStringLiteral("Incrocio"));
    r.sequence = t.fieldText(QStringLiteral("Sequenza")).trimmed().toUpper().left(kVehicles);
    r.colours = t.fieldText(QStringLiteral("Colori")).trimmed();
    for (int k = 1; k <= kVehicles; ++k) {
        int v[4];
        for (int p = 0; p < 4; ++p)
            v[p] = t.fieldInt(areaField(kAreaParts[p], k));
        r.areas[k - 1] = QRect(v[0], v[1], v[2], v[3]);
    }
    for (int i = 0; i < 3; ++i)
        r.alternatives[i] = t.fieldText(QStringLiteral("Seq_") + QString::number(i + 2)).trimmed().toUpper();
    for (int i = 1; i <= kOrders; ++i) {
        const QString text = t.fieldText(QStringLiteral("SErr") + QString::number(i));
        // Only the first five characters are the order; shorter orders are
        // padded with blanks, which must not stop them matching.
        r.orders[i] = text.left(5).trimmed().toUpper();
        r.bounds[i] = i <= kFramedOrders ? number(t.fieldText(QStringLiteral("FErr") + QString::number(i)))
                                         : number(text.mid(5));
    }
    return r;
}

}  // namespace

bool isCrossroads(const QString& sign)
{
    return Navigator::isSpecialSign(sign);
}

QString renumbered(const QString& number)
{
    if (number == QLatin1String("649"))
        return QStringLiteral("600");
    if (number == QLatin1String("659"))
        return QStringLiteral("657");
    return number;
}

std::optional<QString> emergencySwitched(const QString& number)
{
    static const std::pair<const char*, const char*> pairs[] = {
        {"619", "6190"}, {"645", "6450"}, {"6190", "619"}, {"6450", "645"}};
    for (const auto& [from, to] : pairs)
        if (number == QLatin1String(from))
            return QString::fromLatin1(to);
    return std::nullopt;
}

int emergencyState(const QString& number)
{
    if (number == QLatin1String("619") || number == QLatin1String("645"))
        return 1;
    if (number == QLatin1String("6190") || number == QLatin1String("6450"))
        return 2;
    return 0;
}

QString filmBaseName(const QString& number)
{
    return QStringLiteral("Crs") + number.left(3);
}

bool isSingleAnswer(int n)
{
    return n >= 599 && n <= 602;
}

bool allowsRepeat(int n)
{
    return n == 617 || n == 638 || n == 641 || n == 642 || n == 653;
}

bool alternativeIsOwnResult(int n)
{
    return n == 635 || n == 641 || n == 610 || n == 666 || n == 645 || n == 6450 || n == 6190;
}

QChar CrossRecord::letter(int vehicle) const
{
    return vehicle >= 1 && vehicle <= vehicles() ? sequence[vehicle - 1] : QChar();
}

QChar CrossRecord::colour(int vehicle) const
{
    return vehicle >= 1 && vehicle <= colours.size() ? colours[vehicle - 1] : QChar(' ');
}

QRect CrossRecord::hotSpot(int vehicle) const
{
    if (vehicle < 1 || vehicle > kVehicles)
        return {};
    // Areas 1 to 3 are always placed, 4 and 5 only when the vehicles exist.
    if (vehicle > 3 && vehicle > vehicles())
        return {};
    return areas[vehicle - 1];
}

std::array<int, kVehicles> CrossRecord::demonstrationOrder() const
{
    std::array<int, kVehicles> order{1, 2, 3, 4, 5};
    std::array<int, 4> special{};
    int count = 0;
    if (number == 6190) {
        special = {3, 1, 2, 0};
        count = 3;
    } else if (number == 6450) {
        special = {3, 1, 2, 4};
        count = 4;
    }
    // A record with more vehicles than its special order names keeps the
    // rest in their own order rather than picking vehicle 0.
    for (int i = 0; i < std::min(count, vehicles()); ++i)
        order[i] = special[i];
    return order;
}

int clampFrame(int frame, int frames)
{
    return frames <= 0 ? 0 : std::clamp(frame, 0, frames - 1);
}

int stillFrame(int vehicle, int vehicles, int frames)
{
    return clampFrame(frames - vehicles + vehicle - 1, frames);
}

std::optional<Segment> wrongOrderSegment(const CrossRecord& record, int i)
{
    if (i < 1 || i >= kOrders)
        return std::nullopt;
    const std::optional<int> from = record.bounds[i];
    const std::optional<int> to = record.bounds[i + 1];
    if (!from || !to)
        return std::nullopt;
    return Segment{*from, *to};
}

QList<FieldDef> tableFields()
{
    QList<FieldDef> f;
    FieldDef rec = FieldDef::integer(QStringLiteral("Rec"));
    rec.extraAttributes = {{QStringLiteral("SUBTYPE"), QStringLiteral("Autoinc")}};
    f << rec << smallInt(QStringLiteral("Incrocio")) << FieldDef::text(QStringLiteral("Sequenza"), 5);
    for (int k = 1; k <= kVehicles; ++k)
        for (const char* part : kAreaParts)
            f << smallInt(areaField(part, k));
    for (int i = 2; i <= 4; ++i)
        f << FieldDef::text(QStringLiteral("Seq_") + QString::number(i), 5);
    f << FieldDef::text(QStringLiteral("Colori"), 5);
    for (int i = 1; i <= kFramedOrders; ++i)
        f << FieldDef::text(QStringLiteral("SErr") + QString::number(i), 5)
          << smallInt(QStringLiteral("FErr") + QString::number(i));
    for (int i = kFramedOrders + 1; i <= kOrders; ++i)
        f << FieldDef::text(QStringLiteral("SErr") + QString::number(i), 10);
    return f;
}

std::optional<CrossRecord> CrossTable::find(int number, QString* why) const
{
    QString ignored;
    if (!why)
        why = &ignored;
    DataTable table;
    if (!loadTable(m_path, table, why))
        return std::nullopt;
    if (!locateNumber(table, number)) {
        *why = QStringLiteral("%1: no crossroads %2").arg(m_path).arg(number);
        return std::nullopt;
    }
    return readRecord(table);
}

bool CrossTable::saveAreas(int number, const std::array<QRect, kVehicles>& areas, QString* error) const
{
    QString ignored;
    if (!error)
        error = &ignored;
    DataTable table;
    if (!loadTable(m_path, table, error))
        return false;
    if (!locateNumber(table, number)) {
        *error = QStringLiteral("%1: no crossroads %2").arg(m_path).arg(number);
        return false;
    }
    if (!table.edit())
        return false;
    for (int k = 1; k <= kVehicles; ++k) {
        const QRect& a = areas[k - 1];
        const int v[4] = {a.left(), a.top(), a.width(), a.height()};
        for (int p = 0; p < 4; ++p)
            if (!table.setField(areaField(kAreaParts[p], k), v[p], error))
                return false;
    }
    return table.post(error) && table.saveToFile(m_path, SaveFormat::Utf8, error);
}

}  // namespace ziro::cross
