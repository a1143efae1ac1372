#pragma once

#include "controls/overlay_widget.h"
#include "viewers/photo_previews.h"

#include <array>

class QFrame;

namespace ziro {

class PhotoPreviews;
class TKXImage;

// The grid of a record's photograph previews over the lesson. What it does
// is PhotoPreviews'; the window shows the thumbnails, places itself and
// forwards clicks and keys.
class TFotoPreview : public OverlayWindow, public PreviewPort {
    Q_OBJECT
public:
    explicit TFotoPreview(QWidget* host);

    void attach(PhotoPreviews* logic) { m_logic = logic; }
    PhotoPreviews* logic() const { return m_logic; }

    // Thumbnail `slot`, 1-based: its bevel (what is clicked) and picture.
    QFrame* slotFrame(int slot) const { return m_slots[size_t(slot - 1)]; }
    TKXImage* slotImage(int slot) const { return m_images[size_t(slot - 1)]; }

    // PreviewPort
    void clearSlots() override;
    bool loadSlot(int slot, const QString& path) override;
    void setGridSize(QSize size) override;
    void closeGrid() override;
    void beep() override;
    void openPhoto(int photo) override;
    void openHtml(const QString& page) override;
    void passKey(int key, Qt::KeyboardModifiers mods) override;

Q_SIGNALS:
    void photoChosen(int photo);
    void pageChosen(const QString& page);
    void beepRequested();
    // A key the grid does not use, for the main window's key map.
    void keyPassed(int key, Qt::KeyboardModifiers mods);

protected:
    void keyReleaseEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    PhotoPreviews* m_logic = nullptr;
    std::array<QFrame*, kPreviewSlots> m_slots{};
    std::array<TKXImage*, kPreviewSlots> m_images{};
};

}  // namespace ziro
