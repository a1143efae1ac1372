#include "content/navigator.h"

#include "content/photo_files.h"

#include "content/sign_viewer.h"

#include "base/globals.h"
#include "base/reports.h"
#include "config/settings.h"
#include "content/edition.h"
#include "platform/files/paths.h"

#include <QFileInfo>
#include <QRandomGenerator>

#include <exception>
#include <optional>

namespace ziro {

namespace {

const QString kArgomento = QStringLiteral("Argomento");
const QString kDomanda = QStringLiteral("Domanda");
const QString kNomeSegnale = QStringLiteral("Nome segnale");
const QString kNumRec = QStringLiteral("NumRec");
const QString kSelezione = QStringLiteral("Selezione");
const QString kQuesito1 = QStringLiteral("Quesito1");

// A sign name read as a number: ASCII digits only, at most nine of them.
// Runs `restore` when the scope ends, whichever way it ends.
template <typename F>
class AtExit {
public:
    explicit AtExit(F f) : m_f(std::move(f)) {}
    ~AtExit() { m_f(); }
    AtExit(const AtExit&) = delete;
    AtExit& operator=(const AtExit&) = delete;

private:
    F m_f;
};

}  // namespace

int WalkServices::random(int bound)
{
    return int(QRandomGenerator::global()->bounded(bound));
}

bool WalkServices::fileExists(const QString& path) const
{
    return QFileInfo(path).isFile();
}

Navigator::Navigator(Globals& globals, const Config& config, Reports& reporter, DataTable& table,
                     ViewerPorts& viewers, MainViewPort& mainView, SignAreaPort& signArea,
                     WalkServices& services)
    : m_g(globals),
      m_cfg(config),
      m_reporter(reporter),
      Table1(table),
      m_viewers(viewers),
      m_main(mainView),
      m_sign(signArea),
      m_services(services)
{
}

bool Navigator::isSpecialSign(const QString& name)
{
    const std::optional<int> n = signNumber(name);
    if (!n)
        return false;
    return (*n >= 599 && *n <= 620) || (*n >= 631 && *n <= 669) || (*n >= 679 && *n <= 686);
}

QString Navigator::text(const QString& field) const
{
    return Table1.fieldText(field);
}

void Navigator::beep()
{
    m_services.beep();
}

void Navigator::debug(const QString& contesto, const QString& stringa)
{
    if (m_g.ModoDebug)
        m_reporter.Debug(contesto, stringa);
}

void Navigator::showSign()
{
    m_sign.Visione(m_g.Segnale, true, m_cfg.CBNomeSegnali);
}

// ------------------------------------------------------------------ filter

void Navigator::FiltraDB(const QString& FiltroDa, const QString& FiltroA, bool Conteggio)
{
    QString da = FiltroDa;
    QString a = FiltroA;
    bool selezioneAvvio = false;
    if (da == QLatin1String("Default")) {
        // A settings file without the two codes must not filter on nothing.
        da = m_cfg.EFAda.trimmed().isEmpty() ? QString::fromLatin1(kDefaultTopicFrom) : m_cfg.EFAda;
        a = m_cfg.EFAa.trimmed().isEmpty() ? QString::fromLatin1(kDefaultTopicTo) : m_cfg.EFAa;
        m_f.SottoArgCorr = da;
        selezioneAvvio = true;
    }

    if (da != QLatin1String("OFF")) {
        QString error;
        if (!Table1.setIndexFieldNames(kArgomento + QLatin1Char(';') + kNumRec, &error)
            || !Table1.setRange({da, 0}, {a, 999999}, &error)) {
            m_reporter.Emsg(ReportKind::LogOnly, QStringLiteral("Filtro tabella"), error);
        }
        m_g.DescrizioneFiltro = QStringLiteral("Limiti > ") + da + QLatin1Char('/') + a;
        m_g.TitoloArgomento = selezioneAvvio ? QStringLiteral("Selezione di avvio")
                                             : TitoloGruppo(m_g, da.left(1));
        m_f.SottoArgCorr = da;
    } else {
        Table1.cancelRange();
        const int before = Table1.recNo() - 1;
        m_g.ContatoreRecord = Conteggio ? ContaDomande(before) : before;
        m_g.DescrizioneFiltro = QStringLiteral("Eliminato, Tutti i record accessibili");
        m_g.TitoloArgomento = QStringLiteral("Tutte le domande");
        m_f.SottoArgCorr.clear();
    }
    debug(QStringLiteral("Filtro tabella"), m_g.DescrizioneFiltro);
    m_g.TotaleRecord = Conteggio ? ContaDomande(0) : Table1.recordCount();
}

int Navigator::ContaDomande(int NmrRcrd)
{
    // Read by position, so the cursor, its flags and the window stay put.
    const int field = Table1.fieldIndex(NmrRcrd == 0 ? kDomanda : kNumRec);
    int count = 0;
    for (int r = 1, n = Table1.recordCount(); r <= n; ++r) {
        const QString value = Table1.fieldTextAt(r, field).trimmed();
        if (NmrRcrd == 0 ? !value.isEmpty() : value.toInt() != NmrRcrd)
            ++count;
    }
    return count;
}

bool Navigator::VeroSeVuoto(const QString& Campo)
{
    const int field = Table1.fieldIndex(Campo);
    for (int r = 1, n = Table1.recordCount(); r <= n; ++r) {
        if (!Table1.fieldTextAt(r, field).trimmed().isEmpty())
            return false;
    }
    return true;
}

bool Navigator::VicinoUtile(int direzione) const
{
    const int at = Table1.recNo() + (direzione < 0 ? -1 : 1);
    auto value = [&](const QString& name) { return Table1.fieldTextAt(at, Table1.fieldIndex(name)); };
    if (!value(kNomeSegnale).trimmed().isEmpty())
        return true;
    return !value(kDomanda).trimmed().isEmpty() && value(kSelezione) == QLatin1String("SI");
}

// ------------------------------------------------------------ record check

bool Navigator::ControllaDb(int Direzione)
{
    if (Direzione == -1 && Table1.bof()) {
        if (!m_g.SoloFoto && spare() != QLatin1String("5"))
            m_reporter.Emsg(ReportKind::AtStart, QStringLiteral("Inizio Argomento"), QString());
        m_f.BloccoIndietro = true;
        return false;
    }
    if (Direzione == 1 && Table1.eof()) {
        if (!m_g.SoloFoto && spare() != QLatin1String("5"))
            m_reporter.Emsg(ReportKind::AtEnd, QStringLiteral("Argomento terminato"), QString());
        m_f.BloccoAvanti = true;
        return false;
    }

    const bool moving = Direzione != 0;
    const bool soloFotoBefore = m_g.SoloFoto;
    if (!m_g.Custom) {
        if (Direzione == 1 && spare() == QLatin1String("5"))
            m_g.SoloFoto = true;
        if (moving)
            m_sign.CancellaIcone();
        if (!m_g.PASSsegnale && m_g.PASSdomanda) {
            if (!search(kDomanda, Direzione, soloFotoBefore))
                return false;
        } else if (m_g.PASSsegnale && !m_g.PASSdomanda) {
            if (!search(kNomeSegnale, Direzione, soloFotoBefore))
                return false;
        }
    }
    if (moving && spare() != QLatin1String("2") && m_cfg.CBnoSsD && !m_g.SoloFoto && !m_g.Custom) {
        if (!search(kDomanda, Direzione, soloFotoBefore))
            return false;
    }

    // Quiz block.
    const QString code = text(kDomanda).trimmed();
    const bool block = !code.isEmpty() && (!m_g.Custom || text(kSelezione) == QLatin1String("SI"));
    if (block) {
        m_g.Domanda = (code.startsWith(QLatin1Char('d')) ? QStringLiteral("C") : QStringLiteral("Ad")) + code;
        m_g.QuizON = !(m_g.Custom && text(kQuesito1).trimmed().isEmpty());
        m_main.setQuizButton(true);
    } else {
        m_g.Domanda.clear();
        m_g.QuizON = false;
        m_main.setQuizButton(false);
    }

    // Sign.
    QString name = text(kNomeSegnale).trimmed();
    m_g.SegnaleF = false;
    if (!name.isEmpty()) {
        m_g.SegnaleON = true;
        if (name.startsWith(QLatin1Char('f'))) {
            name.remove(0, 1);
            m_g.SegnaleF = true;
        }
        m_g.Segnale = name;
        m_g.SegnaleSpeciale = isSpecialSign(name);
    } else {
        m_g.SegnaleON = false;
        m_g.Segnale.clear();
        m_g.SegnaleSpeciale = false;
    }

    // Photographs. In a custom lesson a record with a single photograph and
    // no quiz block keeps the button off unless full-screen photos are on.
    const bool foto1 = !text(QStringLiteral("Foto1")).trimmed().isEmpty();
    m_g.FotoON = foto1 || !text(QStringLiteral("Html1")).trimmed().isEmpty();
    bool fotoButton = m_g.FotoON;
    if (m_g.Custom && foto1 && text(QStringLiteral("Foto2")).trimmed().isEmpty() && !block && !m_cfg.CBfotoFull)
        fotoButton = false;
    m_main.setFotoButton(fotoButton);

    m_g.VideoON = !text(QStringLiteral("Video")).trimmed().isEmpty();
    m_main.setVideoButton(m_g.VideoON);
    m_g.TestoON = !text(QStringLiteral("Testo")).trimmed().isEmpty();

    // Book page, in the edition's book folder.
    const EditionInfo& edition = editionInfo(m_g.Edizione);  // A-B unless another edition is set
    const QString libro = text(QStringLiteral("Libro")).trimmed();
    std::optional<QString> page;
    if (!libro.isEmpty())
        page = joinPlain(m_g.dirs.*(edition.bookDir), libro, QStringLiteral("Pag"), QStringLiteral(".KXB"));
    m_g.LibroON = page && m_services.fileExists(*page);
    m_main.setLibroButton(m_g.LibroON);
    m_main.setBookLabel(m_g.LibroON ? libro : QString());

    m_g.AudioON = !text(QStringLiteral("Audio")).trimmed().isEmpty();
    for (int i = 0; i < 10; ++i)
        m_g.IconaON[std::size_t(i)] = !text(QStringLiteral("Icona%1").arg(i + 1)).trimmed().isEmpty();

    debug(QStringLiteral("Controllo DBase"), QStringLiteral("DB ") + Table1.fileName());
    m_main.refresh();
    m_shown = Table1.bookmark();
    return true;
}

bool Navigator::skipRecord(const QString& Campo) const
{
    const QString sp = spare();
    if (text(Campo).trimmed().isEmpty() && sp != QLatin1String("2"))
        return true;
    // A custom record without statements has nothing to ask, whatever the
    // record the search started from.
    if (m_g.Custom
        && (text(kSelezione) == QLatin1String("NO") || text(kQuesito1).trimmed().isEmpty()))
        return true;
    return sp == QLatin1String("3") && m_g.PASSsegnale && !m_g.PASSdomanda;
}

bool Navigator::seekShown(const QString& Campo, int Direzione)
{
    const int step = Direzione == -1 ? -1 : 1;
    while (skipRecord(Campo)) {
        if (Table1.moveBy(step) == 0)
            return false;  // an end of the range (its flag is set), or no table
    }
    return true;
}

bool Navigator::CercaContiguo(const QString& Campo, int Direzione)
{
    return search(Campo, Direzione, m_g.SoloFoto);
}

bool Navigator::search(const QString& Campo, int Direzione, bool soloFotoBefore)
{
    debug(QStringLiteral("Proc. CercaContiguo"),
          QStringLiteral("Campo > ") + Campo + QStringLiteral(" Direzione > ") + QString::number(Direzione));
    const Bookmark start = Table1.bookmark();
    if (seekShown(Campo, Direzione))
        return true;
    const int step = Direzione == -1 ? -1 : 1;
    if (Direzione == 0) {
        // Nothing to show after it: the nearest record before it will do.
        Table1.gotoBookmark(start);
        if (!seekShown(Campo, -1))
            Table1.gotoBookmark(start);
        return true;
    }
    // The end is reported once, here; the records passed were all to be
    // skipped, so the one on show stays.
    m_g.SoloFoto = soloFotoBefore;
    ControllaDb(Direzione);
    backToShown(Campo, step, start);
    return false;
}

void Navigator::backToShown(const QString& Campo, int step, const Bookmark& start)
{
    if (Table1.gotoBookmark(m_shown))
        return;
    // Nothing on show in this range yet: the nearest record to show the
    // other way, or where the search began.
    Table1.gotoBookmark(start);
    if (!seekShown(Campo, -step))
        Table1.gotoBookmark(start);
}

// ------------------------------------------------------------ jumps, start

int Navigator::SpostaSuRecord(const QString& Campo, const QString& Recrd, bool Azione)
{
    // A record equal to the value wins over one that only begins with it
    // ("12" must not land on "120" when "12" exists).
    const bool found = !Recrd.isEmpty()
        && (Table1.locate(Campo, Recrd) || Table1.locate(Campo, Recrd, LocateOption::PartialKey));
    debug(QStringLiteral("Spostamento su ") + Campo + QStringLiteral(" da menu"), QStringLiteral("Record ") + Recrd);

    auto display = [this] {
        m_sign.CancellaIcone();
        Avvio(0);
        if (m_g.SegnaleON && !m_g.SegnaleSpeciale && m_g.PASSsegnale)
            m_viewers.closeQuiz();
        m_g.VistaLink = false;
    };

    if (found) {
        if (Azione)
            display();
        return 1;
    }

    if (Campo == QLatin1String("Foto1")) {
        // A jump by photograph number finds the file as the viewer does:
        // numbers from 9000 are the user's own photographs.
        const std::optional<PhotoFile> file = photoFile(m_g.dirs, Recrd);
        const std::optional<QString> path = file ? std::optional<QString>(file->path) : std::nullopt;
        if (path && m_services.fileExists(*path)) {
            bool isNumber = false;
            int number = Recrd.toInt(&isNumber);
            if (!isNumber)
                number = 0;
            const bool soloFoto = m_g.SoloFoto;
            m_g.SoloFoto = true;
            if (m_viewers.showSinglePhoto(*path, number)) {
                m_g.FotoCorrente = number;
                if (m_viewers.filmPlaying())
                    m_viewers.pauseFilm();
                return 1;
            }
            m_g.SoloFoto = soloFoto;
        }
        m_reporter.Emsg(ReportKind::MissingFile, QStringLiteral("display foto"),
                        path.value_or(m_g.dirs.DirFoto + Recrd + QStringLiteral(".KXB")));
        if (Azione)
            display();
        return 1;
    }

    if (Campo == kNomeSegnale && m_g.PASSsegnale) {
        QString name = Recrd;
        if (!m_g.ModoAB() && !m_g.ModoAM())
            name = m_viewers.pictogramName(name);
        const QString& folder = m_cfg.CBNomeSegnali ? m_g.dirs.DirPicSgt : m_g.dirs.DirPicSgn;
        const std::optional<QString> path = joinPlain(folder, name, QString(), QStringLiteral(".BMP"));
        if (path && m_services.fileExists(*path))
            return 2;
        // Neither a record nor a picture: the caller must not take it for a
        // record found.
        m_reporter.Emsg(ReportKind::BadNumber, QStringLiteral("La figura digitata non esiste"), QString());
        return 0;
    }

    const bool errorWindowHidden = !m_reporter.reportWindowVisible();
    m_reporter.Emsg(ReportKind::BadNumber,
                    (!m_g.PASSsegnale && errorWindowHidden)
                        ? QStringLiteral("Non ci sono domande per la figura scelta")
                        : QStringLiteral("La figura digitata non esiste"),
                    QString());
    return 0;
}

void Navigator::jumpBy(int distance)
{
    Table1.moveBy(distance);
    // A jump cut short at an end lands on that record like on any other: it
    // must not read as the end of the walk.
    if ((Table1.bof() || Table1.eof()) && !Table1.isEmpty())
        Table1.setRecNo(Table1.recNo());
}

void Navigator::JmpRandom()
{
    const int distance = m_services.random(706);
    const bool back = m_services.random(2) == 0;
    jumpBy(back ? -distance : distance);
    // A check in place never meets an end, so one jump always lands.
    ControllaDb(0);
    m_g.ContatoreRecord = 2;
    m_f.NumeroJmp = (m_f.NumeroJmp >= 10 || m_f.NumeroJmp < 1) ? 1 : m_f.NumeroJmp + 1;
}

void Navigator::Avvio(int DirezDb)
{
    // The one place a failure of the start is caught: it is said, and the
    // lesson shows what was reached.
    try {
        avvio(DirezDb);
    } catch (const std::exception& e) {
        m_main.message(QStringLiteral("ERRORE di avvio\r\n") + QString::fromLocal8Bit(e.what()));
    }
}

void Navigator::avvio(int DirezDb)
{
    m_main.setSelectorColour(m_g.ColoreSelettore);
    m_f.BloccoAvanti = false;
    m_f.BloccoIndietro = false;
    m_g.ContatoreRecord = 0;
    m_g.ContatoreAffermazioni = 0;
    m_g.LockLoop = false;
    m_g.VistaLink = false;
    m_main.refresh();
    m_viewers.closeBook();
    m_sign.CancellaIcone();
    m_main.refresh();
    ControllaDb(DirezDb);
    m_main.setProgressVisible(m_g.Custom);

    if (m_g.Custom) {
        if (m_g.SegnaleON)
            showSign();
        else if (m_g.QuizON)
            m_viewers.loadQuizBlock(m_g.Domanda);
        else if (m_g.FotoON)
            m_main.SWfotoClick();
        return;
    }

    if (m_cfg.CBesame) {
        FiltraDB(QStringLiteral("OFF"), QString(), false);
        m_g.ContatoreRecord = 1;
        m_g.ContatoreAffermazioni = 1;
        m_f.NumeroJmp = 1;
    }
    if (m_g.SoloFoto) {
        ProssimaFoto(0);
        return;
    }
    if (m_g.PASSsegnale)
        showSign();
    else
        m_sign.emptySignArea();
    bool loaded = false;
    if (m_g.PASSdomanda && m_g.QuizON && m_viewers.quizVisible()) {
        m_viewers.loadQuizBlock(m_g.Domanda);
        loaded = true;
    }
    if (!(m_g.PASSsegnale && m_g.SegnaleON)) {
        if (m_g.PASSdomanda && m_g.QuizON) {
            if (!loaded)
                m_viewers.loadQuizBlock(m_g.Domanda);
        } else {
            m_viewers.closeQuiz();
        }
    }
    if (!m_g.SegnaleON && !m_g.QuizON && m_g.FotoON)
        m_main.SWfotoClick();
}

void Navigator::ProssimaFoto(int Direzione)
{
    if (Direzione == 0) {
        m_main.SWfotoClick();
        return;
    }
    if (Direzione < 0) {
        if (m_f.BloccoIndietro) {
            beep();
            return;
        }
        Table1.prior();
        if (!ControllaDb(-1)) {
            m_reporter.Emsg(ReportKind::AtStart, QStringLiteral("Foto iniziale"), QString());
            return;
        }
        m_f.BloccoAvanti = false;
        if (spare() != QLatin1String("4")) {
            m_main.SWfotoClick();
        } else {
            // The record that opens a photo sequence: back to its questions.
            m_g.SoloFoto = false;
            m_viewers.closePhotoViewer();
            m_viewers.loadQuizBlock(m_g.Domanda);
        }
        return;
    }
    if (m_f.BloccoAvanti) {
        beep();
        return;
    }
    Table1.next();
    if (!ControllaDb(1)) {
        m_reporter.Emsg(ReportKind::AtEnd, QStringLiteral("Ultima foto"), QString());
        return;
    }
    m_f.BloccoIndietro = false;
    m_main.SWfotoClick();
}

void Navigator::AttivaModoTemp(const QString& CodeFilterIN, const QString& CodeFilterOUT, bool Count)
{
    m_viewers.closeBook();
    m_viewers.closeFilms();
    m_viewers.closeHtml();
    // A trip taken while another is pending keeps the way back to where the
    // lesson was, not to the middle of the first trip.
    if (!m_g.MdTemp.Status) {
        TMdTemp& t = m_g.MdTemp;
        t.Status = true;
        t.Snap = m_viewers.photoViewerOpen() ? QLatin1Char('F')
            : m_viewers.quizVisible()        ? QLatin1Char('Q')
                                             : QLatin1Char('S');
        t.NumDomanda = m_g.ContatoreRecord;
        t.NumAffermazione = m_g.ContatoreAffermazioni;
        t.Argomento = text(kArgomento);
        t.RecNum = Table1.fieldInt(kNumRec);
        t.Segnale = m_g.SegnaleON;
        t.Domanda = m_g.QuizON;
        t.Foto = m_g.FotoCorrente;
        t.OnlyFoto = m_g.SoloFoto;
        t.Custom = m_g.Custom;
        t.L_AM = m_g.ModoAM();
        t.L_AB = m_g.ModoAB();
        t.L_CD = m_g.ModoCD();
        t.L_CQ = m_g.ModoCQ();
        t.LezPers = m_g.Custom ? Table1.fileName() : QString();
    }
    m_viewers.closePhotoViewer();
    if (m_g.Custom)
        (m_customExit ? *m_customExit : m_services).closeCustomLesson();
    FiltraDB(CodeFilterIN, CodeFilterOUT, Count);
}

bool Navigator::returnFromSideTrip(EditionPort& editions)
{
    TMdTemp& t = m_g.MdTemp;
    const auto giveUp = [&t] {
        t.Status = false;
        return false;
    };
    // The way back into a custom lesson comes with the lesson list.
    if (!t.Status || t.Custom)
        return giveUp();
    beep();
    std::optional<TModoQuiz> edition;
    if (t.L_AM)
        edition = TModoQuiz::mqAM;
    else if (t.L_CD)
        edition = TModoQuiz::mqCD;
    else if (t.L_CQ)
        edition = TModoQuiz::mqCQ;
    else if (t.L_AB)
        edition = TModoQuiz::mqAB;
    if (!edition)
        return giveUp();
    if (*edition != m_g.Edizione) {
        QString error;
        if (!switchEdition(m_g, editions, *edition, &error))
            return giveUp();
    }
    m_g.SoloFoto = t.OnlyFoto;
    FiltraDB(t.Argomento, t.Argomento, false);
    if (!Table1.locate(kNumRec, QString::number(t.RecNum)))
        Table1.first();
    t.Status = false;
    m_f.BloccoAvanti = false;
    m_f.BloccoIndietro = false;
    m_sign.CancellaIcone();
    Avvio(0);
    // After the record is shown: showing it starts the counts afresh.
    m_g.ContatoreRecord = t.NumDomanda;
    m_g.ContatoreAffermazioni = t.NumAffermazione;
    return true;
}

// ------------------------------------------------------------------- steps

bool Navigator::onLastPhoto() const
{
    return m_g.NumeroFoto <= 1 || m_g.FotoCorrente >= m_g.NumeroFoto;
}

bool Navigator::onFirstPhoto() const
{
    return m_g.NumeroFoto <= 1 || m_g.FotoCorrente <= 1;
}

bool Navigator::closeQuizAfterMove() const
{
    if (!m_g.PASSsegnale || !m_g.SegnaleON)
        return false;
    const bool skipOption = m_cfg.CBnoSsD;
    return (!m_g.QuizON && !skipOption)
        || (m_g.ContatoreRecord <= m_g.TotaleRecord && (!skipOption || m_g.QuizON));
}

void Navigator::SWavanti()
{
    step(1);
}

void Navigator::SWindietro()
{
    step(-1);
}

void Navigator::step(int dir)
{
    m_viewers.stopQuizAudio();
    if (m_f.Sblocco)
        m_main.restoreStepButtons();
    // The one place a failure inside a step is caught: a short pause, and
    // the step ends with what it reached.
    try {
        if (m_g.Custom)
            customStep(dir);
        else if (!viewerStep(dir))
            dir > 0 ? recordStepForward() : recordStepBack();
    } catch (const std::exception&) {
        m_services.wait(0.2);
    }
    m_main.hideJumpField();
}

bool Navigator::viewerStep(int dir)
{
    const bool forward = dir > 0;
    if (m_viewers.htmlOpen()) {
        m_viewers.closeHtml();
        m_viewers.closePhotoViewer();
        return true;
    }
    if (m_viewers.photoViewerOpen()) {
        const bool atEnd = forward ? onLastPhoto() : onFirstPhoto();
        if (!m_g.SoloFoto && atEnd) {
            m_viewers.closePhotoViewer();
            if (m_viewers.quizVisible())
                m_viewers.focusQuiz();
            return true;
        }
        if (!atEnd) {
            forward ? m_viewers.showNextPhoto() : m_viewers.showPreviousPhoto();
            return true;
        }
    }
    if (m_viewers.previewsOpen()) {
        m_viewers.openFirstPreview();
        return true;
    }
    if (m_g.VistaLink) {
        showSign();
        m_g.VistaLink = false;
        return true;
    }
    if (m_g.PagineLibro) {
        forward ? m_viewers.nextBookPage() : m_viewers.previousBookPage();
        return true;
    }
    if (m_viewers.filmOpen()) {
        // Back starts the film again from its start point.
        forward ? m_viewers.resumeFilm() : m_viewers.restartFilm();
        return true;
    }
    if (m_g.SoloFoto) {
        if (m_g.QuizON) {
            m_g.SoloFoto = false;
            m_viewers.closePhotoViewer();
            m_viewers.loadQuizBlock(m_g.Domanda);
        } else {
            ProssimaFoto(dir);
        }
        return true;
    }
    return false;
}

void Navigator::showMovedRecord()
{
    if (closeQuizAfterMove())
        m_viewers.closeQuiz();
    if (m_g.PASSsegnale) {
        m_sign.CancellaIcone();
        showSign();
        if (m_g.SegnaleON)
            m_viewers.closeQuiz();
    }
    if (spare() == QLatin1String("2") && m_viewers.quizVisible())
        m_viewers.closeQuiz();
}

void Navigator::finishRecordStep(bool endHit)
{
    if (m_g.ContatoreRecord > m_g.TotaleRecord)
        m_g.ContatoreRecord = m_g.TotaleRecord;
    if (endHit)
        return;
    if (m_g.PASSdomanda && m_g.QuizON)
        m_viewers.loadQuizBlock(m_g.Domanda);
    if (!m_g.SegnaleON && !m_g.QuizON && m_g.FotoON)
        m_main.SWfotoClick();
}

void Navigator::recordStepForward()
{
    // A record marked "1" shows its question even in a signs-only view, for
    // this step only; the view chosen in the menu comes back at the end.
    const bool passDomanda = m_g.PASSdomanda;
    AtExit restore([this, passDomanda] { m_g.PASSdomanda = passDomanda; });
    if (m_viewers.quizVisible() && spare() == QLatin1String("1"))
        m_g.PASSdomanda = true;

    m_f.BloccoIndietro = false;
    if (m_f.BloccoAvanti) {
        beep();
        return;
    }
    ControllaDb(0);
    m_f.BloccoAvanti = false;

    if (m_g.PASSdomanda && m_g.LockLoop) {
        m_g.LockLoop = false;  // the sign's quiz comes first; no move
        finishRecordStep(false);
        return;
    }
    if (m_cfg.CBesame) {
        m_sign.CancellaIcone();
        JmpRandom();
    } else {
        Table1.next();
    }
    if (m_g.ContatoreRecord < 1)
        m_g.ContatoreRecord = 1;
    if (m_viewers.quizVisible() && m_g.ContatoreRecord <= m_g.TotaleRecord)
        ++m_g.ContatoreRecord;
    const bool endHit = !ControllaDb(1);
    if (endHit && m_viewers.quizVisible() && !m_g.QuizON) {
        // The cursor is still on the record on show: nothing to undo.
        m_f.BloccoAvanti = true;
        return;
    }
    showMovedRecord();
    if (m_g.PASSsegnale && m_g.SegnaleON)
        return;
    finishRecordStep(endHit);
}

void Navigator::recordStepBack()
{
    const bool passDomanda = m_g.PASSdomanda;
    AtExit restore([this, passDomanda] { m_g.PASSdomanda = passDomanda; });
    if (m_viewers.quizVisible() && spare() == QLatin1String("1"))
        m_g.PASSdomanda = true;

    m_f.BloccoAvanti = false;
    if (m_f.BloccoIndietro) {
        beep();
        return;
    }
    ControllaDb(0);
    if (!m_g.SegnaleON && !m_g.QuizON) {
        // Leaving a record of photographs only: walk the photographs back.
        m_g.SoloFoto = true;
        ProssimaFoto(-1);
        return;
    }

    bool searched = false;
    if (m_g.DomandaON && m_g.SegnaleON) {
        if (!m_cfg.CBnoSsD) {
            m_viewers.closeQuiz();
        } else if (!m_g.QuizON) {
            const int from = Table1.recNo();
            if (!CercaContiguo(kDomanda, -1))
                return;
            // The question found is this step's record: one more move would
            // pass over it.
            searched = Table1.recNo() != from;
        }
    }
    // Only a forward step unlocks a sign's quiz; going back leaves the lock
    // to the record reached (the sign area sets it again).
    m_g.LockLoop = false;
    if (!searched)
        Table1.prior();
    if (m_viewers.quizVisible() && m_g.ContatoreRecord > 0)
        --m_g.ContatoreRecord;
    if (m_g.ContatoreRecord < 1)
        m_g.ContatoreRecord = 1;
    const bool startHit = !ControllaDb(-1);
    if (startHit && m_viewers.quizVisible() && !m_g.QuizON) {
        m_f.BloccoIndietro = true;
        return;
    }
    showMovedRecord();
    if (m_g.PASSsegnale && m_g.SegnaleON)
        return;
    finishRecordStep(startHit);
}

void Navigator::customStep(int dir)
{
    const bool forward = dir > 0;
    bool& blocked = forward ? m_f.BloccoAvanti : m_f.BloccoIndietro;
    (forward ? m_f.BloccoIndietro : m_f.BloccoAvanti) = false;
    if (m_viewers.previewsOpen()) {
        m_viewers.openFirstPreview();
        return;
    }
    if (m_g.PagineLibro) {
        forward ? m_viewers.nextBookPage() : m_viewers.previousBookPage();
        return;
    }
    if (m_viewers.filmOpen()) {
        forward ? m_viewers.resumeFilm() : m_viewers.restartFilm();
        return;
    }
    const bool more = forward ? Table1.recNo() < Table1.recordCount() : Table1.recNo() > 1;
    if (more && !(m_g.SegnaleON && m_viewers.photoViewerOpen()))
        m_sign.CancellaIcone();
    if (m_viewers.htmlOpen()) {
        m_viewers.closeHtml();
        m_viewers.closePhotoViewer();
        return;
    }
    if (m_viewers.photoViewerOpen()) {
        if (!(forward ? onLastPhoto() : onFirstPhoto())) {
            forward ? m_viewers.showNextPhoto() : m_viewers.showPreviousPhoto();
            return;
        }
        if (!more || blocked)
            return;
        if (VicinoUtile(dir)) {
            m_sign.emptySignArea();
            m_viewers.closePhotoViewer();
            return;
        }
        // The neighbour only has photographs: go on in the viewer, entering
        // it at its first photograph going forward and its last going back.
        if (forward) {
            Table1.next();
            ++m_g.ContatoreRecord;
        } else {
            Table1.prior();
            if (m_g.ContatoreRecord > 1)
                --m_g.ContatoreRecord;
        }
        if (!ControllaDb(dir))
            blocked = true;
        else if (forward)
            m_main.SWfotoClick();
        else if (m_g.FotoON)
            m_viewers.openPhotoViewer(-1);
        return;
    }

    if (blocked) {
        beep();
        return;
    }
    if (m_g.VistaLink) {
        showSign();
        m_g.VistaLink = false;
        return;
    }
    // A locked view is unlocked by a forward step without moving; a step
    // back unlocks it and moves.
    const bool unlockOnly = forward && m_g.LockLoop;
    m_g.LockLoop = false;
    if (!unlockOnly) {
        forward ? Table1.next() : Table1.prior();
        if (!ControllaDb(dir)) {
            blocked = true;
            return;
        }
        if (m_g.SegnaleON) {
            showSign();
            m_viewers.closeQuiz();
            return;
        }
    }
    if (m_g.QuizON)
        m_viewers.loadQuizBlock(m_g.Domanda);
    else if (!m_g.SegnaleON && m_g.FotoON)
        m_main.SWfotoClick();
}

}  // namespace ziro
