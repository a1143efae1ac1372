#pragma once

// The previews of a record's photographs: a grid of up to thirty thumbnails,
// one per photograph field, and one more for the record's HTML page. A click
// opens the photograph in the photo viewer or the page in the HTML viewer.
//
// The grid is reused from record to record, so every slot is emptied before
// a record's thumbnails go in: a slot skipped by a gap between photograph
// fields never shows (or opens) a picture of an earlier record.

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <array>
#include <functional>
#include <optional>

namespace ziro {

class Reports;
struct Globals;

inline constexpr int kPreviewSlots = 30;
// Custom lessons carry fifteen photographs.
inline constexpr int kCustomLessonPhotos = 15;
inline constexpr QSize kPreviewThumbnail{80, 60};

// The grid's window for `thumbnails` thumbnails (1 to 30; others are
// clamped): six to a row, 96 x 72 pixels apart.
QSize previewWindowSize(int thumbnails);
// Where thumbnail `slot` (counted from 0) lies in the window.
QPoint previewSlotPosition(int slot);
// The grid's place over the main window: centred across, and centred down
// in the part above the main window's 70-pixel button bar.
QRect previewWindowGeometry(const QRect& main, QSize window);

// The record as the previews read it.
struct PreviewRecord {
    std::array<QString, kPreviewSlots> foto;  // Foto1 .. Foto30
    QString html;                             // Html1
};

// The grid window as the logic sees it. The null base shows nothing and
// loads nothing.
class PreviewPort {
public:
    virtual ~PreviewPort() = default;
    // Every thumbnail emptied.
    virtual void clearSlots() {}
    // Loads the picture at `path` into thumbnail `slot` (1-based); false when
    // the file is missing or is not a picture, and the slot is left empty.
    virtual bool loadSlot(int slot, const QString& path)
    {
        Q_UNUSED(slot);
        Q_UNUSED(path);
        return false;
    }
    virtual void setGridSize(QSize size) { Q_UNUSED(size); }
    virtual void closeGrid() {}
    virtual void beep() {}
    // The photo viewer on photograph `photo` of the record.
    virtual void openPhoto(int photo) { Q_UNUSED(photo); }
    virtual void openHtml(const QString& page) { Q_UNUSED(page); }
    // A key the grid does not use, for the main window's key map.
    virtual void passKey(int key, Qt::KeyboardModifiers mods)
    {
        Q_UNUSED(key);
        Q_UNUSED(mods);
    }
};

class PhotoPreviews {
public:
    // The file of a photograph field's value, or nullopt when the value
    // cannot name a file.
    using PhotoPath = std::function<std::optional<QString>(const QString& value)>;

    PhotoPreviews(Globals& g, Reports& reports, PreviewPort& port, PhotoPath photoPath);

    // Fills the grid for `record` and sets NumeroFoto; FotoCorrente goes
    // back to 0.
    void PreparaAnteprime(const PreviewRecord& record);
    // A click on thumbnail `slot` (1-based).
    void PreviewClick(int slot);
    // A key released in the grid: Esc closes it; any other goes on to the
    // main window.
    void FormKey(int key, Qt::KeyboardModifiers mods);

    // How many thumbnails the grid holds (photographs up to the last one,
    // plus the page), and the page's slot (0: none).
    int thumbnails() const { return m_thumbnails; }
    int pageSlot() const { return m_pageSlot; }

private:
    void CaricaAnteprima(int n);

    Globals& m_g;
    Reports& m_reports;
    PreviewPort& m_port;
    PhotoPath m_photoPath;
    PreviewRecord m_record;
    int m_thumbnails = 0;
    int m_pageSlot = 0;
};

}  // namespace ziro
