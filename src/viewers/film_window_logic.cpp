#include "viewers/film_window_logic.h"

#include "base/globals.h"
#include "config/settings.h"

#include <QFileInfo>

#include <algorithm>

namespace ziro {
namespace {

MediaBarLink& noBar()
{
    static MediaBarLink bar;
    return bar;
}

bool keypad(int key, Qt::KeyboardModifiers mods, int digit)
{
    return (mods & Qt::KeypadModifier) && key == Qt::Key_0 + digit;
}

const QRect kWindowScreen(63, 3, 488, 368);
const QRect kFullScreen(0, 0, 640, 480);

}  // namespace

FilmMasks masksInside(const QRect& s, bool shown, const QColor& colour, int width)
{
    FilmMasks m;
    m.shown = shown;
    m.colour = colour;
    m.width = width;
    m.left = QRect(s.left(), s.top(), width, s.height());
    m.right = QRect(s.left() + s.width() - width, s.top(), width, s.height());
    m.top = QRect(s.left(), s.top(), s.width(), width);
    m.bottom = QRect(s.left(), s.top() + s.height() - width, s.width(), width);
    return m;
}

FilmWindowLogic::FilmWindowLogic(FilmPlayer personality, Globals& g, const Config& config,
                                 FilmBackend& backend, FilmWindowPort& port)
    : m_personality(personality), m_g(g), m_config(config), m_backend(backend), m_port(port),
      m_bar(&noBar())
{
    m_masks = masksInside(m_schermo, false, Qt::white, 9);
}

void FilmWindowLogic::setMediaBar(MediaBarLink* bar)
{
    m_bar = bar ? bar : &noBar();
}

// ---------------------------------------------------------------------------
// Opening

bool FilmWindowLogic::AvvioVideo(const QString& NomeFile, qint64 Inizio, int VSize, qint64 Fine)
{
    m_closePending = false;
    if (!(mpeg() ? openMpeg(NomeFile) : openMp4(NomeFile)))
        return false;
    m_active = true;
    SetSize(VSize);
    setCut(Inizio, Fine);
    // The MPEG window rewinds to the film's start on opening, the MP4 one
    // to the cut's; both then seek to the cut and play.
    GotoVideo(m_inizio);
    PlayVideo();
    m_port.startEndCheck();
    return true;
}

bool FilmWindowLogic::openMpeg(const QString& file)
{
    m_g.FileVideoCorrente.clear();
    if (!QFileInfo(file).isFile()) {
        m_port.message(
            QStringLiteral("Errore DirectShow (FileName), Impossibile visualizzare il filmato."));
        return false;
    }
    if (m_backend.isOpen())
        m_backend.close();
    m_g.StatoVideo = 0;
    m_g.PosizioneVideo = 0;
    QString error;
    if (!m_backend.open(file, &error)) {
        m_port.message(m_backend.hasAudioOutput()
                           ? QStringLiteral(
                               "Errore DirectShow (Rendering), Impossibile visualizzare il filmato.")
                           : QStringLiteral(
                               "Scheda audio non rilevata, impossibile visualizzare il filmato."));
        return false;
    }
    m_g.FileVideoCorrente = file;
    m_g.StatoVideo = 4;
    m_g.DurataVideo = std::max<qint64>(0, m_backend.duration());
    RewVideo();
    return true;
}

bool FilmWindowLogic::openMp4(const QString& file)
{
    m_g.StatoVideo = 0;
    m_g.FileVideoCorrente.clear();
    if (!QFileInfo(file).isFile())
        return false;
    if (m_backend.isOpen())
        m_backend.close();
    m_g.PosizioneVideo = 0;
    QString error;
    if (!m_backend.open(file, &error)) {
        m_port.message(QStringLiteral("Lo stream video del file: ") + file
                       + QStringLiteral(" non è disponibile.") + QLatin1Char('\r') + error);
        // The engine closed itself; nothing of this film is used again.
        Chiudi();
        return false;
    }
    m_g.FileVideoCorrente = file;
    m_g.StatoVideo = 4;
    m_g.DurataVideo = std::max<qint64>(0, m_backend.duration());
    return true;
}

void FilmWindowLogic::setCut(qint64 inizio, qint64 fine)
{
    m_inizio = std::max<qint64>(0, inizio);
    // An end before the start would close the film the moment it starts:
    // such a cut plays to the end, as an empty end does.
    m_fine = fine < 1 || fine <= m_inizio ? frameOf(m_g.DurataVideo) : fine;
}

// ---------------------------------------------------------------------------
// Geometry

void FilmWindowLogic::SetSize(int VideoSIZE)
{
    switch (VideoSIZE) {
    case 1:
    case 4:
        placeScreen(QRect(131, 43, 352, 288), m_masks.shown, m_masks.colour, m_masks.width);
        break;
    case 2:
        placeScreen(QRect(147, 67, 320, 240), m_masks.shown, m_masks.colour, m_masks.width);
        break;
    case 3:
        placeScreen(kWindowScreen, true, Qt::white, 9);
        break;
    case 5:
        placeScreen(kFullScreen, true, Qt::black, 12);
        break;
    default:
        return;
    }
    m_size = VideoSIZE;
}

void FilmWindowLogic::placeScreen(const QRect& schermo, bool masksShown, const QColor& colour,
                                  int width)
{
    m_schermo = schermo;
    m_masks = masksInside(schermo, masksShown, colour, width);
    m_port.placeScreen(m_schermo);
    m_port.placeMasks(m_masks);
}

QRect FilmWindowLogic::smallGeometry() const
{
    const QRect main = m_port.mainGeometry();
    return QRect(main.left() + (main.width() - 607) / 2 - 2,
                 main.top() + (main.height() - 374) / 2 - 35, 607, 374);
}

QRect FilmWindowLogic::fullGeometry() const
{
    return QRect(m_port.mainGeometry().topLeft(), QSize(640, 480));
}

void FilmWindowLogic::place(const QRect& geometry)
{
    m_geometry = geometry;
    m_port.placeWindow(geometry);
}

void FilmWindowLogic::FormShow()
{
    // A full-size picture never sits in the small window.
    const bool full = m_g.VideoSize == 5 || m_g.VideoDaMenu || m_size == 5;
    place(full ? fullGeometry() : smallGeometry());
    m_visible = true;
    m_port.showWindow();
    m_port.takeFocus();
}

void FilmWindowLogic::takeFocus()
{
    m_port.takeFocus();
}

// ---------------------------------------------------------------------------
// Player state

bool FilmWindowLogic::PlayVideo()
{
    const int s = m_g.StatoVideo;
    if (mpeg()) {
        if ((s != 2 && s != 3) || !m_backend.play())
            return false;
    } else {
        if (s == 0)
            return false;
        if (s == 3) {
            if (m_backend.isPlaying() || !m_backend.play())
                return false;
        } else if (m_g.FileVideoCorrente.isEmpty() || !m_backend.isOpen() || !m_backend.play()) {
            return false;
        }
    }
    m_g.StatoVideo = 1;
    return true;
}

bool FilmWindowLogic::PauseVideo()
{
    const int s = m_g.StatoVideo;
    if (mpeg() ? (s != 1 && s != 4) : s == 0)
        return false;
    m_backend.pause();
    m_g.StatoVideo = 3;
    return true;
}

bool FilmWindowLogic::StopVideo()
{
    const int s = m_g.StatoVideo;
    if (s == 0 || s == 2)
        return false;
    // Stopping keeps the picture of the stop position on show.
    if (!m_backend.pause())
        return false;
    m_g.StatoVideo = 2;
    return true;
}

bool FilmWindowLogic::RewVideo()
{
    const int s = m_g.StatoVideo;
    if (s == 0 || s == 2)
        return false;
    m_backend.pause();
    if (mpeg())
        SetCurrentPosition(0);
    else
        GotoVideo(m_inizio);
    m_g.StatoVideo = 2;
    return true;
}

void FilmWindowLogic::GotoVideo(qint64 Point)
{
    SetCurrentPosition(unitsOfFrame(std::max<qint64>(0, Point)));
}

void FilmWindowLogic::SetCurrentPosition(qint64 mPos)
{
    if (m_g.StatoVideo == 0)
        return;
    const qint64 pos = std::clamp<qint64>(mPos, 0, std::max<qint64>(0, m_g.DurataVideo));
    if (m_backend.seek(pos))
        m_g.PosizioneVideo = pos;
}

qint64 FilmWindowLogic::GetCurrentPosition() const
{
    if (m_g.StatoVideo == 0 || !m_backend.isOpen())
        return mpeg() ? -1 : 0;
    return m_backend.position();
}

void FilmWindowLogic::SetVolume(int vLevel)
{
    if (m_g.StatoVideo == 0 || (!mpeg() && !m_backend.hasAudioOutput()))
        return;
    m_backend.setVolume(std::clamp(vLevel, 0, 100));
}

int FilmWindowLogic::GetVolume() const
{
    if (mpeg() ? m_g.StatoVideo == 0 : !m_backend.hasAudioOutput())
        return 0;
    return m_backend.volume();
}

void FilmWindowLogic::SetMuted(bool muted)
{
    if (m_g.StatoVideo == 0 || (!mpeg() && !m_backend.hasAudioOutput()))
        return;
    m_backend.setMuted(muted);
}

// ---------------------------------------------------------------------------
// Closing

void FilmWindowLogic::Chiudi()
{
    m_closePending = false;
    m_port.stopEndCheck();
    if (m_active) {
        StopVideo();
        m_backend.close();
        m_g.StatoVideo = 0;
        m_g.FileVideoCorrente.clear();
        m_g.VideoAperto = false;
        m_g.VideoInCorso = false;
        m_g.VideoDaMenu = false;
        m_active = false;
    }
    m_bar->closeBar();
    if (m_visible) {
        m_visible = false;
        m_port.hideWindow();
    }
    m_port.focusQuizIfVisible();
}

void FilmWindowLogic::engineError()
{
    if (m_active)
        Chiudi();
}

// ---------------------------------------------------------------------------
// Events

void FilmWindowLogic::SchermoClick()
{
    if (m_g.VideoSize != 5 && m_schermo.width() == 640 && !m_g.VideoDaMenu
        && !m_port.configWindowVisible()) {
        m_masks.shown = false;
        m_port.placeMasks(m_masks);
        m_bar->closeBar();
        place(smallGeometry());
        placeScreen(kWindowScreen, true, Qt::white, 9);
        return;
    }
    Chiudi();
}

void FilmWindowLogic::FormClick()
{
    m_masks.shown = false;
    m_port.placeMasks(m_masks);
    place(fullGeometry());
    placeScreen(kFullScreen, true, Qt::black, 12);
}

void FilmWindowLogic::SchermoMouseDown(Qt::MouseButton button)
{
    if (button != Qt::RightButton || m_schermo.width() != 640)
        return;
    if (m_bar->barVisible() && m_g.VideoInCorso)
        m_bar->closeBar();
    else
        m_bar->showBar();
}

void FilmWindowLogic::FormKey(int key, Qt::KeyboardModifiers mods)
{
    if (key == Qt::Key_Escape)
        SchermoClick();
    else if (keypad(key, mods, 0))
        SchermoMouseDown(Qt::RightButton);
    else if (keypad(key, mods, 2))
        m_schermo.size() == QSize(640, 480) ? SchermoClick() : FormClick();
    else if (keypad(key, mods, 1) || keypad(key, mods, 3))
        m_port.beep(400, 10);
    else if (key == Qt::Key_F && !mpeg())
        m_port.toggleFullScreen();
    else
        m_port.passKey(key, mods);
}

void FilmWindowLogic::SeekTimerTimer()
{
    // A close is on its way, or a tick is still running (a message box
    // inside it runs events): nothing to check.
    if (m_inTick || m_closePending || !m_visible || !m_active || m_g.StatoVideo == 0)
        return;
    const qint64 duration = m_backend.duration();
    const qint64 pos = std::clamp<qint64>(m_backend.position(), 0, std::max<qint64>(0, duration));
    // The MP4 window looks while the film plays, or when it has reached
    // its end (the engine stops there by itself).
    if (!mpeg() && !m_backend.isPlaying() && pos < duration)
        return;
    m_inTick = true;
    if (!mpeg()) {
        if (pos >= duration && m_g.StatoVideo != 3)
            PauseVideo();
        m_g.PosizioneVideo = pos;
    }
    if (pos >= unitsOfFrame(m_fine) && m_g.VideoInCorso && m_g.VideoAperto && m_config.CBVautoOff) {
        // Stop the checks first: the close comes once, from its own timer.
        m_closePending = true;
        m_port.stopEndCheck();
        StopVideo();
        m_port.singleShot(mpeg() ? 300 : 200);
    }
    m_inTick = false;
}

void FilmWindowLogic::endCloseTimeout()
{
    if (!m_closePending)
        return;
    m_closePending = false;
    Chiudi();
}

// ---------------------------------------------------------------------------

FilmPlayers::FilmPlayers(FilmWindowLogic& mpeg, FilmWindowLogic& mp4, FilmBackend& backend,
                         Globals& g)
    : m_mpeg(mpeg), m_mp4(mp4), m_g(g)
{
    backend.onError = [this](const QString&) {
        if (m_mpeg.active())
            m_mpeg.engineError();
        if (m_mp4.active())
            m_mp4.engineError();
    };
}

FilmWindowLogic* FilmPlayers::visible()
{
    if (m_mpeg.visible())
        return &m_mpeg;
    if (m_mp4.visible())
        return &m_mp4;
    return nullptr;
}

void FilmPlayers::setMediaBar(MediaBarLink* bar)
{
    m_mpeg.setMediaBar(bar);
    m_mp4.setMediaBar(bar);
}

bool FilmPlayers::play(const FilmRequest& request, QString* error)
{
    if (!request.file.exists) {
        if (error)
            *error = request.file.path;
        return false;
    }
    for (FilmWindowLogic* w : {&m_mpeg, &m_mp4}) {
        if (w->active() || w->visible())
            w->Chiudi();
    }
    FilmWindowLogic& w = window(request.file.player);
    // The window's size and its click rule read it while opening.
    m_g.VideoDaMenu = request.daMenu;
    if (!w.AvvioVideo(request.file.path, request.inizio, request.size, request.fine)) {
        m_g.VideoDaMenu = false;
        if (error)
            error->clear();
        return false;
    }
    w.FormShow();
    m_g.VideoAperto = true;
    m_g.VideoInCorso = true;
    return true;
}

void FilmPlayers::PausaVideo()
{
    FilmWindowLogic* w = visible();
    if (!m_g.VideoAperto || !w)
        return;
    if (m_g.VideoInCorso) {
        w->PauseVideo();
        m_g.VideoInCorso = false;
    } else {
        w->PlayVideo();
        m_g.VideoInCorso = true;
    }
}

void FilmPlayers::closeFilm()
{
    if (FilmWindowLogic* w = visible())
        w->Chiudi();
}

}  // namespace ziro
