#include "platform/dataset/datapacket_reader.h"

#include "platform/dataset/datapacket_format.h"
#include "platform/dataset/datapacket_scan.h"
#include "platform/files/text_codec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStringDecoder>
#include <QThreadPool>

#include <pugixml.hpp>

#include <atomic>
#include <charconv>
#include <functional>
#include <future>
#include <mutex>
#include <new>
#include <optional>
#include <string>
#include <system_error>
#include <thread>
#include <utility>

// How the reader keeps up with pugixml. A content table has ~170 fields of
// which a row fills a few dozen, and pugixml parses it at over a gigabyte a
// second, so every step per attribute counts:
//  - the file is read into a buffer with zeroed padding past its end (a
//    large file in two halves at once) and parsed in place; pugixml unescapes
//    each value inside the buffer, so the buffer itself becomes the table's
//    arena (long values stay where they are, short ones go into their cells)
//    and nothing is copied;
//  - attribute records are read directly (see recordLayoutMatches), names
//    and values scanned eight or sixteen bytes at a time and names matched
//    to fields by a two-word key, the field that followed last time first;
//  - only values holding non-ASCII bytes are checked for valid UTF-8;
//  - the rows of a large file are cut at ROW tags into chunks of about
//    128 KB, each parsed (as an XML fragment, in place) and walked while its
//    document is still in the cache, the documents reusing the same memory;
//    the prolog and METADATA are parsed from a small copy. This thread takes
//    chunks from the front and, when one is free, a pooled thread from the
//    back, until they meet. Anything unusual on that path (a comment across
//    a cut, any error) drops back to parsing the whole document at once,
//    which alone reports errors, so both give the same tables and messages.

namespace ziro {

namespace {

using namespace datapacket_scan;

constexpr unsigned kParseOptions = pugi::parse_default | pugi::parse_doctype;
// Cell payload flag while loading: an offset into the side buffer.
constexpr std::uint64_t kSideFlag = std::uint64_t(1) << 63;

// A file's bytes with kScanPadding zero bytes readable after size().
class PaddedBuffer
{
public:
    char* allocate(std::size_t size)
    {
        m_bytes.clear();
        m_bytes.reserve(size + kScanPadding);
        char* data = m_bytes.grow(size);
        std::memset(data + size, 0, kScanPadding);
        return data;
    }
    void assign(const char* data, std::size_t size) { std::memcpy(allocate(size), data, size); }
    char* data() { return m_bytes.data(); }
    const char* data() const { return m_bytes.data(); }
    std::size_t size() const { return m_bytes.size(); }
    PodBuffer<char> release() { return std::move(m_bytes); }

private:
    PodBuffer<char> m_bytes;
};

struct Failure
{
    std::ptrdiff_t offset = -1;  // into the parsed buffer; -1 when there is no place
    QString text;
};

enum class ValueKind : std::uint8_t { Text, Integer, SmallInt };

QString text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

bool fail(Failure& failure, std::ptrdiff_t offset, const QString& message)
{
    failure.offset = offset;
    failure.text = message;
    return false;
}

bool fail(Failure& failure, pugi::xml_node node, const QString& message)
{
    // pugixml places an element at its name; the reader's user looks for the '<'.
    const std::ptrdiff_t offset = node.offset_debug();
    return fail(failure, node.type() == pugi::node_element && offset > 0 ? offset - 1 : offset, message);
}

bool loadFields(pugi::xml_node meta, TableStore& store, Failure& failure)
{
    const pugi::xml_node fieldsNode = meta.child("FIELDS");
    if (!fieldsNode)
        return fail(failure, meta, QStringLiteral("no FIELDS element"));
    QSet<QString> attributeNames;
    for (pugi::xml_node node = fieldsNode.child("FIELD"); node; node = node.next_sibling("FIELD")) {
        FieldDef def;
        QString attrName, fieldName, width;
        const QString type = text(node.attribute("fieldtype").value());
        const bool blob = type == QLatin1String(datapacket::kFieldTypeBlob);
        QString subtype;
        bool hasWidth = false;
        for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute()) {
            const char* name = a.name();
            if (std::strcmp(name, "attrname") == 0) {
                attrName = text(a.value());
            } else if (std::strcmp(name, "fieldname") == 0) {
                fieldName = text(a.value());
            } else if (std::strcmp(name, "fieldtype") == 0) {
                continue;
            } else if (blob && std::strcmp(name, "SUBTYPE") == 0) {
                subtype = text(a.value());
            } else if (std::strcmp(name, "WIDTH") == 0) {
                width = text(a.value());
                hasWidth = true;
            } else {
                def.extraAttributes.append({text(name), text(a.value())});
            }
        }
        const int number = int(store.fields.size()) + 1;
        if (attrName.isEmpty())
            return fail(failure, node, QStringLiteral("FIELD %1 has no attrname").arg(number));
        if (attributeNames.contains(attrName))
            return fail(failure, node, QStringLiteral("two FIELDs have the attrname \"%1\"").arg(attrName));
        attributeNames.insert(attrName);
        def.name = fieldName.isEmpty() ? attrName : fieldName;
        def.xmlName = attrName;
        if (type == QLatin1String(datapacket::kFieldTypeInteger)) {
            def.type = FieldType::Integer;
        } else if (type == QLatin1String(datapacket::kFieldTypeSmallInt)) {
            def.type = FieldType::SmallInt;
        } else if (type == QLatin1String(datapacket::kFieldTypeText)) {
            def.type = FieldType::Text;
        } else if (type == QLatin1String(datapacket::kFieldTypeWideText)) {
            def.type = FieldType::WideText;
        } else if (type == QLatin1String(datapacket::kFieldTypeBoolean)) {
            def.type = FieldType::Boolean;
        } else if (blob) {
            if (subtype != QLatin1String(datapacket::kBlobSubtypeText)) {
                return fail(failure, node, QStringLiteral("field \"%1\": binary field (SUBTYPE \"%2\") is not supported")
                                               .arg(def.name, subtype));
            }
            def.type = FieldType::Memo;
        } else {
            return fail(failure, node, QStringLiteral("field \"%1\": unsupported fieldtype \"%2\"").arg(def.name, type));
        }
        if (hasWidth) {
            bool ok = false;
            def.width = width.trimmed().toInt(&ok);
            if (!ok || def.width < 0)
                return fail(failure, node, QStringLiteral("field \"%1\": bad WIDTH \"%2\"").arg(def.name, width));
        }
        store.fields.append(def);
    }
    QString reason;
    if (!validateFieldDefs(store.fields, &reason))
        return fail(failure, fieldsNode, reason);
    store.rebuildFieldLookup();
    return true;
}

void loadParams(pugi::xml_node params, TableStore& store)
{
    for (pugi::xml_attribute a = params.first_attribute(); a; a = a.next_attribute()) {
        const QString name = text(a.name());
        const QString value = text(a.value());
        if (datapacket::isIndexParamName(name)) {
            const std::optional<IndexDef> index = datapacket::decodeIndexDef(value);
            if (index && store.indexDefIndex(index->name) < 0) {
                store.indexes.append(*index);
                continue;
            }
        }
        store.params.append({name, value});
    }
}

// Checks the document's frame and reads its fields and parameters; `rowData`
// receives the ROWDATA element.
bool loadHead(const pugi::xml_document& doc, TableStore& store, pugi::xml_node& rowData, Failure& failure)
{
    pugi::xml_node root;
    for (pugi::xml_node n = doc.first_child(); n; n = n.next_sibling()) {
        if (n.type() == pugi::node_doctype)
            return fail(failure, n, QStringLiteral("DOCTYPE declarations are not accepted"));
        if (n.type() != pugi::node_element)
            continue;
        if (root)
            return fail(failure, n, QStringLiteral("a second root element <%1>").arg(text(n.name())));
        root = n;
    }
    if (!root)
        return fail(failure, -1, QStringLiteral("no root element"));
    if (std::strcmp(root.name(), "DATAPACKET") != 0)
        return fail(failure, root, QStringLiteral("the root element is <%1>, not <DATAPACKET>").arg(text(root.name())));
    const pugi::xml_node meta = root.child("METADATA");
    if (!meta)
        return fail(failure, root, QStringLiteral("no METADATA element"));
    if (!loadFields(meta, store, failure))
        return false;
    loadParams(meta.child("PARAMS"), store);
    rowData = root.child("ROWDATA");
    if (!rowData)
        return fail(failure, root, QStringLiteral("no ROWDATA element"));
    return true;
}

// What walking the rows needs to know of the fields.
struct RowPlan
{
    explicit RowPlan(const QList<FieldDef>& fields) : names(xmlNames(fields))
    {
        for (const FieldDef& f : fields) {
            kinds.push_back(f.type == FieldType::Integer    ? ValueKind::Integer
                            : f.type == FieldType::SmallInt ? ValueKind::SmallInt
                                                            : ValueKind::Text);
            fieldNames.append(f.name);
        }
    }
    static QStringList xmlNames(const QList<FieldDef>& fields)
    {
        QStringList names;
        for (const FieldDef& f : fields)
            names.append(f.xmlName);
        return names;
    }

    AttributeNames names;
    std::vector<ValueKind> kinds;
    QStringList fieldNames;
};

// Turns the ROW elements under a node into rows and cells; called once per
// node in file order (the whole ROWDATA, or one chunk after another). Values
// are taken from the buffer [buffer, buffer + size); the word scans may read
// up to kScanPadding bytes past a value but never past `readLimit`.
class RowWalker
{
public:
    RowWalker(const RowPlan& plan, char* buffer, std::size_t size, const char* readLimit)
        : m_plan(plan), m_buffer(buffer), m_size(size), m_readLimit(readLimit),
          m_seenInRow(plan.kinds.size(), 0), m_follow(plan.kinds.size() + 1, 0)
    {
    }

    bool walk(pugi::xml_node container, Failure& failure);
    void setReadLimit(const char* limit) { m_readLimit = limit; }

    PodBuffer<StoredCell> cells;
    PodBuffer<StoredRow> rows;
    std::string side;                     // values rewritten longer than their place
    std::vector<std::uint32_t> sideCells; // the cells that hold them

private:
    bool inBuffer(const char* p) const { return p >= m_buffer && p < m_buffer + m_size; }
    bool scannable(const char* p) const { return inBuffer(p) && p + kScanPadding <= m_readLimit; }

    const RowPlan& m_plan;
    char* m_buffer;
    std::size_t m_size;
    const char* m_readLimit;
    std::vector<std::uint32_t> m_seenInRow;
    // m_follow[f + 1]: the field that came after field f last time (f = -1:
    // the first of a row); rows look alike, so it is usually right.
    std::vector<int> m_follow;
    std::uint32_t m_rowNumber = 0;
    int m_layoutChecked = 0;  // 1: attribute records readable directly, -1: use the API
};

// A byte at a time, for the few values whose word scan could read past the
// walker's limit.
ValueScan scanValueCarefully(const char* v)
{
    std::size_t n = 0;
    bool high = false;
    for (; v[n]; ++n)
        high = high || static_cast<unsigned char>(v[n]) >= 0x80;
    std::uint64_t head = 0;
    std::memcpy(&head, v, std::min<std::size_t>(n, 8));
    return {n, high, head};
}

bool RowWalker::walk(pugi::xml_node container, Failure& failure)
{
    std::vector<std::uint32_t>& seenInRow = m_seenInRow;
    std::vector<int>& follow = m_follow;
    std::uint32_t& rowNumber = m_rowNumber;
    int& layoutChecked = m_layoutChecked;
    auto valueFailure = [&](pugi::xml_node row, int field, const QString& what) {
        return fail(failure, row, QStringLiteral("row %1, field \"%2\": %3").arg(rowNumber).arg(m_plan.fieldNames[field], what));
    };
    for (pugi::xml_node row = container.first_child(); row; row = row.next_sibling()) {
        if (row.type() == pugi::node_doctype)
            return fail(failure, row, QStringLiteral("DOCTYPE declarations are not accepted"));
        if (row.type() != pugi::node_element || std::strcmp(row.name(), "ROW") != 0)
            continue;
        ++rowNumber;
        const auto firstCell = std::uint32_t(cells.size());
        int lastField = -1;
        bool ordered = true;
        if (layoutChecked == 0 && row.first_attribute())
            layoutChecked = recordLayoutMatches(row) ? 1 : -1;
        pugi::xml_attribute apiAttribute = row.first_attribute();
        const void* record = apiAttribute.internal_object();
        for (;;) {
            const char* name;
            const char* value;
            if (layoutChecked > 0) {
                if (!record)
                    break;
                name = recordName(record);
                value = recordValue(record);
                record = recordNext(record);
                if (!name || !value)
                    continue;
            } else {
                if (!apiAttribute)
                    break;
                name = apiAttribute.name();
                value = apiAttribute.value();
                apiAttribute = apiAttribute.next_attribute();
            }
            int& predicted = follow[std::size_t(lastField + 1)];
            const int field = scannable(name) ? m_plan.names.find(name, predicted) : m_plan.names.findSafe(name, predicted);
            if (field < 0)
                continue;  // row states and the like: not data
            if (seenInRow[std::size_t(field)] == rowNumber)
                return fail(failure, row, QStringLiteral("row %1: field \"%2\" appears twice").arg(rowNumber).arg(m_plan.fieldNames[field]));
            seenInRow[std::size_t(field)] = rowNumber;
            predicted = field;
            ordered = ordered && field > lastField;
            lastField = field;

            if (!inBuffer(value))
                continue;  // only pugixml's shared empty string lives elsewhere
            const ValueScan scan = scannable(value) ? scanValue(value) : scanValueCarefully(value);
            if (scan.length == 0)
                continue;
            // The cell is written field by field where it belongs: built on
            // the stack and copied, its narrow stores stall the wide load.
            std::uint32_t length = std::uint32_t(scan.length);
            std::uint64_t payload = scan.head;
            bool onSide = false;
            const ValueKind kind = m_plan.kinds[std::size_t(field)];
            if (kind == ValueKind::Text) {
                if (scan.nonAscii) {
                    const auto* begin = reinterpret_cast<const unsigned char*>(value);
                    const Utf8Check check = checkUtf8(begin, begin + scan.length);
                    if (check == Utf8Check::Invalid)
                        return valueFailure(row, field, QStringLiteral("invalid UTF-8"));
                    if (check == Utf8Check::HasC1) {
                        std::string replaced;
                        appendWithoutC1(replaced, begin, begin + scan.length);
                        length = std::uint32_t(replaced.size());
                        payload = 0;
                        if (replaced.size() <= StoredCell::kInlineBytes) {
                            std::memcpy(&payload, replaced.data(), replaced.size());
                        } else {
                            payload = kSideFlag | side.size();
                            onSide = true;
                            side += replaced;
                            sideCells.push_back(std::uint32_t(cells.size()));
                        }
                    }
                }
            } else {
                long long number = 0;
                bool canonical = false;
                const bool small = kind == ValueKind::SmallInt;
                if (!parseInteger(value, scan.length, small ? -32768 : -2147483648LL, small ? 32767 : 2147483647LL, number, canonical)) {
                    return valueFailure(row, field, QStringLiteral("\"%1\" is not an integer")
                                                        .arg(QString::fromUtf8(value, qsizetype(std::min<std::size_t>(scan.length, 40)))));
                }
                if (!canonical) {
                    // The plain form is never longer: rewrite it in place.
                    char* place = m_buffer + (value - m_buffer);
                    length = std::uint32_t(std::to_chars(place, place + scan.length, number).ptr - place);
                    payload = 0;
                    if (length <= StoredCell::kInlineBytes)
                        std::memcpy(&payload, place, length);
                }
            }
            if (length > StoredCell::kInlineBytes && !onSide)
                payload = std::uint64_t(value - m_buffer);
            StoredCell* cell = cells.grow(1);
            cell->field = std::uint16_t(field);
            cell->unused = 0;
            cell->length = length;
            cell->payload = payload;
        }
        StoredCell* first = cells.data() + firstCell;
        StoredCell* last = cells.data() + cells.size();
        if (!ordered) {
            std::sort(first, last, [](const StoredCell& x, const StoredCell& y) { return x.field < y.field; });
            // The cells kept on the side were noted by their place, which
            // the sort changed: note them again where they are now, or a
            // cell would keep its side offset and another be moved.
            while (!sideCells.empty() && sideCells.back() >= firstCell)
                sideCells.pop_back();
            for (const StoredCell* c = first; c != last; ++c) {
                if (c->length > StoredCell::kInlineBytes && (c->payload & kSideFlag))
                    sideCells.push_back(std::uint32_t(c - cells.data()));
            }
        }
        StoredRow* stored = rows.grow(1);
        stored->firstCell = firstCell;
        stored->cellCount = std::uint16_t(last - first);
        stored->deleted = false;
    }
    return true;
}

// Rows and cells gathered from the walkers, then bound to the arena.
class RowCollector
{
public:
    // Takes all of a walker's rows.
    void add(TableStore& store, RowWalker& walker)
    {
        const std::uint64_t sideBase = addSide(walker);
        if (store.cells.empty() && store.rows.empty()) {
            store.cells = std::move(walker.cells);
            store.rows = std::move(walker.rows);
            for (std::uint32_t cell : walker.sideCells)
                keepSideCell(store, cell, sideBase);
            return;
        }
        addRows(store, walker, 0, walker.rows.size(), sideBase);
    }

    // Adds the walker's side bytes once; returns the base for addRows.
    std::uint64_t addSide(const RowWalker& walker)
    {
        const std::uint64_t base = m_side.size();
        m_side += walker.side;
        return base;
    }

    // Appends rows [rowBegin, rowEnd) of the walker with their cells (a
    // walker's rows use consecutive cells).
    void addRows(TableStore& store, const RowWalker& walker, std::size_t rowBegin, std::size_t rowEnd, std::uint64_t sideBase)
    {
        if (rowBegin >= rowEnd)
            return;
        const std::uint32_t cellBegin = walker.rows[rowBegin].firstCell;
        const std::uint32_t cellEnd = walker.rows[rowEnd - 1].firstCell + walker.rows[rowEnd - 1].cellCount;
        const auto cellBase = std::uint32_t(store.cells.size());
        store.cells.append(walker.cells.data() + cellBegin, cellEnd - cellBegin);
        const std::size_t firstRow = store.rows.size();
        store.rows.append(walker.rows.data() + rowBegin, rowEnd - rowBegin);
        for (std::size_t r = firstRow; r < store.rows.size(); ++r)
            store.rows[r].firstCell = store.rows[r].firstCell - cellBegin + cellBase;
        for (std::uint32_t cell : walker.sideCells) {
            if (cell >= cellBegin && cell < cellEnd)
                keepSideCell(store, cellBase + cell - cellBegin, sideBase);
        }
    }

    // The document is gone: the buffer, with the values pugixml unescaped in
    // place, becomes the arena.
    void finish(TableStore& store, PaddedBuffer& buffer)
    {
        store.bytes = buffer.release();
        const std::uint64_t base = store.bytes.size();
        store.bytes.append(m_side.data(), m_side.size());
        for (std::uint32_t cell : m_sideCells)
            store.cells[cell].payload = base + (store.cells[cell].payload & ~kSideFlag);
        store.cells.shrinkToFit();
        store.rows.shrinkToFit();
    }

private:
    void keepSideCell(TableStore& store, std::uint32_t cell, std::uint64_t sideBase)
    {
        store.cells[cell].payload += sideBase;
        m_sideCells.push_back(cell);
    }

    std::string m_side;
    std::vector<std::uint32_t> m_sideCells;
};

std::unique_ptr<TableStore> parseSequential(PaddedBuffer& buffer, Failure& failure)
{
    auto store = std::make_unique<TableStore>();
    RowCollector collector;
    {
        pugi::xml_document doc;
        const pugi::xml_parse_result parsed =
            doc.load_buffer_inplace(buffer.data(), buffer.size(), kParseOptions, pugi::encoding_utf8);
        if (!parsed) {
            fail(failure, parsed.offset, QString::fromUtf8(parsed.description()));
            return nullptr;
        }
        pugi::xml_node rowData;
        if (!loadHead(doc, *store, rowData, failure))
            return nullptr;
        const RowPlan plan(store->fields);
        RowWalker walker(plan, buffer.data(), buffer.size(), buffer.data() + buffer.size() + kScanPadding);
        // About one present value per 30 bytes of a content file.
        walker.cells.reserve(buffer.size() / 24 + 16);
        if (!walker.walk(rowData, failure))
            return nullptr;
        collector.add(*store, walker);
    }
    collector.finish(*store, buffer);
    return store;
}

// The rows of a file cut into chunks at ROW tags: chunk i is
// [starts[i], starts[i + 1]), the last one ends at rowsEnd.
struct RowChunks
{
    std::size_t rowsBegin;
    std::size_t rowsEnd;
    std::vector<std::size_t> starts;
    std::size_t end(std::size_t i) const { return i + 1 < starts.size() ? starts[i + 1] : rowsEnd; }
};

// Chunks small enough that a chunk's document stays in the cache while it is
// walked; their documents reuse the same memory one after the other.
constexpr std::size_t kChunkBytes = 128 * 1024;

std::optional<RowChunks> findChunks(const char* data, std::size_t size)
{
    const QByteArrayView all(data, qsizetype(size));
    const qsizetype open = all.indexOf("<ROWDATA");
    if (open < 0 || open + 8 >= all.size() || !(isBlank(data[open + 8]) || data[open + 8] == '>'))
        return std::nullopt;
    const qsizetype tagEnd = all.indexOf('>', open);
    if (tagEnd < 0 || data[tagEnd - 1] == '/')
        return std::nullopt;
    RowChunks chunks;
    chunks.rowsBegin = std::size_t(tagEnd + 1);
    const qsizetype close = all.lastIndexOf("</ROWDATA");
    if (close < 0 || std::size_t(close) < chunks.rowsBegin + 2 * kChunkBytes)
        return std::nullopt;
    chunks.rowsEnd = std::size_t(close);
    chunks.starts.push_back(chunks.rowsBegin);
    for (std::size_t from = chunks.rowsBegin + kChunkBytes; from + kChunkBytes / 2 < chunks.rowsEnd;) {
        qsizetype cut = all.indexOf("<ROW", qsizetype(from));
        while (cut >= 0 && std::size_t(cut) + 4 < chunks.rowsEnd && !(isBlank(data[cut + 4]) || data[cut + 4] == '/' || data[cut + 4] == '>'))
            cut = all.indexOf("<ROW", cut + 4);
        if (cut < 0 || std::size_t(cut) + 4 >= chunks.rowsEnd)
            break;
        chunks.starts.push_back(std::size_t(cut));
        from = std::size_t(cut) + kChunkBytes;
    }
    return chunks;
}

// The chunked reading of a large file; null when it did not work out (the
// caller then reads the file again, whole).
std::unique_ptr<TableStore> parseChunked(PaddedBuffer& buffer, const RowChunks& chunks, ParseThreads threads)
{
    // The prolog, METADATA and the empty ROWDATA, parsed from a copy.
    PaddedBuffer skeleton;
    const std::size_t tail = buffer.size() - chunks.rowsEnd;
    char* frame = skeleton.allocate(chunks.rowsBegin + tail);
    std::memcpy(frame, buffer.data(), chunks.rowsBegin);
    std::memcpy(frame + chunks.rowsBegin, buffer.data() + chunks.rowsEnd, tail);

    char* const data = buffer.data();
    const std::size_t size = buffer.size();
    const char* const pastEnd = data + size + kScanPadding;

    // This thread takes chunks from the front, a pooled one from the back,
    // until they meet: whichever core is faster (or less busy) does more.
    std::mutex claims;
    std::size_t front = 0;
    std::size_t back = chunks.starts.size();
    // Left to themselves, one thread may take every chunk before the other
    // starts; asked for two, each gets its end chunk first.
    std::optional<std::size_t> frontHanded;
    std::optional<std::size_t> backHanded;
    if (threads == ParseThreads::Two && back >= 2) {
        frontHanded = front++;
        backHanded = --back;
    }
    std::atomic<bool> abandoned{false};
    auto claim = [&](bool fromFront) -> std::optional<std::size_t> {
        const std::lock_guard<std::mutex> lock(claims);
        if (abandoned.load())
            return std::nullopt;
        if (std::optional<std::size_t>& handed = fromFront ? frontHanded : backHanded)
            return std::exchange(handed, std::nullopt);
        if (front >= back)
            return std::nullopt;
        return fromFront ? front++ : --back;
    };
    auto parseChunk = [&](pugi::xml_document& doc, std::size_t i) {
        const std::size_t begin = chunks.starts[i];
        return bool(doc.load_buffer_inplace(data + begin, chunks.end(i) - begin, kParseOptions | pugi::parse_fragment,
                                            pugi::encoding_utf8));
    };

    std::promise<const RowPlan*> planReady;
    std::shared_future<const RowPlan*> plan = planReady.get_future().share();
    struct Span
    {
        std::size_t rowBegin;
        std::size_t rowEnd;
    };
    std::optional<RowWalker> second;
    std::vector<Span> secondSpans;  // one per chunk, last chunk first
    bool secondFailed = false;
    auto readFromBack = [&] {
        try {
            pugi::xml_document doc;
            Failure ignored;
            while (const std::optional<std::size_t> i = claim(false)) {
                // The chunks after this one are this thread's (or the tail):
                // the scans may read on into them.
                if (!parseChunk(doc, *i)) {
                    secondFailed = true;
                } else if (!second) {
                    // Parsing could start before the fields were known.
                    if (const RowPlan* fields = plan.get()) {
                        second.emplace(*fields, data, size, pastEnd);
                        second->cells.reserve((chunks.rowsEnd - chunks.rowsBegin) / 48 + 16);
                    } else {
                        secondFailed = true;
                    }
                }
                const std::size_t rowsBefore = second ? second->rows.size() : 0;
                if (!secondFailed && !second->walk(doc, ignored))
                    secondFailed = true;
                if (secondFailed) {
                    abandoned = true;
                    return;
                }
                secondSpans.push_back({rowsBefore, second->rows.size()});
            }
        } catch (...) {
            secondFailed = true;
            abandoned = true;
        }
    };
    // A pooled thread is usually idle and warm; when none is free right now
    // this thread reads every chunk (never queued behind other work, which
    // could be waiting on this). Two threads on demand means a new one.
    std::promise<void> secondFinished;
    std::future<void> secondJoin = secondFinished.get_future();
    auto runSecond = [&] {
        readFromBack();
        secondFinished.set_value();
    };
    std::thread ownThread;
    bool secondStarted = false;
    switch (threads) {
    case ParseThreads::Auto: secondStarted = QThreadPool::globalInstance()->tryStart(runSecond); break;
    case ParseThreads::Two:
        ownThread = std::thread(runSecond);
        secondStarted = true;
        break;
    case ParseThreads::One: break;
    }

    auto store = std::make_unique<TableStore>();
    std::optional<RowPlan> fields;
    std::optional<RowWalker> first;
    bool firstDone = false;
    bool planSet = false;
    try {
        pugi::xml_document frameDoc;
        Failure ignored;
        pugi::xml_node rowData;
        if (frameDoc.load_buffer_inplace(skeleton.data(), skeleton.size(), kParseOptions, pugi::encoding_utf8) &&
            loadHead(frameDoc, *store, rowData, ignored) && !rowData.first_child()) {
            fields.emplace(store->fields);
            planReady.set_value(&*fields);
            planSet = true;
            first.emplace(*fields, data, size, pastEnd);
            first->cells.reserve(size / 24 + 16);
            pugi::xml_document doc;
            firstDone = true;
            while (const std::optional<std::size_t> i = claim(true)) {
                // The next chunk may be the other thread's, being rewritten
                // right now: the scans stop at this chunk's end.
                if (secondStarted)
                    first->setReadLimit(data + chunks.end(*i));
                if (!parseChunk(doc, *i) || !first->walk(doc, ignored)) {
                    firstDone = false;
                    break;
                }
            }
        }
    } catch (...) {
        firstDone = false;
    }
    if (!firstDone)
        abandoned = true;
    if (!planSet)
        planReady.set_value(nullptr);
    if (secondStarted)
        secondJoin.wait();
    if (ownThread.joinable())
        ownThread.join();
    if (!firstDone || secondFailed)
        return nullptr;
    RowCollector collector;
    collector.add(*store, *first);
    if (second) {
        const std::uint64_t sideBase = collector.addSide(*second);
        for (auto span = secondSpans.rbegin(); span != secondSpans.rend(); ++span)
            collector.addRows(*store, *second, span->rowBegin, span->rowEnd, sideBase);
    }
    collector.finish(*store, buffer);
    return store;
}

// The encoding named in the XML declaration, lower-cased; empty when none.
QByteArray declaredEncoding(const char* data, std::size_t size)
{
    const QByteArray head(data, qsizetype(std::min<std::size_t>(size, 256)));
    if (!head.startsWith("<?xml"))
        return {};
    const qsizetype end = head.indexOf("?>");
    const qsizetype at = head.indexOf("encoding");
    if (at < 0 || (end >= 0 && at > end))
        return {};
    qsizetype p = at + 8;
    while (p < head.size() && (isBlank(head[p]) || head[p] == '='))
        ++p;
    if (p >= head.size() || (head[p] != '"' && head[p] != '\''))
        return {};
    const char quote = head[p];
    const qsizetype close = head.indexOf(quote, p + 1);
    return close < 0 ? QByteArray() : head.mid(p + 1, close - p - 1).toLower();
}

// Brings the bytes to UTF-8 so that pugixml parses them in place: UTF-16 and
// UTF-32 (by byte order mark or by the shape of "<?"), and files declared
// Windows-1252 or Latin-1, which pugixml would otherwise take for UTF-8.
void toUtf8InPlace(PaddedBuffer& buffer)
{
    const auto* b = reinterpret_cast<const unsigned char*>(buffer.data());
    const std::size_t n = buffer.size();
    std::optional<QStringConverter::Encoding> wide;
    if (n >= 4 && ((b[0] == 0 && b[1] == 0 && b[2] == 0xFE && b[3] == 0xFF) || (b[0] == 0 && b[1] == 0 && b[2] == 0 && b[3] == '<')))
        wide = QStringConverter::Utf32BE;
    else if (n >= 4 && ((b[0] == 0xFF && b[1] == 0xFE && b[2] == 0 && b[3] == 0) || (b[0] == '<' && b[1] == 0 && b[2] == 0 && b[3] == 0)))
        wide = QStringConverter::Utf32LE;
    else if (n >= 2 && ((b[0] == 0xFE && b[1] == 0xFF) || (b[0] == 0 && b[1] == '<')))
        wide = QStringConverter::Utf16BE;
    else if (n >= 2 && ((b[0] == 0xFF && b[1] == 0xFE) || (b[0] == '<' && b[1] == 0)))
        wide = QStringConverter::Utf16LE;
    if (wide) {
        QStringDecoder decoder(*wide);
        const QByteArray utf8 = QString(decoder(QByteArrayView(buffer.data(), qsizetype(n)))).toUtf8();
        buffer.assign(utf8.constData(), std::size_t(utf8.size()));
        return;
    }
    const QByteArray encoding = declaredEncoding(buffer.data(), n);
    if (encoding == "windows-1252" || encoding == "cp1252" || encoding == "iso-8859-1" || encoding == "latin1" ||
        encoding == "iso-8859-15") {
        const QByteArray utf8 = decodeWindows1252(QByteArrayView(buffer.data(), qsizetype(n))).toUtf8();
        buffer.assign(utf8.constData(), std::size_t(utf8.size()));
    }
}

QString placeOf(const char* bytes, std::size_t size, std::ptrdiff_t offset)
{
    const std::size_t end = std::min(std::size_t(offset), size);
    std::size_t line = 1;
    std::size_t lineStart = 0;
    for (std::size_t i = 0; i < end; ++i) {
        if (bytes[i] == '\n') {
            ++line;
            lineStart = i + 1;
        }
    }
    return QStringLiteral("line %1, column %2").arg(line).arg(end - lineStart + 1);
}

std::unique_ptr<TableStore> read(PaddedBuffer& buffer, const QString& source, QString* error,
                                 const std::function<bool(PaddedBuffer&)>& reload, ParseThreads threads)
{
    Failure failure;
    std::unique_ptr<TableStore> store;
    try {
        toUtf8InPlace(buffer);
        if (buffer.size() > TableStore::kMaxBytes / 2) {
            fail(failure, -1, QStringLiteral("file too large"));
        } else {
            // No scan for NUL bytes: pugixml takes one for the end of the
            // text, so a NUL inside the document fails the parse, and one
            // after the root element is trailing text, which pugixml ignores
            // like any other.
            if (const std::optional<RowChunks> chunks = findChunks(buffer.data(), buffer.size())) {
                store = parseChunked(buffer, *chunks, threads);
                if (!store && reload(buffer))
                    toUtf8InPlace(buffer);
                else if (!store)
                    fail(failure, -1, QStringLiteral("the file changed while being read"));
            }
            if (!store && failure.text.isEmpty())
                store = parseSequential(buffer, failure);
        }
    } catch (const std::bad_alloc&) {
        failure = {-1, QStringLiteral("out of memory")};
        store.reset();
    } catch (const std::system_error&) {
        // The second thread that was asked for could not be started.
        failure = {-1, QStringLiteral("cannot start a thread")};
        store.reset();
    }
    if (store)
        return store;
    if (error) {
        QString place;
        PaddedBuffer pristine;
        // The parse rewrote the buffer; count lines in a fresh copy.
        if (failure.offset >= 0 && reload(pristine)) {
            toUtf8InPlace(pristine);
            place = placeOf(pristine.data(), pristine.size(), failure.offset) + QStringLiteral(": ");
        }
        *error = QStringLiteral("Cannot read %1: %2%3").arg(source, place, failure.text);
    }
    return nullptr;
}

bool readFully(QFile& file, char* data, qint64 size, QString* reason)
{
    qint64 done = 0;
    while (done < size) {
        const qint64 got = file.read(data + done, size - done);
        if (got <= 0) {
            *reason = got < 0 ? file.errorString() : QStringLiteral("the file shrank while being read");
            return false;
        }
        done += got;
    }
    return true;
}

// Reading a file is copying it out of the page cache, which two cores do
// nearly twice as fast as one: a large file's second half is read by a
// pooled thread at the same time.
constexpr qint64 kSplitReadBytes = 4 * 1024 * 1024;

bool readWholeFile(const QString& path, PaddedBuffer& buffer, QString* reason)
{
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        *reason = QStringLiteral("not a regular file");
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *reason = file.errorString();
        return false;
    }
    const qint64 size = file.size();
    if (size > kMaxDatapacketSize) {
        *reason = QStringLiteral("file too large");
        return false;
    }
    char* data = buffer.allocate(std::size_t(size));
    qint64 firstPart = size;
    bool secondRead = false;
    QString secondReason;
    std::promise<void> secondFinished;
    std::future<void> secondJoin = secondFinished.get_future();
    const qint64 half = size / 2;
    if (size >= kSplitReadBytes) {
        if (QThreadPool::globalInstance()->tryStart([&] {
                QFile second(path);
                if (!second.open(QIODevice::ReadOnly))
                    secondReason = second.errorString();
                else if (!second.seek(half))
                    secondReason = second.errorString();
                else
                    secondRead = readFully(second, data + half, size - half, &secondReason);
                secondFinished.set_value();
            })) {
            firstPart = half;
        }
    }
    const bool firstRead = readFully(file, data, firstPart, reason);
    if (firstPart == size)
        return firstRead;
    secondJoin.wait();
    if (firstRead && !secondRead)
        *reason = secondReason;
    return firstRead && secondRead;
}

}  // namespace

char32_t windows1252ForC1(char32_t c)
{
    static constexpr char16_t kTable[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
    };
    return (c >= 0x80 && c <= 0x9F) ? char32_t(kTable[c - 0x80]) : c;
}

std::unique_ptr<TableStore> readDatapacketFile(const QString& path, QString* error, ParseThreads threads)
{
    const QString source = QDir::toNativeSeparators(path);
    PaddedBuffer buffer;
    QString reason;
    bool ok = false;
    try {
        ok = readWholeFile(path, buffer, &reason);
    } catch (const std::bad_alloc&) {
        reason = QStringLiteral("out of memory");
    }
    if (!ok) {
        if (error)
            *error = QStringLiteral("Cannot read %1: %2").arg(source, reason);
        return nullptr;
    }
    return read(
        buffer, source, error,
        [&path](PaddedBuffer& again) {
            QString ignored;
            return readWholeFile(path, again, &ignored);
        },
        threads);
}

std::unique_ptr<TableStore> readDatapacket(const QByteArray& xml, const QString& sourceName, QString* error,
                                           ParseThreads threads)
{
    PaddedBuffer buffer;
    try {
        buffer.assign(xml.constData(), std::size_t(xml.size()));
    } catch (const std::bad_alloc&) {
        if (error)
            *error = QStringLiteral("Cannot read %1: out of memory").arg(sourceName);
        return nullptr;
    }
    return read(
        buffer, sourceName, error,
        [&xml](PaddedBuffer& again) {
            again.assign(xml.constData(), std::size_t(xml.size()));
            return true;
        },
        threads);
}

}  // namespace ziro
