#pragma once

#include "controls/overlay_widget.h"

namespace ziro {

class TMenuImg : public OverlayWindow {
    Q_OBJECT
public:
    explicit TMenuImg(QWidget* host);
};

}  // namespace ziro
