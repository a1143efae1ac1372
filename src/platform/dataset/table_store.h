#pragma once

// The storage behind a DataTable, shared with the datapacket reader and
// writer.
//
// Content rows are sparse (about 170 fields, a few dozen filled), so a row
// keeps only its present values: a run of cells (field, offset, length) into
// one arena of UTF-8 bytes (short values inside the cell), ordered by field. A value is turned into a
// QString only when it is read. An edited row gets a new image appended to
// the cells and the arena; its row number (what bookmarks hold) never changes.
// Empty values are never stored: empty and absent are the same value.

#include "platform/dataset/pod_buffer.h"
#include "platform/dataset/table_schema.h"

#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QString>

#include <cstdint>
#include <utility>
#include <vector>

namespace ziro {

// One present value. Values of up to eight bytes (codes, numbers, photo
// names: most of a content row) sit in the cell itself, so ordering and
// reading them never touches the arena; longer ones are in `bytes`.
struct StoredCell
{
    static constexpr std::uint32_t kInlineBytes = 8;

    std::uint16_t field;
    std::uint16_t unused;
    std::uint32_t length;
    std::uint64_t payload;  // the bytes when length <= kInlineBytes, else their offset in the arena
};

struct StoredRow
{
    std::uint32_t firstCell;
    std::uint16_t cellCount;
    bool deleted;
};

// A value given to a row image: the field and its UTF-8 text (never empty).
struct CellValue
{
    int field;
    QByteArray text;
};

class TableStore
{
public:
    // Offsets are 32-bit; files are refused well before that.
    static constexpr std::size_t kMaxBytes = std::size_t(1) << 31;
    static constexpr int kMaxFields = 65535;

    QList<FieldDef> fields;
    QList<IndexDef> indexes;
    // PARAMS attributes other than the index definitions, in file order.
    QList<std::pair<QString, QString>> params;

    PodBuffer<StoredRow> rows;
    PodBuffer<StoredCell> cells;
    PodBuffer<char> bytes;

    // Must be called whenever `fields` changes.
    void rebuildFieldLookup();
    // Case-insensitive (Unicode case folding); -1 when there is no such field.
    int fieldIndex(const QString& name) const;
    // Case-insensitive; -1 when there is no index of that name.
    int indexDefIndex(const QString& name) const;

    const StoredCell* findCell(std::uint32_t row, int field) const;
    // Valid until the store changes.
    QByteArrayView cellBytes(const StoredCell& cell) const
    {
        const char* data = cell.length <= StoredCell::kInlineBytes ? reinterpret_cast<const char*>(&cell.payload)
                                                                   : bytes.data() + cell.payload;
        return QByteArrayView(data, cell.length);
    }
    QByteArrayView value(std::uint32_t row, int field) const
    {
        const StoredCell* cell = findCell(row, field);
        return cell ? cellBytes(*cell) : QByteArrayView();
    }
    // A cell holding `text`, inline or appended to the arena.
    StoredCell makeCell(int field, const char* text, std::size_t length);

    // `values` sorted by field, each field once, no empty texts.
    std::uint32_t appendRow(const std::vector<CellValue>& values);
    void replaceRow(std::uint32_t row, const std::vector<CellValue>& values);

    // Bytes held by the storage (capacities, not sizes).
    std::size_t memoryUsage() const;

private:
    std::uint32_t appendCells(const std::vector<CellValue>& values);

    QHash<QString, int> m_exactNames;
    QHash<QString, int> m_foldedNames;
};

// Field lists as the engine takes them: names separated by ';' ("Argomento;NumRec").
QStringList splitFieldList(const QString& fields);

// Checks a list of field definitions before a table is built from them:
// non-empty names, unique without regard to case, no more than the store
// holds, sensible widths.
bool validateFieldDefs(const QList<FieldDef>& fields, QString* error);

}  // namespace ziro
