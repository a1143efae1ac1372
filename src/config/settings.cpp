#include "config/settings.h"

#include "base/globals.h"
#include "base/version.h"
#include "config/colour_text.h"
#include "config/ini_file.h"
#include "config/machine_store.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace ziro {

const char* const kSettingsContext = "Files di inizializzazione";

namespace {

const QString kInfo = QStringLiteral("Info");
const QString kVersione = QStringLiteral("Versione");
const QString kNoVersion = QStringLiteral("0.00");
const QString kNoVersionIni = QStringLiteral("0.00.0");
const QString kUnknownVersion = QStringLiteral("-.--.-");

QString context()
{
    return QString::fromUtf8(kSettingsContext);
}

std::vector<SettingDef> buildDefs()
{
    using Id = SettingId;
    using L = SettingDef::Load;
    std::vector<SettingDef> d;
    auto add = [&d](Id id, const QString& section, const QString& key, SettingMember member,
                    L load = L::Always, const QString& dataFolder = {}) {
        d.push_back(SettingDef{id, section, key, member, load, dataFolder});
    };

    const QString path = QStringLiteral("Path");
    add(Id::UnitaProgram, path, QStringLiteral("Unità Programma"), &Config::UnitaProgram);
    add(Id::UnitaDati, path, QStringLiteral("Unità Dati"), &Config::UnitaDati);
    add(Id::PathVideo, path, QStringLiteral("Path video"), &Config::PathVideo, L::Always,
        QStringLiteral("Video/"));
    add(Id::PathAudioAM, path, QStringLiteral("Path audio AM"), &Config::PathAudioAM, L::Always,
        QStringLiteral("Audio AM/"));
    add(Id::PathAudioAB, path, QStringLiteral("Path audio"), &Config::PathAudioAB, L::Always,
        QStringLiteral("Audio/"));
    add(Id::PathFoto, path, QStringLiteral("Path foto"), &Config::PathFoto, L::Always,
        QStringLiteral("Foto/"));
    add(Id::PathVL, path, QStringLiteral("Path VL"), &Config::PathVL);

    add(Id::NomeAutoscuola, QStringLiteral("Autoscuola"), QStringLiteral("Nome autoscuola"),
        &Config::NomeAutoscuola);

    const QString filtro = QStringLiteral("Filtro");
    add(Id::EFAda, filtro, QStringLiteral("Argomento avvio iniziale"), &Config::EFAda);
    add(Id::EFAa, filtro, QStringLiteral("Argomento avvio finale"), &Config::EFAa);

    const QString video = QStringLiteral("Video");
    add(Id::VideoSize, video, QStringLiteral("Video size"), &Config::VideoSize);
    add(Id::CBVautoOff, video, QStringLiteral("Auto off"), &Config::CBVautoOff);
    add(Id::CB_Autores, video, QStringLiteral("Auto res"), &Config::CB_Autores);
    add(Id::CB_Ripristino, video, QStringLiteral("Restore"), &Config::CB_Ripristino);

    const QString audio = QStringLiteral("Audio");
    add(Id::CBaudioOn, audio, QStringLiteral("Audio program"), &Config::CBaudioOn);
    add(Id::CBAudioFoto, audio, QStringLiteral("Audio foto"), &Config::CBAudioFoto);
    add(Id::Autoplay, audio, QStringLiteral("Autoplay"), &Config::Autoplay);
    add(Id::LngTxtAlign, audio, QStringLiteral("LngTxtAlign"), &Config::LngTxtAlign);
    add(Id::Linguaggio, audio, QStringLiteral("Linguaggio"), &Config::Linguaggio);

    const QString foto = QStringLiteral("Foto");
    add(Id::Cb_AutoText, foto, QStringLiteral("Auto text"), &Config::Cb_AutoText);
    add(Id::CBfotoFull, foto, QStringLiteral("Full screen"), &Config::CBfotoFull, L::Never);

    const QString quiz = QStringLiteral("Quiz");
    add(Id::CBautoscan, quiz, QStringLiteral("Autoscroll"), &Config::CBautoscan);
    add(Id::CBscanFalse, quiz, QStringLiteral("Auto false"), &Config::CBscanFalse);
    add(Id::ASdelay, quiz, QStringLiteral("Delay"), &Config::ASdelay);
    add(Id::CBmono, quiz, QStringLiteral("Solo una affermazione"), &Config::CBmono);
    add(Id::CB1Vuota, quiz, QStringLiteral("Prima vuota"), &Config::CB1Vuota);
    add(Id::CB_DidascaStart, quiz, QStringLiteral("Avvio didascalia"), &Config::CB_DidascaStart);
    add(Id::CB_DidascaColor, quiz, QStringLiteral("Colore didascalia"), &Config::CB_DidascaColor);
    add(Id::CBmischia, quiz, QStringLiteral("Mischia sempre"), &Config::CBmischia);
    add(Id::CBAvanza, quiz, QStringLiteral("Avanzamento"), &Config::CBAvanza);
    add(Id::CBQuizColor, quiz, QStringLiteral("Modifica colori"), &Config::CBQuizColor);
    add(Id::CBExEscluse, quiz, QStringLiteral("Esclusioni"), &Config::CBExEscluse);
    add(Id::Color1, quiz, QStringLiteral("Color1"), &Config::Color1, L::QuizColours);
    add(Id::Color2, quiz, QStringLiteral("Color2"), &Config::Color2, L::QuizColours);
    add(Id::Color3, quiz, QStringLiteral("Color3"), &Config::Color3, L::QuizColours);
    add(Id::Color4, quiz, QStringLiteral("Color4"), &Config::Color4, L::QuizColours);
    add(Id::Color5, quiz, QStringLiteral("Color5"), &Config::Color5, L::QuizColours);
    add(Id::Color6, quiz, QStringLiteral("Color6"), &Config::Color6, L::QuizColours);

    const QString set = QStringLiteral("Set");
    add(Id::CBVelarium, set, QStringLiteral("Funzioni VL"), &Config::CBVelarium);
    add(Id::CBonlySegn, set, QStringLiteral("Solo segnali"), &Config::CBonlySegn);
    add(Id::CBonlyDom, set, QStringLiteral("Solo domande"), &Config::CBonlyDom);
    add(Id::CBesame, set, QStringLiteral("Tipo esame"), &Config::CBesame);
    add(Id::CBicone, set, QStringLiteral("Conferma icone"), &Config::CBicone);
    add(Id::CBnoSsD, set, QStringLiteral("Ignora segnali senza domanda"), &Config::CBnoSsD);
    add(Id::CBNomeSegnali, set, QStringLiteral("Abilita nome segnali"), &Config::CBNomeSegnali);
    add(Id::CBJumpMark2, set, QStringLiteral("Recupero out"), &Config::CBJumpMark2);
    add(Id::CBSubArg, set, QStringLiteral("SubArg start"), &Config::CBSubArg);
    add(Id::CBAccessoMultiplo, set, QStringLiteral("Accesso multiplo"),
        &Config::CBAccessoMultiplo);

    const QString menu = QStringLiteral("Menu Icone");
    add(Id::MenuIconeSetting, menu, QStringLiteral("Setting"), &Config::MenuIconeSetting);
    add(Id::ColoreSelettore, menu, QStringLiteral("Colore"), &Config::ColoreSelettore);

    add(Id::CBhint, QStringLiteral("Hint"), QStringLiteral("Disabilitato"), &Config::CBhint);

    add(Id::VersioneINI, kInfo, kVersione, &Config::VersioneINI);

    const QString ini = QStringLiteral("INI");
    add(Id::NomeFile, ini, QStringLiteral("Nome file"), &Config::NomeFile, L::Never);
    add(Id::EditTitoloBlocco, ini, QStringLiteral("Edit titolo blocco"),
        &Config::EditTitoloBlocco);

    // settingDef() indexes the table by id.
    for (size_t i = 0; i < d.size(); ++i)
        Q_ASSERT(static_cast<size_t>(d[i].id) == i);
    return d;
}

const Config& defaults()
{
    static const Config c;
    return c;
}

// The data root ("ziro" under the data drive) as the folders will be
// computed from it.
QString dataRootOf(const QString& unitaDati, const QString& builtinRoot)
{
    const QString drive = unitaDati.trimmed().isEmpty() ? withSeparator(builtinRoot)
                                                        : mapStoredFolder(unitaDati, builtinRoot);
    return drive + QStringLiteral("ziro/");
}

bool isQuizColourText(const QString& text)
{
    return text.trimmed().compare(QLatin1String("default"), Qt::CaseInsensitive) == 0
        || colourFromText(text).has_value();
}

void logBadColour(Reports& reporter, const SettingDef& def, const QString& text,
                  const QString& outcome)
{
    reporter.Emsg(ReportKind::LogOnly,
                  QStringLiteral("Colore non leggibile: [") + def.section + QStringLiteral("] ")
                      + def.key + QLatin1Char('=') + text,
                  outcome);
}

void readSetting(const IniFile& ini, const SettingDef& def, Config& cfg, const QString& dataRoot,
                 Reports& reporter)
{
    std::visit(
        [&](auto member) {
            using T = std::remove_reference_t<decltype(cfg.*member)>;
            const T& fallback = defaults().*member;
            if constexpr (std::is_same_v<T, QString>) {
                cfg.*member = ini.readString(def.section, def.key,
                                             def.dataFolder.isEmpty() ? fallback
                                                                      : dataRoot + def.dataFolder);
            } else if constexpr (std::is_same_v<T, bool>) {
                cfg.*member = ini.readBool(def.section, def.key, fallback);
            } else if constexpr (std::is_same_v<T, int>) {
                cfg.*member = ini.readInteger(def.section, def.key, fallback);
            } else {
                const QString text = ini.readString(def.section, def.key).trimmed();
                if (text.isEmpty()) {
                    cfg.*member = fallback;
                } else if (const auto colour = colourFromText(text)) {
                    cfg.*member = *colour;
                } else {
                    cfg.*member = fallback;
                    logBadColour(reporter, def, text,
                                 QStringLiteral("Usato il colore predefinito ")
                                     + colourToText(fallback));
                }
            }
        },
        def.member);
}

bool reportWrite(Reports& reporter, const IniFile& ini, bool ok)
{
    if (!ok)
        reporter.Emsg(ReportKind::FileIo, context(), QDir::toNativeSeparators(ini.path()));
    return ok;
}

void reconcileVersions(IniFile& ini, Config& cfg, Reports& reporter, MachineStore& store,
                       const QString& programVersion)
{
    QString version;
    QString storeText;
    if (const auto stored = store.readVersion()) {
        version = *stored;
        storeText = *stored;
    } else {
        version = kNoVersion;
        storeText = kUnknownVersion;
        reporter.Emsg(ReportKind::LogOnly, QStringLiteral("Registry: "),
                      QStringLiteral("Non è possibile accedere alla versione"));
    }
    cfg.PVersion = QStringLiteral("    Versioni:   REG [") + storeText
        + QStringLiteral("]   -   INI [") + cfg.VersioneINI + QStringLiteral("]   -   EXE [")
        + programVersion + QLatin1Char(']');

    if (version == kNoVersion || version.isEmpty()) {
        version = ini.readString(kInfo, kVersione, kNoVersionIni);
        reporter.Emsg(ReportKind::LogOnly, QStringLiteral("Registry vuoto "),
                      QStringLiteral("Versione estratta da file INI"));
        if (version == kNoVersionIni || version.isEmpty()) {
            reportWrite(reporter, ini, ini.writeString(kInfo, kVersione, version));
            cfg.VersioneINI = version;
        }
    }
    cfg.Versione = version;
    cfg.Ver1 = QStringLiteral("ver. ") + version;
    cfg.Ver4 = QStringLiteral("v. ") + version.left(4);
}

// The globals the load itself sets.
void applyLoadedGlobals(Globals& g, const Config& cfg)
{
    g.NomeAutoscuola = cfg.NomeAutoscuola;
    g.RipristinaRisoluzione = cfg.CB_Ripristino;
    g.ColoreSelettore = cfg.ColoreSelettore;
    g.Versione = cfg.Versione;
}

// The current teacher's lesson folder name, so that re-applying the settings
// does not send a teacher's lessons back to the generic folder.
QString teacherIdOf(const Folders& dirs)
{
    if (dirs.DirUtente.isEmpty() || !dirs.DirLezioni.startsWith(dirs.DirUtente))
        return {};
    QString id = dirs.DirLezioni.mid(dirs.DirUtente.size());
    while (id.endsWith(QLatin1Char('/')) || id.endsWith(QLatin1Char('\\')))
        id.chop(1);
    return id;
}

}  // namespace

const std::vector<SettingDef>& settingDefs()
{
    static const std::vector<SettingDef> defs = buildDefs();
    return defs;
}

const SettingDef& settingDef(SettingId id)
{
    return settingDefs()[static_cast<size_t>(id)];
}

QString settingText(const Config& cfg, SettingId id)
{
    return std::visit(
        [&](auto member) -> QString {
            const auto& value = cfg.*member;
            using T = std::remove_cvref_t<decltype(value)>;
            if constexpr (std::is_same_v<T, QString>)
                return value;
            else if constexpr (std::is_same_v<T, bool>)
                return value ? QStringLiteral("1") : QStringLiteral("0");
            else if constexpr (std::is_same_v<T, int>)
                return QString::number(value);
            else
                return colourToText(value);
        },
        settingDef(id).member);
}

std::optional<int> videoSizeCode(const QString& text)
{
    if (text.isEmpty())
        return std::nullopt;
    const QChar first = text.front();
    if (first < u'1' || first > u'5')
        return std::nullopt;
    return first.unicode() - u'0';
}

ReportOptions reportOptions(const Config& cfg)
{
    ReportOptions options;
    options.noError = cfg.CBNoError;
    options.writeLog = cfg.CBlog;
    options.hideFotoError = cfg.CBHideFotoError;
    return options;
}

bool CaricaIni(Globals& g, Config& cfg, Reports& reporter, MachineStore& store)
{
    return CaricaIni(g, cfg, reporter, store, VersioneProgramma());
}

bool CaricaIni(Globals& g, Config& cfg, Reports& reporter, MachineStore& store,
               const QString& programVersion)
{
    const QString path = g.FileIni.isEmpty() ? settingsFileFor(g.ProgramFile) : g.FileIni;
    const QString shownPath = QDir::toNativeSeparators(path);
    if (!QFileInfo::exists(path)) {
        reporter.Emsg(ReportKind::MissingFile, context(), shownPath);
        return false;
    }
    const std::shared_ptr<IniFile> ini = IniFile::open(path);
    if (!ini) {
        reporter.Emsg(ReportKind::FileIo, context(), shownPath);
        return false;
    }
    g.FileIni = path;
    g.IniFilePtr = ini;

    cfg.GBini = QStringLiteral("File ") + shownPath;
    cfg.NomeFile = shownPath;
    reportWrite(reporter, *ini, ini->writeString(settingDef(SettingId::NomeFile).section,
                                                 settingDef(SettingId::NomeFile).key,
                                                 cfg.NomeFile));

    const QString builtinRoot = builtInRoot(g.ProgramFile);
    QString dataRoot;
    for (const SettingDef& def : settingDefs()) {
        if (def.load == SettingDef::Load::Never)
            continue;
        if (def.load == SettingDef::Load::QuizColours && !cfg.CBQuizColor)
            continue;
        if (!def.dataFolder.isEmpty() && dataRoot.isEmpty())
            dataRoot = dataRootOf(cfg.UnitaDati, builtinRoot);
        readSetting(*ini, def, cfg, dataRoot, reporter);
    }

    cfg.CBfotoFull = false;
    if (cfg.EFAda.trimmed().isEmpty())
        cfg.EFAda = QString::fromLatin1(kDefaultTopicFrom);
    if (cfg.EFAa.trimmed().isEmpty())
        cfg.EFAa = QString::fromLatin1(kDefaultTopicTo);
    cfg.ASdelay = std::clamp(cfg.ASdelay, 1, 100);
    if (cfg.CBQuizColor) {
        for (SettingId id : {SettingId::Color1, SettingId::Color2, SettingId::Color3,
                             SettingId::Color4, SettingId::Color5, SettingId::Color6}) {
            const SettingDef& def = settingDef(id);
            QString& text = cfg.*std::get<QString Config::*>(def.member);
            if (!text.trimmed().isEmpty() && !isQuizColourText(text)) {
                logBadColour(reporter, def, text,
                             QStringLiteral("Usati i colori predefiniti del quiz"));
                text.clear();
            }
        }
    }
    g.dirs.DirVideoCross = g.dirs.DirVideo;

    reconcileVersions(*ini, cfg, reporter, store, programVersion);
    applyLoadedGlobals(g, cfg);
    return true;
}

void VediConfig(Globals& g, Config& cfg, const std::function<void()>& soloSegnaliDomande)
{
    PathSettings paths;
    paths.UnitaProgramma = cfg.UnitaProgram;
    paths.UnitaDati = cfg.UnitaDati;
    paths.PathVL = cfg.PathVL;
    paths.PathFoto = cfg.PathFoto;
    paths.PathAudio = cfg.PathAudioAB;
    paths.PathAudioAM = cfg.PathAudioAM;
    paths.PathVideo = cfg.PathVideo;
    g.dirs = recomputeFolders(paths, builtInRoot(g.ProgramFile), teacherIdOf(g.dirs));

    applyLoadedGlobals(g, cfg);

    if (soloSegnaliDomande) {
        if (cfg.CBonlySegn)
            soloSegnaliDomande();
        if (cfg.CBonlyDom)
            soloSegnaliDomande();
    }

    if (cfg.CBMDebug) {
        g.ModoDebug = true;
        cfg.CBNoError = false;
    } else {
        g.ModoDebug = false;
    }

    if (const auto code = videoSizeCode(cfg.VideoSize))
        g.VideoSize = *code;
}

QString alignmentQuestion(const QString& programVersion)
{
    return QStringLiteral("Con questa operazione si sovrascrivono le versioni INI e REG con ")
        + programVersion + QStringLiteral(", Si è sicuri?");
}

bool AllineaVersione(Globals& g, Reports& reporter, MachineStore& store,
                     const QString& programVersion)
{
    if (!store.writeVersion(programVersion))
        reporter.Emsg(ReportKind::LogOnly, QStringLiteral("Registry: "),
                      QStringLiteral("Non è possibile aggiornare la versione ") + programVersion);
    Config cfg;
    cfg.VersioneINI = programVersion;
    return Settings(g, reporter).write(cfg, SettingId::VersioneINI);
}

IniFile* Settings::file()
{
    if (!m_globals.IniFilePtr) {
        const QString path = m_globals.FileIni.isEmpty() ? settingsFileFor(m_globals.ProgramFile)
                                                         : m_globals.FileIni;
        m_globals.IniFilePtr = IniFile::open(path);
        if (!m_globals.IniFilePtr) {
            m_reporter.Emsg(ReportKind::FileIo, context(), QDir::toNativeSeparators(path));
            return nullptr;
        }
    }
    return m_globals.IniFilePtr.get();
}

bool Settings::write(const Config& cfg, SettingId id)
{
    IniFile* ini = file();
    if (!ini)
        return false;
    const SettingDef& def = settingDef(id);
    return reportWrite(m_reporter, *ini, ini->writeString(def.section, def.key, settingText(cfg, id)));
}

bool Settings::write(const Config& cfg, std::initializer_list<SettingId> ids)
{
    IniFile* ini = file();
    if (!ini)
        return false;
    const bool autoSave = ini->autoSave();
    ini->setAutoSave(false);
    bool ok = true;
    bool changed = false;
    for (SettingId id : ids) {
        const SettingDef& def = settingDef(id);
        const QString text = settingText(cfg, id);
        if (ini->valueExists(def.section, def.key) && ini->readString(def.section, def.key) == text)
            continue;
        changed = true;
        ok = ini->writeString(def.section, def.key, text) && ok;
    }
    ini->setAutoSave(autoSave);
    if (changed && autoSave)
        ok = ini->save() && ok;
    return reportWrite(m_reporter, *ini, ok);
}

bool Settings::SaveSet(const Config& cfg)
{
    return write(cfg, {SettingId::CBonlySegn, SettingId::CBonlyDom});
}

bool Settings::SaveQuizColor(Config& cfg, const std::array<QString, 6>& colours)
{
    cfg.Color1 = colours[0];
    cfg.Color2 = colours[1];
    cfg.Color3 = colours[2];
    cfg.Color4 = colours[3];
    cfg.Color5 = colours[4];
    cfg.Color6 = colours[5];
    return write(cfg, {SettingId::Color1, SettingId::Color2, SettingId::Color3,
                       SettingId::Color4, SettingId::Color5, SettingId::Color6});
}

}  // namespace ziro
