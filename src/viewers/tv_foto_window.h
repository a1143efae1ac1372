#pragma once

#include "controls/overlay_widget.h"
#include "viewers/photo_viewer.h"

#include <optional>

class QAction;
class QFrame;
class QLabel;
class QMenu;

namespace ziro {

class PhotoAlbumView;
class TStretchHandle;

// The photo viewer over the lesson: the framed photograph with its caption
// and arrows, or the photograph enlarged to the whole lesson. What it does
// is PhotoViewer's; the window draws and forwards clicks and keys.
class TTVFoto : public OverlayWindow, public PhotoViewerPort {
    Q_OBJECT
public:
    explicit TTVFoto(QWidget* host);
    ~TTVFoto() override;

    void attach(PhotoViewer* logic) { m_logic = logic; }
    PhotoViewer* logic() const { return m_logic; }

    QFrame* frame() const { return m_bordo; }
    QWidget* album() const;
    QLabel* indicator() const { return m_spia; }
    QMenu* popupMenu() const { return m_popup; }

    // PhotoViewerPort
    QRect mainGeometry() const override;
    qreal deviceScale() const override;
    void showWindowSize(const QRect& window) override;
    void showEnlarged(const QRect& window) override;
    void hideWindow() override;
    void setPicture(const QImage& picture) override;
    void showCaption(const PhotoCaption* caption) override;
    void setIndicator(bool visible, bool stored) override;
    void setMenu(const PhotoMenu& menu) override;
    void beep() override;
    void takeFocus() override;
    void passKey(int key, Qt::KeyboardModifiers mods) override;
    void selectCaption(const std::optional<QRect>& box) override;
    void showRubberLine(const QLine& line) override;

    // The caption's place, under the handle while it is selected.
    QWidget* title() const { return m_title; }
    TStretchHandle* handle() const { return m_handle; }
    // The usable area's dashed frame, which the caption tool bar shows.
    void showSafeArea(bool shown);

Q_SIGNALS:
    void beepRequested();
    // A key the viewer does not use, for the main window's key map.
    void keyPassed(int key, Qt::KeyboardModifiers mods);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showAt(const QRect& window);
    void layoutWindowSize();
    void handleReleased();

    PhotoViewer* m_logic = nullptr;
    QFrame* m_bordo = nullptr;
    PhotoAlbumView* m_album = nullptr;
    QLabel* m_spia = nullptr;
    QWidget* m_title = nullptr;
    TStretchHandle* m_handle = nullptr;
    QMenu* m_popup = nullptr;
    QAction* m_pmt[4] = {};
};

}  // namespace ziro
