#pragma once

#include "controls/overlay_widget.h"

namespace ziro {

class TTVlibro : public OverlayWindow {
    Q_OBJECT
public:
    explicit TTVlibro(QWidget* host);
};

}  // namespace ziro
