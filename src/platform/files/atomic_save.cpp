#include "platform/files/atomic_save.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QUuid>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace ziro {

bool saveFileAtomically(const QString& path, const QByteArray& data, QString* error)
{
    auto fail = [error](const QString& reason) {
        if (error)
            *error = reason;
        return false;
    };

    // A link is replaced by the file, never written through: QSaveFile
    // would follow it, and a link can lead out of the installation to a
    // file that is not ours to change (a settings file copied as a link).
    if (QFileInfo(path).isSymLink()) {
        const QString staged = path + QStringLiteral(".") + QUuid::createUuid().toString(QUuid::Id128);
        if (!saveFileAtomically(staged, data, error))
            return false;
        if (std::rename(QFile::encodeName(staged).constData(), QFile::encodeName(path).constData()) != 0) {
            const QString reason = QString::fromLocal8Bit(std::strerror(errno));
            QFile::remove(staged);
            return fail(reason);
        }
        return true;
    }

    QSaveFile file(path);
    // Writing in place would defeat the point: refuse folders where the
    // temporary copy cannot be made.
    file.setDirectWriteFallback(false);
    // Unbuffered: a buffered write that the disk cuts short (full, or over a
    // size limit) is lost in the flush at commit, which then still succeeds
    // and puts a truncated file in place of the old one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(file.errorString());
    if (file.write(data) != data.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return fail(reason);
    }
    if (!file.commit())
        return fail(file.errorString());
    if (error)
        error->clear();
    return true;
}

}  // namespace ziro
