#pragma once

// The program's settings: the typed values of the settings file, how they are
// loaded (CaricaIni), applied to the global state (VediConfig) and written
// back the moment a control changes.
//
// `Config` is what the configuration form shows; its controls bind to it, and
// other parts of the program read their options from it rather than from a
// widget. Every stored value is described once, in settingDefs(), so loading,
// writing and the defaults all come from the same table.

#include "diag/reporter.h"

#include <QColor>
#include <QString>

#include <array>
#include <functional>
#include <initializer_list>
#include <optional>
#include <variant>
#include <vector>

namespace ziro {

class IniFile;
class MachineStore;
struct Globals;

// The topic range used when the settings give none.
inline constexpr char kDefaultTopicFrom[] = "B00";
inline constexpr char kDefaultTopicTo[] = "H17";

struct Config {
    // [Path]. Drives are kept as written ("D:\" from a Windows installation,
    // or a folder); the folders are mapped when applied. The four data
    // folders default to the data root's folder of that name.
    QString UnitaProgram = QStringLiteral("C:\\");
    QString UnitaDati = QStringLiteral("C:\\");
    QString PathVideo;
    QString PathAudioAM;
    QString PathAudioAB;
    QString PathFoto;
    QString PathVL = QStringLiteral("C:\\Velarium\\");

    // [Autoscuola]; empty means the program has not been set up.
    QString NomeAutoscuola;

    // [Filtro]: the start-up topic range. An empty code would filter on
    // nothing at all, so it stands for the full default range.
    QString EFAda = QString::fromLatin1(kDefaultTopicFrom);
    QString EFAa = QString::fromLatin1(kDefaultTopicTo);

    // [Video]
    QString VideoSize;  // text of CBVideoSize, e.g. "5 - Full screen"
    bool CBVautoOff = true;
    bool CB_Autores = false;
    bool CB_Ripristino = true;

    // [Audio]
    bool CBaudioOn = true;
    bool CBAudioFoto = true;
    bool Autoplay = false;
    bool LngTxtAlign = false;
    int Linguaggio = -1;  // -1: no quiz language remembered

    // [Foto]
    bool Cb_AutoText = true;
    bool CBfotoFull = false;  // written when changed, always starts unticked

    // [Quiz]
    bool CBautoscan = false;
    bool CBscanFalse = true;
    int ASdelay = 15;  // 1..100
    bool CBmono = true;
    bool CB1Vuota = false;
    bool CB_DidascaStart = false;
    bool CB_DidascaColor = false;
    bool CBmischia = false;
    bool CBAvanza = true;
    bool CBQuizColor = false;
    bool CBExEscluse = false;
    // The teacher's quiz colours, as stored: a colour text, "default" for
    // the default set, or empty when none is stored or the stored one could
    // not be read (the quiz then shows its default set). Loaded only when
    // CBQuizColor is ticked.
    QString Color1;
    QString Color2;
    QString Color3;
    QString Color4;
    QString Color5;
    QString Color6;

    // [Set]
    bool CBVelarium = true;
    bool CBonlySegn = false;
    bool CBonlyDom = false;
    bool CBesame = false;
    bool CBicone = true;
    bool CBnoSsD = true;
    bool CBNomeSegnali = true;
    bool CBJumpMark2 = false;
    bool CBSubArg = false;
    bool CBAccessoMultiplo = false;

    // [Menu Icone]
    int MenuIconeSetting = 1;  // 1 RBInitPos, 2 RBOldPos, 3 RBAutoPos; other values: none
    QColor ColoreSelettore = QColor(0, 0, 255);

    // [Hint]
    bool CBhint = false;

    // [Info]: the content version as the settings file has it.
    QString VersioneINI = QStringLiteral("-.--.-");

    // [INI]
    QString NomeFile;  // written at every load, never read
    bool EditTitoloBlocco = false;

    // Not stored: they start as the form defines them at every run.
    bool CBNoError = false;
    bool CBMDebug = false;
    bool CBlog = false;
    bool CBHideFotoError = true;

    // Worked out by the load.
    QString Versione = QStringLiteral("0.00");  // the reconciled content version
    QString PVersion;  // the three versions side by side
    QString Ver1;      // "ver. " + version
    QString Ver4;      // "v. " + its first four characters (also the splash)
    QString GBini;     // "File " + the settings file's path

    // Controls whose state follows another one.
    bool RBInitPos() const { return MenuIconeSetting == 1; }
    bool RBOldPos() const { return MenuIconeSetting == 2; }
    bool RBAutoPos() const { return MenuIconeSetting == 3; }
    bool ripristinoEnabled() const { return CB_Autores; }
    bool subArgEnabled() const { return CBJumpMark2; }
    bool hintsShown() const { return !CBhint; }
};

// One stored value per member of Config, named like it.
enum class SettingId {
    UnitaProgram, UnitaDati, PathVideo, PathAudioAM, PathAudioAB, PathFoto, PathVL,
    NomeAutoscuola,
    EFAda, EFAa,
    VideoSize, CBVautoOff, CB_Autores, CB_Ripristino,
    CBaudioOn, CBAudioFoto, Autoplay, LngTxtAlign, Linguaggio,
    Cb_AutoText, CBfotoFull,
    CBautoscan, CBscanFalse, ASdelay, CBmono, CB1Vuota, CB_DidascaStart, CB_DidascaColor,
    CBmischia, CBAvanza, CBQuizColor, CBExEscluse,
    Color1, Color2, Color3, Color4, Color5, Color6,
    CBVelarium, CBonlySegn, CBonlyDom, CBesame, CBicone, CBnoSsD, CBNomeSegnali,
    CBJumpMark2, CBSubArg, CBAccessoMultiplo,
    MenuIconeSetting, ColoreSelettore,
    CBhint,
    VersioneINI,
    NomeFile, EditTitoloBlocco,
};

using SettingMember = std::variant<QString Config::*, bool Config::*, int Config::*,
                                   QColor Config::*>;

struct SettingDef {
    enum class Load {
        Always,
        QuizColours,  // only when "Modifica colori" is on
        Never,        // written only
    };

    SettingId id;
    QString section;
    QString key;
    SettingMember member;
    Load load = Load::Always;
    // For the data folders: the default is this folder of the data root.
    QString dataFolder;
};

// Every stored value, in the order the load reads them.
const std::vector<SettingDef>& settingDefs();
const SettingDef& settingDef(SettingId id);

// The text a setting is written as: Booleans "1"/"0", integers in decimal,
// colours by name or "$00BBGGRR".
QString settingText(const Config& cfg, SettingId id);

// The film display size code of a "Video size" text: its first character
// when that is 1 to 5.
std::optional<int> videoSizeCode(const QString& text);

// The report options of the form's debug group, for Reporter::options().
ReportOptions reportOptions(const Config& cfg);

// The context of every report about the settings file.
extern const char* const kSettingsContext;  // "Files di inizializzazione"

// Loads the settings file `g.FileIni` into `cfg` and reconciles the content
// version with the machine-wide store and `programVersion`. The file stays
// open in `g.IniFilePtr` for the writes that follow. It also sets the globals
// the load itself sets (NomeAutoscuola, RipristinaRisoluzione,
// ColoreSelettore, Versione). A missing file is reported (kind 1) and gives
// false; so does one that cannot be read (kind 2). `cfg` and the globals are
// then left as they were.
bool CaricaIni(Globals& g, Config& cfg, Reports& reporter, MachineStore& store,
               const QString& programVersion);
bool CaricaIni(Globals& g, Config& cfg, Reports& reporter, MachineStore& store);

// Applies a loaded configuration (only after CaricaIni answered true: a
// failed load leaves the global state alone): moves every folder after the
// drives and paths, and sets the options the rest of the program reads from
// the global state. The current teacher's lesson folder moves along. Debug mode follows CBMDebug, which also unticks CBNoError. The
// general menu's "only signs / only questions" step runs through
// `soloSegnaliDomande`, once for each of the two boxes that is ticked.
void VediConfig(Globals& g, Config& cfg,
                const std::function<void()>& soloSegnaliDomande = {});

// The version alignment's question and, on Yes, its writes: the program
// version goes to the machine-wide store and to [Info] "Versione". A store
// that cannot be written is logged and the settings file is written anyway.
// The caller reloads the settings afterwards. False when the settings file
// could not be written.
QString alignmentQuestion(const QString& programVersion);
bool AllineaVersione(Globals& g, Reports& reporter, MachineStore& store,
                     const QString& programVersion);

// Write-through of single settings, the moment their control changes. Uses
// the settings file opened by CaricaIni (opening it on demand when no load
// has succeeded, so a change made on a fresh installation is kept); a write
// that fails is reported (kind 2) and answers false.
class Settings {
public:
    Settings(Globals& g, Reports& reporter) : m_globals(g), m_reporter(reporter) {}

    // Writes the current value of the setting's member of `cfg`.
    bool write(const Config& cfg, SettingId id);
    // Several keys, saved to disk once (the drives, the topic range).
    bool write(const Config& cfg, std::initializer_list<SettingId> ids);

    // "Solo segnali" and "Solo domande".
    bool SaveSet(const Config& cfg);
    // The six quiz colour texts, in role order; also kept in `cfg`.
    bool SaveQuizColor(Config& cfg, const std::array<QString, 6>& colours);

private:
    IniFile* file();
    bool finish(IniFile& ini, bool ok);

    Globals& m_globals;
    Reports& m_reporter;
};

}  // namespace ziro
