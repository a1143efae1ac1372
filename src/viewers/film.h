#pragma once

// What a film is to the rest of the program: the file a film name turns
// into, the cut a record asks for, and the request the film players take.

#include <QString>

#include <limits>

namespace ziro {

enum class FilmPlayer { Mpeg, Mp4 };

// Film positions are kept in units of 100 ns; callers exchange frames of
// 40 ms (25 a second).
inline constexpr qint64 kFrameUnits = 400'000;
inline constexpr qint64 unitsOfFrame(qint64 frame) { return frame * kFrameUnits; }
// The frame a position falls in (truncated); a negative position is frame 0.
inline constexpr qint64 frameOf(qint64 units) { return units > 0 ? units / kFrameUnits : 0; }
// A time in seconds as an engine reports it, in 100 ns units. Rounded
// first: 1.64 s is 16399999.99... units in binary floating point, and
// truncating that would put frame 41 in frame 40.
qint64 unitsOfSeconds(double seconds);

// The file a film base name turns into. A masked file (".KXS", ".KXV") is
// played through a stream that restores its leading bytes; the file on disk
// is never rewritten.
struct FilmFile {
    QString path;   // on disk; when missing, the ".MPG" name that was looked for
    FilmPlayer player = FilmPlayer::Mpeg;
    bool masked = false;
    bool exists = false;
};

// Resolves `folder` + `base` (no extension) ignoring letter case: a plain
// ".MP4" first, then a masked ".KXS" (both for the MP4 player); then a
// plain ".MPG", then a masked ".KXV" (the MPEG player). A plain file wins
// over its masked twin, as a restore onto an existing name would not happen.
FilmFile resolveFilm(const QString& folder, const QString& base);

// Start and end frames of a record's cut list "start/end": the text before
// the first "/" and the text after it. Empty gives 0/0; a text without "/"
// is a start frame only; a malformed or negative number counts as 0 (end 0
// plays to the end). A frame whose position (in 100 ns units) would not fit
// in 64 bits counts as malformed.
inline constexpr qint64 kMaxEdlFrame = std::numeric_limits<qint64>::max() / kFrameUnits;
struct EdlRange {
    qint64 inizio = 0;
    qint64 fine = 0;
    bool operator==(const EdlRange&) const = default;
};
EdlRange parseEdl(const QString& edl);

struct FilmRequest {
    FilmFile file;
    qint64 inizio = 0;
    qint64 fine = 0;
    int size = 3;          // VideoSize; 5 full screen
    bool daMenu = false;   // VideoDaMenu: a click closes the film instead of shrinking it
};

}  // namespace ziro
