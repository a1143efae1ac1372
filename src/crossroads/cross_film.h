#pragma once

// The crossroads animation on the program's one media engine: every frame
// the exercise asks for is shown by an exact seek, and a stretch is played
// from an exactly shown first frame and ends on an exactly shown last one.

#include "crossroads/cross_session.h"

#include <QObject>
#include <QTimer>

namespace ziro {

class FilmBackend;

namespace cross {

class CrossFilm : public QObject, public CrossPlayer {
    Q_OBJECT
public:
    // The backend's onFrameShown and onEnd notices are taken.
    explicit CrossFilm(FilmBackend& backend, QObject* parent = nullptr);
    ~CrossFilm() override;
    // Told when a stretch ends.
    void setSession(CrossSession* session) { m_session = session; }
    FilmBackend& backend() const { return m_backend; }

    bool open(const QString& path, QString* error) override;
    void close() override;
    bool loaded() const override;
    int frameCount() const override { return m_frames; }
    int position() const override;
    bool playing() const override { return m_playTo >= 0; }
    void showFrame(int frame) override;
    void play(int from, int to) override;
    void pause() override;
    void resume(int to) override;

    // The last frame the engine confirmed on show; -1 when none.
    int shownFrame() const { return m_shown; }

Q_SIGNALS:
    // The picture of `frame` is ready to paint.
    void frameShown(int frame);

private:
    void confirmed(int frame);
    // Seeks one frame at a time: the engine's word for a seek is only
    // unambiguous while no other is under way.
    void request(int frame);
    void watch();
    void endAt(int frame);

    FilmBackend& m_backend;
    CrossSession* m_session = nullptr;
    int m_frames = 0;
    int m_wanted = -1;   // the frame asked for and not yet confirmed
    int m_inFlight = -1; // the frame the engine is seeking now
    QTimer m_overdue;    // a seek the engine never confirmed is given up
    int m_shown = -1;
    int m_playTo = -1;   // playing (or about to) up to this frame
    bool m_startOnShown = false;  // play once the first frame is shown
    bool m_ending = false;        // the last frame asked for; then the notice
    QTimer m_watch;
};

}  // namespace cross
}  // namespace ziro
