#include "authoring/resume.h"

#include "authoring/custom_lessons.h"
#include "base/reports.h"
#include "content/edition.h"
#include "platform/dataset/data_table.h"

#include <QFileInfo>

namespace ziro {

TMdTemp captureMark(const Globals& g, const DataTable& table, const ResumePort& port)
{
    TMdTemp t;
    t.Status = false;
    t.Snap = port.photoViewerOpen() ? QLatin1Char('F') : port.quizVisible() ? QLatin1Char('Q') : QLatin1Char('S');
    t.NumDomanda = g.ContatoreRecord;
    t.NumAffermazione = port.quizVisible() ? port.currentStatement() : g.ContatoreAffermazioni;
    t.Argomento = table.fieldText(QStringLiteral("Argomento"));
    t.RecNum = table.fieldInt(QStringLiteral("NumRec"));
    t.Segnale = g.SegnaleON;
    t.Domanda = g.QuizON;
    t.Foto = g.FotoCorrente;
    t.OnlyFoto = g.SoloFoto;
    t.Custom = g.Custom;
    t.L_AM = g.ModoAM();
    t.L_AB = g.ModoAB();
    t.L_CD = g.ModoCD();
    t.L_CQ = g.ModoCQ();
    t.LezPers = g.Custom ? table.fileName() : QString();
    return t;
}

namespace {

MarkFacts factsOf(const Globals& g, const DataTable& table, const ResumePort& port)
{
    MarkFacts f;
    f.signShown = g.SegnaleON;
    f.questionShown = g.QuizON;
    int photos = 0;
    while (photos < 30 && !table.fieldText(QStringLiteral("Foto") + QString::number(photos + 1)).trimmed().isEmpty())
        ++photos;
    f.photoCount = photos;
    f.hasPhotos = photos > 0;
    f.hasHtml = !table.fieldText(QStringLiteral("Html1")).trimmed().isEmpty();
    f.statementCount = port.statementCount();
    f.questionCount = g.TotaleRecord;
    return f;
}

}  // namespace

bool applyPendingMark(Globals& g, Reports& reports, DataTable& table, EditionPort& editions,
                      CustomLessons& lessons, ResumePort& port)
{
    const TMdTemp mark = g.MdTemp;
    port.closeSideViews();
    port.beep();
    bool entered = false;
    const auto fallBack = [&] {
        // A lesson opened for the mark is not left on show behind the menu.
        if (entered)
            lessons.leaveCustomMode();
        g.MdTemp.Status = false;
        port.closeQuiz();
        port.showGeneralMenu();
        return false;
    };
    MarkFacts before;
    before.lessonExists = !mark.Custom || QFileInfo(mark.LezPers).isFile();
    const ApplyPlan opening = planApply(mark, before);
    if (opening.action != ApplyPlan::Action::Show)
        return fallBack();

    if (opening.custom) {
        // The lesson brings its own edition, as when it is chosen from the
        // list.
        const bool wasCustom = g.Custom;
        g.Custom = false;
        if (!lessons.presentLesson(opening.lessonPath)) {
            g.Custom = wasCustom;
            return fallBack();
        }
        entered = true;
    } else {
        if (g.Custom || opening.edition != g.Edizione) {
            QString error;
            if (!switchEdition(g, editions, opening.edition, &error)) {
                reports.Emsg(ReportKind::FileIo, error, contentFilePath(g, opening.edition));
                return fallBack();
            }
            lessons.leaveCustomMode();
        }
        port.filter(opening.topic, opening.topic);
    }
    g.SoloFoto = opening.onlyFoto;
    if (!table.locate(QStringLiteral("NumRec"), QString::number(opening.recNum)))
        return fallBack();
    g.MdTemp.Status = false;
    port.showRecord();

    const ApplyPlan plan = planApply(mark, factsOf(g, table, port));
    // After the record is shown: showing it starts the counts afresh.
    g.ContatoreRecord = plan.question;
    g.ContatoreAffermazioni = plan.statement;
    using View = ApplyPlan::View;
    switch (plan.view) {
    case View::Record: port.closePhotoViewer(); break;
    case View::Photo: port.openPhotoViewer(plan.photo); break;
    case View::Sign:
        port.closeQuiz();
        port.showSign();
        break;
    case View::Quiz: port.loadQuizAt(g.Domanda, plan.statement); break;
    case View::PhotoOverQuiz:
        port.loadQuizAt(g.Domanda, plan.statement);
        port.openPhotoViewer(plan.photo);
        break;
    case View::PhotoOverSign:
        port.showSign();
        port.openPhotoViewer(plan.photo);
        break;
    }
    return true;
}

}  // namespace ziro
