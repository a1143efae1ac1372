#pragma once

#include "base/dialogs.h"

class QWidget;

namespace ziro {

// The start-up and exit message boxes on the desktop.
class MessageBoxDialogs : public Dialogs {
public:
    void setParentWidget(QWidget* parent) { m_parent = parent; }
    void message(const QString& text) override;
    Answer askYesNo(const QString& text) override;
    Answer askYesNoIgnore(const QString& text) override;

private:
    QWidget* m_parent = nullptr;
};

}  // namespace ziro
