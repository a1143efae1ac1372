#include "crossroads/cross_film.h"

#include "platform/media/film_backend.h"

#include <algorithm>

namespace ziro::cross {

namespace {
constexpr qint64 kFrameUnits = 400'000;
}

CrossFilm::CrossFilm(FilmBackend& backend, QObject* parent) : QObject(parent), m_backend(backend)
{
    m_backend.onFrameShown = [this](int frame) { confirmed(frame); };
    m_backend.onEnd = [this] {
        if (m_playTo >= 0 && !m_ending && !m_startOnShown)
            endAt(m_playTo);
    };
    // A stretch ends on its own last frame, not where the engine happens to
    // be when told: the position is watched while it plays.
    m_watch.setInterval(10);
    connect(&m_watch, &QTimer::timeout, this, &CrossFilm::watch);
    m_overdue.setSingleShot(true);
    m_overdue.setInterval(1500);
    connect(&m_overdue, &QTimer::timeout, this, [this] {
        m_inFlight = -1;
        if (m_wanted >= 0)
            request(m_wanted);
    });
}

CrossFilm::~CrossFilm()
{
    m_backend.onFrameShown = nullptr;
    m_backend.onEnd = nullptr;
}

bool CrossFilm::open(const QString& path, QString* error)
{
    close();
    if (!m_backend.open(path, error))
        return false;
    m_frames = int((m_backend.duration() + kFrameUnits / 2) / kFrameUnits);
    return true;
}

void CrossFilm::close()
{
    m_watch.stop();
    m_overdue.stop();
    m_playTo = -1;
    m_wanted = -1;
    m_inFlight = -1;
    m_shown = -1;
    m_startOnShown = m_ending = false;
    m_frames = 0;
    m_backend.close();
}

bool CrossFilm::loaded() const
{
    return m_backend.isOpen();
}

int CrossFilm::position() const
{
    if (m_wanted >= 0)
        return m_wanted;
    if (m_backend.isPlaying())
        return int(m_backend.position() / kFrameUnits);
    return m_shown >= 0 ? m_shown : int(m_backend.position() / kFrameUnits);
}

void CrossFilm::showFrame(int frame)
{
    m_watch.stop();
    m_playTo = -1;
    m_startOnShown = m_ending = false;
    frame = std::clamp(frame, 0, std::max(0, m_frames - 1));
    m_wanted = frame;
    if (m_inFlight < 0)
        request(frame);
}

void CrossFilm::request(int frame)
{
    if (!m_backend.showFrame(frame)) {
        m_wanted = -1;
        return;
    }
    m_inFlight = frame;
    m_overdue.start();
}

void CrossFilm::play(int from, int to)
{
    showFrame(from);
    if (m_wanted < 0)
        return;
    m_playTo = std::clamp(to, m_wanted, std::max(m_wanted, m_frames - 1));
    m_startOnShown = true;
}

void CrossFilm::pause()
{
    m_watch.stop();
    if (m_startOnShown || m_ending) {
        // Not started yet, or already stopping on its last frame: it stays
        // on the frame asked for.
        m_startOnShown = m_ending = false;
    } else {
        m_backend.pause();
        m_shown = int(m_backend.position() / kFrameUnits);
    }
    m_playTo = -1;
}

void CrossFilm::resume(int to)
{
    if (!loaded())
        return;
    const int at = position();
    m_playTo = std::clamp(to, 0, std::max(0, m_frames - 1));
    if (at >= m_playTo) {
        endAt(m_playTo);
        return;
    }
    m_wanted = -1;
    m_backend.play();
    m_watch.start();
}

void CrossFilm::confirmed(int frame)
{
    if (m_inFlight < 0)
        return;
    m_inFlight = -1;
    m_overdue.stop();
    // Asked for another meanwhile: that one now.
    if (m_wanted >= 0 && frame != m_wanted) {
        request(m_wanted);
        return;
    }
    m_wanted = -1;
    m_shown = frame;
    Q_EMIT frameShown(frame);
    if (m_startOnShown) {
        m_startOnShown = false;
        if (frame >= m_playTo) {
            endAt(m_playTo);
            return;
        }
        m_backend.play();
        m_watch.start();
        return;
    }
    if (m_ending && frame == m_playTo) {
        m_ending = false;
        m_playTo = -1;
        if (m_session)
            m_session->segmentEnded();
    }
}

void CrossFilm::watch()
{
    if (m_playTo < 0 || m_ending || m_startOnShown) {
        m_watch.stop();
        return;
    }
    if (m_backend.position() / kFrameUnits >= m_playTo)
        endAt(m_playTo);
}

void CrossFilm::endAt(int frame)
{
    m_watch.stop();
    const int to = frame;
    m_wanted = to;
    m_ending = true;
    m_playTo = to;
    if (m_shown == to && !m_backend.isPlaying()) {
        // Already on show: nothing to seek.
        m_wanted = -1;
        m_ending = false;
        m_playTo = -1;
        if (m_session)
            m_session->segmentEnded();
        return;
    }
    if (m_inFlight < 0)
        request(to);
    if (m_wanted < 0) {
        m_ending = false;
        m_playTo = -1;
        if (m_session)
            m_session->segmentEnded();
    }
}

}  // namespace ziro::cross
