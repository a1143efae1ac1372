#pragma once

#include "controls/overlay_widget.h"

namespace ziro {

class TTVavc : public OverlayWindow {
    Q_OBJECT
public:
    explicit TTVavc(QWidget* host);
};

}  // namespace ziro
