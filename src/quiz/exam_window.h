#pragma once

// The mock exam's window over the lesson: one statement at a time with its
// picture, its number and the countdown, large enough for the back row;
// then the review with each answer in colour, and the summary.

#include "controls/overlay_widget.h"
#include "quiz/exam_session.h"

class QLabel;
class QTimer;
class QToolButton;

namespace ziro {

class TExam : public OverlayWindow, public ExamView {
    Q_OBJECT
public:
    explicit TExam(QWidget* host);

    void attach(ExamSession* session) { m_session = session; }

    // ExamView
    void showWindow() override;
    void hideWindow() override;
    void showPage(const ExamPage& page) override;
    void showClock(const QString& text, bool running) override;
    void showSummary(const QString& text) override;
    void showTypedNumber(const QString& digits) override;

    // For the tests: what the projector shows.
    QString titleText() const;
    QString numberText() const;
    QString statementText() const;
    QString answerText() const;
    QString clockText() const;
    QString summaryText() const;
    QString typedNumberText() const;
    bool summaryShown() const;
    bool clockRunning() const;

Q_SIGNALS:
    // A key the exam has no use for, for the main window's key map.
    void keyPassed(int key, Qt::KeyboardModifiers modifiers);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    void showPageWidgets(bool shown);

    ExamSession* m_session = nullptr;
    QLabel* m_title = nullptr;
    QLabel* m_clock = nullptr;
    QLabel* m_number = nullptr;
    QLabel* m_picture = nullptr;
    QLabel* m_statement = nullptr;
    QLabel* m_answer = nullptr;
    QLabel* m_summary = nullptr;
    QToolButton* m_back = nullptr;
    QToolButton* m_forward = nullptr;
    QToolButton* m_finish = nullptr;
    QToolButton* m_print = nullptr;
    QLabel* m_typed = nullptr;
    QToolButton* m_close = nullptr;
    QToolButton* m_speak = nullptr;
    QTimer* m_timer = nullptr;
};

}  // namespace ziro
