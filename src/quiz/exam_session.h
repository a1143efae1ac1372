#pragma once

// The mock exam as the teacher drives it: drawn from the current bank,
// shown one statement at a time against the clock, then reviewed. The
// window draws what this class tells it through ExamView and runs the
// one-second clock; everything else is decided here.

#include "quiz/exam.h"

#include <QString>
#include <Qt>

#include <functional>
#include <memory>
#include <optional>

namespace ziro {

struct Config;
struct Globals;
class QuestionBank;
class Reports;
class SystemServices;

// One page of the exam as shown on the projector.
struct ExamPage {
    int number = 0;             // 1 to total
    int total = 0;
    QString text;               // in the language chosen
    QString picturePath;        // empty: no picture
    std::optional<bool> answer; // revealed in the review only
    QString title;              // the phase and the exam's number
    bool spoken = false;        // a spoken file exists in the language shown
};

class ExamView {
public:
    virtual ~ExamView() = default;
    virtual void showWindow() {}
    virtual void hideWindow() {}
    virtual void showPage(const ExamPage& page) { Q_UNUSED(page); }
    virtual void showClock(const QString& text, bool running) { Q_UNUSED(text); Q_UNUSED(running); }
    virtual void showSummary(const QString& text) { Q_UNUSED(text); }
    // The number of an exam being typed to draw it again; empty: none.
    virtual void showTypedNumber(const QString& digits) { Q_UNUSED(digits); }
};

class ExamSession {
public:
    // `bank` gives the current edition's bank, null when none is loaded.
    ExamSession(Globals& g, Reports& reports, std::function<const QuestionBank*()> bank, ExamView& view);

    // Draws an exam with `seed` (0: a fresh one) and shows its first page.
    // False, with a report and nothing shown, when no exam can be drawn.
    bool start(std::uint32_t seed = 0);
    void close();
    bool isOpen() const { return m_run != nullptr; }
    const ExamRun* run() const { return m_run.get(); }

    void forward();
    void back();
    // Ends the answering before the time is up.
    void finish();
    // One second of the clock.
    void tick();
    // The language of the statements: 0 Italian, 1 French, 2 German.
    void setLanguage(int language);
    // The sound player for spoken statements, and the settings whose
    // "Autoplay" speaks each statement as it is shown. Without them the
    // exam is silent.
    void setVoice(SystemServices* system, const Config* config);
    // Speaks the statement on show in the exam's language; false, with the
    // reason reported, when it cannot.
    bool speak();
    // Writes the exam sheet and the answer key as PDF into the teacher's
    // folder and tells where; false, with the reason reported, when not.
    bool print();
    // The keys of the exam; false for a key left to the main window.
    // Digits then Enter draw the exam of that number again, for a class
    // that saw it before. "L" turns the statements to the next language.
    bool key(int key, Qt::KeyboardModifiers mods);

private:
    void show();
    QString picturePath(const QString& code) const;
    std::optional<QString> spokenPath() const;
    bool play(const QString& path, bool quiet);

    Globals& m_g;
    Reports& m_reports;
    std::function<const QuestionBank*()> m_bank;
    ExamView& m_view;
    SystemServices* m_system = nullptr;
    const Config* m_config = nullptr;
    std::optional<bool> m_engine;  // started, once tried
    std::unique_ptr<ExamRun> m_run;
    int m_language = 0;
    QString m_typed;  // digits of an exam number
};

}  // namespace ziro
