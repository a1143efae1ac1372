#pragma once

#include "controls/overlay_widget.h"

namespace ziro {

class TFotoPreview : public OverlayWindow {
    Q_OBJECT
public:
    explicit TFotoPreview(QWidget* host);
};

}  // namespace ziro
