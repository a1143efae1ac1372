#pragma once

#include "controls/overlay_widget.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace ziro {

class CustomLessons;

// The custom lesson list: the lessons of the current lesson folder and the
// seven actions on them. The decisions are CustomLessons'; this window shows
// its list and forwards the clicks.
class TSelect : public OverlayWindow {
    Q_OBJECT
public:
    explicit TSelect(QWidget* host);

    void attach(CustomLessons* lessons) { m_lessons = lessons; }
    // Shows the window with the list read afresh.
    void showList();

    QListWidget* ListaDB = nullptr;
    QLabel* titolo = nullptr;
    QPushButton* SBNuova = nullptr;
    QPushButton* SBCopia = nullptr;
    QPushButton* SBModifica = nullptr;
    QPushButton* SBRinomina = nullptr;
    QPushButton* SBCancella = nullptr;
    QPushButton* SBOk = nullptr;
    QPushButton* SBAnnulla = nullptr;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void fill();
    void setButtons();
    void okClicked();
    void run(void (CustomLessons::*action)());

    CustomLessons* m_lessons = nullptr;
};

}  // namespace ziro
