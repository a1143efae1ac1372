#pragma once

#include <QByteArray>
#include <QString>

namespace ziro {

// Replaces the file at `path` with `data` so that a crash or a full disk
// leaves either the old file or the new one, never a truncated one. Returns
// false, with the reason in `error` when given, when the file could not be
// written; the old file is then untouched.
bool saveFileAtomically(const QString& path, const QByteArray& data, QString* error = nullptr);

}  // namespace ziro
