#pragma once

#include "controls/overlay_widget.h"
#include "quiz/quiz_session.h"

class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QToolButton;

namespace ziro {

class QuizGrid;
class QuizPicture;
class QuizStatementView;
class QuizGauge;
class QuizSpeech;

// The quiz over the lesson: the caption bar, the statement's picture, the
// number grid, the statement in large type and the information line. What
// it does is QuizSession's; the window draws and forwards clicks and keys.
class TQuiz : public OverlayWindow, public QuizView {
    Q_OBJECT
public:
    explicit TQuiz(QWidget* host);

    void attach(QuizSession* session);
    QuizSession* session() const { return m_session; }
    // The spoken statements: the audio button's language pop-up and its
    // playing picture.
    void attachSpeech(QuizSpeech* speech);
    // The language pop-up as it stands now (the caller owns it).
    QMenu* languageMenu();

    // QuizView
    bool isShown() const override { return isVisible(); }
    void showWindow() override;
    void hideWindow() override;
    void showCover(bool shown) override;
    void showStatement(const QString& text, const QColor& colour) override;
    void showPicture(const QString& path) override;
    void showCaption(const Caption& caption) override;
    void showInfo(const QString& text) override;
    void setCaptionEditable(bool editable) override;
    void refreshGrid() override;
    void showGroups(bool shown, const QString& groups) override;
    void showGauge(const GaugeLook& look) override;
    void setFilmEnabled(bool enabled) override;
    void setAudioEnabled(bool enabled) override;
    void wait(double seconds) override;

    // Parts the tests reach.
    QWidget* grid() const;
    QLineEdit* captionEdit() const { return m_caption; }
    QLabel* infoLine() const { return m_info; }
    QWidget* statementView() const;
    QString statementText() const;
    QColor statementColour() const;
    int statementPixelSize() const;
    QWidget* picture() const;
    QToolButton* nextButton() const { return m_next; }
    QToolButton* previousButton() const { return m_previous; }
    QToolButton* vfButton() const { return m_vf; }
    QToolButton* filmButton() const { return m_film; }
    QToolButton* audioButton() const { return m_audio; }
    QToolButton* closeButton() const { return m_close; }
    QLabel* groupLabel(int index) const { return m_groups[index]; }
    // The audio button shows its playing picture.
    bool audioPlaying() const { return m_audioPlaying; }
    // The rectangle of grid cell `number` in grid coordinates.
    QRect cellRect(int number) const;

Q_SIGNALS:
    // A key the quiz does not use, for the main window's key map.
    void keyPassed(int key, Qt::KeyboardModifiers mods);

protected:
    void keyReleaseEvent(QKeyEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void storeCaption();
    void showAudioPlaying(bool playing);

    QuizSession* m_session = nullptr;
    QLineEdit* m_caption = nullptr;
    QuizPicture* m_picture = nullptr;
    QuizGrid* m_grid = nullptr;
    QFrame* m_mono = nullptr;
    QuizStatementView* m_statement = nullptr;
    QFrame* m_over = nullptr;
    QLabel* m_info = nullptr;
    QFrame* m_groupPanel = nullptr;
    QLabel* m_groups[7] = {};
    QuizGauge* m_gauge = nullptr;
    QToolButton* m_previous = nullptr;
    QToolButton* m_next = nullptr;
    QToolButton* m_vf = nullptr;
    QToolButton* m_film = nullptr;
    QToolButton* m_audio = nullptr;
    QToolButton* m_close = nullptr;
    QString m_shownCaption;
    QuizSpeech* m_speech = nullptr;
    bool m_audioPlaying = false;
};

}  // namespace ziro
