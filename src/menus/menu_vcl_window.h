#pragma once

#include "controls/overlay_widget.h"

namespace ziro {

class TMenuVcl : public OverlayWindow {
    Q_OBJECT
public:
    explicit TMenuVcl(QWidget* host);
};

}  // namespace ziro
