#pragma once

// The quiz session's spoken statements, joined to QuizAudio: the session asks
// through QuizAudioPort, QuizAudio asks what is on show through
// QuizAudioView, and both are answered here from the session and its window.

#include "quiz/quiz_audio.h"
#include "quiz/quiz_session.h"

#include <functional>
#include <memory>

namespace ziro {

class QuizSpeech : public QObject, public QuizAudioPort, public QuizAudioView {
    Q_OBJECT
public:
    QuizSpeech(Globals& g, Config& cfg, Settings& settings, SystemServices& system, Reports& reports,
               QObject* parent = nullptr);

    // The session and its window; the speech is told nothing before.
    void attach(QuizSession* session, QuizView* view);
    // The main window's current record, for the return from a side trip.
    void setRecordSource(std::function<int()> source) { m_record = std::move(source); }
    // Whether the window that shows the quiz is the active one.
    void setActiveSource(std::function<bool()> source) { m_active = std::move(source); }

    QuizAudio& audio() { return *m_audio; }
    const QuizAudio& audio() const { return *m_audio; }

    // QuizAudioPort
    bool available() const override;
    void activate(bool editionMode) override;
    void Ascolta(const QuizStatement& statement) override;
    void stop() override;
    void autoplay(int request) override;
    int textLanguage() const override;

    // QuizAudioView
    bool quizVisible() const override;
    bool quizActive() const override;
    bool quizOpenedOnce() const override { return m_openedOnce; }
    int currentPosition() const override;
    bool answerRevealed() const override;
    bool statementShown() const override;
    const StatementList& statements() const override;
    int currentRecord() const override { return m_record ? m_record() : 0; }

private:
    Globals& m_g;
    std::unique_ptr<QuizAudio> m_audio;
    QuizSession* m_session = nullptr;
    QuizView* m_view = nullptr;
    std::function<int()> m_record;
    std::function<bool()> m_active;
    bool m_initialised = false;
    bool m_openedOnce = false;
};

}  // namespace ziro
