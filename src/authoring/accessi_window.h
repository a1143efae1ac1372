#pragma once

#include "controls/overlay_widget.h"

namespace ziro {

class TAccessi : public OverlayWindow {
    Q_OBJECT
public:
    explicit TAccessi(QWidget* host);
};

}  // namespace ziro
