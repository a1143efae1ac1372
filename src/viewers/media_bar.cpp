#include "viewers/media_bar.h"

#include "base/globals.h"

#include <algorithm>
#include <limits>

namespace ziro {
namespace {

bool keypad(int key, Qt::KeyboardModifiers mods, int digit)
{
    return (mods & Qt::KeypadModifier) && key == Qt::Key_0 + digit;
}

}  // namespace

MediaBar::MediaBar(Globals& g, FilmPlayers& films, MediaBarPort& port)
    : m_g(g), m_films(films), m_port(port)
{
    m_films.setMediaBar(this);
}

MediaBar::~MediaBar()
{
    m_films.setMediaBar(nullptr);
}

const MediaBarLayout& MediaBar::layout()
{
    static const MediaBarLayout l;
    return l;
}

// ---------------------------------------------------------------------------
// Showing

int MediaBar::width() const
{
    // An ordinary film's bar leaves the expand button and the strip
    // outside; widening it (keypad 4) still works.
    if (m_buttons.expand)
        return 335;
    return m_g.VideoDaMenu ? 154 : 134;
}

void MediaBar::place(int w)
{
    const QRect main = m_port.mainGeometry();
    // The right edge stays at 618 whatever the width.
    m_geometry = QRect(main.left() + 618 - w, main.top() + 425, w, 33);
    m_port.placeBar(m_geometry);
}

void MediaBar::FormShow()
{
    place(width());
}

void MediaBar::FormActivate()
{
    const qint64 duration = std::max<qint64>(0, m_g.DurataVideo);
    FilmWindowLogic* film = m_films.visible();
    // The MP4 window counts a part frame at the end as a frame.
    const qint64 frames = film && film->personality() == FilmPlayer::Mp4
        ? (duration + kFrameUnits / 2) / kFrameUnits
        : duration / kFrameUnits;
    m_sliderMax = int(std::min<qint64>(frames, std::numeric_limits<int>::max()));
    m_port.setSliderRange(m_sliderMax);
    syncButtons();
}

void MediaBar::showBar()
{
    FormShow();
    if (!m_visible) {
        m_visible = true;
        m_port.showBar();
        m_port.startTick();
    }
    FormActivate();
}

void MediaBar::closeBar()
{
    if (!m_visible)
        return;
    m_visible = false;
    m_port.stopTick();
    m_port.hideBar();
}

void MediaBar::ResetTimeLine()
{
    m_filled = 0;
    m_port.drawStrip(0);
    m_port.setSliderValue(0);
}

void MediaBar::releaseExpand()
{
    m_buttons.expand = false;
    syncButtons();
    if (m_visible)
        place(width());
}

// ---------------------------------------------------------------------------
// Buttons

void MediaBar::syncButtons()
{
    MediaBarButtons b = m_buttons;
    b.play = m_g.StatoVideo == 1;
    b.pause = m_g.StatoVideo == 3;
    b.expandCaption = b.expand ? QStringLiteral("<") : QStringLiteral(">");
    m_buttons = b;
    m_port.showButtons(m_buttons);
}

void MediaBar::STARTClick()
{
    FilmWindowLogic* film = m_films.visible();
    if (!film)
        return;
    if (m_g.VideoDaMenu)
        film->RewVideo();
    else
        film->GotoVideo(film->InizioVideo());
    ResetTimeLine();
    if (m_g.VideoInCorso)
        film->PlayVideo();
    syncButtons();
}

void MediaBar::PLAYClick()
{
    FilmWindowLogic* film = m_films.visible();
    if (!film)
        return;
    film->PlayVideo();
    m_g.VideoInCorso = true;
    syncButtons();
}

void MediaBar::PAUSEClick()
{
    FilmWindowLogic* film = m_films.visible();
    if (!film)
        return;
    if (m_g.VideoInCorso) {
        film->PauseVideo();
        m_g.VideoInCorso = false;
    } else {
        film->PlayVideo();
        m_g.VideoInCorso = true;
    }
    syncButtons();
}

void MediaBar::NOaudioClick(bool down)
{
    m_buttons.noAudio = down;
    if (FilmWindowLogic* film = m_films.visible()) {
        // The volume is remembered and the sound switched off apart from
        // it, so unmuting gives back exactly what was set.
        if (down) {
            m_volumeTmp = film->GetVolume();
            film->SetMuted(true);
        } else {
            film->SetMuted(false);
            film->SetVolume(m_volumeTmp);
        }
    }
    syncButtons();
}

void MediaBar::ExpandClick(bool down)
{
    m_buttons.expand = down;
    syncButtons();
    place(down ? 335 : 154);
}

void MediaBar::IndexEnter()
{
    m_port.focusHidden();
}

void MediaBar::IndexMoved(int frame)
{
    FilmWindowLogic* film = m_films.visible();
    if (!m_g.VideoAperto || !film)
        return;
    film->SetCurrentPosition(unitsOfFrame(std::clamp(frame, 0, m_sliderMax)));
}

// ---------------------------------------------------------------------------
// Progress

void MediaBar::drawStrip()
{
    const qint64 duration = m_g.DurataVideo;
    const qint64 w = layout().strip.width();
    const qint64 pos = std::clamp<qint64>(m_g.PosizioneVideo, 0, std::max<qint64>(0, duration));
    const int filled = duration > 0 ? int(w * pos / duration) : 0;
    if (filled == m_filled)
        return;
    m_filled = filled;
    m_port.drawStrip(filled);
}

void MediaBar::Timer1Timer()
{
    FilmWindowLogic* film = m_films.visible();
    if (!m_visible || m_g.StatoVideo == 0 || !film)
        return;
    // An unreadable position (-1) is the start.
    m_g.PosizioneVideo = std::clamp<qint64>(film->GetCurrentPosition(), 0,
                                            std::max<qint64>(0, m_g.DurataVideo));
    drawStrip();
    const MediaBarButtons before = m_buttons;
    if (before.play != (m_g.StatoVideo == 1) || before.pause != (m_g.StatoVideo == 3))
        syncButtons();
}

void MediaBar::seekStrip(int x, Qt::MouseButtons buttons, Qt::KeyboardModifiers mods)
{
    if (buttons != Qt::LeftButton || mods != Qt::NoModifier)
        return;
    FilmWindowLogic* film = m_films.visible();
    if (!film)
        return;
    const qint64 w = layout().strip.width();
    // A drag may leave the strip on either side.
    const qint64 clampedX = std::clamp<qint64>(x, 0, w);
    const qint64 pos = std::max<qint64>(0, m_g.DurataVideo) * clampedX / w;
    film->SetCurrentPosition(pos);
    m_g.PosizioneVideo = pos;
    drawStrip();
}

void MediaBar::TimeLineImageMouseDown(int x, Qt::MouseButtons buttons, Qt::KeyboardModifiers mods)
{
    seekStrip(x, buttons, mods);
}

void MediaBar::TimeLineImageMouseMove(int x, Qt::MouseButtons buttons, Qt::KeyboardModifiers mods)
{
    seekStrip(x, buttons, mods);
}

// ---------------------------------------------------------------------------

void MediaBar::FormKeyUp(int key, Qt::KeyboardModifiers mods)
{
    if (keypad(key, mods, 0)) {
        FilmWindowLogic* film = m_films.visible();
        if (m_visible && m_g.VideoInCorso) {
            if (film)
                film->takeFocus();
            closeBar();
        } else {
            showBar();
        }
    } else if (keypad(key, mods, 1)) {
        STARTClick();
    } else if (keypad(key, mods, 2)) {
        PLAYClick();
    } else if (keypad(key, mods, 3)) {
        PAUSEClick();
    } else if (keypad(key, mods, 4)) {
        ExpandClick(!m_buttons.expand);
    } else if (keypad(key, mods, 5)) {
        NOaudioClick(!m_buttons.noAudio);
    } else {
        // The bar has already taken the key; the main window is told only
        // that one came.
        m_port.passKey(0, mods);
    }
}

}  // namespace ziro
