#pragma once

#include "controls/overlay_widget.h"
#include "viewers/media_bar.h"

#include <QTimer>

class QFrame;
class QPushButton;
class QSlider;
class QToolButton;

namespace ziro {

class MediaStrip;

// The floating media bar over a film: restart, play, pause, mute and widen,
// the progress strip and the seek bar. What it does is MediaBar's; the
// window draws, places itself and forwards its clicks, keys and ticks.
class TRemote : public OverlayWindow, public MediaBarPort {
    Q_OBJECT
public:
    explicit TRemote(QWidget* host);
    ~TRemote() override;

    void attach(MediaBar* bar) { m_bar = bar; }
    MediaBar* bar() const { return m_bar; }

    QToolButton* button(const char* name) const;
    QSlider* index() const { return m_index; }
    QWidget* strip() const;

    // MediaBarPort
    void placeBar(const QRect& r) override;
    void showBar() override;
    void hideBar() override;
    void startTick() override;
    void stopTick() override;
    void setSliderRange(int maximum) override;
    void setSliderValue(int frame) override;
    void drawStrip(int filled) override;
    void showButtons(const MediaBarButtons& b) override;
    void focusHidden() override;
    void passKey(int key, Qt::KeyboardModifiers mods) override;

Q_SIGNALS:
    // A key the bar does not use, for the main window's key map.
    void keyPassed(int key, Qt::KeyboardModifiers mods);

protected:
    void keyReleaseEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QToolButton* makeButton(const char* name, const QRect& r, bool checkable);

    MediaBar* m_bar = nullptr;
    QToolButton* m_start = nullptr;
    QToolButton* m_play = nullptr;
    QToolButton* m_pause = nullptr;
    QToolButton* m_noAudio = nullptr;
    QToolButton* m_expand = nullptr;
    QFrame* m_bevel = nullptr;
    MediaStrip* m_strip = nullptr;
    QSlider* m_index = nullptr;
    QPushButton* m_hideFocus = nullptr;
    QTimer m_tick;
};

}  // namespace ziro
