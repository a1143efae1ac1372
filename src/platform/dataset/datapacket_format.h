#pragma once

// Details of the datapacket XML form shared by the reader and the writer.
//
//   <?xml version="1.0" encoding="UTF-8" standalone="yes"?>
//   <DATAPACKET Version="2.0">
//    <METADATA>
//     <FIELDS>
//      <FIELD attrname="NumRec" fieldtype="i4"/>
//      <FIELD attrname="Nome_segnale" fieldname="Nome segnale" fieldtype="string" WIDTH="5"/>
//      <FIELD attrname="TxtF1" fieldtype="bin.hex" SUBTYPE="Text"/>
//     </FIELDS>
//     <PARAMS INDEX1="_Argomento|Argomento|descending"/>
//    </METADATA>
//    <ROWDATA>
//     <ROW NumRec="1" Nome_segnale="123" TxtF1="Prima riga&#13;&#10;seconda"/>
//    </ROWDATA>
//   </DATAPACKET>
//
// A field whose name is not an XML name travels under an XML-safe `attrname`
// with the real name in `fieldname`. Named indexes are PARAMS attributes
// INDEX<n> = "<name>|<field;field>|<option,option>"; any other PARAMS
// attribute is kept as it is.

#include "platform/dataset/table_schema.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace ziro::datapacket {

inline constexpr char kFieldTypeInteger[] = "i4";
inline constexpr char kFieldTypeSmallInt[] = "i2";
inline constexpr char kFieldTypeText[] = "string";
inline constexpr char kFieldTypeWideText[] = "string.uni";
inline constexpr char kFieldTypeBoolean[] = "boolean";
inline constexpr char kFieldTypeBlob[] = "bin.hex";
inline constexpr char kBlobSubtypeText[] = "Text";

const char* fieldTypeName(FieldType type);

// ASCII letters, digits, '_', '-', '.', not starting with a digit, '-' or
// '.': a name every XML parser accepts as an attribute name (no ':').
bool isPlainXmlName(QStringView name);

// The row attribute name of each field: its own xmlName when that is a
// plain XML name not taken by another field, else one derived from the
// field's name ("Nome segnale" -> "Nome_segnale"), made unique.
QStringList rowAttributeNames(const QList<FieldDef>& fields);

bool isIndexParamName(QStringView name);
QString indexParamName(int number);
QString encodeIndexDef(const IndexDef& index);
// nullopt when the text is not an index definition in the form above.
std::optional<IndexDef> decodeIndexDef(const QString& text);
// Refuses names and fields the PARAMS form cannot carry ('|', control characters).
bool isStorableIndexDef(const IndexDef& index, QString* error);

}  // namespace ziro::datapacket
