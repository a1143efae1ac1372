#pragma once

#include "controls/overlay_widget.h"
#include "viewers/book.h"

#include <QCursor>

class QScrollArea;

namespace ziro {

class BookPageView;

// The book page viewer over the lesson: the page in a scroll area that
// scrolls vertically only, with the red marker over it. What it does is
// BookViewer's; the window draws and forwards keys, the wheel and the mouse.
class TTVlibro : public OverlayWindow, public BookViewPort {
    Q_OBJECT
public:
    explicit TTVlibro(QWidget* host);

    void attach(BookViewer* logic) { m_logic = logic; }
    BookViewer* logic() const { return m_logic; }
    // The page cursor (CursoreMano) and the one shown while dragging.
    void setCursors(const QCursor& hand, const QCursor& grab);

    QScrollArea* scrollBox() const { return m_scroll; }
    QWidget* page() const;    // DisplayPagina
    QWidget* marker() const;  // Freccia
    const QImage& pagePicture() const;
    // Where the page picture lies in DisplayPagina.
    QRect pictureRect() const;

    // BookViewPort
    QRect mainGeometry() const override;
    QSize windowSize() const override { return size(); }
    void showWindow(const QPoint& topLeft) override;
    void hideWindow() override;
    bool windowVisible() const override { return isVisible(); }
    void setPage(const QImage& page) override;
    void setMarker(const std::optional<QRect>& box) override;
    int scrollPosition() const override;
    int scrollMaximum() const override;
    void setScrollPosition(int y) override;
    void setDragging(bool on) override;
    void takeFocus() override;
    void passKey(int key, Qt::KeyboardModifiers mods) override;

Q_SIGNALS:
    // A key the viewer does not use, for the main window's key map.
    void keyPassed(int key, Qt::KeyboardModifiers mods);
    void scrolled(int y);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    BookViewer* m_logic = nullptr;
    QScrollArea* m_scroll = nullptr;
    BookPageView* m_page = nullptr;
    QWidget* m_marker = nullptr;
    QCursor m_hand{Qt::PointingHandCursor};
    QCursor m_grab{Qt::ClosedHandCursor};
};

}  // namespace ziro
