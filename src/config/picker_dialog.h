#pragma once

#include "controls/overlay_widget.h"

#include <QColor>
#include <QString>

#include <optional>

class QDialog;

namespace ziro {

// Qt's colour and file dialogs drawn inside the presentation: a dialog of its
// own would be a separate window, outside the scaled lesson and in front of
// nothing in particular on a projector. The dialog becomes a plain child of
// an overlay that covers the main window and runs modally.
class TPickerDialog : public OverlayWindow {
    Q_OBJECT
public:
    explicit TPickerDialog(QWidget* host);

    // Runs `dialog` (built with DontUseNativeDialog) until it is accepted
    // or rejected; answers its result.
    int run(QDialog& dialog);

    static std::optional<QColor> chooseColour(QWidget* host, const QColor& initial);
    static QString chooseFolder(QWidget* host, const QString& title, const QString& start);
    static QString chooseOpenFile(QWidget* host, const QString& title, const QString& start);
    static QString chooseSaveFile(QWidget* host, const QString& title, const QString& start);

    // The picker on show, for tests that answer it.
    static TPickerDialog* current();
    QDialog* dialog() const { return m_dialog; }

private:
    QDialog* m_dialog = nullptr;
};

}  // namespace ziro
