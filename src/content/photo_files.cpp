#include "content/photo_files.h"

#include "base/globals.h"
#include "controls/kxb.h"
#include "controls/photo_filters.h"
#include "platform/files/paths.h"

#include <QFileInfo>

#include <algorithm>

namespace ziro {

namespace {

bool isDecimal(const QString& value)
{
    if (value.isEmpty())
        return false;
    return std::all_of(value.cbegin(), value.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// Compares a digit string with 9000 without converting it, so that no
// length of digits can overflow.
bool isUserPhotoNumber(const QString& digits)
{
    qsizetype first = 0;
    while (first < digits.size() - 1 && digits[first] == u'0')
        ++first;
    const QStringView significant = QStringView(digits).sliced(first);
    if (significant.size() != 4)
        return significant.size() > 4;
    return significant.toInt() >= kFirstUserPhoto;
}

}  // namespace

std::optional<PhotoFile> photoFile(const Folders& dirs, const QString& fotoValue)
{
    const QString value = fotoValue.trimmed();
    if (!isDecimal(value))
        return std::nullopt;
    const bool user = isUserPhotoNumber(value);
    const std::optional<QString> path = user
        ? joinPlain(dirs.DirFotoUtente, value, QString(), QStringLiteral(".BMP"))
        : joinPlain(dirs.DirFoto, value, QString(), QStringLiteral(".KXB"));
    if (!path)
        return std::nullopt;
    if (user && !QFileInfo::exists(*path)) {
        // Numbers from 9000 are looked for among the school's own pictures
        // first; a masked picture of that number in the installation's
        // folder (the vehicle menu's 9903 and 9904) is the fall-back.
        const std::optional<QString> installed = joinPlain(dirs.DirFoto, value, QString(), QStringLiteral(".KXB"));
        if (installed && QFileInfo::exists(*installed))
            return PhotoFile{*installed, true};
    }
    return PhotoFile{*path, !user};
}

std::optional<QImage> loadPhoto(const PhotoFile& file)
{
    std::optional<QImage> picture;
    if (file.masked) {
        picture = loadKxbFile(file.path);
    } else {
        const QFileInfo info(file.path);
        QImage plain;
        if (info.isFile() && info.size() <= kKxbMaxFileSize && plain.load(file.path) && !plain.isNull())
            picture = std::move(plain);
    }
    if (!picture)
        return std::nullopt;
    return toPhotoFormat(*picture);
}

}  // namespace ziro
