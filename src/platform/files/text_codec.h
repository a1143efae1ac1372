#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace ziro {

// Text files written on Windows are Windows-1252 unless they are valid UTF-8;
// these functions read them that way and write them back in the same encoding.

enum class TextEncoding { Utf8, Windows1252 };

// Strict UTF-8: no overlong forms, surrogates, code points above U+10FFFF or
// truncated sequences.
bool isValidUtf8(QByteArrayView bytes);

// Every byte maps to one character. The five bytes Windows-1252 leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of the same
// value, so any byte string survives a round trip.
QString decodeWindows1252(QByteArrayView bytes);

// Characters Windows-1252 cannot hold become '?'; `lossless` (when given) is
// set false when that happened.
QByteArray encodeWindows1252(const QString& text, bool* lossless = nullptr);

// A UTF-8 byte order mark is dropped and means UTF-8; otherwise valid UTF-8 is
// read as UTF-8 and anything else as Windows-1252.
QString decodeText(QByteArrayView bytes, TextEncoding* detected = nullptr);

// UTF-8 is written without a byte order mark.
QByteArray encodeText(const QString& text, TextEncoding encoding);

}  // namespace ziro
