#include "demo_content.h"

#include "film_maker.h"

namespace ziro::demo {

bool writeFilms(const QString& videoDir, QString* error)
{
    // Short films keep the installation small: a few MB in all. The two
    // films of the E01 records are longer, for their cuts (frames 0 to 250
    // and 25 to 150) to end before the film does.
    struct Film {
        const char* name;
        int frames;
    };
    static const Film films[] = {
        {"Flm001.KXV", 300}, {"Flm014.KXS", 250}, {"Flm003.KXV", 100}, {"Flm005.KXS", 100},
        {"Flm009.KXS", 100}, {"Flm011.KXV", 100}, {"Flm017.KXS", 100}, {"Flm021.KXS", 100},
        {"Flm031.KXS", 100},
        // The film button of the C-D-E edition.
        {"Fls1.KXS", 150},
    };
    for (const Film& f : films) {
        QString why;
        filmgen::FilmSpec spec;
        spec.frames = f.frames;
        if (!filmgen::makeFilm(videoDir + QLatin1String(f.name), spec, &why)) {
            if (error)
                *error = QLatin1String(f.name) + QStringLiteral(": ") + why;
            return false;
        }
    }
    return true;
}

}  // namespace ziro::demo
