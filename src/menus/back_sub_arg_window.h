#pragma once

#include "controls/overlay_widget.h"

namespace ziro {

class TBackSubArg : public OverlayWindow {
    Q_OBJECT
public:
    explicit TBackSubArg(QWidget* host);
};

}  // namespace ziro
