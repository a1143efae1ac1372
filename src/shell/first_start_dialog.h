#pragma once

#include "shell/first_start.h"

class QMessageBox;

namespace ziro {

class Dialogs;

// The first-start question on the desktop: three buttons, the sample
// content offered only when the package ships it. Messages go through the
// start-up message boxes.
class FirstStartDialog : public FirstStartPort {
public:
    explicit FirstStartDialog(Dialogs& dialogs) : m_dialogs(dialogs) {}
    FirstStartChoice ask(const QString& root, bool sampleAvailable) override;
    void tell(const QString& text) override;

    // The question's text.
    static QString questionText(const QString& root, bool sampleAvailable);

private:
    Dialogs& m_dialogs;
};

}  // namespace ziro
