#pragma once

// The crossroads exercise apart from drawing: loading a crossroads and its
// animation, the frames shown under the mouse, the order the class gives
// (clicks or letter keys into five slots), its check against the correct
// orders, the stretch of animation that answers it, the demonstration and
// the programming of the vehicle areas.
//
// The animation is reached through CrossPlayer, the window through
// CrossView; both bases do nothing, so the rules are tested without either.

#include "crossroads/cross_data.h"

#include <QPoint>
#include <QString>

#include <array>
#include <optional>

namespace ziro {

struct Globals;
class Reports;

namespace cross {

// The animation as the exercise drives it, in frame numbers.
class CrossPlayer {
public:
    virtual ~CrossPlayer() = default;
    // Opens the (possibly masked) animation paused; false with `error` set.
    virtual bool open(const QString& path, QString* error)
    {
        Q_UNUSED(path);
        if (error)
            *error = QStringLiteral("no player");
        return false;
    }
    virtual void close() {}
    virtual bool loaded() const { return false; }
    virtual int frameCount() const { return 0; }
    // The frame on show (or the one last asked for).
    virtual int position() const { return 0; }
    virtual bool playing() const { return false; }
    // Shows exactly frame `frame`, paused.
    virtual void showFrame(int frame) { Q_UNUSED(frame); }
    // Plays frames `from` to `to` and stops on `to`; the exercise's
    // segmentEnded() is called when `to` is on show.
    virtual void play(int from, int to)
    {
        Q_UNUSED(from);
        Q_UNUSED(to);
    }
    virtual void pause() {}
    // Plays on from the position up to `to`, with the same end notice.
    virtual void resume(int to) { Q_UNUSED(to); }
};

// The window as the exercise sees it.
class CrossView {
public:
    virtual ~CrossView() = default;
    virtual void beep() {}
    // Slot 1..5: the letter and the picture of its colour letter, or the
    // grey "wrong" picture and a grey number.
    virtual void showSlot(int slot, QChar letter, QChar colour, bool grey)
    {
        Q_UNUSED(slot);
        Q_UNUSED(letter);
        Q_UNUSED(colour);
        Q_UNUSED(grey);
    }
    virtual void clearSlots() {}
    // "completare la sequenza" and its arrow.
    virtual void showHint(bool shown) { Q_UNUSED(shown); }
    virtual void hideJump() {}
    // The record changed: the hot spots, the number, the emergency switch.
    virtual void recordChanged() {}
    // The area being programmed, or an empty rectangle to hide it.
    virtual void showProgrammedArea(const QRect& area) { Q_UNUSED(area); }
    // Waits `ms` while the window's events go on being handled.
    virtual void wait(int ms) { Q_UNUSED(ms); }
    // The pop-up menu of the main window is disabled while areas are set.
    virtual void setMainMenuEnabled(bool enabled) { Q_UNUSED(enabled); }
};

// The check of an order.
enum class Verdict { Wrong = 0, Correct = 1, Alternative = 2 };

class CrossSession {
public:
    CrossSession(const Globals& g, Reports& reports, CrossPlayer& player, CrossView& view);

    // --- loading
    // Loads crossroads `number` (a sign number) from the table in the
    // program folder. False, with the report made, when the table has no
    // such crossroads: the window is then not shown. A missing animation is
    // reported and the crossroads still loads.
    bool load(const QString& number);
    void close();
    bool isLoaded() const { return m_record.has_value(); }
    const CrossRecord* record() const { return m_record ? &*m_record : nullptr; }
    // The number on show after renumbering ("600" for 649), and its first
    // three characters as displayed.
    QString number() const { return m_number; }
    QString displayNumber() const { return m_number.left(3); }
    int vehicles() const { return m_record ? m_record->vehicles() : 0; }
    int emergency() const { return m_emergency; }
    // The siren switched: loads the other record of the same crossroads.
    bool switchEmergency();
    // The film's path as looked for, and whether it opened.
    QString filmPath() const { return m_filmPath; }

    // --- entries and answers
    void clickHotSpot(int vehicle);
    void letterKey(QChar key);
    // A press on the picture or the window, or Enter.
    void evaluate();
    // The mouse pressed and released on the picture: the hint that the
    // last vehicle is missing from a correct beginning.
    void pressPicture();
    void releasePicture();
    void reset();
    // Double click or Delete: the animation back to its start, then reset.
    void userReset();
    // The player reached the end of what it was asked to play.
    void segmentEnded();

    // --- the mouse over the animation
    void hoverHotSpot(int vehicle);  // 0: over the picture, no vehicle
    void rightPressHotSpot(int vehicle);

    // --- demonstration; false when one runs already or nothing is loaded
    bool demonstrate();
    bool demonstrating() const { return m_demo; }

    // --- area programming (debug mode only)
    void setProgramming(int area);  // 1..5 while F1..F5 is held, 0 on release
    int programming() const { return m_prg; }
    // A press on the panel while an area is programmed.
    void programPress(Qt::MouseButton button, QPoint at);
    bool areasChanged() const { return m_areasChanged; }

    // --- state, for the window and the tests
    QString entered() const;  // R: the letters entered so far
    int nextEntry() const { return m_setSeq; }
    int vPass() const { return m_vPass; }
    int expectedEntries() const;  // E
    bool waiting() const { return m_waiting; }
    Verdict check() const;
    int lastEnd() const { return m_lastEnd; }

private:
    bool enter(int vehicle);
    bool mayEnter(int vehicle) const;
    void showEntry();
    void computeVPass();
    void playResult(Verdict c);
    void displayCross();
    void singleAnswer();
    void toggleAtResult();
    bool playSegment(Segment s);
    void fillEmergencyOrder();
    void writeAreas();
    int frames() const;
    int b1() const;

    const Globals& m_g;
    Reports& m_reports;
    CrossPlayer& m_player;
    CrossView& m_view;

    std::optional<CrossRecord> m_record;
    QString m_number;
    QString m_filmPath;
    int m_emergency = 0;

    std::array<QChar, kVehicles + 1> m_seqIn{};
    std::array<QChar, kVehicles + 1> m_clrIn{};
    std::array<bool, kVehicles + 1> m_entered{};
    int m_setSeq = 1;
    int m_vPass = 0;
    bool m_waiting = true;
    bool m_demo = false;
    int m_prg = 0;
    int m_lastEnd = 0;
    bool m_areasChanged = false;
    bool m_hint = false;
    int m_tableNumber = 0;
};

}  // namespace cross
}  // namespace ziro
