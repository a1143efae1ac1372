#pragma once

#include "controls/overlay_widget.h"

namespace ziro {

class TInText : public OverlayWindow {
    Q_OBJECT
public:
    explicit TInText(QWidget* host);
};

}  // namespace ziro
