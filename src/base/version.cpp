#include "base/version.h"

namespace ziro {

QString formatVersion(int major, int minor, int release, int build)
{
    return QStringLiteral("%1.%2%3.%4").arg(major).arg(minor).arg(release).arg(build);
}

QString VersioneProgramma()
{
    return formatVersion(ZIRO_VERSION_MAJOR, ZIRO_VERSION_MINOR, ZIRO_VERSION_PATCH,
                         ZIRO_VERSION_TWEAK);
}

}  // namespace ziro
