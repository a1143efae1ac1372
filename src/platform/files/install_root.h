#pragma once

#include <QString>
#include <QStringList>

namespace ziro {

// Where the installation lives. The layout under a root never changes:
// <root>/ziro/Program/ holds the tables and the settings file, the data
// folders sit beside it under <root>/ziro/. What changes is how the root is
// found, so that a program installed in a system folder never writes there.

enum class RootSource {
    CommandLine,    // --root DIR
    Environment,    // ZIRO_ROOT
    ProgramFolder,  // the executable sits in <root>/ziro/Program/
    UserData,       // a system install: the user's own data folder
};

struct RootChoice {
    QString root;     // absolute, clean, ending with '/'; empty on error
    RootSource source = RootSource::ProgramFolder;
    QString error;    // Italian text for the teacher; empty when usable
};

extern const char* const kRootEnvironmentVariable;  // "ZIRO_ROOT"

// Picks the root from the command line (`arguments` without the program
// name; "--root DIR" or "--root=DIR"), then `environmentRoot`, then the
// executable's own place, then `userDataFolder` (the XDG data folder; the
// root is its "ziro" sub-folder). A relative path is taken from
// `workingFolder`; "~/" from `homeFolder`. Only the text is judged here: a
// missing name, control characters or a path that is not local.
RootChoice chooseRoot(const QStringList& arguments, const QString& environmentRoot,
                      const QString& executablePath, const QString& userDataFolder,
                      const QString& workingFolder, const QString& homeFolder);

// The program file whose derived folders and settings file ("ziro.ini")
// belong to `root`: <root>/ziro/Program/ziro.
QString programFileInRoot(const QString& root);

enum class RootState {
    Installed,    // <root>/ziro/Program/ holds files
    Empty,        // no "ziro" folder yet: an installation can be created
    Missing,      // the folder does not exist
    NotAFolder,   // a file or something else is there
    NotWritable,  // nothing can be created there
    Partial,      // a "ziro" folder without a usable program folder
    SystemFolder, // a folder of the operating system or of the package
};

struct RootCheck {
    RootState state = RootState::Missing;
    QString message;  // Italian; empty for Installed and Empty
};

// Looks at the root on disk. Nothing is created or changed.
RootCheck checkRoot(const QString& root);

// Whether `path` is, or lies inside, a folder the operating system or its
// packages own (/usr, /etc, /bin, ...), or is "/" itself.
bool isSystemFolder(const QString& path);

// The sample installation shipped with the package, found from the
// executable (<prefix>/bin/ziro -> <prefix>/share/ziro/esempio/); empty when
// there is none.
QString findSampleContent(const QString& executablePath);

// What creating an installation did.
struct InstallReport {
    bool ok = false;
    int folders = 0;     // folders made
    int files = 0;       // files written
    QString error;       // Italian; what stopped it
    QString summary() const;
};

// Copies the sample installation (the folder holding "ziro/" and what sits
// beside it) into `root`. Nothing there is ever overwritten: when any file
// to be copied already exists, nothing at all is written.
InstallReport copySampleContent(const QString& sampleFolder, const QString& root);

// Makes the empty folder tree of an installation under `root`, with the
// settings file, fonts and splash taken from `sampleFolder` when there is
// one (a minimal settings file otherwise). Never overwrites either.
InstallReport createSkeleton(const QString& root, const QString& sampleFolder);

// The folders of an installation, relative to <root>/ziro/.
QStringList installationFolders();

}  // namespace ziro
