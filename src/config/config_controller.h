#pragma once

// The logic of the configuration form, apart from its widgets: which key each
// control writes, how the controls pull each other along, which pages the
// form shows in its two modes, the reserved page's lock, its settings memo
// and its external modules. The window only mirrors `Config` and the page
// state after every call.

#include "config/settings.h"
#include "platform/files/text_codec.h"

#include <QByteArray>
#include <QColor>
#include <QString>

#include <array>
#include <optional>

namespace ziro {

class MachineStore;
struct Globals;

// What the form asks of the running program.
class ConfigPort {
public:
    virtual ~ConfigPort() = default;
    // The general menu shows signs only, questions only, or both.
    virtual void setViewMode(bool onlySigns, bool onlyQuestions)
    {
        Q_UNUSED(onlySigns);
        Q_UNUSED(onlyQuestions);
    }
    // An option the running program reads changed: hints, the selector
    // colour, the report switches.
    virtual void optionsChanged() {}
    // The settings were applied to the global state (VediConfig).
    virtual void settingsApplied() {}
    // The teacher accesses: the list (or its management when it lists no
    // teacher), or straight to its management. Both modal.
    virtual void openAccesses() {}
    virtual void manageAccesses() {}
    virtual void openQuizColours() {}
    virtual void restoreQuizColours() {}
    // The teacher access in use, as the access group shows it.
    virtual QString currentAccess() const { return {}; }
    virtual void beep() {}
};

enum class ConfigMode { Settings, LessonEditor };

// The pages, by their index in the page control.
enum class ConfigPage { Lesson = 0, Start = 1, Multimedia = 2, Reserved = 3, Info = 4 };
inline constexpr int kConfigPages = 5;

struct ConfigPages {
    ConfigMode mode = ConfigMode::Settings;
    std::array<bool, kConfigPages> tabVisible{false, true, true, true, true};
    ConfigPage active = ConfigPage::Start;
    // The caption of the second page follows the mode.
    QString startCaption;
    QString title;
    // A failed or cancelled unlock hides what the reserved page holds; it
    // shows again once the page is chosen.
    bool reservedContent = true;
};

// The two access words of the reserved page's lock. They keep a teacher from
// wandering into the reserved page by accident; they are no protection (the
// words are in the program and a hidden area gives the second one away), so
// nothing behind them may rely on them.
enum class AccessWord { Credits, Reserved, Wrong };
AccessWord checkAccessWord(const QString& typed);

// The display size code of the film players for a "Video size" text: 3 unless
// the text starts with a digit from 1 to 5.
int videoSizeOf(const QString& text);

// The items of the video size combo.
const std::array<QString, 5>& videoSizeItems();

// Whether a text may be saved as the settings file: it has an "[INI]"
// section (the fourth line of a file written on Windows, anywhere in one
// written here).
bool looksLikeSettings(const QString& text);

class ConfigController {
public:
    ConfigController(Globals& g, Config& cfg, Reports& reports, MachineStore& store,
                     ConfigPort& port, QString programVersion);

    Config& config() { return m_cfg; }
    const Config& config() const { return m_cfg; }
    const ConfigPages& pages() const { return m_pages; }

    // Modes and pages.
    void openSettings();
    void openLessonEditor();
    // Alt+I: the settings' first page, whatever the mode was.
    void openStartPage();
    void pageChosen(ConfigPage page);
    // Whether a double click on the credit panel opens the lock.
    bool lockAvailable() const { return m_pages.active != ConfigPage::Lesson; }
    // The lock's answer; the credits word also unlocks, after its show.
    void unlock(AccessWord word);
    void cancelUnlock();

    // A check box that writes its key, with what it pulls along.
    void setOption(SettingId id, bool on);
    // The debug group: not stored.
    enum class DebugSwitch { NoError, MDebug, Log, HideFotoError };
    void setDebugSwitch(DebugSwitch which, bool on);
    // Ctrl+Alt+D.
    void AttivaDebug();

    void setVideoSize(const QString& item);
    void setDelay(int delay);
    // The school name, once its edit is left.
    void setSchoolName(const QString& name);
    void setTopicRange(const QString& from, const QString& to);
    void setIconMenuPosition(int tag);
    // The colour dialog's answer: a colour is stored; a cancelled dialog
    // makes the selector blue for this run only.
    void chooseSelectorColour(std::optional<QColor> colour);
    // A typed folder is written as it stands.
    void setFolder(SettingId id, const QString& folder);
    // A folder from the chooser: refused (and reported) when it is not there.
    bool chooseFolder(SettingId id, const QString& folder);
    // The program and data roots; each must hold the "ziro" folder.
    bool chooseRoot(SettingId id, const QString& root);

    // OK outside the lesson page: reload the file and apply it.
    bool reloadAndApply();

    // The settings memo.
    enum class MemoSource { SettingsFile, OtherFile };
    MemoSource memoSource() const { return m_memoSource; }
    QString memoPath() const { return m_memoPath; }
    // The settings file as it is on disk now.
    QString loadMemo();
    // "&Load .INI": the file is read again and applied, then shown.
    QString reloadMemo();
    // "Load *.*": any text file; nullopt (reported) when it cannot be read.
    std::optional<QString> loadMemoFrom(const QString& path);
    // "&Save .INI": guard, questions, an atomic write, then the file is
    // reloaded and applied. Answers the memo to show afterwards (the file as
    // now read), or nullopt when nothing was written.
    std::optional<QString> saveMemo(const QString& text);
    // "Save *.*": the memo to any file, atomically; false (reported) when
    // it could not be written.
    bool saveMemoAs(const QString& text, const QString& path);

    // "Versione EXE": asks, aligns both stores and reloads.
    bool alignVersions();

    void manageAccesses() { m_port.manageAccesses(); }
    QString currentAccess() const { return m_port.currentAccess(); }
    void beep() { m_port.beep(); }
    // Where the folder choosers start.
    QString programRoot() const;

    // External modules of the program folder. The path to run, or nullopt
    // when it is missing (logged, as "non trovato").
    std::optional<QString> externalModule(const QString& fileName) const;
    void moduleFailedToStart(const QString& path);
    static QString setupModuleName() { return QStringLiteral("SETTA ZIRO.EXE"); }
    static QString photoImportModuleName() { return QStringLiteral("DEZEZODA.EXE"); }

private:
    void write(SettingId id);
    void setStartPages();
    QByteArray settingsBytes() const;
    QString settingsPath() const;

    Globals& m_g;
    Config& m_cfg;
    Reports& m_reports;
    MachineStore& m_store;
    ConfigPort& m_port;
    QString m_programVersion;
    ConfigPages m_pages;

    MemoSource m_memoSource = MemoSource::SettingsFile;
    QString m_memoPath;
    TextEncoding m_memoEncoding = TextEncoding::Windows1252;
    bool m_memoCrlf = true;
    // The settings file's bytes when the memo was filled, to notice a write
    // made meanwhile by the controls, the teacher accesses or another copy.
    std::optional<QByteArray> m_settingsAtMemo;
};

}  // namespace ziro
