#pragma once

#include "config/config_controller.h"
#include "controls/overlay_widget.h"

#include <optional>

class QLineEdit;
class QPushButton;

namespace ziro {

// "Pagina riservata": the lock before the reserved page. It asks for one of
// two access words; an invisible area in the lower-left corner gives the
// second one away on a double click. It keeps a teacher out of the reserved
// page by accident only (see checkAccessWord).
class TPasswordDlg : public OverlayWindow {
    Q_OBJECT
public:
    explicit TPasswordDlg(QWidget* host);

    // Modal: the word typed, judged; nullopt when cancelled. The edit is
    // cleared in every case.
    std::optional<AccessWord> ask();

    QLineEdit* Password = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;
    QWidget* bypass = nullptr;

public Q_SLOTS:
    void OKBtnClick();
    void CancelBtnClick();
    void bypassDblClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::optional<AccessWord> m_outcome;
    bool m_answered = false;
};

}  // namespace ziro
