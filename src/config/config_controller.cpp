#include "config/config_controller.h"

#include "base/globals.h"
#include "config/colour_text.h"
#include "config/ini_file.h"
#include "config/machine_store.h"
#include "platform/files/atomic_save.h"
#include "platform/files/paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

namespace ziro {

namespace {

const QString kStartCaptionSettings = QStringLiteral(" Avvio e Menu ");
const QString kStartCaptionLesson = QStringLiteral(" Impostazioni ");
const QString kTitleSettings = QStringLiteral("Configurazione generale");
const QString kTitleLesson = QStringLiteral("Creazione lezioni personalizzate");

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// Reads a whole text file for the memo; a settings file never comes near the
// limit, and a larger file is not one the memo could show sensibly.
std::optional<QByteArray> readSmallFile(const QString& path)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || file.size() > IniFile::kMaxFileSize
        || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

// The memo shows lines ending in "\n"; a file written on Windows gets its
// "\r\n" back.
QByteArray memoBytes(const QString& text, TextEncoding encoding, bool crlf)
{
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (crlf)
        lines.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    if (encoding == TextEncoding::Windows1252) {
        bool lossless = true;
        QByteArray bytes = encodeWindows1252(lines, &lossless);
        if (lossless)
            return bytes;
    }
    return encodeText(lines, TextEncoding::Utf8);
}

}  // namespace

AccessWord checkAccessWord(const QString& typed)
{
    if (typed == QLatin1String("Dizov"))
        return AccessWord::Credits;
    if (typed.toLower() == QLatin1String("zu"))
        return AccessWord::Reserved;
    return AccessWord::Wrong;
}

int videoSizeOf(const QString& text)
{
    return videoSizeCode(text).value_or(3);
}

const std::array<QString, 5>& videoSizeItems()
{
    static const std::array<QString, 5> items{
        QStringLiteral("1 - Autosize"), QStringLiteral("2 - 320x240 (1/4)"),
        QStringLiteral("3 - 480x360 (default)"), QStringLiteral("4 - 352x288 (original)"),
        QStringLiteral("5 - Full screen")};
    return items;
}

bool looksLikeSettings(const QString& text)
{
    static const QRegularExpression header(QStringLiteral("^[ \\t]*\\[[ \\t]*INI[ \\t]*\\][ \\t]*\\r?$"),
                                           QRegularExpression::CaseInsensitiveOption
                                               | QRegularExpression::MultilineOption);
    return header.match(text).hasMatch();
}

ConfigController::ConfigController(Globals& g, Config& cfg, Reports& reports, MachineStore& store,
                                   ConfigPort& port, QString programVersion)
    : m_g(g), m_cfg(cfg), m_reports(reports), m_store(store), m_port(port),
      m_programVersion(std::move(programVersion))
{
    setStartPages();
}

void ConfigController::setStartPages()
{
    m_pages.mode = ConfigMode::Settings;
    m_pages.tabVisible = {false, true, true, true, true};
    m_pages.startCaption = kStartCaptionSettings;
    m_pages.title = kTitleSettings;
    m_pages.active = ConfigPage::Start;
}

void ConfigController::openSettings()
{
    setStartPages();
    m_pages.reservedContent = true;
}

void ConfigController::openLessonEditor()
{
    m_pages.mode = ConfigMode::LessonEditor;
    m_pages.tabVisible = {true, false, false, false, false};
    m_pages.startCaption = kStartCaptionLesson;
    m_pages.title = kTitleLesson;
    m_pages.active = ConfigPage::Lesson;
}

void ConfigController::openStartPage()
{
    pageChosen(ConfigPage::Start);
}

void ConfigController::pageChosen(ConfigPage page)
{
    // Moving to the settings from the lesson page leaves the editor's mode.
    if (page == ConfigPage::Start && m_pages.tabVisible[size_t(ConfigPage::Lesson)]) {
        setStartPages();
        return;
    }
    if (!m_pages.tabVisible[size_t(page)])
        return;
    m_pages.active = page;
    if (page == ConfigPage::Reserved)
        m_pages.reservedContent = true;
}

void ConfigController::unlock(AccessWord word)
{
    if (word == AccessWord::Wrong) {
        cancelUnlock();
        return;
    }
    setStartPages();
    m_pages.reservedContent = true;
    m_pages.active = ConfigPage::Reserved;
}

void ConfigController::cancelUnlock()
{
    m_pages.reservedContent = false;
    m_pages.active = ConfigPage::Start;
}

void ConfigController::write(SettingId id)
{
    Settings(m_g, m_reports).write(m_cfg, id);
}

void ConfigController::setOption(SettingId id, bool on)
{
    const SettingDef& def = settingDef(id);
    bool Config::* const* member = std::get_if<bool Config::*>(&def.member);
    if (!member)
        return;
    m_cfg.**member = on;

    switch (id) {
    case SettingId::CBonlySegn:
    case SettingId::CBonlyDom:
        // The two views exclude each other; both keys go together.
        if (on) {
            if (id == SettingId::CBonlySegn)
                m_cfg.CBonlyDom = false;
            else
                m_cfg.CBonlySegn = false;
        }
        m_port.setViewMode(m_cfg.CBonlySegn, m_cfg.CBonlyDom);
        Settings(m_g, m_reports).SaveSet(m_cfg);
        return;
    case SettingId::CBesame:
        // Mixed order goes with the questions-only view; either way the
        // signs-only view ends.
        write(id);
        m_cfg.CBonlyDom = on;
        m_cfg.CBonlySegn = false;
        m_port.setViewMode(m_cfg.CBonlySegn, m_cfg.CBonlyDom);
        Settings(m_g, m_reports).SaveSet(m_cfg);
        return;
    case SettingId::CBmono:
        write(id);
        if (!on && m_cfg.CB1Vuota) {
            m_cfg.CB1Vuota = false;
            write(SettingId::CB1Vuota);
        }
        return;
    case SettingId::CB1Vuota:
        write(id);
        if (on && !m_cfg.CBmono) {
            m_cfg.CBmono = true;
            write(SettingId::CBmono);
        }
        return;
    case SettingId::CB_Ripristino:
        write(id);
        m_g.RipristinaRisoluzione = on;
        return;
    case SettingId::CBAccessoMultiplo:
        write(id);
        if (on)
            m_port.openAccesses();
        return;
    case SettingId::CBhint:
        write(id);
        m_port.optionsChanged();
        return;
    case SettingId::CBQuizColor:
        write(id);
        if (on)
            m_port.openQuizColours();
        else
            m_port.restoreQuizColours();
        return;
    default:
        // CB_Autores and CBJumpMark2 only enable their follower, which the
        // form reads from Config.
        write(id);
        return;
    }
}

void ConfigController::setDebugSwitch(DebugSwitch which, bool on)
{
    switch (which) {
    case DebugSwitch::NoError:
        m_cfg.CBNoError = on;
        // Hidden errors still reach the log.
        if (on)
            m_cfg.CBlog = true;
        break;
    case DebugSwitch::MDebug:
        if (on) {
            AttivaDebug();
            return;
        }
        m_cfg.CBMDebug = false;
        m_g.ModoDebug = false;
        break;
    case DebugSwitch::Log:
        m_cfg.CBlog = on;
        break;
    case DebugSwitch::HideFotoError:
        m_cfg.CBHideFotoError = on;
        break;
    }
    m_port.optionsChanged();
}

void ConfigController::AttivaDebug()
{
    m_cfg.CBNoError = false;
    m_cfg.CBMDebug = true;
    m_g.ModoDebug = true;
    m_port.optionsChanged();
    m_reports.Emsg(ReportKind::Debug, QStringLiteral(" > Avvio"), QString());
}

void ConfigController::setVideoSize(const QString& item)
{
    m_cfg.VideoSize = item;
    m_g.VideoSize = videoSizeOf(item);
    write(SettingId::VideoSize);
}

void ConfigController::setDelay(int delay)
{
    m_cfg.ASdelay = std::clamp(delay, 1, 100);
    write(SettingId::ASdelay);
}

void ConfigController::setSchoolName(const QString& name)
{
    if (name == m_g.NomeAutoscuola)
        return;
    m_cfg.NomeAutoscuola = name;
    m_g.NomeAutoscuola = name;
    write(SettingId::NomeAutoscuola);
}

void ConfigController::setTopicRange(const QString& from, const QString& to)
{
    m_cfg.EFAda = from;
    m_cfg.EFAa = to;
    Settings(m_g, m_reports).write(m_cfg, {SettingId::EFAda, SettingId::EFAa});
}

void ConfigController::setIconMenuPosition(int tag)
{
    m_cfg.MenuIconeSetting = tag;
    write(SettingId::MenuIconeSetting);
}

void ConfigController::chooseSelectorColour(std::optional<QColor> colour)
{
    if (colour && colour->isValid()) {
        m_cfg.ColoreSelettore = *colour;
        m_g.ColoreSelettore = *colour;
        write(SettingId::ColoreSelettore);
    } else {
        m_g.ColoreSelettore = QColor(0, 0, 255);
    }
    m_port.optionsChanged();
}

void ConfigController::setFolder(SettingId id, const QString& folder)
{
    const SettingDef& def = settingDef(id);
    QString Config::* const* member = std::get_if<QString Config::*>(&def.member);
    if (!member || def.section != QLatin1String("Path"))
        return;
    m_cfg.**member = folder;
    write(id);
}

bool ConfigController::chooseFolder(SettingId id, const QString& folder)
{
    if (folder.isEmpty())
        return false;
    if (!QFileInfo(folder).isDir()) {
        m_reports.Emsg(ReportKind::FolderIo, QString::fromUtf8(kSettingsContext), shown(folder));
        return false;
    }
    setFolder(id, withSeparator(QDir::cleanPath(folder)));
    return true;
}

bool ConfigController::chooseRoot(SettingId id, const QString& root)
{
    if (id != SettingId::UnitaProgram && id != SettingId::UnitaDati)
        return false;
    if (root.isEmpty())
        return false;
    // The root holds the installation's "ziro" folder; a root without one
    // would move every folder of the program to nowhere.
    const QString clean = withSeparator(QDir::cleanPath(root));
    if (!QFileInfo(clean + QStringLiteral("ziro")).isDir()) {
        m_reports.Emsg(ReportKind::FolderIo, QString::fromUtf8(kSettingsContext),
                       shown(clean + QStringLiteral("ziro")));
        return false;
    }
    (id == SettingId::UnitaProgram ? m_cfg.UnitaProgram : m_cfg.UnitaDati) = clean;
    Settings(m_g, m_reports).write(m_cfg, {SettingId::UnitaProgram, SettingId::UnitaDati});
    return true;
}

bool ConfigController::reloadAndApply()
{
    if (!CaricaIni(m_g, m_cfg, m_reports, m_store, m_programVersion))
        return false;
    VediConfig(m_g, m_cfg);
    m_port.setViewMode(m_cfg.CBonlySegn, m_cfg.CBonlyDom);
    m_port.settingsApplied();
    return true;
}

QString ConfigController::settingsPath() const
{
    return m_g.FileIni.isEmpty() ? settingsFileFor(m_g.ProgramFile) : m_g.FileIni;
}

QByteArray ConfigController::settingsBytes() const
{
    return readSmallFile(settingsPath()).value_or(QByteArray());
}

QString ConfigController::loadMemo()
{
    const QByteArray bytes = settingsBytes();
    m_memoSource = MemoSource::SettingsFile;
    m_memoPath = settingsPath();
    m_settingsAtMemo = bytes;
    m_memoCrlf = bytes.isEmpty() || bytes.contains("\r\n");
    return decodeText(bytes, &m_memoEncoding);
}

QString ConfigController::reloadMemo()
{
    // The open file is dropped first, so nothing cached in memory outlives
    // what is on disk.
    m_g.IniFilePtr.reset();
    reloadAndApply();
    return loadMemo();
}

std::optional<QString> ConfigController::loadMemoFrom(const QString& path)
{
    const std::optional<QByteArray> bytes = readSmallFile(path);
    if (!bytes) {
        m_reports.Emsg(ReportKind::FileIo, QString::fromUtf8(kSettingsContext), shown(path));
        return std::nullopt;
    }
    m_memoSource = MemoSource::OtherFile;
    m_memoPath = path;
    m_settingsAtMemo = settingsBytes();
    m_memoCrlf = bytes->isEmpty() || bytes->contains("\r\n");
    return decodeText(*bytes, &m_memoEncoding);
}

std::optional<QString> ConfigController::saveMemo(const QString& text)
{
    const QString path = settingsPath();
    if (!looksLikeSettings(text)) {
        m_reports.Emsg(ReportKind::Message, QStringLiteral("Non è possibile salvare come .INI"),
                       QStringLiteral("il file visualizzato non è ") + shown(path));
        return std::nullopt;
    }
    const QByteArray now = settingsBytes();
    const bool changed = m_settingsAtMemo && *m_settingsAtMemo != now;
    const bool yes = changed
        ? m_reports.Conferma(QStringLiteral("Il file ") + shown(path)
                                 + QStringLiteral(" è cambiato dopo il caricamento."),
                             QStringLiteral("Vuoi sovrascriverlo comunque?"))
        : m_reports.Conferma(QStringLiteral("Vuoi sovrascrivere il file ") + shown(path),
                             QString());
    if (!yes) {
        VediConfig(m_g, m_cfg);
        m_port.settingsApplied();
        return std::nullopt;
    }
    if (!saveFileAtomically(path, memoBytes(text, m_memoEncoding, m_memoCrlf))) {
        m_reports.Emsg(ReportKind::FileIo, QString::fromUtf8(kSettingsContext), shown(path));
        return std::nullopt;
    }
    // The file in memory and the form take the memo's values; otherwise the
    // next control change would write the old ones back.
    return reloadMemo();
}

bool ConfigController::saveMemoAs(const QString& text, const QString& path)
{
    if (path.isEmpty())
        return false;
    if (!saveFileAtomically(path, memoBytes(text, m_memoEncoding, m_memoCrlf))) {
        m_reports.Emsg(ReportKind::FileIo, QString::fromUtf8(kSettingsContext), shown(path));
        return false;
    }
    return true;
}

bool ConfigController::alignVersions()
{
    if (!m_reports.Conferma(alignmentQuestion(m_programVersion), QString()))
        return false;
    const bool ok = AllineaVersione(m_g, m_reports, m_store, m_programVersion);
    reloadAndApply();
    return ok;
}

QString ConfigController::programRoot() const
{
    return m_g.dirs.DirUnitaProgramma.isEmpty() ? QDir::rootPath() : m_g.dirs.DirUnitaProgramma;
}

std::optional<QString> ConfigController::externalModule(const QString& fileName) const
{
    const QString path = resolveFile(m_g.dirs.DirProgram, fileName);
    if (path.isEmpty() || !QFileInfo(path).isFile()) {
        const QString wanted = path.isEmpty() ? m_g.dirs.DirProgram + fileName : path;
        m_reports.Emsg(ReportKind::LogOnly, QStringLiteral("Modulo esterno"),
                       shown(wanted) + QStringLiteral(" non trovato!"));
        return std::nullopt;
    }
    return path;
}

void ConfigController::moduleFailedToStart(const QString& path)
{
    m_reports.Emsg(ReportKind::MissingFile, QStringLiteral("modulo esterno"), shown(path));
}

}  // namespace ziro
