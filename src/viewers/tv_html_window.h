#pragma once

#include "controls/overlay_widget.h"

namespace ziro {

class TTVhtml : public OverlayWindow {
    Q_OBJECT
public:
    explicit TTVhtml(QWidget* host);
};

}  // namespace ziro
