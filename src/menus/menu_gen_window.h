#pragma once

#include "controls/overlay_widget.h"

namespace ziro {

class TMenuGen : public OverlayWindow {
    Q_OBJECT
public:
    explicit TMenuGen(QWidget* host);
};

}  // namespace ziro
