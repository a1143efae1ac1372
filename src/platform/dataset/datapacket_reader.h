#pragma once

#include "platform/dataset/table_store.h"

#include <QByteArray>
#include <QString>

#include <memory>

namespace ziro {

// Larger files are refused (the store's offsets are 32-bit, and no content
// table comes near this).
inline constexpr qint64 kMaxDatapacketSize = qint64(1) << 30;

// Reads a whole datapacket (see datapacket_format.h) with pugixml.
//
// Accepted field types: i4, i2, string, string.uni, boolean, and bin.hex with
// SUBTYPE "Text"; any other type fails the read. Row attributes are mapped
// through each FIELD's attrname; attributes that name no field (row states,
// change logs) are ignored. An i4/i2 value must be an integer in its range
// (surrounding blanks allowed; kept in canonical form); text values must be
// valid UTF-8 after decoding. Character references to the C1 controls
// (&#128;..&#159;) are read as the Windows-1252 characters of the same number
// (&#128; is the euro sign): older tools wrote them so, and they never stand
// for control characters in these files. UTF-16 and UTF-32 files are
// understood, and a file that declares windows-1252 or ISO-8859-1 is decoded
// as Windows-1252. A DOCTYPE, a second root element or a field appearing twice
// in a row fail the read; so does a NUL byte inside the document (after the
// root element it is trailing text, which is ignored like any other).
//
// Large files are parsed by two threads (see the .cpp); the result and the
// messages are the same as on one.
//
// `threads` says how a large file's rows are parsed. Auto takes a pooled
// thread as the second when one is free right now and otherwise parses on
// the calling thread alone; One always parses alone; Two always starts a
// second thread of its own (never waiting for the pool) and, when the rows
// make two chunks or more, hands each thread one before either begins, so
// both threads' rows are merged.
//
// On failure the result is null and `error` names the source and the place:
// "line L, column C" (bytes, from 1), and the row (1-based among the ROW
// elements) and field when a value is at fault.
enum class ParseThreads { Auto, One, Two };
std::unique_ptr<TableStore> readDatapacketFile(const QString& path, QString* error = nullptr,
                                               ParseThreads threads = ParseThreads::Auto);
std::unique_ptr<TableStore> readDatapacket(const QByteArray& xml, const QString& sourceName,
                                           QString* error = nullptr,
                                           ParseThreads threads = ParseThreads::Auto);

// The Windows-1252 character of a C1 control (U+0080..U+009F), or the control
// itself for the five bytes Windows-1252 leaves undefined. Writers of values
// use it too, so that a value reads back as it was set.
char32_t windows1252ForC1(char32_t c);

}  // namespace ziro
