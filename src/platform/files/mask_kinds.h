#pragma once

// The masked media files of the data folders: films and animations keep
// their length, and only their leading bytes differ from the playable file.

#include <QByteArray>
#include <QString>

#include <array>
#include <optional>

namespace ziro {

struct MaskKind {
    const char* masked;    // ".KXV"
    const char* restored;  // ".MPG"
    QByteArray restoreBytes;  // what a playable file starts with
    QByteArray maskBytes;     // what a masked file starts with
};

inline const std::array<MaskKind, 3>& maskKinds()
{
    static const std::array<MaskKind, 3> kinds = {{
        {".KXV", ".MPG", QByteArray("\x00\x00\x01\xBA", 4), QByteArray("KXV#")},
        {".KXA", ".AVI", QByteArray("RIFF"), QByteArray("KXA#")},
        {".KXS", ".MP4", QByteArray("\x00\x00\x00", 3), QByteArray("KXS")},
    }};
    return kinds;
}

// The kind of a file by its extension, masked or restored (any letter case).
inline std::optional<MaskKind> maskKindOf(const QString& path, bool* masked = nullptr)
{
    for (const MaskKind& k : maskKinds()) {
        for (const bool isMasked : {true, false}) {
            if (path.endsWith(QLatin1String(isMasked ? k.masked : k.restored), Qt::CaseInsensitive)) {
                if (masked)
                    *masked = isMasked;
                return k;
            }
        }
    }
    return std::nullopt;
}

}  // namespace ziro
