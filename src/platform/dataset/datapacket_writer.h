#pragma once

#include "platform/dataset/table_schema.h"

#include <QByteArray>

namespace ziro {

class TableStore;

// Writes a whole table as a datapacket (see datapacket_format.h): rows in
// their stored order (deleted rows left out), an absent or empty value as no
// attribute. In attribute values '&', '<', '>' and '"' are written as
// entities and every control character (CR, LF and TAB included) as a
// character reference, so that line breaks survive a parser's attribute
// normalisation. The Ascii form writes every non-ASCII character as &#N;
// (N decimal, the code point) and holds no byte above 127.
QByteArray writeDatapacket(const TableStore& store, SaveFormat format);

}  // namespace ziro
