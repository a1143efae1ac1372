#pragma once

#include "config/config_controller.h"

namespace ziro {

struct Config;
struct Globals;
class Reporter;
class SystemServices;
class TAccessi;
class TBase;
class TMenuGen;
class TQuizColor;
class QuizSession;
class ShellLessons;

// What the configuration form does to the running program: the general
// menu's view, the report switches, the selector colour, the teachers and
// the quiz colours.
class ShellConfigHost : public ConfigPort {
public:
    struct Windows {
        TBase* base = nullptr;
        TMenuGen* menu = nullptr;
        TAccessi* accessi = nullptr;
        TQuizColor* quizColor = nullptr;
        QuizSession* quiz = nullptr;
        ShellLessons* lessons = nullptr;
    };

    ShellConfigHost(Globals& g, Config& config, Reporter& reporter, SystemServices& system, Windows windows)
        : m_g(g), m_config(config), m_reporter(reporter), m_system(system), m_w(windows)
    {
    }

    void setViewMode(bool onlySigns, bool onlyQuestions) override;
    void optionsChanged() override;
    void settingsApplied() override;
    void openAccesses() override;
    void manageAccesses() override;
    void openQuizColours() override;
    void restoreQuizColours() override;
    QString currentAccess() const override;
    void beep() override;

private:
    Globals& m_g;
    Config& m_config;
    Reporter& m_reporter;
    SystemServices& m_system;
    Windows m_w;
};

}  // namespace ziro
