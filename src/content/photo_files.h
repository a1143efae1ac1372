#pragma once

// Where a photograph of the content lives. A record's photograph fields hold
// photograph numbers: below 9000 the installation's masked pictures, from
// 9000 the ones the user added. The viewer, the previews and a jump by
// photograph number all find them here, the same way.

#include <QImage>
#include <QString>

#include <optional>

namespace ziro {

struct Folders;

inline constexpr int kFirstUserPhoto = 9000;

struct PhotoFile {
    QString path;
    bool masked = false;  // a ".KXB" masked bitmap; otherwise a plain ".BMP"
};

// The file of a Foto value: below 9000 DirFoto + value + ".KXB", from 9000
// DirFotoUtente + value + ".BMP", the name found ignoring letter case. The
// value is trimmed and must be ASCII decimal digits (of any length);
// anything else, including an empty value, has no file (nullopt).
std::optional<PhotoFile> photoFile(const Folders& dirs, const QString& fotoValue);

// Loads the photograph as an RGB32 picture; nullopt when the file is
// missing, unreadable or not a picture.
std::optional<QImage> loadPhoto(const PhotoFile& file);

}  // namespace ziro
