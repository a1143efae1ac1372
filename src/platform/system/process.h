#pragma once

#include <QString>
#include <QStringList>

namespace ziro {

// Starts `program` with `arguments` (no shell in between), waits without limit
// for it to end and returns its exit code; -1 when it cannot be started or
// does not end normally (crash, killed). The caller's thread is blocked
// meanwhile. The program shares our output channels and reads no input.
int runAndWait(const QString& program, const QStringList& arguments = {});

}  // namespace ziro
