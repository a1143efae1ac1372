#include "quiz/quiz_session.h"

#include "base/globals.h"
#include "base/reports.h"
#include "config/settings.h"
#include "platform/dataset/data_table.h"
#include "platform/files/paths.h"

#include <algorithm>

namespace ziro {

namespace {

const QString kOldLesson = QString::fromUtf8("Questa versione di lezione personalizzata non più supportata");

}  // namespace

QuizSession::QuizSession(Globals& g, const Config& config, Reports& reports, QuizBank& bank, QuizView& view,
                         QuizHost& host)
    : m_g(g), m_config(config), m_reports(reports), m_bank(bank), m_view(view), m_host(host)
{
    m_host.setLockLights(false);
}

const QuizStatement* QuizSession::current() const
{
    const StatementList& list = m_bank.list();
    // A position past the statements of the list shows nothing.
    if (m_terni < 1 || m_terni > list.NumAff || m_terni > kMaxStatements)
        return nullptr;
    const QuizStatement& s = list.at(m_terni);
    return s.isEmpty() ? nullptr : &s;
}

QString QuizSession::picturePath(const QString& code) const
{
    if (code.trimmed().isEmpty() || m_host.pictureOff())
        return {};
    return resolveFile(m_g.dirs.DirPicSgn, AdeguaPittogrammi(code) + QStringLiteral(".BMP"));
}

bool QuizSession::CaricaDomanda(const QString& reference, int n)
{
    DataTable* lesson = m_g.Custom ? m_host.lesson() : nullptr;
    if (lesson && !lesson->findField(QStringLiteral("Tipo")))
        m_reports.Emsg(ReportKind::Message, kOldLesson, QString());
    m_audio->stop();
    m_audio->autoplay(0);
    // Every opening runs in edition mode: the globals always hold an edition.
    m_audio->activate(true);
    m_host.closeCrossroads();
    m_view.showGauge(GaugeLook{});

    StatementList& list = m_bank.list();
    list.SegnaleCorrente = m_g.Segnale;
    m_captionShown = !m_config.CB_DidascaStart;

    bool loaded = false;
    if (m_g.Custom) {
        loaded = lesson && m_bank.LeggiCustomQuiz(*lesson);
        if (loaded)
            m_g.ContatoreAffermazioni = 0;
    } else if (!reference.isEmpty() && reference == list.TmpNomeFile && (!m_config.CBmischia || m_reopening)) {
        // The same block again: its order and the statement reached stay.
        loaded = list.NumAff > 0;
    } else {
        // A block the bank does not hold loads as an empty list.
        loaded = m_bank.LeggiNewQuiz(reference) && list.NumAff > 0;
        if (loaded)
            m_g.ContatoreAffermazioni = 0;
    }

    if (!loaded) {
        m_g.DomandaON = false;
        if (m_view.isShown())
            ChiudiQuiz();
        m_reports.Emsg(ReportKind::MissingFile, QStringLiteral("caricamento blocco nuovi quiz"), reference.right(5));
        return false;
    }

    // Only a quiz that came up unlocks the step and takes the place of the
    // sign: a block that could not be read leaves the lesson as it stood.
    m_g.LockLoop = false;
    m_g.SegnaleON = false;
    m_g.DomandaON = true;
    m_reference = reference;
    if (m_g.ContatoreAffermazioni != 0)
        n = m_g.ContatoreAffermazioni;
    if (n > 1)
        RichiamaAffermazione(n);
    else
        ResettaSelezione(n);
    m_view.showStatement(QString(), m_colours.ColSi);
    Scorri1();

    // The picture: the statement's own when it names one other than the
    // record's sign. Position n may lie outside the list (0 on a record
    // change), so it is taken within it.
    QString picture = m_g.Segnale;
    if (list.NumAff > 0) {
        const int p = std::clamp(n, 1, std::min(list.NumAff, kMaxStatements));
        const QString own = list.at(p).IntegratoAffermazione;
        if (!own.isEmpty() && own != m_g.Segnale)
            picture = own;
    }
    list.SegnaleCorrente = picture;
    m_view.showPicture(picturePath(picture));
    CreaSelezione(0);
    showQuiz();

    m_audio->autoplay(1);
    if (m_firstDomAbsolut) {
        m_view.wait(1.0);
        m_firstDomAbsolut = false;
    }
    return true;
}

void QuizSession::showQuiz()
{
    m_selezionato = 1;
    m_view.refreshGrid();
    m_view.setCaptionEditable(m_config.EditTitoloBlocco);
    showCaptionBar();
    m_view.showWindow();
    CreaSelezione(1);
}

void QuizSession::ChiudiQuiz()
{
    m_audio->stop();
    m_audio->autoplay(0);
    const bool wasShown = m_view.isShown();
    m_view.hideWindow();
    m_g.DomandaON = false;
    if (wasShown)
        m_host.setLockLights(false);
}

void QuizSession::ResettaSelezione(int n)
{
    m_terni = (m_config.CB1Vuota && n == 0) ? 0 : 1;
    m_selezionato = 1;
    m_autoAnsw = 0;
    m_view.refreshGrid();
    CreaSelezione(m_selezionato);
}

void QuizSession::RichiamaAffermazione(int n)
{
    m_terni = std::max(1, std::min(n, NumAff()));
    m_selezionato = 1;
    m_autoAnsw = 0;
    Scorri1();
    CreaSelezione(0);
}

void QuizSession::Scorri1()
{
    m_view.refreshGrid();
    if (m_terni == 0) {
        m_view.showStatement(QString(), m_colours.ColSi);
        showCaptionBar();
        return;
    }
    m_view.showCover(true);
    const QuizStatement* s = current();
    if (!s || s->Aff[0].isEmpty()) {
        m_view.showStatement(QString(), m_colours.ColSi);
        m_view.showGroups(m_g.ModoCD(), QString());
        m_view.showGauge(GaugeLook{});
        showCaptionBar();
        m_view.setAudioEnabled(false);
        m_view.showCover(false);
        return;
    }
    const int language = m_audio->textLanguage();
    QString text = s->Aff[0];
    if ((language == 1 || language == 2) && !s->Aff[static_cast<std::size_t>(language)].isEmpty())
        text = s->Aff[static_cast<std::size_t>(language)];
    while (!text.isEmpty() && text.front().isSpace())
        text.remove(0, 1);
    const bool coloured = m_modoVF || m_autoAnsw == 1;
    m_view.showStatement(text, coloured ? answerColour(s->Responso) : m_colours.ColSi);
    showCaptionBar();
    m_view.showGroups(m_g.ModoCD(), s->GroupsArr);
    m_view.showGauge(m_config.CBVelarium ? gaugeLook(10 * s->PercErr) : GaugeLook{});
    m_view.setAudioEnabled(!text.isEmpty() && m_audio->available());
    m_view.showCover(false);
}

void QuizSession::CreaSelezione(int q)
{
    Q_UNUSED(q);
    if (m_terni == 0) {
        VediInfo();
        return;
    }
    StatementList& list = m_bank.list();
    const QuizStatement* s = current();
    const QString own = s ? s->IntegratoAffermazione : QString();
    if (!own.isEmpty() && own != list.SegnaleCorrente) {
        m_view.showPicture(picturePath(own));
    } else {
        list.SegnaleCorrente = m_g.Segnale;
        m_view.showPicture(picturePath(m_g.Segnale));
    }
    VediInfo();
    if (m_view.isShown() && s) {
        // The teacher reads the answer off the keyboard lights.
        m_host.setLockLights(s->Responso == 1);
        m_view.wait(0.1);
    }
}

void QuizSession::VediInfo()
{
    m_g.ContatoreAffermazioni = m_terni + m_selezionato - 1;
    const StatementList& list = m_bank.list();
    QString blocco;
    if (const QuizStatement* s = current())
        blocco = s->Blocco;
    else if (list.NumAff > 0)
        blocco = list.at(1).Blocco;
    int n = 0;
    int t = 0;
    if (m_g.Custom) {
        n = m_host.lessonRecord();
        t = m_host.lessonCount();
    } else {
        n = m_config.CBesame ? m_host.jumpCounter() : std::max(1, m_g.ContatoreRecord);
        t = m_g.TotaleRecord;
    }
    m_info = QStringLiteral("        B. ") + blocco.trimmed() + QStringLiteral(" - ") + QString::number(n) +
             QLatin1Char('/') + QString::number(t);
    m_view.showInfo(m_info);
    showCaptionBar();
    m_view.setFilmEnabled(explanationFilm().exists);
}

bool QuizSession::reopen()
{
    if (!m_view.isShown())
        return false;
    // A copy: the opening replaces what it is given. The order stays even
    // with "Mischia sempre": the teacher asked for the same statement in
    // another language, not for another statement.
    const QString reference = m_reference;
    m_reopening = true;
    const bool ok = CaricaDomanda(reference, m_g.ContatoreAffermazioni);
    m_reopening = false;
    return ok;
}

void QuizSession::showCaptionBar()
{
    const StatementList& list = m_bank.list();
    QuizView::Caption caption;
    caption.shown = m_captionShown;
    if (m_captionShown) {
        if (const QuizStatement* s = current())
            caption.text = s->TitBlk;
        else if (list.NumAff > 0)
            caption.text = list.at(1).TitBlk;
    }
    caption.family = captionFamily(caption.text);
    if (m_config.CB_DidascaColor) {
        if (const std::optional<QColor> colour = captionColour(m_g.Edizione, m_host.subTopic())) {
            caption.background = *colour;
            caption.foreground = Qt::white;
        }
    }
    m_view.showCaption(caption);
}

FilmFile QuizSession::explanationFilm() const
{
    const QuizStatement* s = current();
    const QString name = s ? explanationFilmName(s->Blocco, s->ARRnum) : QString();
    if (name.isEmpty())
        return FilmFile{};
    const QString folder = resolveFile(m_g.dirs.DirVideo, QStringLiteral("Explain"));
    FilmFile film = resolveFilm(folder, name);
    // Only an MP4 film, plain or masked, counts as an explanation.
    if (film.player != FilmPlayer::Mp4)
        film.exists = false;
    return film;
}

void QuizSession::next()
{
    m_audio->stop();
    if (m_autoAnsw == 0 && m_terni != 0 && !m_modoVF) {
        m_autoAnsw = 1;
        Scorri1();
        m_audio->autoplay(2);
        return;
    }
    m_view.showCover(true);
    m_autoAnsw = 0;
    const int numAff = NumAff();
    if (m_terni >= numAff) {
        // Nothing follows: the statement stays in view, uncovered.
        m_view.showCover(false);
        if (m_terni == numAff && m_config.CBAvanza)
            m_host.pressForward();
        return;
    }
    m_terni = std::min(m_terni + 1, numAff);
    Scorri1();
    CreaSelezione(0);
    m_audio->autoplay(2);
}

void QuizSession::previous()
{
    m_audio->stop();
    if (m_terni == 0)
        return;
    m_autoAnsw = 0;
    if (m_terni == 1) {
        Scorri1();
        return;
    }
    m_terni = std::max(1, m_terni - 1);
    Scorri1();
    CreaSelezione(0);
    m_audio->autoplay(2);
}

bool QuizSession::gridClick(int number)
{
    if (number < 1 || number > NumAff())
        return false;
    m_terni = number;
    if (!m_modoVF)
        m_autoAnsw = 0;
    Scorri1();
    CreaSelezione(0);
    m_audio->autoplay(2);
    return true;
}

void QuizSession::setModoVF(bool on)
{
    m_modoVF = on;
    Scorri1();
}

void QuizSession::toggleCaption()
{
    if (!m_config.CB_DidascaStart)
        return;
    m_captionShown = !m_captionShown;
    showCaptionBar();
}

void QuizSession::editCaption(const QString& text)
{
    const int position = m_terni == 0 ? 1 : m_terni;
    if (position > NumAff())
        return;
    const QString trimmed = text.trimmed();
    if (trimmed == m_bank.list().at(position).TitBlk)
        return;
    const int terni = m_terni;
    DataTable* lesson = m_g.Custom ? m_host.lesson() : nullptr;
    if (m_bank.updateCaption(trimmed, position, lesson)) {
        // The reload put the selection back on the first statement.
        m_terni = std::min(terni, NumAff());
        Scorri1();
        CreaSelezione(0);
    } else {
        showCaptionBar();
    }
}

void QuizSession::pictureClick()
{
    const QuizStatement* s = current();
    const QString own = s ? s->IntegratoAffermazione : QString();
    const QString p = (!own.isEmpty() && own != m_g.Segnale) ? own : m_g.Segnale;
    if (p.isEmpty()) {
        m_host.stepBack();
        return;
    }
    const int counter = m_g.ContatoreAffermazioni;
    ChiudiQuiz();
    m_g.SegnaleON = true;
    if (m_g.Segnale.isEmpty())
        m_g.Segnale = p;
    m_host.showSign(p);
    m_g.LockLoop = true;
    m_g.ContatoreAffermazioni = counter;
}

void QuizSession::playExplanation()
{
    const QuizStatement* s = current();
    const QString name = s ? explanationFilmName(s->Blocco, s->ARRnum) : QString();
    if (name.isEmpty())
        return;
    const FilmFile film = explanationFilm();
    if (!film.exists) {
        m_reports.Emsg(ReportKind::MissingFile, QStringLiteral("Player video"), name);
        return;
    }
    m_host.closeViewersForFilm();
    FilmRequest request;
    request.file = film;
    request.size = m_g.VideoSize;
    QString error;
    if (!m_host.playFilm(request, &error)) {
        m_host.stopFilm();
        m_reports.Emsg(ReportKind::Message,
                       (film.player == FilmPlayer::Mp4 ? QStringLiteral("Errore player video AVC:\r")
                                                       : QStringLiteral("Errore player video MPG:\r")) +
                           error,
                       name);
    }
}

void QuizSession::speak()
{
    if (const QuizStatement* s = current(); s && m_audio->available())
        m_audio->Ascolta(*s);
}

bool QuizSession::key(int key, Qt::KeyboardModifiers modifiers)
{
    const bool keypad = modifiers & Qt::KeypadModifier;
    switch (key) {
    case Qt::Key_Space:
    case Qt::Key_Down:
    case Qt::Key_PageDown:  // a presenter clicker
        next();
        return true;
    case Qt::Key_Plus:
        if (!keypad)
            return false;
        next();
        return true;
    case Qt::Key_Up:
    case Qt::Key_PageUp:
        previous();
        return true;
    case Qt::Key_Minus:
        if (!keypad)
            return false;
        previous();
        return true;
    case Qt::Key_Insert:
        speak();
        return true;
    case Qt::Key_0:
        if (!keypad)
            return false;
        speak();
        return true;
    case Qt::Key_End:
        // The spoken question belongs to the older quiz only.
        return true;
    case Qt::Key_1:
        return keypad;
    case Qt::Key_2:
        if (!keypad)
            return false;
        playExplanation();
        return true;
    case Qt::Key_A:
        toggleCaption();
        return true;
    case Qt::Key_V:
    case Qt::Key_F:
        // One statement on show has no answer buttons: only the pause.
        m_view.wait(0.6);
        return true;
    default:
        return false;
    }
}

void QuizSession::numberGrid(int count)
{
    Q_UNUSED(count);
    m_view.refreshGrid();
}

void QuizSession::showMessage(const QString& text)
{
    m_reports.Emsg(ReportKind::Message, text, QString());
}

}  // namespace ziro
