#pragma once

#include "controls/overlay_widget.h"

namespace ziro {

class TQuizColor : public OverlayWindow {
    Q_OBJECT
public:
    explicit TQuizColor(QWidget* host);
};

}  // namespace ziro
