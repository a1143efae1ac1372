#pragma once

#include "controls/overlay_widget.h"

namespace ziro {

class TRemote : public OverlayWindow {
    Q_OBJECT
public:
    explicit TRemote(QWidget* host);
};

}  // namespace ziro
