#pragma once

#include <QApplication>
#include <QHash>
#include <QPointer>

#include <vector>

class QKeyEvent;

namespace ziro {

// Keys act on their release, and only in the window that received the press.
//
// The windows of the program act on the release of a key, the pop-up menus
// and several overlays on its press. Without a rule between them, a press
// that closes a pop-up leaves its release to whatever window is under it,
// which acts on it a second time (Esc closes the topic pop-up and opens the
// general menu). The gate sits where every event of the application passes
// and remembers, for each key held down, the window its press was delivered
// to: that window's release is let through, and the release of a press that
// another window took is dropped wherever it arrives. A window that closes
// on a press and means its key for the window it covered says so with
// passOn(). Auto-repeated keys pass untouched.
//
// "The window" of a widget is the innermost overlay window laid over the
// main window that holds it (or the modal overlay that takes its input), or
// else its top-level window: each pop-up menu and submenu is a window of its
// own. Widgets that only hand keys on (the scaled presentation's view and
// the platform windows) are not judged; the widgets they hand the keys to
// are.
class KeyGate {
public:
    // Whether `event`, about to be delivered to `receiver`, may go on.
    // Every key event the application delivers passes here once per
    // receiver, before any event filter; endDelivery() follows it.
    bool admit(QObject* receiver, QEvent* event);
    void endDelivery(QEvent* event);

    // The key being pressed now is meant for the window under the one that
    // took it (a report that closed on the press): its release acts wherever
    // it arrives, once.
    static void passOn(int key);

    // The window that owns the keys delivered to `w`.
    static QObject* keyOwner(QWidget* w);

private:
    struct Press {
        QPointer<QObject> owner;
        bool passedOn = false;
        const QEvent* pressEvent = nullptr;    // while its delivery runs
        const QEvent* releaseEvent = nullptr;  // while its delivery runs
    };
    bool inFlight(const QEvent* event) const;

    QHash<int, Press> m_pressed;
    std::vector<const QEvent*> m_inFlight;
};

// The program's application object: a QApplication whose key events go
// through the gate. The program and its widget tests run on it.
class GuiApplication : public QApplication {
public:
    GuiApplication(int& argc, char** argv);
    ~GuiApplication() override;

    bool notify(QObject* receiver, QEvent* event) override;

private:
    KeyGate m_gate;
};

}  // namespace ziro
