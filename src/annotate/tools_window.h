#pragma once

#include "controls/overlay_widget.h"

namespace ziro {

class TTools : public OverlayWindow {
    Q_OBJECT
public:
    explicit TTools(QWidget* host);
};

}  // namespace ziro
