#pragma once

#include "controls/overlay_widget.h"
#include "diag/table_model.h"
#include "diag/reporter.h"

#include <functional>

class QEventLoop;
class QFrame;
class QLabel;
class QPushButton;
class QWidget;

class QTableView;

namespace ziro {

class DataTable;

struct Globals;

// The report window laid over the main window: reports, notices and yes/no
// questions, and in debug mode the diagnostic utility.
class TFError : public OverlayWindow, public ReportView {
    Q_OBJECT
public:
    enum class Mode { Hidden, Report, Notice, Confirmation, Debug };

    // Registers itself as the reporter's view.
    TFError(QWidget* mainWindow, Reporter& reporter, Globals& globals);
    ~TFError() override;

    // ReportView
    void beep() override;
    void showReport(const ReportLines& lines) override;
    bool askConfirmation(const ReportLines& lines) override;
    void showDebug(const QString& riga1, const QString& riga2) override;
    bool isVisible() const override { return QWidget::isVisible(); }

    Mode mode() const { return m_mode; }
    QString riga1() const;
    QString riga2() const;

    // Refreshes the record count line ("DataBase").
    void refreshCount();
    // Where the content table's grid goes.
    QFrame* gridHost() const { return m_grid; }
    QPushButton* fixPagesButton() const { return m_fixPages; }

    // Hooks into the rest of the program; unset ones do nothing.
    std::function<bool()> menuOrConfigVisible;  // general menu or configuration shown
    std::function<void(int key, Qt::KeyboardModifiers)> forwardKey;  // main window's key map
    std::function<void(const QString&)> showMessage;  // "Var. Glob." text; a message box by default
    // The grid shows this table (the main content table, or the lesson
    // editor's while that is on show).
    void setGridTable(DataTable* table);
    // A double click on a grid row: show that record (1-based position in
    // the grid's table) on the main window.
    std::function<void(int recNo)> showRecord;
    // The book viewer's page and scroll, shown on the position tool while
    // both windows are on show.
    void showBookPosition(const QString& page, int scroll);
    // The position was stored: the caption turns red for a moment.
    void flashBookPosition();
    std::function<void()> prepareGrid;     // each time the utility opens: bind the grid
    std::function<QString()> databaseInfo; // record count line (databaseInfoText)
    std::function<void()> filterOff;
    std::function<void()> filterDefault;
    std::function<bool()> bookViewerVisible;
    std::function<void()> fixPages;        // store the book position in the current record

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void enterMode(Mode mode, const QString& riga1, const QString& riga2, QSize size);
    void placeOverMain();
    bool closesOnUserInput() const { return m_mode == Mode::Report || m_mode == Mode::Notice; }
    void closeReport();
    void answer(bool ok);
    void okClicked();
    void onFocusChanged(QWidget* old, QWidget* now);

    Reporter& m_reporter;
    Globals& m_globals;
    Mode m_mode = Mode::Hidden;
    bool m_answer = false;
    QEventLoop* m_confirmLoop = nullptr;
    QObject* m_outsideClicks = nullptr;

    QLabel* m_title = nullptr;
    QLabel* m_riga1 = nullptr;
    QLabel* m_riga2 = nullptr;
    QLabel* m_image = nullptr;
    QLabel* m_animate = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_eski = nullptr;
    QFrame* m_grid = nullptr;
    QTableView* m_view = nullptr;
    DataTableModel* m_model = nullptr;
    QWidget* m_bottomBar = nullptr;
    QLabel* m_infoMsg2 = nullptr;
    QPushButton* m_fixPages = nullptr;
};

}  // namespace ziro
