#include "shell/config_link_ui.h"

#include "authoring/accessi_window.h"
#include "authoring/accesses.h"
#include "base/globals.h"
#include "config/settings.h"
#include "diag/reporter.h"
#include "menus/general_menu.h"
#include "menus/menu_gen_window.h"
#include "platform/system/system_services.h"
#include "quiz/quiz_color_window.h"
#include "quiz/quiz_session.h"
#include "shell/lessons_link_ui.h"
#include "shell/main_window.h"

namespace ziro {

void ShellConfigHost::setViewMode(bool onlySigns, bool onlyQuestions)
{
    if (!m_w.menu || !m_w.menu->logic())
        return;
    GeneralMenu& menu = *m_w.menu->logic();
    const ViewMode wanted = onlySigns ? ViewMode::SignsOnly
                                      : (onlyQuestions ? ViewMode::QuestionsOnly : ViewMode::Both);
    // The menu only knows how to step to its next view; at most a round.
    for (int i = 0; i < 3 && menu.viewMode() != wanted; ++i)
        menu.viewModeClicked(false);
}

void ShellConfigHost::optionsChanged()
{
    m_reporter.options() = reportOptions(m_config);
    if (m_w.base) {
        m_w.base->setSelectorColour(m_g.ColoreSelettore);
        m_w.base->update();
    }
}

void ShellConfigHost::settingsApplied()
{
    optionsChanged();
    if (m_w.base)
        Q_EMIT m_w.base->settingsApplied();
}

void ShellConfigHost::openAccesses()
{
    if (!m_w.lessons || !m_w.accessi || !m_g.IniFilePtr)
        return;
    m_w.lessons->accesses().load();
    if (m_w.lessons->accesses().teacherCount() == 0)
        m_w.lessons->manageAccesses();
    else
        m_w.accessi->execChoice();
}

void ShellConfigHost::manageAccesses()
{
    if (m_w.lessons)
        m_w.lessons->manageAccesses();
}

void ShellConfigHost::openQuizColours()
{
    if (m_w.quizColor)
        m_w.quizColor->open();
}

void ShellConfigHost::restoreQuizColours()
{
    if (m_w.quiz)
        m_w.quiz->setColours(QuizColours());
}

QString ShellConfigHost::currentAccess() const
{
    return m_w.lessons ? m_w.lessons->accesses().infoAccess() : QString();
}

void ShellConfigHost::beep()
{
    m_system.beep();
}

}  // namespace ziro
