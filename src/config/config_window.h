#pragma once

#include "controls/overlay_widget.h"

namespace ziro {

class TConfig : public OverlayWindow {
    Q_OBJECT
public:
    explicit TConfig(QWidget* host);
};

}  // namespace ziro
