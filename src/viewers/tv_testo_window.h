#pragma once

#include "controls/overlay_widget.h"

namespace ziro {

class TTVtesto : public OverlayWindow {
    Q_OBJECT
public:
    explicit TTVtesto(QWidget* host);
};

}  // namespace ziro
