#include "base/globals.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace ziro {

QString withSeparator(QString path)
{
    if (path.isEmpty() || !(path.endsWith(QLatin1Char('/')) || path.endsWith(QLatin1Char('\\'))))
        path += QLatin1Char('/');
    return path;
}

QString builtInRoot(const QString& executablePath)
{
    // R/ziro/Program/ziro -> R/
    // Worked out on the text: the folders need not exist (the program-folder
    // check reports that later).
    const QString programFolder = QFileInfo(executablePath).absolutePath();  // R/ziro/Program
    return withSeparator(QDir::cleanPath(programFolder + QStringLiteral("/../..")));
}

QString mapStoredFolder(const QString& stored, const QString& builtinRoot)
{
    QString s = stored.trimmed();
    static const QRegularExpression drive(QStringLiteral("^[A-Za-z]:[\\\\/]?"));
    const auto m = drive.match(s);
    if (m.hasMatch()) {
        s = s.mid(m.capturedLength());
        s.replace(QLatin1Char('\\'), QLatin1Char('/'));
        return withSeparator(builtinRoot + s);
    }
    s.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (s.startsWith(QLatin1Char('/')))
        return withSeparator(s);
    return withSeparator(builtinRoot + s);
}

namespace {

void deriveFromRoots(Folders& f)
{
    f.DirZiroProgramma = f.DirUnitaProgramma + QStringLiteral("ziro/");
    f.DirZiroDati = f.DirUnitaDati + QStringLiteral("ziro/");
    f.DirProgram = f.DirZiroProgramma + QStringLiteral("Program/");
    f.DirUtente = f.DirZiroProgramma + QStringLiteral("Utente/");
    f.DirFotoUtente = f.DirUtente + QStringLiteral("Foto/");
    f.DirPicSgn = f.DirZiroDati + QStringLiteral("PicSgn/");
    f.DirPicSgt = f.DirZiroDati + QStringLiteral("PicSgt/");
    f.DirPicLnk = f.DirZiroDati + QStringLiteral("PicLnk/");
    f.DirPicIcn = f.DirZiroDati + QStringLiteral("PicIcn/");
    f.DirAudioCDE = f.DirZiroDati + QStringLiteral("Audio CDE/");
    f.DirBook = f.DirZiroDati + QStringLiteral("Book/");
    f.DirBookAM = f.DirZiroDati + QStringLiteral("Book AM/");
    f.DirBookCDE = f.DirZiroDati + QStringLiteral("Book CDE/");
    f.DirBookCQC = f.DirZiroDati + QStringLiteral("Book CQC/");
    f.DirHtml = f.DirZiroDati + QStringLiteral("Html/");
    f.DirPressKit = f.DirZiroProgramma + QStringLiteral("pressKit/");
}

}  // namespace

Folders builtInFolders(const QString& programRoot, const QString& dataRoot)
{
    Folders f;
    f.DirUnitaProgramma = withSeparator(programRoot);
    f.DirUnitaDati = withSeparator(dataRoot);
    deriveFromRoots(f);
    f.DirLezioni = f.DirUtente;
    f.DirVelarium = f.DirUnitaProgramma + QStringLiteral("Velarium/");
    f.DirQuiz.clear();
    f.DirFoto = f.DirZiroDati + QStringLiteral("Foto/");
    f.DirAudio = f.DirZiroDati + QStringLiteral("Audio/");
    f.DirAudioAM = f.DirZiroDati + QStringLiteral("Audio AM/");
    f.DirVideo = f.DirZiroDati + QStringLiteral("Video/");
    f.DirVideoCross = f.DirVideo;
    return f;
}

Folders recomputeFolders(const PathSettings& s, const QString& builtinRoot,
                         const QString& teacherId)
{
    auto stored = [&](const QString& value, const QString& fallback) {
        return value.trimmed().isEmpty() ? fallback : mapStoredFolder(value, builtinRoot);
    };
    Folders f;
    f.DirUnitaProgramma = stored(s.UnitaProgramma, withSeparator(builtinRoot));
    f.DirUnitaDati = stored(s.UnitaDati, withSeparator(builtinRoot));
    deriveFromRoots(f);
    f.DirLezioni = teacherId.isEmpty() ? f.DirUtente : f.DirUtente + teacherId + QLatin1Char('/');
    f.DirVelarium = stored(s.PathVL, f.DirUnitaProgramma + QStringLiteral("Velarium/"));
    f.DirQuiz = f.DirZiroDati + QStringLiteral("Quiz/Dom_A/");
    f.DirFoto = stored(s.PathFoto, f.DirZiroDati + QStringLiteral("Foto/"));
    f.DirAudio = stored(s.PathAudio, f.DirZiroDati + QStringLiteral("Audio/"));
    f.DirAudioAM = stored(s.PathAudioAM, f.DirZiroDati + QStringLiteral("Audio AM/"));
    f.DirVideo = stored(s.PathVideo, f.DirZiroDati + QStringLiteral("Video/"));
    f.DirVideoCross = f.DirVideo;
    return f;
}

QString settingsFileFor(const QString& programFile)
{
    const QFileInfo fi(programFile);
    const QString suffix = fi.suffix();
    if (suffix.isEmpty())
        return programFile + QStringLiteral(".ini");
    return programFile.left(programFile.size() - suffix.size()) + QStringLiteral("ini");
}

void Globals::initFromProgram(const QString& programFile)
{
    ProgramFile = programFile;
    const QString root = builtInRoot(programFile);
    dirs = builtInFolders(root, root);
    FileIni = settingsFileFor(programFile);
}

}  // namespace ziro
