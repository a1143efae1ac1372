#pragma once

#include "controls/big_bitmap.h"
#include "controls/overlay_widget.h"
#include "menus/vehicle_menu.h"

#include <QImage>

#include <memory>

class QLabel;
class QScrollArea;

namespace ziro {

struct Config;
class Reports;
class VehicleGridWidget;
class MenuTabStrip;

// The vehicle menu: the picture of 54 vehicles under their hot spots, nine
// category tabs, the name panel and the two buttons. The decisions are
// VehicleMenu's; this window draws them and turns pointer and keys into its
// calls.
class TMenuVcl : public OverlayWindow {
    Q_OBJECT
public:
    explicit TMenuVcl(QWidget* host);
    ~TMenuVcl() override;

    // Connects the menu to the program. Its picture (the file "Rarezid2" of
    // the program folder) is opened at the first showing; one that cannot be
    // opened is reported and the hot spots work over an empty area.
    void attach(Globals& g, Config& config, Reports& reporter, VehicleMenuHost& host);
    VehicleMenu* logic() const { return m_logic.get(); }

    // Shows the menu; `quick` is the right press's side trip.
    void showMenu(bool quick);
    void BtOKClick();
    void BtEsciClick();

    QScrollArea* scrollArea() const { return m_scroll; }
    VehicleGridWidget* grid() const { return m_grid; }
    MenuTabStrip* tabs() const { return m_tabs; }
    QString nameShown() const;
    QRect okButtonRect() const;
    QRect exitButtonRect() const;
    bool pictureLoaded() const;
    int scrollPosition() const;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void openPicture();
    void showSelection();
    void showName(const QString& name, bool selected);
    void scrollBy(int dy);

    std::unique_ptr<VehicleMenu> m_logic;
    std::unique_ptr<VehicleMenuHost> m_nullHost;
    std::unique_ptr<Globals> m_ownGlobals;
    Globals* m_g = nullptr;
    Config* m_config = nullptr;
    Reports* m_reporter = nullptr;
    bool m_pictureReported = false;
    BigBitmap m_bitmap;
    VehicleGridWidget* m_grid = nullptr;
    QScrollArea* m_scroll = nullptr;
    MenuTabStrip* m_tabs = nullptr;
    QLabel* m_caption = nullptr;
    QLabel* m_name = nullptr;
    QImage m_background;
    int m_hoverButton = 0;
};

}  // namespace ziro
