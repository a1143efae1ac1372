#pragma once

#include "platform/system/system_services.h"

#include <QColor>
#include <QString>
#include <QStringList>

#include <array>
#include <memory>

namespace ziro {

class IniFile;

// Editions in the order the edition table and the quiz number them.
enum class TModoQuiz { mqAM = 0, mqAB = 1, mqCD = 2, mqCQ = 3, mqCustom = 4 };

// The side-trip and resume record: where to come back to after a detour,
// and what a teacher's resume mark stores.
struct TMdTemp {
    int RecNum = 0;
    bool Status = false;
    QChar Snap = QLatin1Char('F');  // 'F' photo, 'Q' quiz, 'S' sign
    bool Segnale = false;
    bool Domanda = false;
    int Foto = 0;
    bool OnlyFoto = false;
    bool Custom = false;
    bool L_AM = false;
    bool L_AB = true;
    bool L_CD = false;
    bool L_CQ = false;
    int NumDomanda = 0;
    int NumAffermazione = 0;
    QString Argomento;
    QString LezPers;
};

// Folder layout. Every folder is a native path ending with '/', so that file
// names are appended to it directly.
struct Folders {
    QString DirUnitaProgramma;
    QString DirUnitaDati;
    QString DirZiroProgramma;
    QString DirZiroDati;
    QString DirProgram;
    QString DirUtente;
    QString DirLezioni;
    QString DirFotoUtente;
    QString DirVelarium;
    QString DirPicSgn;
    QString DirPicSgt;
    QString DirPicLnk;
    QString DirPicIcn;
    QString DirQuiz;
    QString DirFoto;
    QString DirAudio;
    QString DirAudioAM;
    QString DirAudioCDE;
    QString DirVideo;
    QString DirVideoCross;
    QString DirBook;
    QString DirBookAM;
    QString DirBookCDE;
    QString DirBookCQC;
    QString DirHtml;
    QString DirPressKit;
};

// Values of the settings file's [Path] section that move folders. An empty
// text means the key is absent and the folder is derived from its root.
struct PathSettings {
    QString UnitaProgramma;  // "Unità Programma"
    QString UnitaDati;       // "Unità Dati"
    QString PathVL;          // "Path VL"
    QString PathFoto;        // "Path foto"
    QString PathAudio;       // "Path audio"
    QString PathAudioAM;     // "Path audio AM"
    QString PathVideo;       // "Path video"
};

// The built-in roots: the folder that holds the "ziro" folder whose "Program"
// folder holds the running executable. Both drive roots start there.
QString builtInRoot(const QString& executablePath);

// Appends '/' unless the path already ends with a separator.
QString withSeparator(QString path);

// Maps a folder stored in a settings file. Windows installations write drive
// paths ("D:\ziro\Foto\"): the drive root stands for the built-in root and
// backslashes become '/'. An absolute POSIX path is kept as it is; a relative
// one is taken from the built-in root. The result ends with '/'.
QString mapStoredFolder(const QString& stored, const QString& builtinRoot);

// The folders derived from the two drive roots at start.
Folders builtInFolders(const QString& programRoot, const QString& dataRoot);

// Recomputes every folder after the settings have been read. `builtinRoot`
// is what a Windows drive letter maps to. The generic access's lesson folder,
// the user photo folder and the C-D-E audio follow the roots too, so that
// nothing is looked up or saved under roots the settings moved away from.
// `teacherId` is the current teacher access's folder name (empty: generic).
Folders recomputeFolders(const PathSettings& settings, const QString& builtinRoot,
                         const QString& teacherId = {});

struct Globals {
    Folders dirs;

    QString FileIni;
    std::shared_ptr<IniFile> IniFilePtr;  // the open settings file
    QString NomeAutoscuola;
    QString Versione = QStringLiteral("0.00");
    std::array<QString, 10> TitoliGruppi;

    // The edition is held once, so that exactly one of the four flags is
    // true by construction.
    TModoQuiz Edizione = TModoQuiz::mqAB;
    bool ModoAM() const { return Edizione == TModoQuiz::mqAM; }
    bool ModoAB() const { return Edizione == TModoQuiz::mqAB; }
    bool ModoCD() const { return Edizione == TModoQuiz::mqCD; }
    bool ModoCQ() const { return Edizione == TModoQuiz::mqCQ; }

    QString LetteraEdizione;
    bool Custom = false;
    QString LezioneCorrente = QStringLiteral("Lezione 1.DB");
    int AccessoCorrente = 0;

    bool PASSsegnale = true;
    bool PASSdomanda = true;
    bool SegnaleON = false;
    bool DomandaON = false;
    QString Segnale;
    QString Domanda;
    bool QuizON = false;
    bool FotoON = false;
    bool VideoON = false;
    bool TestoON = false;
    bool LibroON = false;
    bool AudioON = false;
    std::array<bool, 10> IconaON{};
    bool SoloFoto = false;
    bool LockLoop = false;
    TMdTemp MdTemp;
    bool ModoDebug = false;

    // The walk through a topic.
    int TotaleRecord = 0;           // records of the range (or with a quiz block)
    int ContatoreRecord = 0;        // position of the walk
    int ContatoreAffermazioni = 0;  // quiz statement counter
    bool VistaLink = false;         // the sign area shows a linked item
    bool PagineLibro = false;       // the book viewer turns pages on a step
    int NumeroFoto = 0;             // photographs of the record
    int FotoCorrente = 0;           // the one on show
    bool VideoAperto = false;       // a film is open
    bool VideoInCorso = false;      // and playing
    // The film players' shared state: one film is open at a time.
    int StatoVideo = 0;             // 0 closed, 1 playing, 2 stopped, 3 paused, 4 loaded
    QString FileVideoCorrente;      // the open film's file; empty when none
    bool VideoDaMenu = false;       // started full size: a click closes it
    qint64 DurataVideo = 0;         // duration in units of 100 ns
    qint64 PosizioneVideo = 0;      // last known position in units of 100 ns
    bool SegnaleF = false;          // the sign name began with "f"
    bool SegnaleSpeciale = false;   // a crossroads scene
    QString TitoloArgomento;        // title of the current topic range
    QString DescrizioneFiltro;      // description of the range, for the diagnostics

    // The sign area and its panels.
    bool IconeDisegnate = false;    // the panels hold the record's icons
    bool SegnaliDaMenu = false;     // icons are offered through the recall, not drawn
    int VideoSize = 3;
    QColor ColoreSelettore = QColor(0, 0, 255);
    int CursoreMano = 0;
    DisplayMode RisoluzioneIniziale;
    bool RipristinaRisoluzione = false;
    // The display mode was switched by this program (only then is there a
    // mode to restore at exit).
    bool RisoluzioneCambiata = false;
    LockKeyState StatoTastiBlocco;

    // Path of the running program file, used for the settings file name
    // and the error log's header.
    QString ProgramFile;

    // Fills the folders and FileIni from the program file's location.
    void initFromProgram(const QString& programFile);

    // The start-up check's request for a 640 x 480 display was accepted: the
    // main window is presented filling the screen, scaled, where the display
    // mode would have been switched.
    bool PresentationFillsScreen = false;
};

// The settings file is the program file with its extension replaced by
// ".ini"; a program file without an extension gets ".ini" appended.
QString settingsFileFor(const QString& programFile);

}  // namespace ziro
