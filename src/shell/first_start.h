#pragma once

#include "platform/files/install_root.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace ziro {

// How a new installation is made on an empty root.
enum class FirstStartChoice { Sample, Empty, Quit };

// The questions and messages of the first start; a desktop dialog, a
// console for unattended starts, a script in tests.
class FirstStartPort {
public:
    virtual ~FirstStartPort() = default;
    // Asked once, on a root without an installation. `sampleAvailable`:
    // the package's sample content was found.
    virtual FirstStartChoice ask(const QString& root, bool sampleAvailable) = 0;
    // A report or an error for the teacher.
    virtual void tell(const QString& text) = 0;
};

// Unattended starts: the messages go to the standard error, the question
// is answered by the preset (Quit when there is none).
class ConsoleFirstStart : public FirstStartPort {
public:
    explicit ConsoleFirstStart(std::optional<FirstStartChoice> preset) : m_preset(preset) {}
    FirstStartChoice ask(const QString&, bool) override { return m_preset.value_or(FirstStartChoice::Quit); }
    void tell(const QString& text) override;

private:
    std::optional<FirstStartChoice> m_preset;
};

struct RootDecision {
    bool proceed = false;   // start the program on `programFile`
    QString programFile;    // empty: keep the running executable (its own installation)
    int exitCode = 0;       // when not proceeding
};

// The "--install=sample|empty" option, which answers the first-start question
// without asking (an administrator preparing a root, the package test).
// nullopt when absent; `error` is set when the value is not one of the two.
std::optional<FirstStartChoice> presetFirstStart(const QStringList& arguments, QString* error);

// Decides where the program runs and, on an empty root, creates the
// installation the teacher chose. Nothing existing is ever overwritten; a
// root that cannot be used is reported and the program does not start.
RootDecision prepareRoot(const RootChoice& choice, const QString& sampleFolder, FirstStartPort& port,
                         std::optional<FirstStartChoice> preset = std::nullopt);

}  // namespace ziro
