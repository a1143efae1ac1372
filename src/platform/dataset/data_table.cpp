#include "platform/dataset/data_table.h"

#include "platform/dataset/datapacket_format.h"
#include "platform/dataset/datapacket_reader.h"
#include "platform/dataset/datapacket_writer.h"
#include "platform/files/atomic_save.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <charconv>
#include <cstring>
#include <limits>

namespace ziro {

namespace {

constexpr std::int64_t kAbsentNumber = std::numeric_limits<std::int64_t>::min();

bool fail(QString* error, const QString& reason)
{
    if (error)
        *error = reason;
    return false;
}

// Numeric fields are stored in canonical decimal form (the reader and
// setField see to that).
std::int64_t storedNumber(const char* p, std::size_t n)
{
    std::int64_t value = 0;
    std::from_chars(p, p + n, value);
    return value;
}

int compareBytes(QByteArrayView a, QByteArrayView b)
{
    const auto common = std::size_t(std::min(a.size(), b.size()));
    const int c = common ? std::memcmp(a.data(), b.data(), common) : 0;
    if (c != 0)
        return c < 0 ? -1 : 1;
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

bool isTrimmable(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

int parseIntValue(QByteArrayView text)
{
    const char* p = text.data();
    const char* end = p + text.size();
    while (p < end && isTrimmable(*p))
        ++p;
    while (end > p && isTrimmable(end[-1]))
        --end;
    if (p == end)
        return 0;
    const QByteArrayView trimmed(p, end - p);
    if (trimmed.compare("TRUE", Qt::CaseInsensitive) == 0)
        return 1;
    if (*p == '+')
        ++p;
    int value = 0;
    const auto result = std::from_chars(p, end, value);
    return (result.ec == std::errc() && result.ptr == end) ? value : 0;
}

// Characters, counting a surrogate pair as one.
qsizetype characterCount(const QString& text)
{
    qsizetype count = text.size();
    for (QChar c : text) {
        if (c.isLowSurrogate())
            --count;
    }
    return count;
}

}  // namespace

DataTable::DataTable() = default;
DataTable::~DataTable() = default;

// ---------------------------------------------------------------- life

bool DataTable::open(QString* error)
{
    if (m_fileName.isEmpty())
        return fail(error, QStringLiteral("Cannot open the table: no file name given"));
    std::unique_ptr<TableStore> store = readDatapacketFile(m_fileName, error);
    return store && replaceStore(std::move(store), error);
}

bool DataTable::loadFromFile(const QString& path, QString* error)
{
    std::unique_ptr<TableStore> store = readDatapacketFile(path, error);
    return store && replaceStore(std::move(store), error);
}

bool DataTable::loadFromData(const QByteArray& xml, const QString& sourceName, QString* error)
{
    std::unique_ptr<TableStore> store = readDatapacket(xml, sourceName, error);
    return store && replaceStore(std::move(store), error);
}

bool DataTable::createFromFields(const QList<FieldDef>& fields, QString* error)
{
    if (!validateFieldDefs(fields, error))
        return false;
    auto store = std::make_unique<TableStore>();
    store->fields = fields;
    store->rebuildFieldLookup();
    return replaceStore(std::move(store), error);
}

bool DataTable::replaceStore(std::unique_ptr<TableStore> store, QString* error)
{
    Q_UNUSED(error);
    m_store = std::move(store);
    ++m_generation;
    m_modified = false;
    m_state = State::Browse;
    m_pending.clear();
    m_reportedMissing.clear();
    m_hasRange = false;
    m_rangeStart.clear();
    m_rangeEnd.clear();

    // The order set before (or on the previous data) carries over when the
    // new data has its fields; otherwise the table is in file order.
    QStringList names;
    bool descending = false;
    if (!m_indexName.isEmpty()) {
        const int index = m_store->indexDefIndex(m_indexName);
        if (index >= 0) {
            names = m_store->indexes[index].fields;
            descending = m_store->indexes[index].options.testFlag(IndexOption::Descending);
        }
    } else {
        names = splitFieldList(m_indexFieldNames);
    }
    if (!applyOrder(names, descending, nullptr)) {
        m_indexName.clear();
        m_indexFieldNames.clear();
        applyOrder({}, false, nullptr);
    }
    m_pos = isEmpty() ? -1 : std::int64_t(m_lo);
    m_bof = true;
    m_eof = isEmpty();

    if (m_onOpened)
        m_onOpened();
    recordChanged(false);
    return true;
}

bool DataTable::close(QString* error)
{
    if (!m_store)
        return true;
    checkBrowse();
    if (m_saveOnClose && !m_fileName.isEmpty() && (m_modified || !QFileInfo::exists(m_fileName)) &&
        !saveToFile(m_fileName, saveFormatFor(m_fileName), error))
        return false;
    m_store.reset();
    ++m_generation;
    m_modified = false;
    m_state = State::Inactive;
    m_pending.clear();
    m_orderFields.clear();
    m_order.clear();
    m_keys.clear();
    m_hasRange = false;
    m_rangeStart.clear();
    m_rangeEnd.clear();
    m_lo = m_hi = 0;
    m_pos = -1;
    m_bof = m_eof = true;
    m_notified = snapshot();
    m_pendingData = false;
    return true;
}

SaveFormat DataTable::saveFormatFor(const QString& path)
{
    return path.endsWith(QLatin1String(".xml"), Qt::CaseSensitive) ? SaveFormat::Ascii : SaveFormat::Utf8;
}

QByteArray DataTable::toXml(SaveFormat format)
{
    if (!m_store)
        return {};
    checkBrowse();
    return writeDatapacket(*m_store, format);
}

bool DataTable::saveToFile(const QString& path, SaveFormat format, QString* error)
{
    const QString shown = QDir::toNativeSeparators(path);
    if (!m_store)
        return fail(error, QStringLiteral("Cannot write %1: the table is not open").arg(shown));
    checkBrowse();
    QByteArray data;
    try {
        data = writeDatapacket(*m_store, format);
    } catch (const std::bad_alloc&) {
        return fail(error, QStringLiteral("Cannot write %1: out of memory").arg(shown));
    }
    QString reason;
    if (!saveFileAtomically(path, data, &reason))
        return fail(error, QStringLiteral("Cannot write %1: %2").arg(shown, reason));
    if (!m_fileName.isEmpty() && QFileInfo(path).absoluteFilePath() == QFileInfo(m_fileName).absoluteFilePath())
        m_modified = false;
    return true;
}

// ---------------------------------------------------------------- fields

QList<FieldDef> DataTable::fields() const
{
    return m_store ? m_store->fields : QList<FieldDef>();
}

int DataTable::fieldCount() const
{
    return m_store ? int(m_store->fields.size()) : 0;
}

int DataTable::fieldIndex(const QString& name) const
{
    return m_store ? m_store->fieldIndex(name) : -1;
}

const FieldDef* DataTable::findField(const QString& name) const
{
    const int index = fieldIndex(name);
    return index < 0 ? nullptr : &m_store->fields[index];
}

void DataTable::reportMissing(const QString& name) const
{
    if (!m_store || !m_onMissingField)
        return;
    const QString folded = name.toCaseFolded();
    if (m_reportedMissing.contains(folded))
        return;
    m_reportedMissing.insert(folded);
    m_onMissingField(name);
}

// ---------------------------------------------------------------- indexes and order

QList<IndexDef> DataTable::indexDefs() const
{
    return m_store ? m_store->indexes : QList<IndexDef>();
}

bool DataTable::addIndex(const QString& name, const QString& fields, IndexOptions options, QString* error)
{
    if (!m_store)
        return fail(error, QStringLiteral("Cannot add index \"%1\": the table is not open").arg(name));
    IndexDef index{name, {}, options};
    const QStringList names = splitFieldList(fields);
    for (const QString& field : names) {
        const int f = m_store->fieldIndex(field);
        if (f < 0)
            return fail(error, QStringLiteral("Cannot add index \"%1\": no field \"%2\"").arg(name, field));
        index.fields.append(m_store->fields[f].name);
    }
    if (!datapacket::isStorableIndexDef(index, error))
        return false;
    if (m_store->indexDefIndex(name) >= 0)
        return fail(error, QStringLiteral("An index named \"%1\" exists already").arg(name));
    // A definition is metadata, not a change of the data: it does not make
    // close() write the file back.
    m_store->indexes.append(index);
    return true;
}

bool DataTable::AggiungiIndice(const QString& name, const QString& fields, IndexOptions options)
{
    if (m_store && m_store->indexDefIndex(name) >= 0)
        return true;
    return addIndex(name, fields, options);
}

bool DataTable::setIndexFieldNames(const QString& fields, QString* error)
{
    if (!m_store) {
        m_indexFieldNames = fields;
        m_indexName.clear();
        return true;
    }
    const std::int64_t row = currentRow();
    if (!applyOrder(splitFieldList(fields), false, error))
        return false;
    m_indexFieldNames = fields;
    m_indexName.clear();
    placeCursor(row, m_lo);
    m_bof = m_eof = isEmpty();
    recordChanged(false);
    return true;
}

bool DataTable::setIndexName(const QString& name, QString* error)
{
    if (!m_store) {
        m_indexName = name;
        m_indexFieldNames.clear();
        return true;
    }
    QStringList names;
    bool descending = false;
    if (!name.isEmpty()) {
        const int index = m_store->indexDefIndex(name);
        if (index < 0)
            return fail(error, QStringLiteral("No index named \"%1\"").arg(name));
        names = m_store->indexes[index].fields;
        descending = m_store->indexes[index].options.testFlag(IndexOption::Descending);
    }
    const std::int64_t row = currentRow();
    if (!applyOrder(names, descending, error))
        return false;
    m_indexName = name;
    m_indexFieldNames.clear();
    placeCursor(row, m_lo);
    m_bof = m_eof = isEmpty();
    recordChanged(false);
    return true;
}

bool DataTable::applyOrder(const QStringList& fieldNames, bool descending, QString* error)
{
    std::vector<OrderField> orderFields;
    for (const QString& name : fieldNames) {
        const int f = m_store->fieldIndex(name);
        if (f < 0)
            return fail(error, QStringLiteral("Cannot order by \"%1\": no such field").arg(name));
        orderFields.push_back({f, m_store->fields[f].isNumeric()});
    }
    checkBrowse();
    m_orderFields = std::move(orderFields);
    m_descending = descending;
    m_hasRange = false;
    m_rangeStart.clear();
    m_rangeEnd.clear();

    const std::size_t count = m_orderFields.size();
    const auto rowCount = std::uint32_t(m_store->rows.size());
    m_keys.assign(std::size_t(rowCount) * count, OrderKey{});
    m_order.clear();
    m_order.reserve(rowCount);

    // With one or two key fields that each fit a 64-bit word (numbers; texts
    // of at most 8 bytes, such as topic codes) the keys become plain integers
    // whose order is that of compareRows: a number with its sign bit flipped,
    // a text as big-endian bytes padded with zeros (values hold no NUL, so a
    // shorter text still sorts first). Sorting those is several times faster
    // than comparing through the cells. The words are made in the same pass
    // that reads the keys, while the row's cells are in the cache.
    struct Packed
    {
        std::uint64_t k0;
        std::uint64_t k1;
        std::uint32_t row;
    };
    std::vector<Packed> packed;
    bool packable = count >= 1 && count <= 2;
    if (packable)
        packed.reserve(rowCount);
    auto pack = [&](const OrderKey& key, bool numeric) {
        std::uint64_t word = 0;
        if (numeric) {
            word = std::uint64_t(key.number) ^ (std::uint64_t(1) << 63);
        } else if (key.text.cell != kNoCell) {
            if (key.text.length > 8)
                packable = false;
            const QByteArrayView text = m_store->cellBytes(m_store->cells[key.text.cell]);
            for (qsizetype i = 0; i < text.size() && i < 8; ++i)
                word |= std::uint64_t(static_cast<unsigned char>(text[i])) << (56 - 8 * i);
        }
        return m_descending ? ~word : word;
    };

    const StoredRow* rows = m_store->rows.data();
    const StoredCell* cells = m_store->cells.data();
    constexpr std::uint32_t kAhead = 12;  // rows: a large table's cells are not in the cache
    for (std::uint32_t row = 0; row < rowCount; ++row) {
#if defined(__GNUC__)
        if (count && row + kAhead < rowCount)
            __builtin_prefetch(cells + rows[row + kAhead].firstCell);
#endif
        if (rows[row].deleted)
            continue;
        m_order.push_back(row);
        if (count == 0)
            continue;
        computeKeys(row);
        if (packable) {
            const OrderKey* keys = m_keys.data() + std::size_t(row) * count;
            const std::uint64_t k0 = pack(keys[0], m_orderFields[0].numeric);
            const std::uint64_t k1 = count > 1 ? pack(keys[1], m_orderFields[1].numeric) : 0;
            packed.push_back({k0, k1, row});
        }
    }
    if (packable) {
        // Least significant byte first, skipping the bytes no key changes
        // (topic codes vary in three bytes, record numbers in two or three):
        // a handful of linear passes. Each pass is stable and the rows come
        // in file order, so equal keys keep it.
        std::uint64_t or0 = 0, and0 = ~std::uint64_t(0), or1 = 0, and1 = ~std::uint64_t(0);
        for (const Packed& p : packed) {
            or0 |= p.k0;
            and0 &= p.k0;
            or1 |= p.k1;
            and1 &= p.k1;
        }
        std::vector<Packed> spare(packed.size());
        for (int word = 1; word >= 0; --word) {
            const std::uint64_t varying = word ? (or1 ^ and1) : (or0 ^ and0);
            for (int shift = 0; shift < 64; shift += 8) {
                if (((varying >> shift) & 0xFF) == 0)
                    continue;
                std::size_t counts[257] = {};
                for (const Packed& p : packed)
                    ++counts[(((word ? p.k1 : p.k0) >> shift) & 0xFF) + 1];
                for (int b = 0; b < 256; ++b)
                    counts[b + 1] += counts[b];
                for (const Packed& p : packed)
                    spare[counts[((word ? p.k1 : p.k0) >> shift) & 0xFF]++] = p;
                packed.swap(spare);
            }
        }
        for (std::size_t i = 0; i < packed.size(); ++i)
            m_order[i] = packed[i].row;
    } else if (count > 0) {
        std::sort(m_order.begin(), m_order.end(), [this](std::uint32_t a, std::uint32_t b) { return rowLess(a, b); });
    }
    updateRangeBounds();
    return true;
}

void DataTable::computeKeys(std::uint32_t row)
{
    const std::size_t count = m_orderFields.size();
    if (count == 0)
        return;
    if (m_keys.size() < (std::size_t(row) + 1) * count)
        m_keys.resize((std::size_t(row) + 1) * count);
    OrderKey* keys = m_keys.data() + std::size_t(row) * count;
    const StoredRow& stored = m_store->rows[row];
    const StoredCell* cells = m_store->cells.data() + stored.firstCell;
    for (std::size_t k = 0; k < count; ++k) {
        // Order fields are usually among a record's first (Argomento,
        // NumRec): a forward scan finds them sooner than a binary search.
        const int field = m_orderFields[k].field;
        std::uint32_t found = kNoCell;
        for (std::uint32_t i = 0; i < stored.cellCount && cells[i].field <= field; ++i) {
            if (cells[i].field == field)
                found = stored.firstCell + i;
        }
        if (!m_orderFields[k].numeric) {
            keys[k].text = {found, found == kNoCell ? 0 : m_store->cells[found].length};
        } else if (found == kNoCell) {
            keys[k].number = kAbsentNumber;
        } else {
            const QByteArrayView digits = m_store->cellBytes(m_store->cells[found]);
            keys[k].number = storedNumber(digits.data(), std::size_t(digits.size()));
        }
    }
}

QByteArrayView DataTable::keyText(const OrderKey& key) const
{
    return key.text.cell == kNoCell ? QByteArrayView() : m_store->cellBytes(m_store->cells[key.text.cell]);
}

int DataTable::compareRows(std::uint32_t a, std::uint32_t b) const
{
    const std::size_t count = m_orderFields.size();
    const OrderKey* ka = m_keys.data() + std::size_t(a) * count;
    const OrderKey* kb = m_keys.data() + std::size_t(b) * count;
    for (std::size_t k = 0; k < count; ++k) {
        int c;
        if (m_orderFields[k].numeric)
            c = (ka[k].number > kb[k].number) - (ka[k].number < kb[k].number);
        else
            c = compareBytes(keyText(ka[k]), keyText(kb[k]));
        if (c != 0)
            return m_descending ? -c : c;
    }
    return 0;
}

bool DataTable::rowLess(std::uint32_t a, std::uint32_t b) const
{
    const int c = compareRows(a, b);
    return c != 0 ? c < 0 : a < b;
}

int DataTable::compareToKey(std::uint32_t row, const std::vector<RangeKey>& key) const
{
    const std::size_t count = m_orderFields.size();
    const OrderKey* keys = m_keys.data() + std::size_t(row) * count;
    for (std::size_t k = 0; k < key.size(); ++k) {
        int c;
        if (m_orderFields[k].numeric) {
            c = (keys[k].number > key[k].number) - (keys[k].number < key[k].number);
        } else {
            c = compareBytes(keyText(keys[k]), QByteArrayView(key[k].text));
        }
        if (c != 0)
            return m_descending ? -c : c;
    }
    return 0;
}

std::size_t DataTable::positionOf(std::uint32_t row) const
{
    const auto it = std::lower_bound(m_order.begin(), m_order.end(), row,
                                     [this](std::uint32_t a, std::uint32_t b) { return rowLess(a, b); });
    return (it != m_order.end() && *it == row) ? std::size_t(it - m_order.begin()) : m_order.size();
}

// ---------------------------------------------------------------- range

bool DataTable::setRange(const QVariantList& startKey, const QVariantList& endKey, QString* error)
{
    if (!m_store)
        return fail(error, QStringLiteral("Cannot set a range: the table is not open"));
    if (m_orderFields.empty())
        return fail(error, QStringLiteral("Cannot set a range: no order is set"));
    if (std::size_t(startKey.size()) > m_orderFields.size() || std::size_t(endKey.size()) > m_orderFields.size())
        return fail(error, QStringLiteral("Cannot set a range: a key has more values than the order has fields"));
    auto convert = [this, error](const QVariantList& values, std::vector<RangeKey>& key) {
        key.clear();
        for (qsizetype k = 0; k < values.size(); ++k) {
            RangeKey part;
            const QVariant& v = values[k];
            if (m_orderFields[std::size_t(k)].numeric) {
                if (v.isNull() || v.toString().trimmed().isEmpty()) {
                    part.number = kAbsentNumber;
                } else {
                    bool ok = false;
                    part.number = v.toString().trimmed().toLongLong(&ok);
                    if (!ok) {
                        return fail(error, QStringLiteral("Cannot set a range: \"%1\" is not an integer for \"%2\"")
                                               .arg(v.toString(), m_store->fields[m_orderFields[std::size_t(k)].field].name));
                    }
                }
            } else {
                part.text = v.toString().toUtf8();
            }
            key.push_back(std::move(part));
        }
        return true;
    };
    std::vector<RangeKey> start;
    std::vector<RangeKey> end;
    if (!convert(startKey, start) || !convert(endKey, end))
        return false;
    checkBrowse();
    m_hasRange = true;
    m_rangeStart = std::move(start);
    m_rangeEnd = std::move(end);
    updateRangeBounds();
    m_pos = isEmpty() ? -1 : std::int64_t(m_lo);
    m_bof = true;
    m_eof = isEmpty();
    recordChanged(false);
    return true;
}

void DataTable::cancelRange()
{
    if (!m_store || !m_hasRange)
        return;
    checkBrowse();
    const std::int64_t row = currentRow();
    m_hasRange = false;
    m_rangeStart.clear();
    m_rangeEnd.clear();
    updateRangeBounds();
    placeCursor(row, m_lo);
    if (row < 0) {
        m_bof = true;
        m_eof = isEmpty();
    } else {
        m_bof = m_eof = false;
    }
    recordChanged(false);
}

void DataTable::updateRangeBounds()
{
    if (!m_hasRange) {
        m_lo = 0;
        m_hi = m_order.size();
        return;
    }
    const auto lo = std::partition_point(m_order.begin(), m_order.end(),
                                         [this](std::uint32_t row) { return compareToKey(row, m_rangeStart) < 0; });
    const auto hi = std::partition_point(lo, m_order.end(),
                                         [this](std::uint32_t row) { return compareToKey(row, m_rangeEnd) <= 0; });
    m_lo = std::size_t(lo - m_order.begin());
    m_hi = std::size_t(hi - m_order.begin());
}

void DataTable::placeCursor(std::int64_t row, std::size_t fallback)
{
    if (m_lo == m_hi) {
        m_pos = -1;
        m_bof = m_eof = true;
        return;
    }
    if (row >= 0) {
        const std::size_t p = positionOf(std::uint32_t(row));
        if (p >= m_lo && p < m_hi) {
            m_pos = std::int64_t(p);
            return;
        }
    }
    m_pos = std::int64_t(std::clamp(fallback, m_lo, m_hi - 1));
}

// ---------------------------------------------------------------- cursor

std::int64_t DataTable::currentRow() const
{
    return m_pos < 0 ? -1 : std::int64_t(m_order[std::size_t(m_pos)]);
}

bool DataTable::checkBrowse()
{
    if (m_state == State::Edit || m_state == State::Insert)
        return post();
    return true;
}

bool DataTable::moveTo(std::size_t position)
{
    checkBrowse();
    if (position < m_lo || position >= m_hi)
        return false;
    m_pos = std::int64_t(position);
    m_bof = m_eof = false;
    recordChanged(false);
    return true;
}

void DataTable::first()
{
    if (!m_store)
        return;
    checkBrowse();
    m_pos = isEmpty() ? -1 : std::int64_t(m_lo);
    m_bof = true;
    m_eof = isEmpty();
    recordChanged(false);
}

void DataTable::last()
{
    if (!m_store)
        return;
    checkBrowse();
    m_pos = isEmpty() ? -1 : std::int64_t(m_hi) - 1;
    m_eof = true;
    m_bof = isEmpty();
    recordChanged(false);
}

void DataTable::next()
{
    moveBy(1);
}

void DataTable::prior()
{
    moveBy(-1);
}

int DataTable::moveBy(int distance)
{
    if (!m_store || distance == 0)
        return 0;
    checkBrowse();
    if (isEmpty()) {
        m_bof = m_eof = true;
        return 0;
    }
    const std::int64_t wanted = m_pos + distance;
    const std::int64_t target = std::clamp<std::int64_t>(wanted, std::int64_t(m_lo), std::int64_t(m_hi) - 1);
    const int moved = int(target - m_pos);
    m_pos = target;
    m_bof = wanted < std::int64_t(m_lo);
    m_eof = wanted >= std::int64_t(m_hi);
    recordChanged(false);
    return moved;
}

int DataTable::recNo() const
{
    return m_pos < 0 ? 0 : int(std::size_t(m_pos) - m_lo) + 1;
}

bool DataTable::setRecNo(int recNo)
{
    if (!m_store || recNo < 1 || recNo > recordCount())
        return false;
    return moveTo(m_lo + std::size_t(recNo) - 1);
}

bool DataTable::locate(const QString& field, const QString& value, LocateOptions options)
{
    return locate(QStringList{field}, QStringList{value}, options);
}

bool DataTable::locate(const QStringList& fieldNames, const QStringList& values, LocateOptions options)
{
    if (!m_store || fieldNames.isEmpty() || fieldNames.size() != values.size())
        return false;
    checkBrowse();
    struct Criterion
    {
        int field;
        bool numeric;
        std::int64_t number;
        QByteArray text;
        QString folded;
    };
    std::vector<Criterion> criteria;
    const bool partial = options.testFlag(LocateOption::PartialKey);
    const bool caseless = options.testFlag(LocateOption::CaseInsensitive);
    for (qsizetype i = 0; i < fieldNames.size(); ++i) {
        const int f = m_store->fieldIndex(fieldNames[i]);
        if (f < 0) {
            reportMissing(fieldNames[i]);
            return false;
        }
        Criterion c{f, m_store->fields[f].isNumeric() && !partial, kAbsentNumber, values[i].toUtf8(), {}};
        if (c.numeric && !values[i].trimmed().isEmpty()) {
            bool ok = false;
            c.number = values[i].trimmed().toLongLong(&ok);
            if (!ok)
                return false;
        }
        if (caseless)
            c.folded = values[i].toCaseFolded();
        criteria.push_back(std::move(c));
    }
    for (std::size_t p = m_lo; p < m_hi; ++p) {
        const std::uint32_t row = m_order[p];
        bool match = true;
        for (const Criterion& c : criteria) {
            const StoredCell* cell = m_store->findCell(row, c.field);
            const QByteArrayView stored = cell ? m_store->cellBytes(*cell) : QByteArrayView();
            if (c.numeric) {
                match = (cell ? storedNumber(stored.data(), std::size_t(stored.size())) : kAbsentNumber) == c.number;
            } else if (caseless) {
                const QString text = QString::fromUtf8(stored).toCaseFolded();
                match = partial ? text.startsWith(c.folded) : text == c.folded;
            } else {
                match = partial ? stored.startsWith(c.text) : stored == QByteArrayView(c.text);
            }
            if (!match)
                break;
        }
        if (match)
            return moveTo(p);
    }
    return false;
}

// ---------------------------------------------------------------- reading

const CellValue* DataTable::pendingValue(int field) const
{
    const auto it = std::lower_bound(m_pending.begin(), m_pending.end(), field,
                                     [](const CellValue& v, int f) { return v.field < f; });
    return (it != m_pending.end() && it->field == field) ? &*it : nullptr;
}

QString DataTable::fieldText(int field) const
{
    if (!m_store || field < 0 || field >= m_store->fields.size())
        return {};
    if (m_state == State::Edit || m_state == State::Insert) {
        const CellValue* v = pendingValue(field);
        return v ? QString::fromUtf8(v->text) : QString();
    }
    const std::int64_t row = currentRow();
    return row < 0 ? QString() : QString::fromUtf8(m_store->value(std::uint32_t(row), field));
}

QString DataTable::fieldText(const QString& name) const
{
    const int field = fieldIndex(name);
    if (field < 0)
        reportMissing(name);
    return fieldText(field);
}

int DataTable::fieldInt(int field) const
{
    if (!m_store || field < 0 || field >= m_store->fields.size())
        return 0;
    if (m_state == State::Edit || m_state == State::Insert) {
        const CellValue* v = pendingValue(field);
        return v ? parseIntValue(v->text) : 0;
    }
    const std::int64_t row = currentRow();
    return row < 0 ? 0 : parseIntValue(m_store->value(std::uint32_t(row), field));
}

int DataTable::fieldInt(const QString& name) const
{
    const int field = fieldIndex(name);
    if (field < 0)
        reportMissing(name);
    return fieldInt(field);
}

QString DataTable::fieldTextAt(int recNo, int field) const
{
    if (!m_store || field < 0 || field >= m_store->fields.size() || recNo < 1 || recNo > recordCount())
        return {};
    return QString::fromUtf8(m_store->value(m_order[m_lo + std::size_t(recNo) - 1], field));
}

// ---------------------------------------------------------------- editing

DataTable::State DataTable::state() const
{
    return m_store ? m_state : State::Inactive;
}

bool DataTable::edit()
{
    if (!m_store)
        return false;
    if (m_state == State::Edit)
        return true;
    if (m_state == State::Insert || m_pos < 0)
        return false;
    const StoredRow& row = m_store->rows[std::size_t(currentRow())];
    m_pending.clear();
    for (std::uint32_t i = 0; i < row.cellCount; ++i) {
        const StoredCell& cell = m_store->cells[row.firstCell + i];
        m_pending.push_back({cell.field, m_store->cellBytes(cell).toByteArray()});
    }
    m_state = State::Edit;
    return true;
}

bool DataTable::append()
{
    if (!m_store)
        return false;
    checkBrowse();
    m_pending.clear();
    m_state = State::Insert;
    return true;
}

bool DataTable::setField(const QString& name, const QString& value, QString* error)
{
    if (!m_store)
        return fail(error, QStringLiteral("Cannot set \"%1\": the table is not open").arg(name));
    const int field = m_store->fieldIndex(name);
    if (field < 0)
        return fail(error, QStringLiteral("Cannot set \"%1\": no such field").arg(name));
    return setField(field, value, error);
}

bool DataTable::setField(const QString& name, int value, QString* error)
{
    return setField(name, QString::number(value), error);
}

bool DataTable::setField(int field, const QString& value, QString* error)
{
    if (!m_store)
        return fail(error, QStringLiteral("Cannot set a field: the table is not open"));
    if (field < 0 || field >= m_store->fields.size())
        return fail(error, QStringLiteral("Cannot set field number %1: no such field").arg(field));
    const FieldDef& def = m_store->fields[field];
    if (m_state != State::Edit && m_state != State::Insert)
        return fail(error, QStringLiteral("Cannot set \"%1\": the table is not being edited").arg(def.name));
    for (QChar c : value) {
        if (c.unicode() < 0x20 && c != QLatin1Char('\t') && c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            return fail(error, QStringLiteral("Cannot set \"%1\": the value holds a control character").arg(def.name));
    }

    QByteArray text;
    const QString trimmed = value.trimmed();
    switch (def.type) {
    case FieldType::Integer:
    case FieldType::SmallInt: {
        if (trimmed.isEmpty())
            break;
        bool ok = false;
        const qlonglong number = trimmed.toLongLong(&ok);
        const qlonglong low = def.type == FieldType::Integer ? std::numeric_limits<std::int32_t>::min() : -32768;
        const qlonglong high = def.type == FieldType::Integer ? std::numeric_limits<std::int32_t>::max() : 32767;
        if (!ok || number < low || number > high)
            return fail(error, QStringLiteral("Cannot set \"%1\": \"%2\" is not an integer in its range").arg(def.name, value));
        text = QByteArray::number(number);
        break;
    }
    case FieldType::Boolean:
        if (trimmed.isEmpty())
            break;
        if (trimmed.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 || trimmed == QLatin1String("1"))
            text = "TRUE";
        else if (trimmed.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0 || trimmed == QLatin1String("0"))
            text = "FALSE";
        else
            return fail(error, QStringLiteral("Cannot set \"%1\": \"%2\" is not TRUE or FALSE").arg(def.name, value));
        break;
    case FieldType::Text:
    case FieldType::WideText:
    case FieldType::Memo: {
        if (def.hasWidthLimit() && characterCount(value) > def.width) {
            return fail(error, QStringLiteral("Cannot set \"%1\": the value has %2 characters, the field holds at most %3")
                                   .arg(def.name)
                                   .arg(characterCount(value))
                                   .arg(def.width));
        }
        // Stored as the reader would read it back (see windows1252ForC1).
        QString stored = value;
        for (QChar& c : stored) {
            if (c.unicode() >= 0x80 && c.unicode() <= 0x9F)
                c = QChar(char16_t(windows1252ForC1(c.unicode())));
        }
        text = stored.toUtf8();
        break;
    }
    }

    const auto it = std::lower_bound(m_pending.begin(), m_pending.end(), field,
                                     [](const CellValue& v, int f) { return v.field < f; });
    const bool present = it != m_pending.end() && it->field == field;
    if (text.isEmpty()) {
        if (present)
            m_pending.erase(it);
    } else if (present) {
        it->text = text;
    } else {
        m_pending.insert(it, CellValue{field, text});
    }
    return true;
}

bool DataTable::sameAsStored(std::uint32_t row, const std::vector<CellValue>& values) const
{
    const StoredRow& r = m_store->rows[row];
    if (r.cellCount != values.size())
        return false;
    for (std::uint32_t i = 0; i < r.cellCount; ++i) {
        const StoredCell& cell = m_store->cells[r.firstCell + i];
        const CellValue& v = values[i];
        if (cell.field != v.field || m_store->cellBytes(cell) != QByteArrayView(v.text))
            return false;
    }
    return true;
}

bool DataTable::post(QString* error)
{
    if (!m_store)
        return fail(error, QStringLiteral("Cannot post: the table is not open"));
    if (m_state != State::Edit && m_state != State::Insert)
        return true;
    const State state = m_state;
    m_state = State::Browse;
    std::vector<CellValue> values;
    values.swap(m_pending);

    std::uint32_t row;
    std::size_t fallback = m_pos < 0 ? m_lo : std::size_t(m_pos);
    try {
        if (state == State::Edit) {
            row = std::uint32_t(currentRow());
            if (sameAsStored(row, values))
                return true;
            m_store->replaceRow(row, values);
            m_order.erase(m_order.begin() + std::ptrdiff_t(m_pos));
        } else {
            row = m_store->appendRow(values);
        }
    } catch (const std::bad_alloc&) {
        m_state = state;
        m_pending.swap(values);
        return fail(error, QStringLiteral("Cannot post: out of memory"));
    }
    m_modified = true;
    computeKeys(row);
    const auto at = std::lower_bound(m_order.begin(), m_order.end(), row,
                                     [this](std::uint32_t a, std::uint32_t b) { return rowLess(a, b); });
    m_order.insert(at, row);
    updateRangeBounds();
    placeCursor(row, fallback);
    if (!isEmpty())
        m_bof = m_eof = false;
    recordChanged(true);
    return true;
}

void DataTable::cancel()
{
    if (m_state == State::Edit || m_state == State::Insert) {
        m_state = State::Browse;
        m_pending.clear();
    }
}

bool DataTable::deleteRecord()
{
    if (!m_store)
        return false;
    if (m_state == State::Insert) {
        cancel();
        return true;
    }
    cancel();
    if (m_pos < 0)
        return false;
    const std::uint32_t row = m_order[std::size_t(m_pos)];
    const std::size_t fallback = std::size_t(m_pos);
    m_store->rows[row].deleted = true;
    m_order.erase(m_order.begin() + std::ptrdiff_t(m_pos));
    m_modified = true;
    updateRangeBounds();
    placeCursor(-1, fallback);
    if (!isEmpty())
        m_bof = m_eof = false;
    recordChanged(true);
    return true;
}

// ---------------------------------------------------------------- bookmarks and notices

Bookmark DataTable::bookmark() const
{
    Bookmark b;
    const std::int64_t row = currentRow();
    if (m_store && row >= 0) {
        b.m_generation = m_generation;
        b.m_row = std::uint32_t(row);
    }
    return b;
}

bool DataTable::bookmarkValid(const Bookmark& bookmark) const
{
    return m_store && !bookmark.isNull() && bookmark.m_generation == m_generation &&
           bookmark.m_row < m_store->rows.size() && !m_store->rows[bookmark.m_row].deleted;
}

bool DataTable::gotoBookmark(const Bookmark& bookmark)
{
    if (!bookmarkValid(bookmark))
        return false;
    checkBrowse();
    const std::size_t p = positionOf(bookmark.m_row);
    return p >= m_lo && p < m_hi && moveTo(p);
}

void DataTable::disableControls()
{
    ++m_disableCount;
}

void DataTable::enableControls()
{
    if (m_disableCount > 0 && --m_disableCount == 0)
        recordChanged(false);
}

DataTable::Snapshot DataTable::snapshot() const
{
    return {m_generation, currentRow(), recNo(), recordCount()};
}

void DataTable::recordChanged(bool dataChanged)
{
    m_pendingData = m_pendingData || dataChanged;
    if (m_disableCount > 0)
        return;
    const Snapshot now = snapshot();
    if (now == m_notified && !m_pendingData)
        return;
    m_notified = now;
    m_pendingData = false;
    if (m_onRecordChanged)
        m_onRecordChanged();
}

std::size_t DataTable::memoryUsage() const
{
    if (!m_store)
        return 0;
    return m_store->memoryUsage() + m_order.capacity() * sizeof(std::uint32_t) + m_keys.capacity() * sizeof(OrderKey);
}

}  // namespace ziro
