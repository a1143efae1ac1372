#pragma once

#include "controls/overlay_widget.h"

namespace ziro {

class TPasswordDlg : public OverlayWindow {
    Q_OBJECT
public:
    explicit TPasswordDlg(QWidget* host);
};

}  // namespace ziro
