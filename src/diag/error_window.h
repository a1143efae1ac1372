#pragma once

#include "controls/overlay_widget.h"
#include "diag/reporter.h"
#include "diag/table_model.h"

#include <QPointer>

class QEventLoop;
class QFrame;
class QLabel;
class QPushButton;
class QWidget;

class QTableView;

namespace ziro {

class DataTable;
class Dialogs;
struct Globals;

// What the report window asks of the rest of the program. Until a host is
// plugged in, it answers as when nothing else is on show.
class ReportHost {
public:
    virtual ~ReportHost() = default;
    // The general menu or the configuration window is on show: reports sit
    // a little higher.
    virtual bool menuOrConfigVisible() const { return false; }
    // The book viewer is on show: the utility offers its position tool.
    virtual bool bookViewerVisible() const { return false; }
    // The record count line of the utility's "DataBase" button.
    virtual QString databaseInfo() const { return {}; }
};

// The report window laid over the main window: reports, notices and yes/no
// questions, and in debug mode the diagnostic utility.
class TFError : public OverlayWindow, public ReportView {
    Q_OBJECT
public:
    enum class Mode { Hidden, Report, Notice, Confirmation, Debug };

    // Registers itself as the reporter's view. `dialogs` shows the global
    // state dump; `host` answers the questions above.
    TFError(QWidget* mainWindow, Reporter& reporter, Globals& globals, Dialogs& dialogs,
            ReportHost& host);
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

    // The grid shows this table (the main content table, or the lesson
    // editor's while that is on show).
    void setGridTable(DataTable* table);
    // The book viewer's page and scroll, shown on the position tool while
    // both windows are on show.
    void showBookPosition(const QString& page, int scroll);
    // The book viewer opened or closed: the position tool comes and goes
    // with it while the utility is on show.
    void showBookTool(bool shown);
    // The position was stored: the caption turns red for a moment.
    void flashBookPosition();

Q_SIGNALS:
    // The utility's buttons: "Filtro OFF", "Filtro DEF".
    void filterOffRequested();
    void filterDefaultRequested();
    // A double click on a grid row: show that record (1-based position in
    // the grid's table) on the main window.
    void recordChosen(int recNo);
    // The position tool (its button, or F12): store the book position in
    // the current record.
    void bookPositionRequested();

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
    Dialogs& m_dialogs;
    ReportHost& m_host;
    // Where the keyboard was before a report took it: it goes back there, so
    // the key that closed the report acts on that window once, on release.
    QPointer<QWidget> m_focusBefore;
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
    // The last book position the viewer said, for the tool's caption.
    QString m_bookPage;
    int m_bookScroll = 0;
};

}  // namespace ziro
