#pragma once

#include <QImage>
#include <QPoint>
#include <QSize>

#include <array>

namespace ziro {

// The picture a TautoButton shows, numbered as the pictures are numbered.
enum AutoButtonFrame : int {
    FrameUp = 1,       // at rest
    FrameDown = 2,     // pressed
    FrameAlt = 3,      // at rest while highlighted
    FrameMask = 4,     // never shown: the shape mask
    FrameLocking = 5,  // pressed in lock mode
    FrameLocked = 6,   // locked down (also the "disabled" look)
    FrameSpare = 7,    // on demand
};

// Whether (x, y) in button coordinates belongs to the button's shape: never
// outside the button's rectangle; everywhere inside it without a mask;
// otherwise where the mask pixel is not black. A point inside the button but
// beyond a smaller mask is not part of the shape, so painting and hit testing
// follow one rule.
bool autoButtonShapeAt(const QImage& mask, QSize buttonSize, QPoint p);

// What a call on AutoButtonState asks of its owner. Events are listed in the
// order they fire: the lock notification before the click.
struct AutoButtonEffects {
    bool repaint = false;
    bool resized = false;
    bool locked = false;
    bool unlocked = false;
    bool clicked = false;
    bool shapeChanged = false;  // mask or size changed: the input region must follow
};

// The image button without a display: its pictures, size and the
// press/move/release state machine. The widget feeds it mouse positions and
// carries out the effects it returns.
class AutoButtonState {
public:
    static constexpr int kDefaultWidth = 70;
    static constexpr int kDefaultHeight = 45;

    AutoButtonState();

    // --- pictures (each setter keeps its own copy) ---
    const QImage& picture(int frame) const;  // frames 1..7; an empty image otherwise
    AutoButtonEffects setBitMapUp(const QImage& img);
    AutoButtonEffects setBitMapDown(const QImage& img);
    AutoButtonEffects setBitMapAlt(const QImage& img);
    AutoButtonEffects setBitMapMask(const QImage& img);
    AutoButtonEffects setBitMapLocking(const QImage& img);
    AutoButtonEffects setBitMapLocked(const QImage& img);
    AutoButtonEffects setBitMapSpare(const QImage& img);

    // --- state ---
    int frame() const { return m_frame; }
    bool mouseButtonDown() const { return m_mouseButtonDown; }
    bool autoSize() const { return m_autoSize; }
    void setAutoSize(bool on) { m_autoSize = on; }
    bool displayAlt() const { return m_displayAlt; }
    AutoButtonEffects setDisplayAlt(bool on);
    bool lockMode() const { return m_toggleMode; }
    void setLockMode(bool on) { m_toggleMode = on; }
    bool lockedDown() const { return m_lockedDown; }

    QSize size() const { return m_size; }
    // The owner was resized from outside (geometry set by its window).
    AutoButtonEffects setSize(QSize size);

    AutoButtonEffects lockButton();
    AutoButtonEffects unLockButton();
    AutoButtonEffects displaySpare();

    // The greyed, inert look of a button whose action is not available now:
    // shows the locked picture (a greyed copy of the up picture when there is
    // none), refuses the highlight and ignores the mouse. Switching it off
    // shows the button released again.
    AutoButtonEffects setDisabledLook(bool on);
    bool isDisabledLook() const { return m_disabledLook; }

    // The pressed animation of an action run by key or click: highlight off,
    // the picture shown now kept as the spare picture, the pressed picture
    // shown. showReleased() returns to the resting picture.
    AutoButtonEffects showPressed();
    AutoButtonEffects showReleased();

    // --- mouse, left button, positions in button coordinates ---
    bool hitTest(QPoint p) const { return autoButtonShapeAt(picture(FrameMask), m_size, p); }
    AutoButtonEffects press(QPoint p);
    AutoButtonEffects move(QPoint p);
    AutoButtonEffects release(QPoint p);

    // --- painting ---
    // The picture of the current frame; an unset picture falls back to the up
    // picture (greyed for the disabled look).
    QImage shownPicture() const;
    // What the button paints, at its top-left corner: the shown picture made
    // transparent outside the shape, and ANDed with the mask inside it (so a
    // black-and-white mask shows the picture unchanged). Cached until
    // something it depends on changes.
    const QImage& composed() const;

private:
    int restingFrame() const;
    AutoButtonEffects setFrame(int frame);
    void setPicture(int frame, const QImage& img);

    std::array<QImage, 8> m_pictures;  // index 0 unused
    int m_frame = FrameUp;
    bool m_mouseButtonDown = false;
    bool m_autoSize = true;
    bool m_displayAlt = false;
    bool m_toggleMode = false;
    bool m_lockedDown = false;
    bool m_disabledLook = false;
    QSize m_size{kDefaultWidth, kDefaultHeight};
    mutable QImage m_composed;
    mutable bool m_composedValid = false;
};

}  // namespace ziro
