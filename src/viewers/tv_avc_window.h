#pragma once

#include "viewers/film_window.h"

namespace ziro {

// The MP4 film window.
class TTVavc : public FilmWindow {
    Q_OBJECT
public:
    TTVavc(QWidget* host, SystemServices& system, Dialogs& dialogs)
        : FilmWindow(host, QStringLiteral("TTVavc"), system, dialogs)
    {
    }
};

}  // namespace ziro
