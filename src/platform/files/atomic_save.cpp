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
    if (!file.open(QIODevice::WriteOnly))
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
