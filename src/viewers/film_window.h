#pragma once

#include "controls/overlay_widget.h"
#include "viewers/film_window_logic.h"

#include <QPointer>
#include <QTimer>

#include <array>

class QFrame;

namespace ziro {

class Dialogs;
class FilmBackend;
class FilmSurfaceWidget;
class SystemServices;

// A film window laid over the lesson: a white form with a framed black
// picture (`Schermo`) and four masks over the picture's edges. What it does
// is FilmWindowLogic's; the window draws, places itself and forwards its
// clicks, keys and timers.
class FilmWindow : public OverlayWindow, public FilmWindowPort {
    Q_OBJECT
public:
    FilmWindow(QWidget* host, const QString& className, SystemServices& system, Dialogs& dialogs);
    ~FilmWindow() override;

    // The logic and the engine whose pictures the window paints (both
    // outlive the window's use of them).
    void attach(FilmWindowLogic* logic, FilmBackend* backend);
    FilmWindowLogic* logic() const { return m_logic; }

    // Windows the film window looks at: the configuration window (a click
    // does not shrink the film while it is up) and the quiz (focused when
    // the film closes).
    void setConfigWindow(QWidget* w) { m_configWindow = w; }
    void setQuizWindow(QWidget* w) { m_quizWindow = w; }

    FilmSurfaceWidget* screen() const { return m_screen; }
    QFrame* mask(int i) const { return m_masks[size_t(i)]; }

    // FilmWindowPort
    void placeWindow(const QRect& r) override;
    void showWindow() override;
    void hideWindow() override;
    void placeScreen(const QRect& r) override;
    void placeMasks(const FilmMasks& m) override;
    void takeFocus() override;
    void beep(int hertz, int ms) override;
    void message(const QString& text) override;
    void startEndCheck() override;
    void stopEndCheck() override;
    void singleShot(int ms) override;
    void passKey(int key, Qt::KeyboardModifiers mods) override;
    bool configWindowVisible() const override;
    void focusQuizIfVisible() override;
    void toggleFullScreen() override;

Q_SIGNALS:
    // A key the film does not use, for the main window's key map.
    void keyPassed(int key, Qt::KeyboardModifiers mods);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    SystemServices& m_system;
    Dialogs& m_dialogs;
    FilmWindowLogic* m_logic = nullptr;
    FilmBackend* m_backend = nullptr;
    QFrame* m_image = nullptr;   // Image1: white behind the picture
    QFrame* m_panel = nullptr;   // Panel5: the frame around it
    FilmSurfaceWidget* m_screen = nullptr;  // Schermo
    std::array<QFrame*, 4> m_masks{};
    QTimer m_seekTimer;
    QPointer<QWidget> m_configWindow;
    QPointer<QWidget> m_quizWindow;
    bool m_pressedOnScreen = false;
    bool m_pressedOnForm = false;
};

}  // namespace ziro
