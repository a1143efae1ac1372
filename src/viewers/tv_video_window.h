#pragma once

#include "controls/overlay_widget.h"

namespace ziro {

class TTVvideo : public OverlayWindow {
    Q_OBJECT
public:
    explicit TTVvideo(QWidget* host);
};

}  // namespace ziro
