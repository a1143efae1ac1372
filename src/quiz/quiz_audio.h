#pragma once

// Spoken statements and the quiz languages: which language plays and shows,
// the pop-up menus' state, playback through the sound player and automatic
// playback after each move.
//
// The quiz window owns one QuizAudio. It calls Ascolta for the audio buttons,
// requestAutoplay after opening or moving, and builds its language pop-ups
// from menu(); QuizAudio asks the window what it shows through QuizAudioView
// and tells it what to redraw through signals. The one sound player belongs
// to the window thread: nothing here runs anywhere else.

#include "quiz/quiz_languages.h"

#include <QObject>
#include <QTimer>

#include <optional>
#include <vector>

namespace ziro {

class Reports;
class Settings;
class SystemServices;
struct Config;
struct Globals;
struct StatementList;

// What the quiz window shows, as automatic playback needs to know it.
class QuizAudioView {
public:
    virtual ~QuizAudioView() = default;
    virtual bool quizVisible() const = 0;
    virtual bool quizActive() const = 0;
    // Whether any quiz has been opened since start.
    virtual bool quizOpenedOnce() const = 0;
    // The current statement's position (Terni), 0 for none.
    virtual int currentPosition() const = 0;
    virtual bool answerRevealed() const = 0;
    // Whether the statement box has text.
    virtual bool statementShown() const = 0;
    virtual const StatementList& statements() const = 0;
    // The main window's current record number in its content table.
    virtual int currentRecord() const = 0;
};

enum class AudioButton { Question, Statement };  // sb_AudDom, sb_AudAff

// One row of a language pop-up menu.
struct LanguageMenuItem {
    int tag = 0;
    QString caption;
    bool enabled = false;
    bool checked = false;  // radio: one language is ticked
};

// The language pop-up of the current mode (PuLingueNew in edition mode,
// PopupLingue in the older one).
struct LanguageMenu {
    std::vector<LanguageMenuItem> languages;
    bool ricorda = false;        // "Ricorda"
    bool autoplay = false;       // "Autoplay"
    bool hasTestoInLingua = false;
    bool testoInLingua = false;  // "Testo in lingua"
};

class QuizAudio : public QObject {
    Q_OBJECT
public:
    // The playback timer's delay after opening or moving.
    static constexpr int kAutoplayDelayMs = 500;
    // How long a button shows its playing picture.
    static constexpr int kPlayingPictureMs = 1200;

    QuizAudio(Globals& g, Config& cfg, Settings& settings, SystemServices& system,
              Reports& reports, QuizAudioView& view, QObject* parent = nullptr);

    // At the quiz window's creation: whether sound can be played at all.
    void init();
    // At every opening: the audio folders, the languages that can be chosen,
    // and the remembered language. `editionMode` as the quiz decided it.
    void activate(bool editionMode);

    // Plays statement `position` (1 to 70) or, for 0, the question of the
    // older format, in the current language. False when nothing plays.
    bool Ascolta(int position);
    // Stops what plays; false when no player was ready.
    bool stop();

    // The quiz asks for automatic playback: 1 when it opens, 2 after a
    // move, 0 for none. Restarts the playback timer.
    void requestAutoplay(int request);
    // What closing the quiz does: no request is left pending.
    void cancelAutoplay();
    int AutoPlayRequest() const { return m_request; }
    bool autoplayPending() const { return m_timer.isActive(); }

    // The pop-up's items, as the window shows them.
    LanguageMenu menu() const;
    void chooseLanguage(int tag);
    void toggleRicorda();
    void toggleAutoplay();
    void toggleTestoInLingua();
    // The audio button last pressed, with any mouse button (QualeAudSb).
    void setLastButton(AudioButton button) { m_lastButton = button; }

    int LoadedLng() const { return m_loadedLng; }
    bool editionMode() const { return m_editionMode; }
    bool ErrAudio() const { return m_errAudio; }
    bool AudioBassOK() const { return m_engineOk; }
    // Some language folder exists for the current edition.
    bool AudioOk() const { return m_audioOk; }
    // The text of a statement to show: 1 or 2 for the French or German text
    // when that language is loaded and "Testo in lingua" is ticked, else 0.
    int shownTextLanguage() const;

    // The older format's lists, loaded once (LoadLinguaggioNQ).
    bool LoadLinguaggioNQ(int language);
    bool LoadMappaDomandeNQ();
    const LegacyKeyMap& keyMap() const { return m_keyMap; }
    const QStringList& Dom_Multilng_NQ() const { return m_textsChosen; }
    const QStringList& Dom_Multilng_IT() const { return m_textsItalian; }
    const QStringList& Lst_MappaAud_NQ() const { return m_audioNames; }
    // The older format's audio names for the question on show.
    void setLegacyAudio(const QString& question, const QStringList& statements);
    // The older format's question `oldKey` from the Italian list: its text
    // (without a "(number)" group) and statements, checked against the
    // answers of the question's own file; its audio names come from the
    // audio list and are kept for Ascolta. nullopt when the key has no entry
    // or the entry is malformed (reported).
    std::optional<LegacyEntry> legacyQuestion(const QString& oldKey, const std::vector<bool>& answers);

Q_SIGNALS:
    // The audio button shows its playing (true) or idle picture.
    void buttonPlaying(ziro::AudioButton button, bool playing);
    // Both playing marks are hidden.
    void hidePlayingMarks();
    // "Testo in lingua" changed the language of the text: reopen the quiz on
    // the current statement.
    void reloadRequested();
    // Show the grid's current statement again.
    void statementRefreshRequested();

private:
    void autoplayDue();
    void selfplay(int request);
    bool play(const QString& path);
    void setVolumePosition(int position);
    void applyLegacyVolume(int language);
    bool loadLines(const QString& path, QStringList& into, bool fullPath);
    void report(const QString& text);
    bool writeLanguage(int value);
    bool anyFolder(const QString& folder, const QString& alsoUnder) const;

    Globals& m_g;
    Config& m_cfg;
    Settings& m_settings;
    SystemServices& m_system;
    Reports& m_reports;
    QuizAudioView& m_view;

    QTimer m_timer;
    int m_request = 0;
    int m_loadedLng = 0;
    bool m_editionMode = true;
    bool m_errAudio = true;
    bool m_engineOk = false;
    bool m_audioOk = false;
    std::vector<bool> m_enabled;
    bool m_ricorda = false;
    AudioButton m_lastButton = AudioButton::Statement;

    LegacyKeyMap m_keyMap;
    QStringList m_textsChosen;
    QStringList m_textsItalian;
    QStringList m_audioNames;
    QString m_AudDom;
    QStringList m_legacyStatementAudio;
};

}  // namespace ziro
