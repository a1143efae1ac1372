#pragma once

#include "controls/overlay_widget.h"


class QLabel;
class QLineEdit;
class QPushButton;

namespace ziro {

class SystemServices;

// The program's one-line question box: asks for a name (a new lesson, a new
// teacher) and answers it normalised. Only name characters can be typed; a
// pasted text that holds anything else is refused on OK.
class TInText : public OverlayWindow {
    Q_OBJECT
public:
    // A refused key or answer sounds the system's beep.
    TInText(QWidget* host, SystemServices& system);

    // KXQuery: shows `titolo` as the caption, `messaggio` as the prompt and
    // `returnText` selected in the field, modally. Returns the normalised
    // name, or an empty string when cancelled or left empty.
    QString kxQuery(const QString& titolo, const QString& messaggio,
                    const QString& returnText = QString());
    // The same with the current caption.
    QString ask(const QString& prompt, const QString& initial = QString());

    QLabel* prompt() const { return m_prompt; }
    QLineEdit* edit() const { return m_edit; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void okClicked();
    void placeOverMain();

    QLabel* m_caption = nullptr;
    QLabel* m_prompt = nullptr;
    QLineEdit* m_edit = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    SystemServices& m_system;
    QString m_answer;
};

}  // namespace ziro
