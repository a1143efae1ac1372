#pragma once

#include "controls/overlay_widget.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QScrollArea;

namespace ziro {

class NoteEditor;

// The note window over the lesson: the record's note, which a double-click
// opens for correction and OK (or Esc) stores. What it does is NoteEditor's.
class TTVtesto : public OverlayWindow {
    Q_OBJECT
public:
    explicit TTVtesto(QWidget* host);

    void attach(NoteEditor* editor) { m_editor = editor; }
    // Shows the note of the record on show, modally; `hints` unless the
    // teacher turned them off.
    void showNote(bool hints);

    // The double-click that opens the note for correction.
    void startEditing();
    // OkClick: stores a correction, or closes.
    void OkClick();

    QLabel* noteLabel() const { return m_label; }
    QPlainTextEdit* box() const { return m_box; }
    QLabel* notice() const { return m_avviso; }

Q_SIGNALS:
    // A key the window does not use, for the main window's key map.
    void keyPassed(int key, Qt::KeyboardModifiers mods);
    void beepRequested();
    void closedNote();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void refresh();

    NoteEditor* m_editor = nullptr;
    QScrollArea* m_scroll = nullptr;
    QLabel* m_label = nullptr;
    QLabel* m_avviso = nullptr;
    QLabel* m_ok = nullptr;
    QPlainTextEdit* m_box = nullptr;
    QPushButton* m_okButton = nullptr;
};

}  // namespace ziro
