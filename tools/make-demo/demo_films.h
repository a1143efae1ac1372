#pragma once

#include <QString>

namespace ziro::demo {

// The films the demo's records and topic lists name, generated and masked
// as an installation keeps them: "Flm001" (the record cut 0/250, so a
// little longer than ten seconds), "Flm005" as a masked MP4 and "Flm009"
// as a masked MPEG film. False, with the reason, when one cannot be made.
bool writeFilms(const QString& videoFolder, QString* error);

}  // namespace ziro::demo
