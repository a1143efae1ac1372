#pragma once

#include "config/config_controller.h"
#include "controls/overlay_widget.h"

#include <QPointer>

#include <map>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProcess;
class QPushButton;
class QSpinBox;
class QTabWidget;

namespace ziro {

class TPasswordDlg;

// Asked by the configuration form before it closes in lesson editor mode.
class LessonPagePort {
public:
    virtual ~LessonPagePort() = default;
    // False keeps the form open (the lesson could not be named or saved);
    // the editor reports why itself.
    virtual bool mayClose() = 0;
};

// "Configurazione": the settings of the program on four pages, and the page
// that hosts the lesson editor. Every control hands its change to the
// ConfigController at once and then shows what the controller's Config
// holds, so the links between controls live in one tested place.
//
// For the lesson editor, whose widgets live on a floor above:
//   setLessonPage(page)   puts the editor's page into " Lezioni personalizzate ";
//   setLessonPagePort(p)  is asked mayClose() before the form closes in that mode;
//   showLessonEditor()    opens the form with only that page;
//   lessonEditorClosed()  is emitted once the form has closed in that mode.
class TConfig : public OverlayWindow {
    Q_OBJECT
public:
    explicit TConfig(QWidget* host);
    ~TConfig() override;

    void attach(ConfigController* controller);
    ConfigController* controller() const { return m_c; }

    void setLessonPage(QWidget* page);
    void setLessonPagePort(LessonPagePort* port) { m_lessonPort = port; }

    // The general menu's "Configura".
    void showSettings();
    // Alt+I: the settings' first page.
    void showStartPage();
    void showLessonEditor();
    // The form shows Config and the page state again (after a change made
    // elsewhere, such as debug mode switched on from the main window).
    void refresh();

    // The pages and the controls, by their names.
    QTabWidget* PC = nullptr;
    QLabel* Panel2 = nullptr;
    QLabel* KeyIndex = nullptr;
    QPushButton* OK = nullptr;
    QCheckBox* check(SettingId id) const;
    QCheckBox* CBNoError = nullptr;
    QCheckBox* CBMDebug = nullptr;
    QCheckBox* CBlog = nullptr;
    QCheckBox* CBHideFotoError = nullptr;
    QCheckBox* CheckColorBox = nullptr;
    QCheckBox* CBfotoWizzard = nullptr;
    QCheckBox* CBnaviga = nullptr;
    QComboBox* CBVideoSize = nullptr;
    QSpinBox* ASdelay = nullptr;
    QLineEdit* ENA = nullptr;
    QLineEdit* EFAda = nullptr;
    QLineEdit* EFAa = nullptr;
    QLineEdit* DriveComboBox1 = nullptr;
    QLineEdit* DriveComboBox2 = nullptr;
    QLineEdit* EPvideo = nullptr;
    QLineEdit* EPfoto = nullptr;
    QLineEdit* EPaudio = nullptr;
    QLineEdit* EPvl = nullptr;
    QButtonGroup* iconMenuPosition = nullptr;
    QLabel* InfoLabel = nullptr;
    QLabel* InfoAccess = nullptr;
    QPushButton* BtGestAccess = nullptr;
    QGroupBox* GBini = nullptr;
    QPlainTextEdit* MemoIni = nullptr;
    QPushButton* SaveIni = nullptr;
    QPushButton* BTLoadIni = nullptr;
    QPushButton* BTLoadfile = nullptr;
    QPushButton* BTsalvaFile = nullptr;
    QPushButton* SetAul = nullptr;
    QLabel* PVersion = nullptr;
    QPushButton* BtAllineaVer = nullptr;
    QLabel* Ver1 = nullptr;
    QLabel* Ver4 = nullptr;
    TPasswordDlg* password() const { return m_password; }
    // The external module on its way, if any.
    QProcess* runningModule() const { return m_module; }

public Q_SLOTS:
    void OKClick();
    void Panel2DblClick();

Q_SIGNALS:
    void lessonEditorClosed();
    // The form was closed in settings mode.
    void settingsClosed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    QWidget* buildStartPage();
    QWidget* buildMediaPage();
    QWidget* buildReservedPage();
    QWidget* buildInfoPage();
    QCheckBox* option(QWidget* parent, const char* name, const QString& text, SettingId id);
    void showPages();
    void closeForm();
    void chooseFolderFor(QLineEdit* edit, SettingId id);
    void chooseRootFor(SettingId id);
    void loadMemo(const QString& text);
    void runModule(const QString& fileName, const QStringList& arguments, bool reloadAfter);
    void runCredits();
    void reveal(const QString& text, bool random);

    ConfigController* m_c = nullptr;
    LessonPagePort* m_lessonPort = nullptr;
    TPasswordDlg* m_password = nullptr;
    QWidget* m_lessonHolder = nullptr;
    QWidget* m_reservedContent = nullptr;
    std::map<SettingId, QCheckBox*> m_options;
    QProcess* m_module = nullptr;
    OverlayWindow* m_wait = nullptr;
    bool m_syncing = false;
};

}  // namespace ziro
