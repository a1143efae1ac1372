#include "menus/general_menu.h"

#include "base/reports.h"
#include "config/settings.h"
#include "content/edition.h"
#include "platform/files/paths.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace ziro {

namespace {

const QString kArgomentoVuoto = QStringLiteral("Argomento vuoto");

// The group buttons, tags 1 to 10; also the empty rows the list shows
// after a reset.
constexpr int kGroups = 10;

TModoQuiz editionOfFunction(int selezione)
{
    switch (selezione) {
    case 1: return TModoQuiz::mqAB;
    case 2: return TModoQuiz::mqAM;
    case 3: return TModoQuiz::mqCD;
    default: return TModoQuiz::mqCQ;
    }
}

// A file that is not there is said to be missing; one that is there but
// cannot be read says where the reader stopped and why.
void reportEditionFailure(Reports& reporter, const QString& path, const QString& error)
{
    const QString context = QStringLiteral("Cambio edizione");
    if (!QFileInfo::exists(path)) {
        reporter.Emsg(ReportKind::MissingFile, context, path);
        return;
    }
    // The reader names the file first; the report names it once.
    QString reason = error;
    const QString lead = QStringLiteral("Cannot read ") + QDir::toNativeSeparators(path)
        + QStringLiteral(": ");
    if (reason.startsWith(lead))
        reason = reason.mid(lead.size());
    reporter.Emsg(ReportKind::FileIo, context,
                  reason.isEmpty() ? path : path + QStringLiteral(" (") + reason + QLatin1Char(')'));
}

}  // namespace

// ---------------------------------------------------------------------------

ViewMode viewModeOf(bool passSegnale, bool passDomanda)
{
    if (passSegnale && passDomanda)
        return ViewMode::Both;
    // Neither is not a mode of its own; the cycle treats it as questions only.
    return passSegnale ? ViewMode::SignsOnly : ViewMode::QuestionsOnly;
}

ViewMode nextViewMode(ViewMode mode)
{
    switch (mode) {
    case ViewMode::QuestionsOnly: return ViewMode::SignsOnly;
    case ViewMode::SignsOnly: return ViewMode::Both;
    case ViewMode::Both: break;
    }
    return ViewMode::QuestionsOnly;
}

OkOutcome decideOk(const TopicContent& c, bool passSegnale, bool passDomanda)
{
    if (c.noDomanda && c.noSegnale && !c.noFoto)
        return OkOutcome::PhotoMode;
    if (passSegnale && passDomanda && c.noFoto && c.noVideo && c.noLibro && c.noDomanda &&
        c.noSegnale)
        return OkOutcome::RefuseEmpty;
    if (passSegnale && !passDomanda && c.noSegnale)
        return OkOutcome::RefuseNoSigns;
    if (passDomanda && !passSegnale && c.noDomanda)
        return OkOutcome::RefuseNoQuestions;
    return OkOutcome::Start;
}

QString refusalText(OkOutcome outcome)
{
    switch (outcome) {
    case OkOutcome::RefuseEmpty: return QStringLiteral("Non ci sono elementi disponibili");
    case OkOutcome::RefuseNoSigns:
        return QStringLiteral("Non ci sono rappresentazioni grafiche disponibili");
    case OkOutcome::RefuseNoQuestions: return QStringLiteral("Non ci sono domande disponibili");
    case OkOutcome::Start:
    case OkOutcome::PhotoMode: break;
    }
    return {};
}

SpecificSettings settaggiSpecifici(TModoQuiz edition, const QString& group, int row,
                                   const QString& title, const QString& titleJ,
                                   const QString& titleE)
{
    SpecificSettings s;
    if (edition == TModoQuiz::mqAM) {
        if (group == QLatin1String("A"))
            s.soloFoto = true;
    } else if (group == QLatin1String("J") && row >= 0) {
        // The first rows of group J are photograph walks, the rest sign
        // exercises; A-B has two more of the former.
        const int firstSignRow = edition == TModoQuiz::mqAB ? 12 : 10;
        s.soloFoto = row < firstSignRow;
    }
    if (!titleJ.isEmpty() && title == titleJ)
        s.numberPanel = QStringLiteral("695");
    else if (!titleE.isEmpty() && title == titleE)
        s.numberPanel = QStringLiteral("604");
    return s;
}

QString topicRowText(const TopicLine& line)
{
    const QString& text = line.display;
    qsizetype cut = text.size();
    for (QChar marker : {u'#', u'%', u'$'}) {
        const qsizetype at = text.lastIndexOf(marker);
        if (at >= 0)
            cut = std::min(cut, at);
    }
    return text.left(cut).trimmed();
}

bool groupIgnored(TModoQuiz edition, int tag)
{
    return (edition == TModoQuiz::mqAM && tag == 8) || (edition == TModoQuiz::mqCD && tag == 10);
}

KeySelection moveKeySelection(KeySelection sel, int key, TModoQuiz edition)
{
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
        sel.SelKeyMode = sel.SelKeyMode == 1 ? 2 : 1;
        return sel;
    }
    int delta = 0;
    switch (key) {
    case Qt::Key_Up: delta = -1; break;
    case Qt::Key_Down: delta = 1; break;
    case Qt::Key_Left: delta = sel.SelKeyMode == 1 ? -5 : -1; break;
    case Qt::Key_Right: delta = sel.SelKeyMode == 1 ? 5 : 1; break;
    default: return sel;
    }
    if (sel.SelKeyMode == 2) {
        sel.SelFunction = (sel.SelFunction - 1 + delta + kMenuFunctionCount) % kMenuFunctionCount + 1;
        return sel;
    }
    if (sel.SelectBand == 0) {
        sel.SelectBand = 1;
        return sel;
    }
    // Within the ten buttons; Up and Down wrap from one column to the next.
    for (int tries = 0; tries < kGroups; ++tries) {
        int next = sel.SelectBand + delta;
        if (delta == 5 || delta == -5) {
            // Across to the other column, or nowhere when nothing is there.
            if (next >= 1 && next <= kGroups && !groupIgnored(edition, next))
                sel.SelectBand = next;
            return sel;
        } else {
            next = (next - 1 + kGroups) % kGroups + 1;
        }
        sel.SelectBand = next;
        if (!groupIgnored(edition, next))
            return sel;
    }
    return sel;
}

bool GeneralMenuPort::launch(const QString& program, QString* error)
{
    const QFileInfo info(program);
    if (info.isExecutable() && QProcess::startDetached(program, {}, info.absolutePath()))
        return true;
    if (QDesktopServices::openUrl(QUrl::fromLocalFile(info.absoluteFilePath())))
        return true;
    if (error)
        *error = QStringLiteral("nessun programma di avvio disponibile");
    return false;
}

bool GeneralMenuPort::playFilm(const FilmRequest& request, QString* error)
{
    Q_UNUSED(request);
    if (error)
        *error = QStringLiteral("lettore dei filmati non disponibile");
    return false;
}

// ---------------------------------------------------------------------------

GeneralMenu::GeneralMenu(Globals& g, Config& config, Reports& reporter, GeneralMenuView& view,
                         GeneralMenuPort& port)
    : m_g(g),
      m_config(config),
      m_reporter(reporter),
      m_view(view),
      m_port(port),
      m_pressedEdition(g.Edizione)
{
}

QString GeneralMenu::loadedLetter() const
{
    return m_groupLetter;
}

ViewMode GeneralMenu::viewMode() const
{
    return viewModeOf(m_g.PASSsegnale, m_g.PASSdomanda);
}

void GeneralMenu::debug(const QString& contesto, const QString& stringa)
{
    if (m_g.ModoDebug)
        m_reporter.Debug(contesto, stringa);
}

void GeneralMenu::activate()
{
    m_selezionatoML = -2;
    // A fresh keyboard walk each time: the first arrow selects group A.
    m_keys = KeySelection{};
    m_port.closeViewers();
    if (m_g.Custom) {
        m_g.Custom = false;
        m_port.showLessonList();
    }
    m_abilita = !m_port.lessonListVisible();
    m_g.PASSdomanda = !m_config.CBonlySegn;
    m_g.PASSsegnale = !m_config.CBonlyDom;
    if (!m_g.Custom)
        m_pressedEdition = m_g.Edizione;
    m_port.enableMainButtons();
    m_view.refreshMenu();
}

bool GeneralMenu::editionClicked(TModoQuiz edition)
{
    if (!m_abilita || edition == TModoQuiz::mqCustom)
        return false;
    if (edition == m_g.Edizione && !m_g.Custom)
        return false;
    QString error;
    if (!switchEdition(m_g, m_port, edition, &error)) {
        reportEditionFailure(m_reporter, contentFilePath(m_g, edition), error);
        m_view.refreshMenu();
        return false;
    }
    m_pressedEdition = edition;
    m_port.FiltraDB(QStringLiteral("Default"), QString(), false);
    ArgomentoTesta();
    return true;
}

void GeneralMenu::customClicked()
{
    if (!m_abilita)
        return;
    m_port.showLessonList();
    m_abilita = !m_port.lessonListVisible();
    m_view.refreshMenu();
}

void GeneralMenu::groupClicked(int tag)
{
    if (!m_abilita || tag < 1 || tag > kGroups)
        return;
    if (groupIgnored(m_g.Edizione, tag) || m_listLoaded)
        return;
    const QString letter = topicGroupLetter(m_g.Edizione, tag - 1);
    if (letter.isEmpty())
        return;
    const QString path = topicListPath(m_g, letter);
    auto rows = loadTopicList(path);
    if (!rows) {
        m_reporter.Emsg(ReportKind::MissingFile, QString::fromUtf8("Caricamento Items menù"), path);
        return;
    }
    m_rows = std::move(*rows);
    debug(QString::fromUtf8("Loading items menù"),
          QStringLiteral("N. items > 0/") + QString::number(static_cast<int>(m_rows.size()) - 1));
    m_port.FiltraDB(letter, letter + QLatin1Char('Z'), true);
    m_selezionatoML = -1;
    m_listSelection = m_rows.empty() ? -1 : 0;
    m_group = tag;
    m_groupLetter = letter;
    m_listLoaded = true;
    if (m_rows.size() < 2) {
        // A group of one topic (or none listed) starts at once.
        m_choice = Choice{letter, -1};
        TastoOK();
        m_choice.reset();
        return;
    }
    m_view.refreshMenu();
}

void GeneralMenu::listClicked(int row)
{
    if (!m_abilita || !m_listLoaded)
        return;
    if (!rowValid(row)) {
        m_port.beep();
        return;
    }
    m_selezionatoML = row;
    m_listSelection = row;
    const TopicLine& line = m_rows[static_cast<size_t>(row)];
    if (!line.selectable()) {
        // An empty row (or one too short to hold a code, which would
        // otherwise select every topic) moves the selection on.
        m_listSelection = std::min(row + 1, static_cast<int>(m_rows.size()) - 1);
        m_port.beep();
        m_view.refreshMenu();
        return;
    }
    m_port.FiltraDB(line.code, line.code + QLatin1Char('Z'), true);
    m_choice = Choice{m_groupLetter, row};
    TastoOK();
    m_choice.reset();
}

std::optional<FilmRequest> GeneralMenu::filmFor(int row) const
{
    if (!rowValid(row))
        return std::nullopt;
    const QString& number = m_rows[static_cast<size_t>(row)].film;
    if (number.isEmpty() || !isPlainName(number))
        return std::nullopt;
    const QString& folder = m_g.dirs.DirVideo;
    FilmFile file;
    if (m_g.ModoCD())
        file = resolveFilm(folder, QStringLiteral("Fls") + number);
    if (!file.exists)
        file = resolveFilm(folder, QStringLiteral("Flm") + number);
    FilmRequest request;
    request.file = file;
    request.size = 5;
    request.daMenu = true;
    return request;
}

void GeneralMenu::filmClicked(int row)
{
    if (!m_abilita)
        return;
    const auto request = filmFor(row);
    if (!request) {
        m_port.beep();
        return;
    }
    if (!request->file.exists) {
        m_reporter.Emsg(ReportKind::MissingFile, QStringLiteral("Player video"), request->file.path);
        return;
    }
    QString error;
    // An empty error: the film window has already said what went wrong.
    if (!m_port.playFilm(*request, &error) && !error.isEmpty())
        m_reporter.Emsg(ReportKind::Message,
                        request->file.player == FilmPlayer::Mp4
                            ? QStringLiteral("Errore player video AVC:")
                            : QStringLiteral("Errore player video MPG:"),
                        error);
}

void GeneralMenu::htmlClicked(int row)
{
    if (!m_abilita || !rowValid(row))
        return;
    const QString page = m_rows[static_cast<size_t>(row)].html;
    if (page.isEmpty() || !isPlainName(page)) {
        m_port.beep();
        return;
    }
    m_listSelection = row;
    listClicked(row);
    m_port.openHtml(page);
}

void GeneralMenu::TastoOK(int selectedRow)
{
    if (!m_abilita)
        return;
    if (selectedRow >= 0 && m_selezionatoML < -1 && !m_g.MdTemp.Status && m_listLoaded) {
        listClicked(selectedRow);
        return;
    }
    m_g.SoloFoto = false;
    TopicContent content;
    content.noFoto = m_port.VeroSeVuoto(QStringLiteral("Foto1"));
    content.noVideo = m_port.VeroSeVuoto(QStringLiteral("Video"));
    content.noLibro = m_port.VeroSeVuoto(QStringLiteral("Libro"));
    content.noDomanda = m_port.VeroSeVuoto(QStringLiteral("Domanda"));
    content.noSegnale = m_port.VeroSeVuoto(QStringLiteral("Nome segnale"));
    const OkOutcome outcome = decideOk(content, m_g.PASSsegnale, m_g.PASSdomanda);
    if (outcome == OkOutcome::PhotoMode) {
        debug(QStringLiteral("Argomento con Foto (Ok/MenuGen)"),
              QStringLiteral("Non ci sono Segnali e domande disponibili"));
        m_g.SoloFoto = true;
    } else if (outcome != OkOutcome::Start) {
        m_reporter.Emsg(ReportKind::Message, kArgomentoVuoto, refusalText(outcome));
        return;
    }
    // The group and row of a choice made in the menu just now; a range
    // chosen elsewhere (the topic pop-up) is known only by its title.
    QString group;
    int row = -1;
    if (m_choice) {
        group = m_choice->group;
        row = m_choice->row;
    } else {
        for (int i = 0; i < kGroups && group.isEmpty(); ++i)
            if (!m_g.TitoliGruppi[size_t(i)].isEmpty() && m_g.TitoliGruppi[size_t(i)] == m_g.TitoloArgomento)
                group = topicGroupLetter(m_g.Edizione, i);
    }
    const SpecificSettings s = settaggiSpecifici(m_g.Edizione, group, row, m_g.TitoloArgomento,
                                                 m_g.TitoliGruppi[9], m_g.TitoliGruppi[4]);
    if (s.soloFoto)
        m_g.SoloFoto = *s.soloFoto;
    m_view.closeMenu();
    m_port.startTopic(s.numberPanel);
}

void GeneralMenu::viewModeClicked(bool fromClick)
{
    if (m_port.lessonListVisible())
        return;
    const ViewMode next = nextViewMode(viewMode());
    m_g.PASSsegnale = next != ViewMode::QuestionsOnly;
    m_g.PASSdomanda = next != ViewMode::SignsOnly;
    m_g.SegnaliDaMenu = next != ViewMode::QuestionsOnly;
    if (fromClick) {
        m_config.CBonlySegn = !m_g.PASSdomanda;
        m_config.CBonlyDom = !m_g.PASSsegnale;
        m_port.saveViewMode();
    }
    m_view.refreshMenu();
}

void GeneralMenu::configureClicked()
{
    if (!m_abilita || m_port.lessonListVisible())
        return;
    m_port.showConfiguration();
}

void GeneralMenu::examClicked()
{
    if (!m_abilita || m_port.lessonListVisible())
        return;
    m_port.openExam();
}

QString GeneralMenu::printModulePath() const
{
    return resolveFile(m_g.dirs.DirPressKit, QStringLiteral("pressKit.exe"));
}

void GeneralMenu::printClicked()
{
    if (!m_abilita || m_port.lessonListVisible())
        return;
    const QString module = printModulePath();
    if (!QFileInfo(module).isFile()) {
        m_reporter.Emsg(ReportKind::MissingFile, QStringLiteral("avvio di pressKit"), module);
        return;
    }
    if (!m_reporter.Conferma(QStringLiteral("Modulo stampe pressKit"),
                             QStringLiteral("Premere OK per uscire da Ziro e avviare le stampa")))
        return;
    // The program ends only once the module is running, and by its usual
    // close (resume mark, error log), not by dropping out from here.
    QString error;
    if (!m_port.launch(module, &error)) {
        m_reporter.Emsg(ReportKind::MissingFile, QStringLiteral("avvio di pressKit"),
                        module + (error.isEmpty() ? QString() : QStringLiteral(" (") + error + QLatin1Char(')')));
        return;
    }
    m_port.endProgram();
}

void GeneralMenu::ArgomentoTesta()
{
    m_port.FiltraDB(QStringLiteral("Default"), QString(), true);
    m_listLoaded = false;
    m_group = 0;
    m_groupLetter.clear();
    m_view.refreshMenu();
}

void GeneralMenu::ResettaMenu()
{
    m_rows.assign(kGroups, TopicLine{});
    m_listSelection = -1;
    ArgomentoTesta();
}

void GeneralMenu::ActionFunction(int selezione)
{
    if (selezione < 1 || selezione > kMenuFunctionCount)
        return;
    const auto f = static_cast<MenuFunction>(selezione);
    m_view.showFunctionPressed(f);
    switch (f) {
    case MenuFunction::EditionAB:
    case MenuFunction::EditionAM:
    case MenuFunction::EditionCD:
    case MenuFunction::EditionCQ: editionClicked(editionOfFunction(selezione)); break;
    case MenuFunction::Custom: customClicked(); break;
    case MenuFunction::ViewMode: viewModeClicked(true); break;
    case MenuFunction::Configure: configureClicked(); break;
    case MenuFunction::Print: printClicked(); break;
    case MenuFunction::Exam: examClicked(); break;
    }
}

bool GeneralMenu::keyDown(int key, Qt::KeyboardModifiers mods)
{
    Q_UNUSED(mods);
    switch (key) {
    case Qt::Key_Escape:
        if (groupPanelShown())
            m_port.closeMainWindow();
        else
            ResettaMenu();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (m_keys.SelKeyMode == 2) {
            ActionFunction(m_keys.SelFunction);
        } else if (m_keys.SelectBand > 0 && groupPanelShown()) {
            groupClicked(m_keys.SelectBand);
        } else {
            TastoOK(m_listSelection);
        }
        return true;
    case Qt::Key_Home:
        ResettaMenu();
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Tab:
    case Qt::Key_Backtab: {
        const KeySelection next = moveKeySelection(m_keys, key, m_g.Edizione);
        if (next != m_keys) {
            m_keys = next;
            m_view.refreshMenu();
        }
        return true;
    }
    default: break;
    }
    return false;
}

}  // namespace ziro
