#pragma once

#include "controls/overlay_widget.h"

class QComboBox;
class QFrame;
class QLabel;
class QListWidget;
class QPushButton;

namespace ziro {

class AccessList;
class Reports;
class SystemServices;
class TInText;

// The teachers' accesses: the choice at start (a drop-down of names and OK)
// or their management (a list with insert, rename, delete and rebuild).
// The list and its rules are AccessList's.
class TAccessi : public OverlayWindow {
    Q_OBJECT
public:
    explicit TAccessi(QWidget* host);

    void attach(AccessList* list, TInText* names, Reports* reports, SystemServices* system);

    // true: management; false: the choice at start.
    void setAccessMode(bool management);
    bool accessMode() const { return m_management; }
    // Reloads the names into the combo and the list.
    void CaricaAccessi();
    // Modal; returns once OK has been pressed.
    void execChoice();

    QComboBox* CBXInsegnanti = nullptr;
    QListWidget* LBInsegnanti = nullptr;
    QLabel* InfoAccess = nullptr;
    QFrame* Bevel1 = nullptr;
    QPushButton* BtOK = nullptr;
    QPushButton* BTinserisci = nullptr;
    QPushButton* BTrinomina = nullptr;
    QPushButton* BTcancella = nullptr;
    QPushButton* BtRipristina = nullptr;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void okClicked();
    void insertClicked();
    void renameClicked();
    void deleteClicked();
    void rebuildClicked();
    void setButtons();
    int selectedRow() const;
    void selectRow(int row);
    QString askTeacher(const QString& title, const QString& prompt, const QString& initial, int exceptRow);

    AccessList* m_list = nullptr;
    TInText* m_names = nullptr;
    Reports* m_reports = nullptr;
    SystemServices* m_system = nullptr;
    bool m_management = false;
    bool m_chosen = false;
};

}  // namespace ziro
