#pragma once

// What the quiz window does, apart from drawing it: opening a block, the
// current statement and its reveal, stepping through the block, the
// information line, the caption bar, the pictures, the explanation film and
// the answer cue on the keyboard lights. The window draws what this class
// asks through QuizView; the rest of the program is reached through QuizHost,
// and the spoken statements through QuizAudioPort.

#include "quiz/quiz_bank.h"
#include "quiz/quiz_rules.h"
#include "viewers/film.h"

#include <QString>

namespace ziro {

struct Config;
struct Globals;
class DataTable;
class Reports;

// The window's side. The defaults draw nothing.
class QuizView {
public:
    virtual ~QuizView() = default;
    virtual bool isShown() const { return false; }
    virtual void showWindow() {}
    virtual void hideWindow() {}
    // The cover laid over the statement while it changes.
    virtual void showCover(bool shown) { Q_UNUSED(shown); }
    // The statement text (empty clears it) in `colour`.
    virtual void showStatement(const QString& text, const QColor& colour)
    {
        Q_UNUSED(text);
        Q_UNUSED(colour);
    }
    // The picture file; empty clears the picture.
    virtual void showPicture(const QString& path) { Q_UNUSED(path); }
    struct Caption {
        QString text;
        QString family;
        bool shown = true;
        QColor background = kCaptionNeutral;
        QColor foreground = kCaptionNeutralText;
    };
    virtual void showCaption(const Caption& caption) { Q_UNUSED(caption); }
    virtual void showInfo(const QString& text) { Q_UNUSED(text); }
    // The caption bar takes typing (the block caption may be edited).
    virtual void setCaptionEditable(bool editable) { Q_UNUSED(editable); }
    // The number grid is drawn again from the session's state.
    virtual void refreshGrid() {}
    // The group marks; hidden outside edition C-D-E.
    virtual void showGroups(bool shown, const QString& groups)
    {
        Q_UNUSED(shown);
        Q_UNUSED(groups);
    }
    virtual void showGauge(const GaugeLook& look) { Q_UNUSED(look); }
    virtual void setFilmEnabled(bool enabled) { Q_UNUSED(enabled); }
    // The statement audio button: a statement with text and audio to play.
    virtual void setAudioEnabled(bool enabled) { Q_UNUSED(enabled); }
    // A pause with window events flowing.
    virtual void wait(double seconds) { Q_UNUSED(seconds); }
};

// What the quiz asks of the rest of the program.
class QuizHost {
public:
    virtual ~QuizHost() = default;
    // The main window's forward button, pressed.
    virtual void pressForward() {}
    // The main window steps back one record.
    virtual void stepBack() {}
    // The sign `name` in the main window's sign area.
    virtual void showSign(const QString& name) { Q_UNUSED(name); }
    virtual bool playFilm(const FilmRequest& request, QString* error)
    {
        Q_UNUSED(request);
        if (error)
            *error = QStringLiteral("lettore dei filmati non disponibile");
        return false;
    }
    virtual void stopFilm() {}
    // Before a film: the photo viewer (outside the photo-only walk) and the
    // HTML viewer close.
    virtual void closeViewersForFilm() {}
    virtual void closeCrossroads() {}
    virtual void closeBanner() {}
    // The three keyboard lock lights.
    virtual void setLockLights(bool on) { Q_UNUSED(on); }
    // The main window's current sub-topic code.
    virtual QString subTopic() const { return {}; }
    // The random walk's jump counter.
    virtual int jumpCounter() const { return 1; }
    // The open custom lesson, with its current record and its size.
    virtual DataTable* lesson() { return nullptr; }
    virtual int lessonRecord() const { return 0; }
    virtual int lessonCount() const { return 0; }
    // The main window shows no pictures.
    virtual bool pictureOff() const { return false; }
    virtual bool controlHeld() const { return false; }
    virtual void beep() {}
};

// The spoken statements. Until the audio is plugged in, nothing is spoken.
class QuizAudioPort {
public:
    virtual ~QuizAudioPort() = default;
    virtual bool available() const { return false; }
    // The quiz opens: the audio folders and languages are looked at again.
    virtual void activate(bool editionMode) { Q_UNUSED(editionMode); }
    // Speaks the statement.
    virtual void Ascolta(const QuizStatement& statement) { Q_UNUSED(statement); }
    virtual void stop() {}
    // Automatic playback is due: 1 the quiz was just opened, 2 the teacher
    // moved to another statement; 0 cancels what was due.
    virtual void autoplay(int request) { Q_UNUSED(request); }
    // Text shown in place of the Italian: 1 French, 2 German, 0 none.
    virtual int textLanguage() const { return 0; }
};

class QuizSession : public QuizListPort {
public:
    QuizSession(Globals& g, const Config& config, Reports& reports, QuizBank& bank, QuizView& view,
                QuizHost& host);

    void setAudio(QuizAudioPort* audio) { m_audio = audio ? audio : &m_nullAudio; }
    void setColours(const QuizColours& colours) { m_colours = colours; }
    const QuizColours& colours() const { return m_colours; }

    // Opens the quiz on the block `reference` (or the custom lesson's
    // statements) at statement `n` (0 or 1: the first). False, with the
    // window not shown, when nothing could be loaded.
    bool CaricaDomanda(const QString& reference, int n);
    // Closes the window: playback stops and the lights go off.
    void ChiudiQuiz();

    // Next: the reveal first, then the next statement; at the block's end
    // the main window steps forward when the teacher asked for that.
    void next();
    void previous();
    // A click on number `number` of the grid; false for an empty cell.
    bool gridClick(int number);
    void setModoVF(bool on);
    void toggleCaption();
    // The caption edited to `text`; stored when it differs.
    void editCaption(const QString& text);
    void pictureClick();
    void playExplanation();
    void speak();
    void stopAudio() { m_audio->stop(); }
    // The window's keys; false for a key the main window handles.
    bool key(int key, Qt::KeyboardModifiers modifiers);

    // QuizListPort
    void ResettaSelezione(int n) override;
    void VediInfo() override;
    void numberGrid(int count) override;
    void showMessage(const QString& text) override;
    bool controlHeld() const override { return m_host.controlHeld(); }
    void beep() override { m_host.beep(); }

    void RichiamaAffermazione(int n);
    // The statement on show drawn again (its text may change language).
    void refreshStatement() { Scorri1(); }
    // Opens the open block again at the statement reached.
    bool reopen();

    int Terni() const { return m_terni; }
    int Selezionato() const { return m_selezionato; }
    int AutoAnsw() const { return m_autoAnsw; }
    bool ModoVF() const { return m_modoVF; }
    bool captionShown() const { return m_captionShown; }
    int NumAff() const { return m_bank.list().NumAff; }
    const StatementList& list() const { return m_bank.list(); }
    // The statement on show; nullptr when none is, or its place is empty.
    const QuizStatement* current() const;
    // The explanation film of the statement on show (exists false: none).
    FilmFile explanationFilm() const;
    QString infoText() const { return m_info; }

private:
    void Scorri1();
    void CreaSelezione(int q);
    void showCaptionBar();
    QString picturePath(const QString& code) const;
    void showQuiz();

    Globals& m_g;
    const Config& m_config;
    Reports& m_reports;
    QuizBank& m_bank;
    QuizView& m_view;
    QuizHost& m_host;
    QuizAudioPort m_nullAudio;
    QuizAudioPort* m_audio = &m_nullAudio;
    QuizColours m_colours;

    int m_terni = 1;
    int m_selezionato = 1;
    int m_autoAnsw = 0;
    bool m_modoVF = false;
    bool m_firstDomAbsolut = true;
    bool m_captionShown = true;
    QString m_info;
    QString m_reference;  // the block on show
    bool m_reopening = false;
};

}  // namespace ziro
