#pragma once

#include <QString>

namespace ziro {

// The program version as "major.minorrelease.build": 1, 2, 3, 4 gives "1.23.4".
QString formatVersion(int major, int minor, int release, int build);
// The version of this build.
QString VersioneProgramma();

}  // namespace ziro
