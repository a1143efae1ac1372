#pragma once

// Masking and restoring the media files of the data folders on disk. The
// players never use these: they read a masked film through a stream that
// restores its leading bytes in memory. These are for the tools that
// prepare an installation and for checking that a file round-trips.
//
// A helper changes only the leading bytes of the file (the file keeps its
// length) and then gives it the other extension in the same folder. It
// refuses, leaving the file exactly as it was:
//  - a name that is not one of its own input kinds;
//  - a file whose leading bytes are not the ones its kind starts with (a
//    header that is not the expected one could not be given back);
//  - a file whose other name already exists (it is never overwritten).
// The extension changes only after the bytes were written; a rename that
// fails puts the original bytes back.

#include <QString>

namespace ziro {

// What a helper did. On failure, `context` and `name` are what the caller
// reports as a file input/output problem (report kind 2).
struct MaskOutcome {
    bool ok = false;
    QString path;     // the file under its new name, when ok
    QString context;  // e.g. "KX: .KXV-> Conv:"
    QString name;     // the file the report is about
};

// ".KXV" -> ".MPG", ".KXA" -> ".AVI".
MaskOutcome SmascheraMedia(const QString& path);
// ".MPG" -> ".KXV", ".AVI" -> ".KXA".
MaskOutcome MascheraMedia(const QString& path);
// ".KXS" -> ".MP4".
MaskOutcome SmascheraMP4(const QString& path);
// ".MP4" -> ".KXS".
MaskOutcome MascheraMP4(const QString& path);

}  // namespace ziro
