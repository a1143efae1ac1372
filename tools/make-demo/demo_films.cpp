#include "demo_films.h"

#include "film_maker.h"

namespace ziro::demo {

bool writeFilms(const QString& videoFolder, QString* error)
{
    const struct {
        const char* name;
        int frames;
    } films[] = {
        {"Flm001.KXV", 260},
        {"Flm005.KXS", 125},
        {"Flm009.KXV", 125},
    };
    for (const auto& film : films) {
        if (!filmgen::makeFilm(videoFolder + QLatin1String(film.name), {film.frames, true}, error))
            return false;
    }
    return true;
}

}  // namespace ziro::demo
