#pragma once

// The vocabulary of a datapacket table: its field definitions, its named
// index definitions and the two forms in which it is written.

#include <QFlags>
#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

namespace ziro {

// The field types the program's datapacket files use. Each is stored in the
// file as the `fieldtype` attribute shown beside it.
enum class FieldType {
    Integer,   // "i4": a signed 32-bit number
    SmallInt,  // "i2": a signed 16-bit number
    Text,      // "string" with WIDTH = the most characters it holds
    WideText,  // "string.uni", same rules as Text
    Boolean,   // "boolean": "TRUE" or "FALSE"
    Memo,      // "bin.hex" with SUBTYPE "Text": a long text, no width limit
};

// One column of a table.
struct FieldDef
{
    QString name;  // the real name; may hold blanks ("Nome segnale")
    FieldType type = FieldType::Text;
    // Text and WideText: the most characters a value may have, enforced when
    // a value is set (0 = no limit). Memo: the declared size, kept for the
    // file and not enforced.
    int width = 0;
    // The XML attribute that carries the field in each row. Empty lets the
    // writer derive one: the name itself when it is a valid XML name, else an
    // XML-safe form (the real name then goes into the FIELD's `fieldname`).
    QString xmlName;
    // FIELD attributes this engine does not interpret, kept in file order so a
    // file read and written back keeps them.
    QList<std::pair<QString, QString>> extraAttributes;

    static FieldDef integer(const QString& name) { return {name, FieldType::Integer, 0, {}, {}}; }
    static FieldDef text(const QString& name, int width) { return {name, FieldType::Text, width, {}, {}}; }
    static FieldDef memo(const QString& name, int declaredSize = 0)
    {
        return {name, FieldType::Memo, declaredSize, {}, {}};
    }

    bool isNumeric() const { return type == FieldType::Integer || type == FieldType::SmallInt; }
    // Text and WideText: the types whose width is enforced.
    bool hasWidthLimit() const
    {
        return (type == FieldType::Text || type == FieldType::WideText) && width > 0;
    }
};

// Options of a named index. Only Descending changes how records are ordered
// (when the order is set by the index's name); the others are kept with the
// definition and written back.
enum class IndexOption : unsigned {
    Primary = 0x1,
    Unique = 0x2,
    Descending = 0x4,
    CaseInsensitive = 0x8,
};
Q_DECLARE_FLAGS(IndexOptions, IndexOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(IndexOptions)

struct IndexDef
{
    QString name;
    QStringList fields;
    IndexOptions options;
};

// The two written forms of a datapacket.
enum class SaveFormat {
    Utf8,   // declared encoding="UTF-8"; non-ASCII characters as UTF-8 bytes
    Ascii,  // only ASCII bytes; every other character as a reference &#N;
};

}  // namespace ziro
