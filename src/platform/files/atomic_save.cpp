#include "platform/files/atomic_save.h"

#include <QSaveFile>

namespace ziro {

bool saveFileAtomically(const QString& path, const QByteArray& data, QString* error)
{
    auto fail = [error](const QString& reason) {
        if (error)
            *error = reason;
        return false;
    };

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
