#include "demo_content.h"

#include "film_maker.h"

namespace ziro::demo {

bool writeFilms(const QString& videoDir, QString* error)
{
    // Short films keep the installation small: a few MB in all. The two
    // films of the E01 records are longer, for their cuts (frames 0 to 250
    // and 25 to 150) to end before the film does.
    using filmgen::Scene;
    struct Film {
        const char* name;
        int frames;
        Scene scene;
    };
    static const Film films[] = {
        {"Flm001.KXV", 300, Scene::Road},       {"Flm014.KXS", 250, Scene::Braking},
        {"Flm003.KXV", 100, Scene::Road},       {"Flm005.KXS", 100, Scene::Roundabout},
        {"Flm009.KXS", 100, Scene::Braking},    {"Flm011.KXV", 100, Scene::Roundabout},
        {"Flm017.KXS", 100, Scene::Road},       {"Flm021.KXS", 150, Scene::Roundabout},
        {"Flm031.KXS", 100, Scene::Braking},
        // The film button of the C-D-E edition.
        {"Fls1.KXS", 150, Scene::Roundabout},
    };
    for (const Film& f : films) {
        QString why;
        filmgen::FilmSpec spec;
        spec.frames = f.frames;
        spec.scene = f.scene;
        if (!filmgen::makeFilm(videoDir + QLatin1String(f.name), spec, &why)) {
            if (error)
                *error = QLatin1String(f.name) + QStringLiteral(": ") + why;
            return false;
        }
    }
    return true;
}

}  // namespace ziro::demo
