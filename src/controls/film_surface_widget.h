#pragma once

// The picture of a film. libmpv draws each picture into an image on its own
// thread; this plain widget paints the latest one, so films show inside the
// scaled presentation like any other widget and take mouse presses like one.

#include <QWidget>

namespace ziro {

class FilmBackend;

class FilmSurfaceWidget : public QWidget {
    Q_OBJECT
public:
    explicit FilmSurfaceWidget(QWidget* parent = nullptr);
    ~FilmSurfaceWidget() override;

    // Shows the pictures of `backend` (not owned; it must outlive the widget
    // or be replaced first, nullptr for none). The widget takes the
    // backend's onFrame notice and asks it for pictures of its own size in
    // device pixels, so they are painted without being scaled again.
    void setBackend(FilmBackend* backend);
    FilmBackend* backend() const { return m_backend; }

    // The size in device pixels the widget asks the backend for: its own
    // size times the scale it was last painted at (the presentation's scale
    // on the filled screen), or times the art scale before its first paint.
    QSize renderSize() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void askForSize();

    FilmBackend* m_backend = nullptr;
    // Device pixels per pixel of the last paint; 0 before the first.
    QSizeF m_paintScale;
};

}  // namespace ziro
