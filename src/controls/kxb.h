#pragma once

// Masked bitmaps (".KXB"): complete BMP files whose two signature bytes may
// hold anything. They are unmasked in memory only; the file on disk is never
// touched, so read-only installations and half-finished reads are harmless.

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

#include <optional>

namespace ziro {

// Description the picture loader shows for the "KXB" extension.
inline constexpr char kKxbDescription[] = "KXB Vorn format";

// Smallest buffer that can hold a BMP file header (14 bytes) plus the
// smallest information header (12 bytes).
inline constexpr qsizetype kKxbMinSize = 14 + 12;

// Larger files are refused before being read: no picture the program shows
// comes near this, and the decoder would refuse the allocation anyway.
inline constexpr qint64 kKxbMaxFileSize = qint64(256) * 1024 * 1024;

// File-dialog filter for masked bitmaps. Both letter cases are listed because
// content authored on Windows carries upper-case extensions and the dialogs
// match case-sensitively on Linux.
QString kxbFileFilter();

// Restores "BM" over the first two bytes of a copy and decodes it as a BMP.
// Fails (nullopt) on a buffer shorter than kKxbMinSize, on uncompressed pixel
// rows cut short, and on anything that does not decode to a non-empty picture.
std::optional<QImage> decodeKxb(QByteArray bytes);

// Reads the whole file and decodes it with decodeKxb. A missing, unreadable,
// non-regular or oversized file fails.
std::optional<QImage> loadKxbFile(const QString& path);

// Writes the picture as a 24-bit BMP and puts the first two bytes of `mask`
// over its signature (fewer mask bytes overwrite fewer bytes). Returns an
// empty array for a null picture or a failed encode.
QByteArray encodeKxb(const QImage& picture, QByteArray mask = "KX");

// Rectangle a picture of size `picture` takes inside `frame`.
//
// keepRatio off: the frame itself, whatever the picture.
// keepRatio on: the picture keeps its proportions; it is fitted to the frame's
// height when it is portrait or square (h >= w) or when
// frameW / frameH * adjRatio > w / h, otherwise to the frame's width.
// `frameBorder` is kept as a margin on the fitted sides; the other axis is
// centred. Every rounding goes to the nearest integer, halves to the even
// neighbour.
//
// Two guards keep the result sane:
// - an empty picture or an empty frame has no proportions to keep: the frame
//   is returned unchanged;
// - sizes never go below zero (a border of half the frame or more).
// A portrait picture whose height fit would be wider than the frame's room
// (frameW - 2 * frameBorder) is fitted to the width instead, so it never
// covers its neighbours. This cannot happen in a landscape or square frame.
// A height or width fit chosen because of adjRatio alone is left as chosen:
// the factor exists to let near-matching pictures fill the other side.
QRect fitRect(const QRect& frame, int frameBorder, float adjRatio, bool keepRatio,
              QSize picture);

} // namespace ziro
