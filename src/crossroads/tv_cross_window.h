#pragma once

#include "controls/overlay_widget.h"

namespace ziro {

class TTVcross : public OverlayWindow {
    Q_OBJECT
public:
    explicit TTVcross(QWidget* host);
};

}  // namespace ziro
