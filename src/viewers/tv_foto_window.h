#pragma once

#include "controls/overlay_widget.h"

namespace ziro {

class TTVFoto : public OverlayWindow {
    Q_OBJECT
public:
    explicit TTVFoto(QWidget* host);
};

}  // namespace ziro
