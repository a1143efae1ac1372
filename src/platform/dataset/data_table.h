#pragma once

// The in-memory table engine for datapacket files: the program's content
// tables, custom lessons and question banks.
//
//   table_schema.h       field and index definitions, save formats
//   table_store.h        compact row storage (sparse rows, one UTF-8 arena)
//   datapacket_reader.h  XML -> store (pugixml), with located errors
//   datapacket_writer.h  store -> XML, UTF-8 or ASCII with references
//   data_table.h         this file: order, range, cursor, editing, notices
//
// Typical use (the main window's content table):
//
//   DataTable table;
//   table.setFileName(dir + "AAB2016.XML");
//   if (!table.open(&error)) ...
//   table.AggiungiIndice("_Argomento", "Argomento", IndexOption::Descending);
//   table.setIndexFieldNames("Argomento;NumRec");
//   table.setRange({"B00", 0}, {"B99", 999999});
//   for (table.first(); !table.eof(); table.next()) ... table.fieldText("Testo") ...

#include "platform/dataset/table_schema.h"
#include "platform/dataset/table_store.h"

#include <QByteArray>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace ziro {

// A remembered record. It stays valid while the table keeps the data it was
// taken from (until the next open, load, create or close) and the record is
// not deleted; edits, reordering and ranges do not affect it. Nothing needs
// freeing.
class Bookmark
{
public:
    bool isNull() const { return m_generation == 0; }

private:
    friend class DataTable;
    std::uint64_t m_generation = 0;
    std::uint32_t m_row = 0;
};

enum class LocateOption : unsigned {
    PartialKey = 0x1,       // the field's text begins with the value
    CaseInsensitive = 0x2,  // texts compared without regard to case
};
Q_DECLARE_FLAGS(LocateOptions, LocateOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(LocateOptions)

// One table: its fields and records, a current order, an optional key range
// on that order and a cursor inside the range.
//
// Order. Records are ordered by the fields set with setIndexFieldNames (or
// by a named index's fields with setIndexName); records with equal keys keep
// their file order, and with no order set the file order is the order.
// Integer fields compare as numbers (an absent value before every number);
// text fields compare by exact code-point order of their characters (UTF-8
// byte order; "B" < "a" < "à"), an absent value equal to "". Changing the
// order cancels the range and keeps the current record.
//
// Named indexes. Definitions only: AggiungiIndice/addIndex record them, the
// file keeps them, and setIndexName orders by one (its Descending option
// reverses the whole key; the other options are kept but do not change the
// order). No index is maintained besides the current order.
//
// Range. setRange(start, end) keeps the records whose leading key fields lie
// between the two keys inclusive, comparing only as many fields as each key
// gives: on the order "Argomento;NumRec", {"B00"}..{"H17"} takes every
// record of B00 to H17 whatever its NumRec, and {"H"}..{"HZ"} every topic
// that starts with "H". A start after the end gives an empty range.
//
// Cursor. The current record is one of the range; recNo() counts from 1
// within it. first() sets bof(), last() sets eof(); next() on the last
// record sets eof() without moving, prior() on the first sets bof(); any
// successful move clears both. An empty range has bof() and eof() set,
// recNo() 0 and no current record (reads give "" and 0).
//
// Fields. Names match without regard to case; values compare exactly. A
// field the table lacks reads as "" / 0 without failing (reported once per
// name through onMissingField); fieldIndex() and findField() tell whether it
// exists.
//
// Editing. edit() or append(), then setField(), then post() or cancel().
// Moving, saving or closing posts a pending edit first. A text value longer
// than its field's WIDTH is refused with an error and the old value kept
// (cutting it would lose data silently); integer fields take only integers
// in their range; control characters other than TAB, CR and LF are refused
// (XML cannot carry them). A posted record takes its place in the current
// order; the cursor follows it while it stays in the range.
//
// Loading. A failed open or load leaves the table exactly as it was (still
// open with its old data, or still closed); never a partial table. The
// file's bytes become the table's storage (values are read where the parser
// left them), so a loaded table holds about the file's size plus 16 bytes
// per present value.
//
// Threads. A table belongs to one thread. Reading a large file briefly uses
// a second one internally.
//
// Notices. onOpened runs after every successful open, load or create.
// onRecordChanged runs whenever the current record, its position in the
// range or its data changed (moves, order and range changes, posts,
// deletes, opens). While controls are disabled it is held back, and runs
// once at the final enableControls() when something changed meanwhile, so a
// walk that returns to its bookmark raises no notice.
//
// Saving on close. close() writes the table back to its file name when the
// table has changed or the file does not exist, in the form saveFormatFor()
// picks (the lesson editor saves this way). When that write fails, close()
// reports it and the table stays open with its data, so nothing is lost
// unseen; setSaveOnClose(false) and close() again discards the changes. The
// destructor never writes.
class DataTable
{
public:
    DataTable();
    ~DataTable();
    DataTable(const DataTable&) = delete;
    DataTable& operator=(const DataTable&) = delete;

    // --- file and life
    void setFileName(const QString& path) { m_fileName = path; }
    QString fileName() const { return m_fileName; }
    // Loads the whole of fileName(), replacing what the table held (changes
    // are not written back: that is close()'s job).
    bool open(QString* error = nullptr);
    bool close(QString* error = nullptr);
    bool isOpen() const { return m_store != nullptr; }
    // Loads a file into the table without changing fileName().
    bool loadFromFile(const QString& path, QString* error = nullptr);
    // As loadFromFile, from bytes; `sourceName` names them in errors.
    bool loadFromData(const QByteArray& xml, const QString& sourceName, QString* error = nullptr);
    // Builds an empty open table with these fields (no records).
    bool createFromFields(const QList<FieldDef>& fields, QString* error = nullptr);
    // Atomic: the old file stays whole when writing fails.
    bool saveToFile(const QString& path, SaveFormat format, QString* error = nullptr);
    QByteArray toXml(SaveFormat format);
    // Ascii for lesson files (".xml" in lower case), Utf8 for every other name.
    static SaveFormat saveFormatFor(const QString& path);
    void setSaveOnClose(bool on) { m_saveOnClose = on; }
    bool saveOnClose() const { return m_saveOnClose; }
    // Changed since it was opened, loaded, created or saved to its own file.
    bool isModified() const { return m_modified; }

    // --- fields
    QList<FieldDef> fields() const;
    int fieldCount() const;
    int fieldIndex(const QString& name) const;
    // Null when the table has no such field.
    const FieldDef* findField(const QString& name) const;

    // --- named indexes and order
    QList<IndexDef> indexDefs() const;
    // Adds a definition; fails when the name is taken or a field is missing.
    // `fields` is a ';'-separated list.
    bool addIndex(const QString& name, const QString& fields, IndexOptions options = {}, QString* error = nullptr);
    // Adds the index only when the table has none of that name; true when
    // the table has it afterwards.
    bool AggiungiIndice(const QString& name, const QString& fields, IndexOptions options = {});
    // "Argomento;NumRec"; "" returns to file order. On a closed table the
    // names are kept and applied at the next open (when its fields exist).
    bool setIndexFieldNames(const QString& fields, QString* error = nullptr);
    QString indexFieldNames() const { return m_indexFieldNames; }
    bool setIndexName(const QString& name, QString* error = nullptr);
    QString indexName() const { return m_indexName; }

    // --- range (keys of up to as many values as the order has fields)
    bool setRange(const QVariantList& startKey, const QVariantList& endKey, QString* error = nullptr);
    void cancelRange();
    bool hasRange() const { return m_hasRange; }

    // --- cursor
    void first();
    void last();
    void next();
    void prior();
    // Moves up to `distance` records (negative: backwards), stopping at the
    // ends with the flag set; returns how far it moved.
    int moveBy(int distance);
    bool bof() const { return m_bof; }
    bool eof() const { return m_eof; }
    bool isEmpty() const { return m_hi == m_lo; }
    int recNo() const;
    bool setRecNo(int recNo);
    int recordCount() const { return int(m_hi - m_lo); }
    // Moves to the first record of the range, in order, whose field equals
    // the value; false (cursor unchanged) when there is none. Integer fields
    // compare as numbers unless PartialKey is given.
    bool locate(const QString& field, const QString& value, LocateOptions options = {});
    bool locate(const QStringList& fields, const QStringList& values, LocateOptions options = {});

    // --- reading the current record (the pending values while editing)
    QString fieldText(const QString& name) const;
    QString fieldText(int field) const;
    // The value as an integer: 0 when absent or not a number; "TRUE" is 1.
    int fieldInt(const QString& name) const;
    int fieldInt(int field) const;
    // A record of the range read without moving (recNo from 1); "" past the ends.
    QString fieldTextAt(int recNo, int field) const;

    // --- editing
    enum class State { Inactive, Browse, Edit, Insert };
    State state() const;
    bool edit();
    bool append();
    bool setField(const QString& name, const QString& value, QString* error = nullptr);
    bool setField(int field, const QString& value, QString* error = nullptr);
    bool setField(const QString& name, int value, QString* error = nullptr);
    bool post(QString* error = nullptr);
    void cancel();
    // Deletes the current record; the cursor goes to the next one (the
    // previous at the end of the range).
    bool deleteRecord();

    // --- bookmarks and notices
    Bookmark bookmark() const;
    bool bookmarkValid(const Bookmark& bookmark) const;
    // False (cursor unchanged) when the record is gone or outside the range.
    bool gotoBookmark(const Bookmark& bookmark);
    void disableControls();
    void enableControls();
    bool controlsDisabled() const { return m_disableCount > 0; }
    void setOnOpened(std::function<void()> callback) { m_onOpened = std::move(callback); }
    void setOnRecordChanged(std::function<void()> callback) { m_onRecordChanged = std::move(callback); }
    void setOnMissingField(std::function<void(const QString& name)> callback)
    {
        m_onMissingField = std::move(callback);
    }

    // Bytes the table holds for its data (storage, order and keys).
    std::size_t memoryUsage() const;

private:
    struct OrderField
    {
        int field;
        bool numeric;
    };
    union OrderKey {
        std::int64_t number;
        struct
        {
            std::uint32_t cell;  // kNoCell when absent
            std::uint32_t length;
        } text;
    };
    static constexpr std::uint32_t kNoCell = 0xFFFFFFFFU;
    struct RangeKey
    {
        std::int64_t number = 0;
        QByteArray text;
    };
    struct Snapshot
    {
        std::uint64_t generation = 0;
        std::int64_t row = -1;
        int recNo = 0;
        int count = 0;
        bool operator==(const Snapshot&) const = default;
    };

    bool replaceStore(std::unique_ptr<TableStore> store, QString* error);
    void resetCursorState();
    bool applyOrder(const QStringList& fieldNames, bool descending, QString* error);
    void sortRecords(std::uint32_t keepRow, bool hadRow);
    void computeKeys(std::uint32_t row);
    QByteArrayView keyText(const OrderKey& key) const;
    int compareRows(std::uint32_t a, std::uint32_t b) const;
    bool rowLess(std::uint32_t a, std::uint32_t b) const;
    int compareToKey(std::uint32_t row, const std::vector<RangeKey>& key) const;
    std::size_t positionOf(std::uint32_t row) const;
    void updateRangeBounds();
    // Puts the cursor on `row` when it is in the range, else at the clamped
    // position `fallback`.
    void placeCursor(std::int64_t row, std::size_t fallback);
    std::int64_t currentRow() const;
    bool checkBrowse();
    bool moveTo(std::size_t position);
    void recordChanged(bool dataChanged);
    Snapshot snapshot() const;
    void reportMissing(const QString& name) const;
    const CellValue* pendingValue(int field) const;
    bool sameAsStored(std::uint32_t row, const std::vector<CellValue>& values) const;

    std::unique_ptr<TableStore> m_store;
    QString m_fileName;
    bool m_modified = false;
    bool m_saveOnClose = true;
    std::uint64_t m_generation = 0;

    QString m_indexFieldNames;
    QString m_indexName;
    std::vector<OrderField> m_orderFields;
    bool m_descending = false;
    std::vector<std::uint32_t> m_order;  // live rows in the current order
    std::vector<OrderKey> m_keys;        // m_orderFields.size() per row

    bool m_hasRange = false;
    std::vector<RangeKey> m_rangeStart;
    std::vector<RangeKey> m_rangeEnd;
    std::size_t m_lo = 0;
    std::size_t m_hi = 0;
    std::int64_t m_pos = -1;  // index into m_order, in [m_lo, m_hi)
    bool m_bof = true;
    bool m_eof = true;

    State m_state = State::Inactive;
    std::vector<CellValue> m_pending;  // the whole row image being edited, by field

    int m_disableCount = 0;
    bool m_pendingData = false;
    Snapshot m_notified;
    std::function<void()> m_onOpened;
    std::function<void()> m_onRecordChanged;
    std::function<void(const QString&)> m_onMissingField;
    mutable QSet<QString> m_reportedMissing;
};

}  // namespace ziro
