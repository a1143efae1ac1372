#pragma once

#include <QString>

namespace ziro {

// The plain message boxes: start-up and exit (before the report window
// exists, or after it is gone), the phase failures and the few messages that
// are not reports. Tests answer them with a script.
class Dialogs {
public:
    enum class Answer { Ok, Yes, No, Ignore };
    virtual ~Dialogs() = default;

    // An information message with an OK button.
    virtual void message(const QString& text) = 0;
    // A warning with Yes and No.
    virtual Answer askYesNo(const QString& text) = 0;
    // A question with Yes, No and Ignore.
    virtual Answer askYesNoIgnore(const QString& text) = 0;
};

}  // namespace ziro
