#pragma once

// What the two film windows do, apart from drawing: the MPEG window and the
// MP4 window share one film engine and one player state (Globals), so only
// one film is open at a time. They differ in a few rules, chosen by the
// window's personality (FilmPlayer::Mpeg or FilmPlayer::Mp4):
//  - a rewind goes to the start of the film (MPEG) or to the first frame of
//    the cut (MP4);
//  - the MP4 window pauses when the film reaches its end, and keeps the
//    position it saw; it has the F key (full screen);
//  - the end of a cut closes the MPEG window after 300 ms, the MP4 one
//    after 200 ms;
//  - the MPEG window says why a film did not open in its own words.
// The film on disk is never rewritten: the engine reads masked files as they
// are, so closing has nothing to mask again.
//
// Everything a window shows or starts goes through FilmWindowPort; the
// window widget is a thin shell that forwards its events here.

#include "platform/media/film_backend.h"
#include "viewers/film.h"

#include <QColor>
#include <QRect>
#include <QString>

namespace ziro {

struct Config;
struct Globals;

// The four panels laid over the edges of the picture to hide its border
// lines; each lies inside the picture's rectangle.
struct FilmMasks {
    bool shown = false;
    QColor colour = Qt::white;
    int width = 9;
    QRect left, right, top, bottom;  // window coordinates
    bool operator==(const FilmMasks&) const = default;
};

// The picture's rectangle and the masks placed inside it.
FilmMasks masksInside(const QRect& schermo, bool shown, const QColor& colour, int width);

// The film window as the logic sees it. The null base does nothing.
class FilmWindowPort {
public:
    virtual ~FilmWindowPort() = default;
    // The main window, in the coordinates the film window is placed in.
    virtual QRect mainGeometry() const { return {0, 0, 640, 480}; }
    virtual void placeWindow(const QRect& r) { Q_UNUSED(r); }
    virtual void showWindow() {}
    virtual void hideWindow() {}
    // `Schermo`, the black panel the picture is painted in (window
    // coordinates); the picture follows it.
    virtual void placeScreen(const QRect& r) { Q_UNUSED(r); }
    virtual void placeMasks(const FilmMasks& m) { Q_UNUSED(m); }
    virtual void takeFocus() {}
    virtual void beep(int hertz, int ms) { Q_UNUSED(hertz); Q_UNUSED(ms); }
    virtual void message(const QString& text) { Q_UNUSED(text); }
    // The 40 ms end check: the window calls SeekTimerTimer() while it runs.
    virtual void startEndCheck() {}
    virtual void stopEndCheck() {}
    // One call of endCloseTimeout() after `ms`.
    virtual void singleShot(int ms) { Q_UNUSED(ms); }
    // A key the film window does not use, for the main window's key map.
    virtual void passKey(int key, Qt::KeyboardModifiers mods) { Q_UNUSED(key); Q_UNUSED(mods); }
    virtual bool configWindowVisible() const { return false; }
    virtual void focusQuizIfVisible() {}
    virtual void toggleFullScreen() {}
};

// What the film windows ask of the media bar.
class MediaBarLink {
public:
    virtual ~MediaBarLink() = default;
    virtual bool barVisible() const { return false; }
    virtual void showBar() {}
    virtual void closeBar() {}
};

class FilmWindowLogic {
public:
    FilmWindowLogic(FilmPlayer personality, Globals& g, const Config& config, FilmBackend& backend,
                    FilmWindowPort& port);

    FilmPlayer personality() const { return m_personality; }
    void setMediaBar(MediaBarLink* bar);

    // Opens `NomeFile`, sizes the picture for `VSize`, and plays from frame
    // `Inizio` to frame `Fine` (below 1, or not past `Inizio`: to the end).
    // False when the film did not open: what went wrong has been said,
    // nothing is left open and no state is set.
    bool AvvioVideo(const QString& NomeFile, qint64 Inizio, int VSize, qint64 Fine);
    // Places, shows and focuses the window.
    void FormShow();
    bool visible() const { return m_visible; }
    // This window holds the open film.
    bool active() const { return m_active; }

    void SetSize(int VideoSIZE);

    bool PlayVideo();
    bool PauseVideo();
    bool StopVideo();
    bool RewVideo();
    void GotoVideo(qint64 Point);
    void SetCurrentPosition(qint64 mPos);
    // -1 when no film is open in the MPEG window; 0 in the MP4 window.
    qint64 GetCurrentPosition() const;
    // Volume 0..100 of the film's sound; the mute switch apart from it.
    void SetVolume(int vLevel);
    int GetVolume() const;
    void SetMuted(bool muted);

    void Chiudi();

    // Events of the window.
    void SchermoClick();
    void FormClick();
    void SchermoMouseDown(Qt::MouseButton button);
    // A key release.
    void FormKey(int key, Qt::KeyboardModifiers mods);
    void SeekTimerTimer();
    void endCloseTimeout();
    // The engine failed while playing.
    void engineError();
    void takeFocus();

    qint64 InizioVideo() const { return m_inizio; }
    qint64 FineVideo() const { return m_fine; }
    QRect schermo() const { return m_schermo; }
    FilmMasks masks() const { return m_masks; }
    QRect windowGeometry() const { return m_geometry; }

private:
    bool mpeg() const { return m_personality == FilmPlayer::Mpeg; }
    bool openMpeg(const QString& file);
    bool openMp4(const QString& file);
    void setCut(qint64 inizio, qint64 fine);
    void placeScreen(const QRect& schermo, bool masksShown, const QColor& colour, int width);
    QRect smallGeometry() const;
    QRect fullGeometry() const;
    void place(const QRect& geometry);

    FilmPlayer m_personality;
    Globals& m_g;
    const Config& m_config;
    FilmBackend& m_backend;
    FilmWindowPort& m_port;
    MediaBarLink* m_bar;

    qint64 m_inizio = 0;
    qint64 m_fine = 0;
    int m_size = 3;
    bool m_visible = false;
    bool m_active = false;
    bool m_inTick = false;
    bool m_closePending = false;
    QRect m_geometry;
    QRect m_schermo{63, 3, 488, 368};
    FilmMasks m_masks;
};

// The two film windows together: which one is on show, starting a film in
// the right one, and the main window's pause toggle.
class FilmPlayers {
public:
    FilmPlayers(FilmWindowLogic& mpeg, FilmWindowLogic& mp4, FilmBackend& backend, Globals& g);

    // The window on show, the MPEG one first; null when none.
    FilmWindowLogic* visible();
    FilmWindowLogic& window(FilmPlayer p) { return p == FilmPlayer::Mp4 ? m_mp4 : m_mpeg; }
    void setMediaBar(MediaBarLink* bar);

    // Starts the request's film in its window and shows it; sets
    // `VideoDaMenu`, `VideoAperto` and `VideoInCorso` only when it opened.
    // A film already open is closed first. On false the window has told
    // the user what went wrong, unless `error` says the file is missing.
    bool play(const FilmRequest& request, QString* error = nullptr);
    // The main window's pause toggle.
    void PausaVideo();
    // Closes the film on show.
    void closeFilm();

private:
    FilmWindowLogic& m_mpeg;
    FilmWindowLogic& m_mp4;
    Globals& m_g;
};

}  // namespace ziro
