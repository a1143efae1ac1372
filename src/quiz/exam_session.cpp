#include "quiz/exam_session.h"

#include "base/globals.h"
#include "base/reports.h"
#include "platform/files/paths.h"
#include "config/settings.h"
#include "platform/system/system_services.h"
#include "quiz/exam_pdf.h"
#include "quiz/quiz_languages.h"
#include "quiz/question_bank.h"
#include "quiz/quiz_rules.h"

#include <QFileInfo>

#include <utility>

namespace ziro {

ExamSession::ExamSession(Globals& g, Reports& reports, std::function<const QuestionBank*()> bank, ExamView& view)
    : m_g(g), m_reports(reports), m_bank(std::move(bank)), m_view(view)
{
}

namespace {
// The heading of the exam's messages; the detail goes below it, where a
// longer text has room.
const QString kTitle = QStringLiteral("Simulazione d'esame");
}  // namespace

bool ExamSession::start(std::uint32_t seed)
{
    // The other editions' exams have other rules and lengths.
    if (!m_g.ModoAB()) {
        m_reports.Emsg(ReportKind::Message, kTitle, QStringLiteral("Disponibile solo per l'edizione A-B."));
        return false;
    }
    const QuestionBank* bank = m_bank ? m_bank() : nullptr;
    if (!bank || !bank->isOpen()) {
        m_reports.Emsg(ReportKind::Message, kTitle, QStringLiteral("La banca dei quesiti non è caricata."));
        return false;
    }
    ExamDraw draw = drawExam(*bank, seed == 0 ? newExamSeed() : seed);
    if (!draw.ok()) {
        m_reports.Emsg(ReportKind::Message, kTitle, draw.error);
        return false;
    }
    if (!draw.warning.isEmpty())
        m_reports.Emsg(ReportKind::Message, kTitle, draw.warning);
    m_run = std::make_unique<ExamRun>(std::move(draw));
    m_view.showWindow();
    show();
    return true;
}

void ExamSession::close()
{
    if (!m_run)
        return;
    m_run.reset();
    m_view.hideWindow();
}

void ExamSession::forward()
{
    if (m_run && m_run->forward())
        show();
}

void ExamSession::back()
{
    if (m_run && m_run->back())
        show();
}

void ExamSession::finish()
{
    if (!m_run || m_run->phase() != ExamRun::Phase::Answering)
        return;
    m_run->finish();
    show();
}

void ExamSession::tick()
{
    if (!m_run || m_run->phase() != ExamRun::Phase::Answering)
        return;
    const int position = m_run->position();
    m_run->tick();
    if (m_run->phase() != ExamRun::Phase::Answering || m_run->position() != position)
        show();
    else
        m_view.showClock(examClock(m_run->secondsLeft()), true);
}

void ExamSession::setLanguage(int language)
{
    m_language = (language >= 0 && language <= 2) ? language : 0;
    if (m_run)
        show();
}

bool ExamSession::print()
{
    if (!m_run)
        return false;
    ExamPrintout written;
    QString error;
    if (!printExam(m_run->draw(), m_g.dirs.DirLezioni, &written, &error)) {
        m_reports.Emsg(ReportKind::Message, QStringLiteral("Stampa dell'esame"), error);
        return false;
    }
    m_reports.Emsg(ReportKind::Message, QStringLiteral("Stampa dell'esame"),
                   QStringLiteral("Esame e soluzioni salvati nella cartella dell'insegnante: ")
                       + QFileInfo(written.sheet).fileName() + QStringLiteral(", ") + QFileInfo(written.key).fileName());
    return true;
}

bool ExamSession::key(int key, Qt::KeyboardModifiers mods)
{
    Q_UNUSED(mods);
    if (!m_run)
        return false;
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        if (m_typed.size() < 6)
            m_typed += QChar(u'0' + (key - Qt::Key_0));
        m_view.showTypedNumber(m_typed);
        return true;
    }
    if (!m_typed.isEmpty() && (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Backspace ||
                               key == Qt::Key_Escape)) {
        const QString typed = std::exchange(m_typed, QString());
        m_view.showTypedNumber(QString());
        const std::uint32_t seed = typed.toUInt();
        // A number that names no exam (0) is dropped like a cancelled one.
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && seed >= 1)
            start(seed);
        return true;
    }
    switch (key) {
    case Qt::Key_PageDown:
    case Qt::Key_Right:
    case Qt::Key_Down:
    case Qt::Key_Space:
        forward();
        return true;
    case Qt::Key_PageUp:
    case Qt::Key_Left:
    case Qt::Key_Up:
        back();
        return true;
    case Qt::Key_Escape:
        close();
        return true;
    case Qt::Key_Insert:
        speak();
        return true;
    case Qt::Key_L:
        // Italian, French, German in turn, for a class that follows in
        // another language.
        setLanguage((m_language + 1) % 3);
        return true;
    default:
        return false;
    }
}

void ExamSession::show()
{
    const ExamRun& run = *m_run;
    const bool answering = run.phase() == ExamRun::Phase::Answering;
    m_view.showClock(examClock(run.secondsLeft()), answering);
    if (run.phase() == ExamRun::Phase::Summary) {
        m_view.showSummary(examSummary(run));
        return;
    }
    const ExamItem& item = run.current();
    ExamPage page;
    page.number = run.position();
    page.total = run.count();
    // A statement missing in the language chosen still shows in Italian.
    const QString chosen = item.statement.Aff[static_cast<std::size_t>(m_language)];
    page.text = chosen.trimmed().isEmpty() ? item.statement.Aff[0] : chosen;
    page.picturePath = picturePath(item.statement.IntegratoAffermazione);
    if (run.answerShown())
        page.answer = item.statement.Responso == 1;
    page.title = (answering ? QStringLiteral("Simulazione d'esame n. %1") : QStringLiteral("Correzione dell'esame n. %1"))
                     .arg(run.draw().seed);
    const std::optional<QString> spoken = m_system ? spokenPath() : std::nullopt;
    page.spoken = spoken && QFileInfo(*spoken).isFile();
    m_view.showPage(page);
    // As in the quiz, "Autoplay" reads each statement out as it comes; a
    // statement without a recording is simply not read.
    if (answering && page.spoken && m_config && m_config->Autoplay)
        play(*spoken, true);
}

void ExamSession::setVoice(SystemServices* system, const Config* config)
{
    m_system = system;
    m_config = config;
}

std::optional<QString> ExamSession::spokenPath() const
{
    if (!m_run || m_run->phase() == ExamRun::Phase::Summary)
        return std::nullopt;
    return editionAudioPath(editionAudioFolder(m_g.dirs, m_g.Edizione), m_language,
                            m_run->current().statement.AudioArr);
}

bool ExamSession::speak()
{
    if (!m_system || !m_run)
        return false;
    const std::optional<QString> path = spokenPath();
    if (!path)
        return false;  // the statement has no recording at all
    if (!QFileInfo(*path).isFile()) {
        m_reports.Emsg(ReportKind::Message, kTitle,
                       QStringLiteral("Il file ") + QFileInfo(*path).fileName() + QStringLiteral(" non esiste."));
        return false;
    }
    return play(*path, false);
}

bool ExamSession::play(const QString& path, bool quiet)
{
    // The sound player starts at the first statement spoken, as the quiz's.
    if (!m_engine)
        m_engine = m_system->hasSoundOutput() && m_system->soundEngineCurrent() && m_system->startSoundEngine();
    if (!*m_engine) {
        if (!quiet)
            m_reports.Emsg(ReportKind::Message, kTitle, QStringLiteral("Nessuna uscita audio disponibile."));
        return false;
    }
    m_system->stopSound();
    if (m_system->playVoice(path))
        return true;
    if (!quiet)
        m_reports.Emsg(ReportKind::Message, kTitle, QStringLiteral("ERRORE: Impossibile accedere allo stream audio"));
    return false;
}

QString ExamSession::picturePath(const QString& code) const
{
    if (code.trimmed().isEmpty())
        return {};
    return resolveFile(m_g.dirs.DirPicSgn, AdeguaPittogrammi(code) + QStringLiteral(".BMP"));
}

}  // namespace ziro
