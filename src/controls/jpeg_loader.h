#pragma once

// JPEG pictures through libjpeg-turbo: the sign menu's CQC page and any
// other ".JPG" the content carries. Decoding is full size, 24-bit colour,
// with the decoder's fast integer transform: the menus are decoded each time
// they open, and the picture is shown at its own size.

#include <QByteArray>
#include <QImage>
#include <QString>

#include <optional>

namespace ziro {

// Pictures taking more memory than this once decoded are refused: no
// picture the program shows comes near it.
inline constexpr qint64 kJpegMaxPictureBytes = qint64(256) * 1024 * 1024;

// Whether the bytes begin as a JPEG stream does (FF D8 FF).
bool looksLikeJpeg(const QByteArray& bytes);

// nullopt for anything that is not a whole, decodable JPEG (also a stream
// cut short: the decoder's warning about missing data counts as a failure,
// so a half-written file never shows as a grey-bottomed picture).
// `error`, when given, gets the decoder's message.
std::optional<QImage> decodeJpeg(const QByteArray& bytes, QString* error = nullptr);

// Encodes a picture as a baseline JPEG of the given quality (1..100); empty
// on failure.
QByteArray encodeJpeg(const QImage& picture, int quality = 90);

// Reads a picture file by its content, not its name: JPEG through
// decodeJpeg, BMP and masked BMP through the masked bitmap decoder, other
// formats through Qt's readers. nullopt when the file is missing, too large
// or not a picture.
std::optional<QImage> loadPictureFile(const QString& path, QString* error = nullptr);

}  // namespace ziro
