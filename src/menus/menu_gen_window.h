#pragma once

#include "controls/overlay_widget.h"
#include "menus/general_menu.h"
#include "menus/menu_art.h"

#include <QImage>

#include <array>
#include <functional>
#include <memory>

class QLabel;
class QListWidget;

namespace ziro {

struct Config;
struct Globals;
class Reports;
class TautoButton;

// The general menu: edition, topic group, sub-topic and view mode, and the
// way to the custom lessons, the configuration and the print module. Laid
// over the whole main window; the decisions are GeneralMenu's, this window
// draws them and turns clicks and keys into its calls.
class TMenuGen : public OverlayWindow, private GeneralMenuView {
    Q_OBJECT
public:
    explicit TMenuGen(QWidget* host);
    ~TMenuGen() override;

    // Connects the menu to the program. `outside` answers everything beyond
    // the menu's own window (the main window, the viewers, the settings).
    // Until attached, the menu shows but does nothing. Attaching checks that
    // the edition's topic lists are installed and reports them missing.
    void attach(Globals& g, Config& config, Reports& reporter, GeneralMenuPort& outside);
    GeneralMenu* logic() const { return m_logic.get(); }

    // Shows the menu over the main window (activation included).
    void showMenu();
    // The OK action for a range chosen elsewhere (the topic pop-up).
    void TastoOK();
    // The pictures of the buttons for the current edition and view mode.
    void ChangeModoTasti();

    TautoButton* button(MenuButton b) const { return m_buttons[static_cast<size_t>(b)]; }
    TautoButton* groupButton(int tag) const;
    QWidget* groupPanel() const { return m_panel; }
    QLabel* groupHead() const { return m_head; }
    QListWidget* list() const { return m_list; }
    QLabel* filmIconAt(int k) const { return m_video[static_cast<size_t>(k)]; }
    QLabel* htmlIconAt(int k) const { return m_html[static_cast<size_t>(k)]; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // GeneralMenuView
    void closeMenu() override;
    void refreshMenu() override;
    void showFunctionPressed(MenuFunction f) override;

    // Runs one action of the menu unless another is still running (its
    // pressed look lets events through); false when dropped.
    bool run(const std::function<void(GeneralMenu&)>& action);
    void syncFocus();
    void buildButtons();
    void buildGroupArea();
    void highlightOnly(TautoButton* lit);
    void syncList();
    void syncIcons();
    void syncSelection();
    int topRow() const;

    std::unique_ptr<GeneralMenu> m_logic;
    GeneralMenuPort* m_outside = nullptr;
    Globals* m_g = nullptr;
    QImage m_background;
    std::array<TautoButton*, kMenuButtonCount> m_buttons{};
    std::array<TautoButton*, kGroupCount> m_groups{};
    std::array<QLabel*, kMenuListRows> m_video{};
    std::array<QLabel*, kMenuListRows> m_html{};
    QWidget* m_panel = nullptr;
    QLabel* m_head = nullptr;
    QListWidget* m_list = nullptr;
    // What the pictures were last drawn for, so that a refresh redraws only
    // what changed.
    QString m_artKey;
    int m_headGroup = -1;
    int m_artView = -1;
    int m_artPressed = -2;  // the edition shown pressed; -1 custom lessons
    bool m_syncing = false;
    bool m_busy = false;
};

}  // namespace ziro
