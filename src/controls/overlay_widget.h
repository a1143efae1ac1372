#pragma once

#include <QFrame>
#include <QPointer>

class QEventLoop;

namespace ziro {

// A window of the program laid over the main window: a child widget at fixed
// coordinates of the host's 640 x 480 surface. It stays above its siblings and
// moves with the host, the same on X11, Wayland and the offscreen platform.
// Shown modally it runs a local event loop and swallows input aimed at
// anything outside itself, as a modal dialog would.
class OverlayWindow : public QFrame {
    Q_OBJECT
public:
    // `className` names the window as the rest of the program knows it
    // ("TMenuGen", "TQuiz"); it becomes the object name.
    OverlayWindow(QWidget* host, const QString& className, const QRect& geometry);
    ~OverlayWindow() override;

    // Shows the window and returns only once done() has been called.
    int execModal();
    void showModeless();
    // Ends a modal run with `result` (or just hides a modeless window).
    void done(int result);

    bool isModalRunning() const { return m_loop != nullptr; }
    int result() const { return m_result; }

    // The overlay that currently blocks input, if any.
    static OverlayWindow* activeModal();

Q_SIGNALS:
    void shown();
    void hidden();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QEventLoop* m_loop = nullptr;
    int m_result = 0;
    bool m_forwarding = false;  // a key is on its way to the focus
    // Where the keyboard was when the window came up.
    QPointer<QWidget> m_focusBefore;
};

}  // namespace ziro
