#pragma once

#include "controls/overlay_widget.h"
#include "quiz/quiz_colours.h"

#include <array>

class QLabel;
class QPushButton;
class QScrollBar;

namespace ziro {

// "Impostazione colori": six samples of the quiz window's colours and three
// red, green and blue bars that colour the sample last clicked. OK hands the
// six colours over to be applied and stored; Cancel only closes.
class TQuizColor : public OverlayWindow {
    Q_OBJECT
public:
    explicit TQuizColor(QWidget* host);

    // Shows the window over the lesson.
    void open();

    const QuizColourEditor& editor() const { return m_editor; }
    QWidget* sampleWidget(int role) const;
    QScrollBar* bar(int index) const { return m_bars[std::size_t(index)]; }

public Q_SLOTS:
    void OKClick();
    void Chiude();

Q_SIGNALS:
    // The window came up: the quiz returns to its default colours at once,
    // so the teacher starts from a known set.
    void quizDefaultsRequested();
    // OK: the six colours, by role, to be applied to the quiz and stored.
    void coloursAccepted(const ziro::QuizColourTexts& texts);

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void barsMoved();
    void paintSample(int role);

    QuizColourEditor m_editor;
    QLabel* m_info = nullptr;
    std::array<QWidget*, kQuizColourRoles> m_samples{};
    std::array<QScrollBar*, 3> m_bars{};
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

}  // namespace ziro
