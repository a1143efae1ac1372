#pragma once

#include "platform/system/system_services.h"

#include <QSize>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace ziro {

class Dialogs;
class IniFile;
struct Globals;

// Runs an external program and waits for it; -1 when it cannot start.
int EseguiEAttendi(SystemServices& system, const QString& program,
                   const QStringList& arguments = {});

// Registers a private font. A missing file is reported and gives false.
bool CaricaFont(SystemServices& system, Dialogs& dialogs, const QString& path);

// The outcome text of the start-up checks: "OK" until a step fails; the first
// failure replaces it and later ones are appended after ", ".
class OutcomeText {
public:
    void fail(const QString& text);
    const QString& text() const { return m_text; }
    bool ok() const { return m_text == QLatin1String("OK"); }

private:
    QString m_text = QStringLiteral("OK");
};

// What the resolution check does with the settings file's "Auto res" key.
enum class AutoResWrite { None, SetTrue, SetFalse, Remove };

struct ResolutionPlan {
    bool act = false;   // the screen is larger than 640 x 480 and switching is on
    bool ask = false;   // the teacher is asked first
};

// The first half of the decision, before any question: `autoRes` is the
// key's value, nullopt when the key is absent.
ResolutionPlan planResolution(QSize screen, bool settingsExist, std::optional<bool> autoRes);

// What to write once the answer is known (`switched`: a mode switch
// succeeded). Yes writes true after a successful switch; Ignore stops the
// question for good (false); No removes the key so it comes back next time.
AutoResWrite resolutionWrite(bool settingsExist, bool asked, int answer /*Dialogs::Answer*/,
                             bool switched);

extern const char* const kResolutionQuestion;
extern const char* const kResolutionFailed;

// Runs the start-up checks (sound card, fonts, display resolution) and
// returns the outcome text. `hideSplash` is called before the resolution
// question. The settings file is opened only when it exists.
QString runStartupChecks(Globals& g, SystemServices& system, Dialogs& dialogs, QSize screen,
                         const std::function<void()>& hideSplash);

// The set-up module in the program folder: the classic name, and on this
// platform also the same name without ".EXE". Empty when neither exists.
QString findSetupModule(const QString& dirProgram);

// Splash creation: reads the school name and, when the program has not been
// set up, runs the set-up module (or reports it missing or failed).
void prepareSplash(Globals& g, SystemServices& system, Dialogs& dialogs);

}  // namespace ziro
