#pragma once

#include "controls/overlay_widget.h"

namespace ziro {

class TSelect : public OverlayWindow {
    Q_OBJECT
public:
    explicit TSelect(QWidget* host);
};

}  // namespace ziro
