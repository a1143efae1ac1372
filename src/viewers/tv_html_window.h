#pragma once

#include "controls/overlay_widget.h"
#include "viewers/html_page.h"


class QMenu;
class QTextBrowser;

namespace ziro {

class HtmlBrowser;

// The HTML lesson page over the lesson: the page without scroll bars, a
// close zone at its top right, the lesson's topic pop-up on a right press,
// and the clickable pictures of the page's image maps. What any of it does
// is HtmlViewer's.
class TTVhtml : public OverlayWindow, public HtmlView {
    Q_OBJECT
public:
    explicit TTVhtml(QWidget* host);

    void attach(HtmlViewer* viewer) { m_viewer = viewer; }
    // PopUpArg of the main window.
    void setPopupMenu(QMenu* menu) { m_popup = menu; }

    QTextBrowser* browser() const;

    // HtmlView
    QRect mainGeometry() const override;
    void showPage(const QString& html, const QUrl& base, const QString& pageFolder) override;
    void scrollToAnchor(const QString& name) override;
    void showWindow(const QRect& geometry) override;
    void hideWindow() override;
    void takeFocus() override;

    // The href of the image-map area under `viewportPos`: nullopt when the
    // press is on no picture with a map, or on no area of it.
    std::optional<QString> mapAreaAt(QPoint viewportPos) const;

Q_SIGNALS:
    // A key the page does not use, for the main window's key map.
    void keyPassed(int key, Qt::KeyboardModifiers mods);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    bool mouseOnPage(QEvent* event);
    bool keyOnPage(QEvent* event);
    bool pressOnLesson(QObject* watched, QEvent* event) const;

    HtmlViewer* m_viewer = nullptr;
    HtmlBrowser* m_browser = nullptr;
    QMenu* m_popup = nullptr;
    // A left press taken by an image-map area: its release follows it.
    std::optional<QString> m_pressedArea;
};

}  // namespace ziro
