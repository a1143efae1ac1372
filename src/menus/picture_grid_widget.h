#pragma once

// The two pieces the picture menus share: the tall picture with its hot
// spots (one widget hit-tested arithmetically, never one widget per icon)
// and the strip of category tabs drawn by the program.

#include <QColor>
#include <QImage>
#include <QStringList>
#include <QWidget>

#include <optional>
#include <vector>

namespace ziro {

class PictureGridWidget : public QWidget {
    Q_OBJECT
public:
    explicit PictureGridWidget(QSize size, QWidget* parent = nullptr);

    // A null picture leaves the area empty; the hot spots work all the same.
    void setPicture(const QImage& picture);
    const QImage& picture() const { return m_picture; }
    // The hot spot the frame lies over; 0 hides it.
    void setSelected(int hotspot);
    int selected() const { return m_selected; }
    void setSelectorColour(const QColor& colour);

    virtual int hotspotAt(QPoint p) const = 0;
    virtual QRect selectorRect(int hotspot) const = 0;

Q_SIGNALS:
    void hovered(int hotspot);
    void clicked(int hotspot);
    // A press on the selection frame: the selected icon is confirmed.
    void selectorPressed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QImage m_picture;
    int m_selected = 0;
    QColor m_colour = QColor(0, 0, 255);
};

class SignGridWidget : public PictureGridWidget {
    Q_OBJECT
public:
    explicit SignGridWidget(QWidget* parent = nullptr);
    int hotspotAt(QPoint p) const override;
    QRect selectorRect(int hotspot) const override;
};

class VehicleGridWidget : public PictureGridWidget {
    Q_OBJECT
public:
    explicit VehicleGridWidget(QWidget* parent = nullptr);
    int hotspotAt(QPoint p) const override;
    QRect selectorRect(int hotspot) const override;
};

// A strip of picture tabs. Moving over it activates the tab under the
// pointer (by the menu's own rule); a left press reports the active tab.
class MenuTabStrip : public QWidget {
    Q_OBJECT
public:
    using TabFromX = std::optional<int> (*)(int x, int stripWidth);
    MenuTabStrip(std::vector<QImage> pictures, int tabWidth, int tabHeight, TabFromX rule,
                 QWidget* parent = nullptr);

    int activeTab() const { return m_active; }
    void setActiveTab(int tab);
    int count() const { return int(m_pictures.size()); }
    QRect tabRect(int tab) const;

Q_SIGNALS:
    void activeTabChanged(int tab);
    void tabPressed(int tab);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    std::vector<QImage> m_pictures;
    int m_tabWidth;
    int m_tabHeight;
    TabFromX m_rule;
    int m_active = 0;
};

// The look of the menus' own buttons and tab pictures, drawn here so the
// menus need no artwork files.
QImage signTabPicture(int category);
QImage vehicleTabPicture(int category);
void paintMenuButton(QPainter& p, const QRect& r, const QString& text, bool hover);

// The two buttons both picture menus paint at their foot: "OK" and "ESCI".
inline constexpr QRect kMenuOkRect(552, 420, 72, 46);
inline constexpr QRect kMenuExitRect(470, 420, 72, 46);
// Which of them lies under `pos`: 1 OK, 2 ESCI, 0 neither.
int menuButtonAt(const QPoint& pos);
// Both, with the one under the mouse (`hover`, as menuButtonAt) lit.
void paintMenuButtons(QPainter& p, int hover);
// A tool-tip event over the menu `menu`: the buttons' hints ("Conferma",
// "Uscita") where `hints` allows them, nothing elsewhere.
void showMenuButtonHint(QWidget* menu, const QPoint& pos, const QPoint& globalPos, bool hints);

}  // namespace ziro
