#pragma once

// What the floating media bar does, apart from drawing: restart, play,
// pause and mute the film on show, widen to a progress strip and a seek bar
// in frames, and keep the strip up to date every 100 ms. It drives the film
// window on show (the MPEG one first) through FilmPlayers, and the film
// windows show and close it through MediaBarLink.
//
// The PLAY and PAUSE buttons show the player's state, not the last click,
// so a pause from the main window's key or the end of a cut shows here at
// the next tick.

#include "viewers/film_window_logic.h"

#include <QRect>
#include <QString>

namespace ziro {

struct Globals;

// Where the bar's controls lie (bar coordinates).
struct MediaBarLayout {
    QRect start{3, 3, 34, 26};
    QRect play{37, 3, 34, 26};
    QRect pause{71, 3, 34, 26};
    QRect noAudio{108, 3, 23, 26};
    QRect expand{134, 3, 17, 26};
    QRect bevel{165, 4, 156, 9};
    QRect strip{169, 5, 151, 7};  // the progress strip, inside the bevel
    QRect index{154, 13, 179, 15};  // the seek bar
};

struct MediaBarButtons {
    bool play = false;
    bool pause = false;
    bool noAudio = false;
    bool expand = false;
    QString expandCaption = QStringLiteral(">");
    bool operator==(const MediaBarButtons&) const = default;
};

// The bar's window as the logic sees it. The null base does nothing.
class MediaBarPort {
public:
    virtual ~MediaBarPort() = default;
    // The main window, in the coordinates the bar is placed in.
    virtual QRect mainGeometry() const { return {0, 0, 640, 480}; }
    virtual void placeBar(const QRect& r) { Q_UNUSED(r); }
    virtual void showBar() {}
    virtual void hideBar() {}
    // The 100 ms progress timer: the window calls Timer1Timer() while it runs.
    virtual void startTick() {}
    virtual void stopTick() {}
    // The seek bar's range and value, set without telling back: only a
    // move by the user (IndexMoved) seeks.
    virtual void setSliderRange(int maximum) { Q_UNUSED(maximum); }
    virtual void setSliderValue(int frame) { Q_UNUSED(frame); }
    // The strip in the button face colour, and `filled` pixels from its
    // left in navy.
    virtual void drawStrip(int filled) { Q_UNUSED(filled); }
    virtual void showButtons(const MediaBarButtons& b) { Q_UNUSED(b); }
    // The focus to the hidden button, away from the seek bar.
    virtual void focusHidden() {}
    // A key for the main window's key map.
    virtual void passKey(int key, Qt::KeyboardModifiers mods) { Q_UNUSED(key); Q_UNUSED(mods); }
};

class MediaBar : public MediaBarLink {
public:
    // Registers itself with the film windows for as long as it lives.
    MediaBar(Globals& g, FilmPlayers& films, MediaBarPort& port);
    ~MediaBar() override;
    MediaBar(const MediaBar&) = delete;
    MediaBar& operator=(const MediaBar&) = delete;

    static const MediaBarLayout& layout();

    // MediaBarLink: what the film windows ask.
    bool barVisible() const override { return m_visible; }
    void showBar() override;
    void closeBar() override;

    // Before a new film: the strip empty and the seek bar at 0.
    void ResetTimeLine();
    // Before a new film: the bar narrow again.
    void releaseExpand();

    void FormShow();
    void FormActivate();
    void STARTClick();
    void PLAYClick();
    void PAUSEClick();
    // The toggle buttons, with their new position.
    void NOaudioClick(bool down);
    void ExpandClick(bool down);
    void IndexEnter();
    // The user moved the seek bar to `frame`.
    void IndexMoved(int frame);
    void Timer1Timer();
    void TimeLineImageMouseDown(int x, Qt::MouseButtons buttons, Qt::KeyboardModifiers mods);
    void TimeLineImageMouseMove(int x, Qt::MouseButtons buttons, Qt::KeyboardModifiers mods);
    // A key release.
    void FormKeyUp(int key, Qt::KeyboardModifiers mods);

    QRect geometry() const { return m_geometry; }
    MediaBarButtons buttons() const { return m_buttons; }
    int VolumeTmp() const { return m_volumeTmp; }
    int sliderMaximum() const { return m_sliderMax; }
    int stripFilled() const { return m_filled; }

private:
    int width() const;
    void place(int width);
    void drawStrip();
    void seekStrip(int x, Qt::MouseButtons buttons, Qt::KeyboardModifiers mods);
    void syncButtons();

    Globals& m_g;
    FilmPlayers& m_films;
    MediaBarPort& m_port;
    bool m_visible = false;
    int m_volumeTmp = 100;
    int m_sliderMax = 0;
    int m_filled = -1;
    QRect m_geometry;
    MediaBarButtons m_buttons;
};

}  // namespace ziro
