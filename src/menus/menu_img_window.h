#pragma once

#include "controls/overlay_widget.h"
#include "menus/sign_menu.h"

#include <QImage>

#include <memory>

class QLabel;
class QLineEdit;
class QScrollArea;

namespace ziro {

struct Config;
class Reports;
class SignGridWidget;
class MenuTabStrip;

// The sign category menu: the tall picture of sign icons under its hot
// spots, fourteen category tabs, the sign number field and the two buttons.
// The decisions are SignMenu's; this window draws them and turns pointer,
// wheel and keys into its calls.
class TMenuImg : public OverlayWindow {
    Q_OBJECT
public:
    explicit TMenuImg(QWidget* host);
    ~TMenuImg() override;

    // Connects the menu to the program; until then it shows but confirms
    // nothing.
    void attach(Globals& g, Config& config, Reports& reporter, SignMenuHost& host);
    SignMenu* logic() const { return m_logic.get(); }

    // Loads the layout and picture of an edition (0..3) and refreshes the
    // quiz marks from the content file `contentFile`.
    void CaricaMenuIcone(int edition, const QString& contentFile);
    void IdentifyDaQuiz(int edition, const QString& contentFile);
    const QuestionFlags& questionFlags() const { return m_flags; }

    // Shows the menu over the main window. `currentSign` is what the
    // "current sign" start position aligns to.
    void showMenu(bool fromPopup, const QString& currentSign);
    // The typed jumps of other windows: select the number and confirm.
    void RicercaMain(const QString& number);
    void BtOKClick();
    void BtEsciClick();

    // For the tests and the walk: where things are.
    QLineEdit* numberField() const { return m_number; }
    QScrollArea* scrollArea() const { return m_scroll; }
    SignGridWidget* grid() const { return m_grid; }
    MenuTabStrip* tabs() const { return m_tabs; }
    int activeTab() const;
    QRect okButtonRect() const;
    QRect exitButtonRect() const;
    bool pictureLoaded() const;
    int scrollPosition() const;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void showSelection(bool scrollToBand);
    void showNumber(const QString& text, bool marked);
    void numberEntered();
    void hovered(int k);
    void clicked(int k);
    void tabPressed(int tab);
    void scrollTo(int y);
    void scrollBy(int dy);

    std::unique_ptr<SignMenu> m_logic;
    std::unique_ptr<SignMenuHost> m_nullHost;
    std::unique_ptr<Globals> m_ownGlobals;
    Globals* m_g = nullptr;
    Config* m_config = nullptr;
    Reports* m_reporter = nullptr;
    QuestionFlags m_flags;
    SignGridWidget* m_grid = nullptr;
    QScrollArea* m_scroll = nullptr;
    MenuTabStrip* m_tabs = nullptr;
    QLabel* m_caption = nullptr;
    QLineEdit* m_number = nullptr;
    QImage m_background;
    int m_hoverButton = 0;  // 1 OK, 2 exit
    bool m_fromPopup = false;
};

}  // namespace ziro
