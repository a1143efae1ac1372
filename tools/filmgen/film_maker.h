#pragma once

// Films for the demo installation, the bench and the tests, drawn by our own
// code and encoded by the ffmpeg program: a road with a car driving along
// it, and the frame number shown twice, in large digits for people and as
// two rows of black and white cells that survive compression and scaling
// for the tests, which read it back from the played picture.

#include <QImage>
#include <QSize>
#include <QString>

#include <optional>

namespace ziro::filmgen {

// The size and rate of every generated film, as the films of the data
// folders are.
inline constexpr QSize kFilmSize{640, 480};
inline constexpr int kFilmFps = 25;
// Frame numbers the cells can carry.
inline constexpr int kMaxFrames = 1 << 16;

// What a film shows: a car driving along a road, a car braking to a halt
// at a stop line, or a car entering a roundabout, seen from above.
enum class Scene { Road, Braking, Roundabout };

struct FilmSpec {
    int frames = 50;
    // A steady tone on the sound track; without it the film has no sound.
    bool sound = true;
    Scene scene = Scene::Road;
};

// Frame `index` of a film of `frames` frames, 640 x 480.
QImage drawFrame(int index, int frames, Scene scene = Scene::Road);

// The frame number a picture of a generated film shows: `picture` may be the
// frame as drawn or as played, scaled to any size with the film fitted in
// the middle and black bars beside it. Nothing when no number can be read.
std::optional<int> readFrameNumber(const QImage& picture);

// Writes a film of `spec` to `path`. The container follows the extension:
// ".MPG" MPEG-1 video and MP2 sound in an MPEG program stream, ".MP4" H.264
// and AAC, ".AVI" MPEG-4 part 2 and PCM; a masked name (".KXV", ".KXS",
// ".KXA") gets its kind's film, masked. The file appears whole or not at
// all. False, with the reason in `error` (ffmpeg missing or failing, a name
// of no film kind, a file that cannot be written).
bool makeFilm(const QString& path, const FilmSpec& spec, QString* error);

// Writes the mask bytes of the masked name `path` over its leading bytes,
// which must be its kind's playable ones. For generated films only: the
// program itself never writes a film.
bool maskInPlace(const QString& path, QString* error);

}  // namespace ziro::filmgen
