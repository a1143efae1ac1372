#pragma once

#include "controls/overlay_widget.h"

namespace ziro {

class TQuiz : public OverlayWindow {
    Q_OBJECT
public:
    explicit TQuiz(QWidget* host);
};

}  // namespace ziro
