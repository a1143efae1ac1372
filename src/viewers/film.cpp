#include "viewers/film.h"

#include "base/globals.h"
#include "platform/files/paths.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace ziro {

FilmFile resolveFilm(const QString& folder, const QString& base)
{
    const auto find = [&](const char* ext) {
        return resolveFile(folder, base + QLatin1String(ext));
    };
    struct Candidate {
        const char* ext;
        FilmPlayer player;
        bool masked;
    };
    static const Candidate order[] = {
        {".MP4", FilmPlayer::Mp4, false},
        {".KXS", FilmPlayer::Mp4, true},
        {".MPG", FilmPlayer::Mpeg, false},
        {".KXV", FilmPlayer::Mpeg, true},
    };
    for (const Candidate& c : order) {
        const QString path = find(c.ext);
        if (QFileInfo(path).isFile())
            return FilmFile{path, c.player, c.masked, true};
    }
    return FilmFile{withSeparator(folder) + base + QStringLiteral(".MPG"), FilmPlayer::Mpeg, false,
                    false};
}

qint64 unitsOfSeconds(double seconds)
{
    if (!(seconds > 0))
        return 0;
    // Past 28,000 years (or infinite) is the end of any film.
    return std::llround(std::min(seconds, 9e11) * 1e7);
}

EdlRange parseEdl(const QString& edl)
{
    const auto frame = [](const QString& text) -> qint64 {
        bool ok = false;
        const qint64 v = text.trimmed().toLongLong(&ok);
        // A frame past any film is as malformed as text: its position in
        // 100 ns units would not fit in 64 bits.
        return ok && v >= 0 && v <= kMaxEdlFrame ? v : 0;
    };
    const QString t = edl.trimmed();
    if (t.isEmpty())
        return {};
    const qsizetype slash = t.indexOf(QLatin1Char('/'));
    if (slash < 0)
        return {frame(t), 0};
    return {frame(t.left(slash)), frame(t.mid(slash + 1))};
}

}  // namespace ziro
