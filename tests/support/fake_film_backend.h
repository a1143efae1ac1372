#pragma once

// A film engine with a hand-driven clock: nothing moves until the test calls
// advance(). Every call is written to `calls`, so a test checks what was asked
// and in which order; what the engine answers is set by the test.

#include "platform/media/film_backend.h"

#include <QStringList>

#include <algorithm>
#include <deque>

namespace ziro::test {

class FakeFilmBackend : public FilmBackend {
public:
    QStringList calls;

    // The next film opened lasts this long (100 ns units).
    qint64 nextDuration = 60 * 10'000'000LL;
    // Error texts of the next opens that fail, consumed in order.
    std::deque<QString> openFailures;
    bool videoPresent = true;
    bool audioOutput = true;
    // What play(), pause() and seek() answer.
    bool playSucceeds = true;
    bool seekSucceeds = true;

    // Moves the clock: a playing film goes on, and on reaching its end
    // stops there and tells onEnd.
    void advance(int ms)
    {
        if (!m_open || !m_playing)
            return;
        m_position += qint64(ms) * 10'000;
        if (m_position >= m_duration) {
            m_position = m_duration;
            m_playing = false;
            if (onEnd)
                onEnd();
        }
    }
    // As if the engine failed while playing.
    void failNow(const QString& text)
    {
        m_playing = false;
        if (onError)
            onError(text);
    }
    QString openedPath() const { return m_path; }
    int count(const QString& prefix) const
    {
        return int(std::count_if(calls.begin(), calls.end(),
                                 [&](const QString& c) { return c.startsWith(prefix); }));
    }

    bool open(const QString& path, QString* error) override
    {
        calls << "open " + path;
        if (!openFailures.empty()) {
            if (error)
                *error = openFailures.front();
            openFailures.pop_front();
            reset();
            return false;
        }
        reset();
        m_open = true;
        m_path = path;
        m_duration = nextDuration;
        return true;
    }
    void close() override
    {
        calls << "close";
        reset();
    }
    bool isOpen() const override { return m_open; }

    bool play() override
    {
        calls << "play";
        if (!m_open || !playSucceeds)
            return false;
        m_playing = m_position < m_duration;
        return true;
    }
    bool pause() override
    {
        calls << "pause";
        if (!m_open)
            return false;
        m_playing = false;
        return true;
    }
    bool isPlaying() const override { return m_playing; }

    bool seek(qint64 units) override
    {
        calls << QStringLiteral("seek %1").arg(units);
        if (!m_open || !seekSucceeds)
            return false;
        m_position = std::clamp<qint64>(units, 0, m_duration);
        return true;
    }
    bool step(bool forward) override
    {
        calls << (forward ? "step+" : "step-");
        if (!m_open)
            return false;
        m_playing = false;
        m_position = std::clamp<qint64>(m_position + (forward ? 400'000 : -400'000), 0, m_duration);
        return true;
    }
    qint64 position() const override { return m_open ? m_position : 0; }
    qint64 duration() const override { return m_open ? m_duration : 0; }

    void setVolume(int v) override
    {
        calls << QStringLiteral("volume %1").arg(v);
        m_volume = v;
    }
    int volume() const override { return m_volume; }
    void setMuted(bool muted) override
    {
        calls << QStringLiteral("muted %1").arg(muted);
        m_muted = muted;
    }
    bool isMuted() const override { return m_muted; }

    bool hasVideo() const override { return m_open && videoPresent; }
    bool hasAudioOutput() const override { return audioOutput; }

    void setRenderSize(QSize size) override
    {
        calls << QStringLiteral("render %1x%2").arg(size.width()).arg(size.height());
    }
    QImage frame() const override { return {}; }

private:
    void reset()
    {
        m_open = false;
        m_playing = false;
        m_position = 0;
        m_duration = 0;
        m_path.clear();
    }

    bool m_open = false;
    bool m_playing = false;
    qint64 m_position = 0;
    qint64 m_duration = 0;
    int m_volume = 100;
    bool m_muted = false;
    QString m_path;
};

}  // namespace ziro::test
