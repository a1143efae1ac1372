#pragma once

#include "controls/overlay_widget.h"
#include "crossroads/cross_session.h"

class QLabel;
class QLineEdit;
class QFrame;

namespace ziro {

class FilmBackend;

namespace cross {
class CrossFilm;
}

class CrossScreen;

// The crossroads exercise over the lesson: the animation in its panel with
// the vehicles' hot spots, the order entered on the left, the emergency
// switch and the crossroads number on the right. What it does is
// CrossSession's; the window draws and forwards the mouse and the keys.
class TTVcross : public OverlayWindow, public cross::CrossView {
    Q_OBJECT
public:
    explicit TTVcross(QWidget* host);
    ~TTVcross() override;

    // The exercise and the animation it plays; the animation's pictures
    // are painted in the panel.
    void attach(cross::CrossSession* session, cross::CrossFilm* film);
    cross::CrossSession* session() const { return m_session; }
    cross::CrossFilm* film() const { return m_film; }

    // Loads crossroads `number` and shows the window; false (reported) when
    // the table has no such crossroads.
    bool CaricaIncrocio(const QString& number);
    void CloseCross();
    // Forward again, on the start of what runs.
    void Refresh();
    bool CrossAutoplay();

    QWidget* screen() const;
    QLabel* slotLetter(int slot) const { return m_letters[slot - 1]; }
    QLabel* slotPicture(int slot) const { return m_pictures[slot - 1]; }
    QLabel* numberLabel() const { return m_number; }
    QLabel* hintLabel() const { return m_hint; }
    QLabel* orderLabel() const { return m_order; }
    QLabel* emergencyLabel() const { return m_emrText; }
    QLineEdit* jumpEdit() const { return m_jump; }
    // The picture of colour letter `colour` ("e" the grey one; "7", "8",
    // "9" the emergency icon off, on and under the mouse).
    static QPixmap vehiclePicture(QChar colour);

    // CrossView
    void beep() override;
    void showSlot(int slot, QChar letter, QChar colour, bool grey) override;
    void clearSlots() override;
    void showHint(bool shown) override;
    void hideJump() override;
    void recordChanged() override;
    void showProgrammedArea(const QRect& area) override;
    void wait(int ms) override;
    void setMainMenuEnabled(bool enabled) override;

Q_SIGNALS:
    void beepRequested();
    // A key the exercise does not use, for the main window's key map.
    void keyPassed(int key, Qt::KeyboardModifiers mods);
    // The sign number typed in the jump field.
    void jumpRequested(const QString& sign);
    void mainMenuEnabled(bool enabled);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class CrossScreen;
    void showEmergency();
    void switchEmergency();

    cross::CrossSession* m_session = nullptr;
    cross::CrossFilm* m_film = nullptr;
    CrossScreen* m_screen = nullptr;
    QFrame* m_shape = nullptr;
    QLabel* m_pictures[cross::kVehicles] = {};
    QLabel* m_letters[cross::kVehicles] = {};
    QLabel* m_emrIcon = nullptr;
    QLabel* m_emrText = nullptr;
    QLabel* m_number = nullptr;
    QLineEdit* m_jump = nullptr;
    QLabel* m_order = nullptr;
    QLabel* m_hint = nullptr;
    QLabel* m_hintArrow = nullptr;
    bool m_afterDouble = false;
};

}  // namespace ziro
