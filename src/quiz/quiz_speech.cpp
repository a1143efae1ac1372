#include "quiz/quiz_speech.h"

#include "base/globals.h"
#include "quiz/statement_list.h"

namespace ziro {

namespace {
const StatementList kNoStatements;
}

QuizSpeech::QuizSpeech(Globals& g, Config& cfg, Settings& settings, SystemServices& system, Reports& reports,
                       QObject* parent)
    : QObject(parent),
      m_g(g),
      m_audio(std::make_unique<QuizAudio>(g, cfg, settings, system, reports, *this, this))
{
}

void QuizSpeech::attach(QuizSession* session, QuizView* view)
{
    m_session = session;
    m_view = view;
    if (!m_session)
        return;
    connect(m_audio.get(), &QuizAudio::reloadRequested, this, [this] {
        if (m_session)
            m_session->reopen();
    });
    connect(m_audio.get(), &QuizAudio::statementRefreshRequested, this, [this] {
        if (m_session && quizVisible())
            m_session->refreshStatement();
    });
}

bool QuizSpeech::available() const
{
    return m_initialised && m_audio->AudioOk();
}

void QuizSpeech::activate(bool editionMode)
{
    // The sound output and the older format's key map are looked at once,
    // the first time a quiz opens: a lesson that never opens one never
    // starts the sound engine.
    if (!m_initialised) {
        m_audio->init();
        m_initialised = true;
    }
    m_audio->activate(editionMode);
    m_openedOnce = true;
}

void QuizSpeech::Ascolta(const QuizStatement& statement)
{
    Q_UNUSED(statement);
    if (m_initialised)
        m_audio->Ascolta(currentPosition());
}

void QuizSpeech::stop()
{
    if (m_initialised)
        m_audio->stop();
}

void QuizSpeech::autoplay(int request)
{
    if (request == 0)
        m_audio->cancelAutoplay();
    else if (m_initialised)
        m_audio->requestAutoplay(request);
}

int QuizSpeech::textLanguage() const
{
    return m_initialised ? m_audio->shownTextLanguage() : 0;
}

bool QuizSpeech::quizVisible() const
{
    return m_view && m_view->isShown();
}

bool QuizSpeech::quizActive() const
{
    return quizVisible() && (!m_active || m_active());
}

int QuizSpeech::currentPosition() const
{
    return m_session ? m_session->Terni() : 0;
}

bool QuizSpeech::answerRevealed() const
{
    return m_session && m_session->AutoAnsw() == 1;
}

bool QuizSpeech::statementShown() const
{
    return m_session && m_session->current() && !m_session->current()->Aff[0].trimmed().isEmpty();
}

const StatementList& QuizSpeech::statements() const
{
    return m_session ? m_session->list() : kNoStatements;
}

}  // namespace ziro
