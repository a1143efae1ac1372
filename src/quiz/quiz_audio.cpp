#include "quiz/quiz_audio.h"

#include "base/globals.h"
#include "base/reports.h"
#include "config/settings.h"
#include "platform/files/paths.h"
#include "platform/files/text_codec.h"
#include "platform/system/system_services.h"
#include "quiz/statement_list.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace ziro {

namespace {

const QString kContext = QStringLiteral("Riproduzione audio");

bool folderExists(const QString& path)
{
    return QFileInfo(path).isDir();
}

}  // namespace

QuizAudio::QuizAudio(Globals& g, Config& cfg, Settings& settings, SystemServices& system,
                     Reports& reports, QuizAudioView& view, QObject* parent)
    : QObject(parent),
      m_g(g),
      m_cfg(cfg),
      m_settings(settings),
      m_system(system),
      m_reports(reports),
      m_view(view)
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(kAutoplayDelayMs);
    connect(&m_timer, &QTimer::timeout, this, &QuizAudio::autoplayDue);
}

void QuizAudio::report(const QString& text)
{
    m_reports.Emsg(ReportKind::Message, kContext, text);
}

void QuizAudio::init()
{
    m_errAudio = !m_system.hasSoundOutput();
    m_engineOk = !m_errAudio;
    if (m_engineOk) {
        if (!m_system.soundEngineCurrent()) {
            report(QStringLiteral("ERRORE: libreria BASS versione 2.0 non caricata"));
            m_engineOk = false;
        } else if (!m_system.startSoundEngine()) {
            report(QStringLiteral("ERRORE: Impossibile inizializzare la scheda audio"));
            m_engineOk = false;
        }
    }
    m_loadedLng = 0;
    LoadMappaDomandeNQ();
}

bool QuizAudio::anyFolder(const QString& folder, const QString& alsoUnder) const
{
    return folderExists(folder) || (!alsoUnder.isEmpty() && folderExists(alsoUnder));
}

void QuizAudio::activate(bool editionMode)
{
    setQuizAudioFolders(m_g.dirs);
    m_editionMode = editionMode;
    const QString legacyRoot = legacyAudioFolder(m_g.dirs);
    m_enabled.clear();
    if (editionMode) {
        const QString folder = editionAudioFolder(m_g.dirs, m_g.Edizione);
        // The older installation's folder serves the two car editions too.
        const bool legacyCounts = m_g.ModoAB() || m_g.ModoAM();
        for (int i = 0; i < kEditionLanguages; ++i) {
            const QString sub = QLatin1String(editionLanguage(i).folder);
            m_enabled.push_back(anyFolder(folder + sub, legacyCounts ? legacyRoot + sub : QString()));
        }
    } else {
        for (int i = 0; i < kLegacyLanguages; ++i) {
            const QString sub = QLatin1String(legacyLanguage(i).folder);
            m_enabled.push_back(anyFolder(m_g.dirs.DirAudio + sub, legacyRoot + sub));
        }
    }
    m_audioOk = std::find(m_enabled.begin(), m_enabled.end(), true) != m_enabled.end();

    // InitLingue
    if (m_cfg.Linguaggio == -1) {
        m_loadedLng = 0;
        m_ricorda = false;
    } else {
        m_loadedLng = normalisedLanguage(m_cfg.Linguaggio, editionMode);
        m_ricorda = true;
    }
    if (!editionMode && m_textsChosen.isEmpty())
        LoadLinguaggioNQ(m_loadedLng);
}

int QuizAudio::shownTextLanguage() const
{
    if (!m_editionMode || !m_cfg.LngTxtAlign)
        return 0;
    return m_loadedLng == 1 || m_loadedLng == 2 ? m_loadedLng : 0;
}

void QuizAudio::setVolumePosition(int position)
{
    if (!m_engineOk)
        return;
    // The program's own output follows the volume position; a player that
    // cannot take it only beeps, and the statement still plays.
    if (!m_system.setSoundVolume(2 * position))
        m_system.beep();
}

void QuizAudio::applyLegacyVolume(int language)
{
    const QString root = folderExists(m_g.dirs.DirAudio) ? m_g.dirs.DirAudio
                                                         : legacyAudioFolder(m_g.dirs);
    if (!QFileInfo::exists(legacyVolumeMarker(root, language)))
        setVolumePosition(legacyLanguage(language).defaultVolume);
}

bool QuizAudio::stop()
{
    if (!m_engineOk)
        return false;
    m_system.stopSound();
    return true;
}

bool QuizAudio::play(const QString& path)
{
    if (!m_engineOk)
        return false;
    m_system.stopSound();
    if (!QFileInfo(path).isFile())
        return false;
    if (!m_system.playVoice(path)) {
        report(QStringLiteral("ERRORE: Impossibile accedere allo stream audio"));
        return false;
    }
    return true;
}

void QuizAudio::setLegacyAudio(const QString& question, const QStringList& statements)
{
    m_AudDom = question;
    m_legacyStatementAudio = statements;
}

std::optional<LegacyEntry> QuizAudio::legacyQuestion(const QString& oldKey, const std::vector<bool>& answers)
{
    const QString key = m_keyMap.MatchNewq(oldKey);
    // A question that cannot be read leaves no sound of the one before.
    m_AudDom.clear();
    m_legacyStatementAudio.clear();
    const auto read = [&](const QStringList& lines, int maxText, const QString& context) {
        QString error;
        auto entry = readLegacyEntry(lines, key, maxText, &error);
        if (!error.isEmpty()) {
            m_reports.Emsg(ReportKind::Message, context,
                           error + QStringLiteral(" L: ") + QString::number(m_loadedLng));
            return entry;
        }
        if (!entry)
            return entry;
        const std::size_t n = std::min(entry->statements.size(), answers.size());
        for (std::size_t i = 0; i < n; ++i) {
            if (entry->statements[i].answer == answers[i])
                continue;
            m_reports.Emsg(ReportKind::Message, context,
                           (entry->statements[i].answer ? QStringLiteral("ERRORE: risposta vera ")
                                                        : QStringLiteral("ERRORE: risposta falsa "))
                               + QString::number(i + 1) + QStringLiteral(" incoerente.") + QLatin1Char(' ')
                               + QStringLiteral("D: ") + key.left(5));
        }
        return entry;
    };
    auto italian = read(m_textsItalian, 255, QStringLiteral("Riproduzione audio (it)"));
    if (!italian)
        return std::nullopt;
    italian->question = withoutNumberGroup(italian->question).trimmed();
    if (const auto audio = read(m_audioNames, 25, QStringLiteral("Riproduzione audio (la)"))) {
        m_AudDom = audio->question;
        for (const LegacyEntry::Statement& s : audio->statements)
            m_legacyStatementAudio << s.text;
    }
    return italian;
}

bool QuizAudio::Ascolta(int position)
{
    const AudioButton button = position == 0 ? AudioButton::Question : AudioButton::Statement;
    Q_EMIT buttonPlaying(button, true);
    // The idle picture comes back after a while, whatever happened.
    QTimer::singleShot(kPlayingPictureMs, this, [this, button] { Q_EMIT buttonPlaying(button, false); });

    QString name;
    if (position == 0) {
        name = m_AudDom;
    } else if (position <= kMaxStatements && position > 0) {
        const StatementList& list = m_view.statements();
        if (m_editionMode)
            name = position <= list.NumAff ? list.at(position).AudioArr : QString();
        else if (position <= m_legacyStatementAudio.size())
            name = m_legacyStatementAudio.at(position - 1);
    }
    name = name.trimmed();
    if (name.isEmpty())
        return false;
    const int language = m_loadedLng;
    // A language chosen without "Ricorda" serves one playback only.
    if (!m_ricorda)
        m_loadedLng = 0;

    std::optional<QString> path;
    QString shown;
    if (m_editionMode) {
        path = editionAudioPath(editionAudioFolder(m_g.dirs, m_g.Edizione), language, name);
        shown = spokenFileName(editionLanguage(language), name, QStringLiteral(".OGG"));
    } else {
        path = legacyAudioPath(legacyAudioFolder(m_g.dirs), language, name);
        shown = spokenFileName(legacyLanguage(language), name, QStringLiteral(".KXS"));
    }
    if (!path || !QFileInfo(*path).isFile()) {
        report(QStringLiteral("Il file ") + shown + QStringLiteral(" non esiste."));
        return false;
    }
    if (m_engineOk) {
        if (m_editionMode)
            setVolumePosition(kEditionVolumePosition);
        else
            applyLegacyVolume(language);
    }
    Q_EMIT hidePlayingMarks();
    return play(*path);
}

void QuizAudio::requestAutoplay(int request)
{
    m_request = request;
    m_timer.start();
}

void QuizAudio::cancelAutoplay()
{
    m_request = 0;
    m_timer.stop();
}

void QuizAudio::autoplayDue()
{
    if (!m_cfg.Autoplay)
        return;
    if (!m_view.quizVisible() && m_view.quizOpenedOnce())
        return;
    // With several statements on show the one heard last may go on.
    if (!m_cfg.CBmono)
        stop();
    selfplay(m_request);
}

void QuizAudio::selfplay(int request)
{
    if (m_editionMode) {
        if (request != 0 && m_view.quizVisible() && m_view.quizActive() && !m_view.answerRevealed()
            && m_view.statementShown())
            Ascolta(m_view.currentPosition());
        return;
    }
    TMdTemp& mark = m_g.MdTemp;
    if (mark.RecNum != 0 && mark.RecNum == m_view.currentRecord() && mark.Snap == u'F' && mark.Foto > 0) {
        // Back from a side trip to the photographs: the question was heard.
        mark.RecNum = 0;
        return;
    }
    if (request == 1)
        Ascolta(0);
}

LanguageMenu QuizAudio::menu() const
{
    LanguageMenu m;
    const int count = m_editionMode ? kEditionLanguages : kLegacyLanguages;
    for (int i = 0; i < count; ++i) {
        LanguageMenuItem item;
        item.tag = i;
        item.caption = QString::fromLatin1(m_editionMode ? editionLanguage(i).caption
                                                         : legacyLanguage(i).caption);
        item.enabled = std::size_t(i) < m_enabled.size() && m_enabled[std::size_t(i)];
        item.checked = i == m_loadedLng;
        m.languages.push_back(item);
    }
    m.ricorda = m_ricorda;
    m.autoplay = m_cfg.Autoplay;
    m.hasTestoInLingua = m_editionMode;
    m.testoInLingua = m_cfg.LngTxtAlign;
    return m;
}

bool QuizAudio::writeLanguage(int value)
{
    m_cfg.Linguaggio = value;
    return m_settings.write(m_cfg, SettingId::Linguaggio);
}

void QuizAudio::chooseLanguage(int tag)
{
    m_loadedLng = normalisedLanguage(tag, m_editionMode);
    if (m_ricorda)
        writeLanguage(m_loadedLng);
    if (m_editionMode) {
        if (m_cfg.LngTxtAlign)
            Q_EMIT reloadRequested();
        Q_EMIT statementRefreshRequested();
    }
    if (m_lastButton == AudioButton::Statement) {
        if (m_editionMode)
            Ascolta(m_view.currentPosition());
    } else if (!m_editionMode) {
        Ascolta(0);
    }
}

void QuizAudio::toggleRicorda()
{
    if (m_cfg.Linguaggio == -1) {
        writeLanguage(m_loadedLng);
        m_ricorda = true;
        return;
    }
    writeLanguage(-1);
    m_ricorda = false;
    if (m_cfg.LngTxtAlign) {
        m_cfg.LngTxtAlign = false;
        m_settings.write(m_cfg, SettingId::LngTxtAlign);
    }
}

void QuizAudio::toggleAutoplay()
{
    m_cfg.Autoplay = !m_cfg.Autoplay;
    m_settings.write(m_cfg, SettingId::Autoplay);
}

void QuizAudio::toggleTestoInLingua()
{
    if (m_cfg.LngTxtAlign) {
        m_cfg.LngTxtAlign = false;
        m_settings.write(m_cfg, SettingId::LngTxtAlign);
    } else {
        m_cfg.LngTxtAlign = true;
        m_settings.write(m_cfg, SettingId::LngTxtAlign);
        // The text stays in the language only while the language is kept.
        m_ricorda = true;
        writeLanguage(m_loadedLng);
    }
    if (m_editionMode)
        Q_EMIT statementRefreshRequested();
}

bool QuizAudio::loadLines(const QString& path, QStringList& into, bool fullPath)
{
    into.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        report(QStringLiteral("ERRORE: Non trovo il file: ")
               + (fullPath ? QDir::toNativeSeparators(path) : QFileInfo(path).fileName()));
        return false;
    }
    into = decodeText(file.readAll()).split(QLatin1Char('\n'));
    for (QString& line : into) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    return true;
}

bool QuizAudio::LoadLinguaggioNQ(int language)
{
    if (m_editionMode) {
        m_loadedLng = normalisedLanguage(language, true);
        return true;
    }
    const int q = normalisedLanguage(language, false);
    const QString& dir = m_g.dirs.DirProgram;
    bool ok = loadLines(resolveFile(dir, QStringLiteral("AD") + QLatin1String(legacyLanguage(q).textCode)
                                             + QStringLiteral(".TXT")),
                        m_textsChosen, false);
    ok = loadLines(resolveFile(dir, QStringLiteral("AD01_IT.TXT")), m_textsItalian, false) && ok;
    ok = loadLines(resolveFile(dir, QStringLiteral("AUD0000.MAP")), m_audioNames, true) && ok;
    if (m_engineOk)
        applyLegacyVolume(q);
    m_loadedLng = q;
    return ok;
}

bool QuizAudio::LoadMappaDomandeNQ()
{
    m_keyMap = {};
    const QString path = resolveFile(m_g.dirs.DirProgram, QStringLiteral("LNG0000.MAP"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        report(QStringLiteral("ERRORE: Non trovo il file (Mappa NuoviQuiz) ")
               + QDir::toNativeSeparators(path));
        return false;
    }
    m_keyMap = LegacyKeyMap::parse(decodeText(file.readAll()).split(QLatin1Char('\n')));
    return true;
}

}  // namespace ziro
