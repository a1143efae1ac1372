#pragma once

#include "viewers/film_window.h"

namespace ziro {

// The MPEG film window (the films of the records and of the menu).
class TTVvideo : public FilmWindow {
    Q_OBJECT
public:
    TTVvideo(QWidget* host, SystemServices& system, Dialogs& dialogs)
        : FilmWindow(host, QStringLiteral("TTVvideo"), system, dialogs)
    {
    }
};

}  // namespace ziro
