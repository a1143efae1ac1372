#pragma once

#include <QGraphicsView>
#include <QPointer>

class QGraphicsProxyWidget;

class QScreen;

namespace ziro {

// Shows the program's 640 x 480 main window (a top-level widget without a
// parent). With `fill`, the window is presented filling the primary screen:
// drawn uniformly scaled to the largest 4:3 area that fits, centred on black,
// by a PresentationHost, instead of changing the user's display mode. Without
// it the window keeps its own size: centred on a screen taller than 480
// lines, full screen at the top-left corner of a smaller one. Calling it again
// with `fill` reuses the host already made.
void presentMain(QWidget* main, bool fill);

// The top-level window that carries `main` on the screen: its host when the
// presentation fills the screen, else `main` itself.
QWidget* presentationWindow(QWidget* main);

// Brings the presentation to the front (a second start of the program asks
// for it) without leaving full screen.
void bringPresentationForward(QWidget* main);

// A full-screen, frameless, black window that carries one 640 x 480 widget
// through a graphics proxy and draws it scaled by min(W / 640, H / 480),
// centred. Everything inside is painted at the scaled size (text is laid out
// by the painter, pictures are sampled smoothly from their own pixels), and
// input comes back in the widget's own coordinates, so the program never
// knows it is scaled. Pop-ups of the widget (menus and their submenus, and
// any dialog parented to it) are embedded by Qt and scaled the same way;
// tool tips stay unscaled windows at the pointer.
//
// The host follows its widget: when the widget closes (its close query
// agreed) the host closes, when it is hidden or shown again so is the host.
// Closing the host (Alt+F4) asks the widget to close, and the host stays when
// the widget refuses. Destroying the widget destroys the host; destroying the
// host gives the widget back as a hidden top-level window.
class PresentationHost : public QGraphicsView {
    Q_OBJECT
public:
    explicit PresentationHost(QWidget* content);
    ~PresentationHost() override;

    // The host that carries `content`, if any.
    static PresentationHost* of(const QWidget* content);

    QWidget* content() const { return m_content; }
    QGraphicsProxyWidget* proxy() const { return m_proxy; }
    // The current scale factor of the content.
    double scaleFactor() const { return m_scale; }
    // Where the content lies, in the host's own coordinates.
    QRectF contentRect() const;

    // Shows the host full screen on the screen it is on (the primary one at
    // first), with the keyboard focus in the content. The host keeps filling
    // its screen when the screen changes size or the host moves to another
    // (a projector plugged in or taken away).
    void present();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fit();
    void followContent();
    void trackPopup(QGraphicsProxyWidget* popup);
    void placePopup(QGraphicsProxyWidget* popup);
    void followScreen();
    void watchScreen(QScreen* screen);

    QPointer<QWidget> m_content;
    QGraphicsProxyWidget* m_proxy = nullptr;
    double m_scale = 1.0;
    bool m_forwardingClose = false;  // the content's own close event is being delivered
    bool m_contentClosing = false;   // the content agreed to close: its hiding ends the host
    bool m_closing = false;          // the host's own close is running
    QPointer<QScreen> m_screen;      // the screen whose changes are followed
    QMetaObject::Connection m_screenWatch;
    bool m_followingScreen = false;
};

}  // namespace ziro
