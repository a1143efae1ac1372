#pragma once

// What loading a statement list asks of the quiz window. Until the window
// plugs itself in, nothing is shown and the Control key reads as up.

#include <QString>

namespace ziro {

class QuizListPort {
public:
    virtual ~QuizListPort() = default;
    // Back to the first statement (0: as a new run starts).
    virtual void ResettaSelezione(int n) { Q_UNUSED(n); }
    // Refreshes the information line.
    virtual void VediInfo() {}
    // Numbers the cells of the statement grid from 1 to `count`.
    virtual void numberGrid(int count) { Q_UNUSED(count); }
    virtual void showMessage(const QString& text) { Q_UNUSED(text); }
    virtual bool controlHeld() const { return false; }
    // The short beep of a caption that could not be stored.
    virtual void beep() {}
};

}  // namespace ziro
