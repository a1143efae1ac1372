#include "platform/files/install_root.h"

#include "platform/files/atomic_save.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

#include <unistd.h>

namespace ziro {

const char* const kRootEnvironmentVariable = "ZIRO_ROOT";

namespace {

QString slashEnded(QString path)
{
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path;
}

bool hasControlCharacters(const QString& text)
{
    for (const QChar c : text)
        if (c.category() == QChar::Other_Control)
            return true;
    return false;
}

// Turns a typed or inherited path into an absolute, clean one, or gives the
// reason it cannot be used.
QString normalisedRoot(const QString& given, const QString& workingFolder,
                       const QString& homeFolder, QString* error)
{
    const QString shown = given;
    QString path = given.trimmed();
    if (path.isEmpty()) {
        *error = QStringLiteral("Non è stata indicata la cartella dei dati di Ziro.");
        return {};
    }
    if (hasControlCharacters(path)) {
        *error = QStringLiteral("Il nome della cartella dei dati contiene caratteri non validi.");
        return {};
    }
    // Network locations and URLs are not folders this program can write to
    // atomically.
    if (path.contains(QLatin1String("://")) || path.startsWith(QLatin1String("//"))) {
        *error = QStringLiteral("La cartella dei dati '") + shown +
                 QStringLiteral("' non è una cartella locale.");
        return {};
    }
    if (path == QLatin1String("~"))
        path = homeFolder;
    else if (path.startsWith(QLatin1String("~/")))
        path = homeFolder + path.mid(1);
    if (QDir::isRelativePath(path))
        path = workingFolder + QLatin1Char('/') + path;
    return slashEnded(QDir::cleanPath(path));
}

bool isExecutableInProgramFolder(const QString& executablePath)
{
    // Judged on the text: the folders are checked later, with their own
    // messages.
    const QFileInfo program(QFileInfo(executablePath).absolutePath());
    const QFileInfo ziro(program.absolutePath());
    return program.fileName().compare(QLatin1String("Program"), Qt::CaseInsensitive) == 0 &&
           ziro.fileName().compare(QLatin1String("ziro"), Qt::CaseInsensitive) == 0;
}

bool isEntryInside(const QString& path, const QString& folder)
{
    return path == folder || path.startsWith(folder + QLatin1Char('/'));
}

}  // namespace

RootChoice chooseRoot(const QStringList& arguments, const QString& environmentRoot,
                      const QString& executablePath, const QString& userDataFolder,
                      const QString& workingFolder, const QString& homeFolder)
{
    RootChoice choice;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments.at(i);
        QString value;
        if (a == QLatin1String("--root")) {
            // "--root" with nothing after it, or followed by another option,
            // names no folder; taking the option as a path would create a
            // folder called "--something".
            if (i + 1 >= arguments.size() || arguments.at(i + 1).startsWith(QLatin1String("--"))) {
                choice.source = RootSource::CommandLine;
                choice.error = QStringLiteral("L'opzione --root richiede il nome di una cartella.");
                return choice;
            }
            value = arguments.at(i + 1);
        } else if (a.startsWith(QLatin1String("--root="))) {
            value = a.mid(7);
        } else {
            continue;
        }
        choice.source = RootSource::CommandLine;
        choice.root = normalisedRoot(value, workingFolder, homeFolder, &choice.error);
        return choice;
    }
    if (!environmentRoot.isEmpty()) {
        choice.source = RootSource::Environment;
        choice.root = normalisedRoot(environmentRoot, workingFolder, homeFolder, &choice.error);
        return choice;
    }
    if (isExecutableInProgramFolder(executablePath)) {
        choice.source = RootSource::ProgramFolder;
        choice.root = slashEnded(QDir::cleanPath(QFileInfo(executablePath).absolutePath() +
                                                 QStringLiteral("/../..")));
        return choice;
    }
    choice.source = RootSource::UserData;
    if (userDataFolder.isEmpty()) {
        choice.error = QStringLiteral("Impossibile determinare la cartella dei dati dell'utente: "
                                      "indicarla con --root.");
        return choice;
    }
    choice.root = normalisedRoot(userDataFolder + QStringLiteral("/ziro"), workingFolder,
                                 homeFolder, &choice.error);
    return choice;
}

QString programFileInRoot(const QString& root)
{
    return slashEnded(root) + QStringLiteral("ziro/Program/ziro");
}

bool isSystemFolder(const QString& path)
{
    const QString clean = QDir::cleanPath(path);
    if (clean == QLatin1String("/"))
        return true;
    static const char* const owned[] = {"/usr", "/etc", "/bin", "/sbin", "/lib", "/lib32", "/lib64",
                                        "/libx32", "/boot", "/proc", "/sys", "/dev", "/run", "/var/lib"};
    for (const char* folder : owned) {
        if (isEntryInside(clean, QLatin1String(folder)))
            // /usr/local belongs to the administrator, not to packages.
            return !isEntryInside(clean, QStringLiteral("/usr/local"));
    }
    return false;
}

RootCheck checkRoot(const QString& root)
{
    RootCheck check;
    // Without the trailing separator, so that a file given as the root is
    // seen as the file it is.
    const QString clean = QDir::cleanPath(root);
    const QString shown = QDir::toNativeSeparators(clean);
    const QFileInfo info(clean);
    if (isSystemFolder(root)) {
        check.state = RootState::SystemFolder;
        check.message = QStringLiteral("La cartella '") + shown +
                        QStringLiteral("' è una cartella di sistema: i dati di Ziro non possono "
                                       "stare qui. Indicare un'altra cartella con --root.");
        return check;
    }
    if (!info.exists() && !info.isSymLink()) {
        check.state = RootState::Missing;
        check.message = QStringLiteral("La cartella dei dati '") + shown +
                        QStringLiteral("' non esiste.");
        return check;
    }
    if (!info.isDir()) {
        check.state = RootState::NotAFolder;
        check.message = QStringLiteral("'") + shown +
                        QStringLiteral("' non è una cartella: indicare una cartella per i dati di Ziro.");
        return check;
    }
    const QFileInfo ziro(slashEnded(root) + QStringLiteral("ziro"));
    if (!ziro.exists() && !ziro.isSymLink()) {
        if (::access(QFile::encodeName(root).constData(), W_OK | X_OK) != 0) {
            check.state = RootState::NotWritable;
            check.message = QStringLiteral("Nella cartella '") + shown +
                            QStringLiteral("' non si può scrivere: impossibile crearvi l'installazione.");
            return check;
        }
        check.state = RootState::Empty;
        return check;
    }
    const QDir program(slashEnded(root) + QStringLiteral("ziro/Program"));
    const bool hasProgram = ziro.isDir() && program.exists() &&
                            !program.entryList(QDir::Files | QDir::Hidden | QDir::System).isEmpty();
    if (!hasProgram) {
        check.state = RootState::Partial;
        check.message = QStringLiteral("La cartella '") + shown +
                        QStringLiteral("' contiene un'installazione incompleta di Ziro (la cartella "
                                       "'ziro/Program' manca o è vuota). Non è stato modificato nulla: "
                                       "completarla o indicare un'altra cartella con --root.");
        return check;
    }
    check.state = RootState::Installed;
    return check;
}

QString findSampleContent(const QString& executablePath)
{
    const QString candidate = QDir::cleanPath(QFileInfo(executablePath).absolutePath() +
                                              QStringLiteral("/../share/ziro/esempio"));
    if (QFileInfo(candidate + QStringLiteral("/ziro/Program")).isDir())
        return slashEnded(candidate);
    return {};
}

QStringList installationFolders()
{
    return {QStringLiteral("Program"),   QStringLiteral("Utente"),    QStringLiteral("Utente/Foto"),
            QStringLiteral("pressKit"),  QStringLiteral("PicSgn"),    QStringLiteral("PicSgt"),
            QStringLiteral("PicLnk"),    QStringLiteral("PicIcn"),    QStringLiteral("Foto"),
            QStringLiteral("Audio"),     QStringLiteral("Audio AM"),  QStringLiteral("Audio CDE"),
            QStringLiteral("Video"),     QStringLiteral("Book"),      QStringLiteral("Book AM"),
            QStringLiteral("Book CDE"),  QStringLiteral("Book CQC"),  QStringLiteral("Html"),
            QStringLiteral("Quiz/Dom_A")};
}

QString InstallReport::summary() const
{
    QString text = QStringLiteral("Sono state create %1 cartelle e scritti %2 file.").arg(folders).arg(files);
    if (!error.isEmpty())
        text = error + QLatin1Char('\r') + text;
    return text;
}

namespace {

bool makeFolder(const QString& path, InstallReport& report)
{
    if (QFileInfo(path).isDir())
        return true;
    if (!QDir().mkpath(path)) {
        report.error = QStringLiteral("Impossibile creare la cartella '") + path + QStringLiteral("'.");
        return false;
    }
    ++report.folders;
    return true;
}

bool copyOne(const QString& from, const QString& to, InstallReport& report)
{
    // QFile::copy refuses an existing target and writes through a
    // temporary file, so a half-copied file never carries the real name.
    if (QFileInfo::exists(to) || !QFile::copy(from, to)) {
        report.error = QStringLiteral("Impossibile copiare '") + from + QStringLiteral("' in '") + to +
                       QStringLiteral("'.");
        return false;
    }
    QFile::setPermissions(to, QFile::permissions(to) | QFileDevice::WriteOwner);
    ++report.files;
    return true;
}

}  // namespace

InstallReport copySampleContent(const QString& sampleFolder, const QString& root)
{
    InstallReport report;
    const QString from = slashEnded(QDir::cleanPath(sampleFolder));
    const QString to = slashEnded(QDir::cleanPath(root));
    QStringList files;
    QStringList folders;
    QDirIterator it(from, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString relative = path.mid(from.size());
        const QFileInfo info = it.fileInfo();
        if (info.isDir())
            folders << relative;
        else
            files << relative;
    }
    if (files.isEmpty()) {
        report.error = QStringLiteral("Il contenuto di esempio in '") + from + QStringLiteral("' è vuoto.");
        return report;
    }
    // Checked before anything is written, so that a clash leaves the root
    // exactly as it was.
    for (const QString& f : files) {
        if (QFileInfo::exists(to + f) || QFileInfo(to + f).isSymLink()) {
            report.error = QStringLiteral("Il file '") + to + f +
                           QStringLiteral("' esiste già: l'installazione esistente non viene sovrascritta.");
            return report;
        }
    }
    std::sort(folders.begin(), folders.end());
    for (const QString& d : folders)
        if (!makeFolder(to + d, report))
            return report;
    for (const QString& f : files)
        if (!copyOne(from + f, to + f, report))
            return report;
    report.ok = true;
    return report;
}

InstallReport createSkeleton(const QString& root, const QString& sampleFolder)
{
    InstallReport report;
    const QString ziro = slashEnded(QDir::cleanPath(root)) + QStringLiteral("ziro/");
    const QString program = ziro + QStringLiteral("Program/");
    if (QFileInfo::exists(program + QStringLiteral("ziro.ini"))) {
        report.error = QStringLiteral("Il file '") + program +
                       QStringLiteral("ziro.ini' esiste già: l'installazione esistente non viene sovrascritta.");
        return report;
    }
    for (const QString& d : installationFolders())
        if (!makeFolder(ziro + d, report))
            return report;

    // The templates a new installation starts from: the settings, the
    // fonts the windows are drawn with and the splash.
    const QString templates = sampleFolder.isEmpty()
                                  ? QString()
                                  : slashEnded(QDir::cleanPath(sampleFolder)) + QStringLiteral("ziro/Program/");
    bool settingsCopied = false;
    if (!templates.isEmpty()) {
        const QStringList names = QDir(templates).entryList(
            {QStringLiteral("*.ini"), QStringLiteral("*.ttf"), QStringLiteral("*.TTF"),
             QStringLiteral("LOGO.*")},
            QDir::Files);
        for (const QString& n : names) {
            if (QFileInfo::exists(program + n))
                continue;
            if (!copyOne(templates + n, program + n, report))
                return report;
            settingsCopied |= n == QLatin1String("ziro.ini");
        }
    }
    if (!settingsCopied) {
        const QByteArray minimal = "[Autoscuola]\r\nNome autoscuola=Autoscuola\r\n";
        QString error;
        if (!saveFileAtomically(program + QStringLiteral("ziro.ini"), minimal, &error)) {
            report.error = QStringLiteral("Impossibile scrivere il file delle impostazioni: ") + error;
            return report;
        }
        ++report.files;
    }
    report.ok = true;
    return report;
}

}  // namespace ziro
