#pragma once

// The media engine as the film windows, the media bar, the crossroads and
// the spoken statements see it: one player of one film at a time.
//
// Positions are in units of 100 ns, as the rest of the program keeps them;
// a frame of the films is 40 ms (400,000 units). Seeks are exact: a seek to
// a frame's position shows that frame, not the key frame before it.
//
// Every call is made on the window thread, and every notice arrives there.
// A call that cannot do what was asked says so (false, or an error text);
// the caller keeps no state the player did not confirm.

#include <QImage>
#include <QSize>
#include <QString>

#include <functional>

namespace ziro {

class FilmBackend {
public:
    virtual ~FilmBackend() = default;

    // Loads `path`, paused on its first frame. A masked film (".KXV",
    // ".KXS", ".KXA") is read through a stream that restores its leading
    // bytes in memory; the file on disk is never written. False, with
    // `error` set, when the file cannot be opened or holds no film; the
    // player is then closed.
    virtual bool open(const QString& path, QString* error) = 0;
    // Unloads the film; nothing is played or shown afterwards.
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    virtual bool play() = 0;
    virtual bool pause() = 0;
    virtual bool isPlaying() const = 0;

    // Exact seek to `units` (clamped to 0..duration); the picture of that
    // position is shown, playing or paused as before.
    virtual bool seek(qint64 units) = 0;
    // One frame forward or back, leaving the film paused.
    virtual bool step(bool forward) = 0;
    // Shows exactly frame `frame` (of 40 ms), paused. onFrameShown follows
    // with the number of the frame whose picture frame() then holds, once
    // the last of the frames asked for is ready to paint. A player that
    // cannot tell when a seek is done still seeks and says nothing.
    virtual bool showFrame(int frame) { return pause() && seek(qint64(frame) * 400'000); }
    // Current position and duration in 100 ns units; 0 when unknown. At the
    // end of the film the position is the duration.
    virtual qint64 position() const = 0;
    virtual qint64 duration() const = 0;

    // Volume 0..100 of the film's sound, and the mute switch apart from it.
    virtual void setVolume(int volume) = 0;
    virtual int volume() const = 0;
    virtual void setMuted(bool muted) = 0;
    virtual bool isMuted() const = 0;

    // Whether the open film has a picture.
    virtual bool hasVideo() const = 0;
    // Whether an audio output opened for the film (a sound card exists).
    virtual bool hasAudioOutput() const = 0;

    // The size in device pixels the picture is rendered at. The widget that
    // paints it asks for its own size times the presentation's scale, so
    // the picture is not scaled again when painted.
    virtual void setRenderSize(QSize devicePixels) = 0;
    // The latest picture (null when none), at the render size.
    virtual QImage frame() const = 0;

    // Notices, delivered on the window thread.
    std::function<void()> onFrame;        // a new picture is ready
    std::function<void()> onEnd;          // the film reached its end
    std::function<void(QString)> onError; // playback failed and stopped
    std::function<void(int)> onFrameShown; // the frame showFrame asked for is ready
};

}  // namespace ziro
