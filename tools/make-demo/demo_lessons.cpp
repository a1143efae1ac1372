// Custom lessons and teachers: the generic access has three lessons (one
// still in the older, shorter schema, one mixing signs, photographs and
// statements, one of edition C-D-E), two teachers have lessons of their own
// and a resume mark each (one on a quiz statement, one on a photograph), and
// the choice of a teacher at start is on.

#include "demo_content.h"

#include "authoring/accesses.h"
#include "authoring/lesson_store.h"
#include "config/ini_file.h"
#include "platform/dataset/data_table.h"

#include <QDir>

#include <vector>

namespace ziro::demo {

namespace {

struct Step {
    QString sign;
    QStringList photos;
    QStringList captions;
    QString domanda;
    QStringList statements;
};

// The statement codes of the first `count` statements of a bank, as the
// lesson editor writes them: block right-aligned in 7, V or F, id in 4, "S",
// picture in 3.
QStringList statementCodes(const QString& bankPath, int count, int skip, QString* error)
{
    DataTable bank;
    bank.setFileName(bankPath);
    if (!bank.open(error))
        return {};
    QStringList codes;
    int seen = 0;
    for (bank.first(); !bank.eof() && codes.size() < count; bank.next()) {
        if (seen++ < skip)
            continue;
        const QString vero = bank.fieldText(QStringLiteral("Risposta")).toUpper();
        const bool v = vero == QLatin1String("TRUE") || vero == QLatin1String("1");
        codes << bank.fieldText(QStringLiteral("Blocco")).trimmed().rightJustified(7, QLatin1Char(' '))
                     + (v ? QLatin1Char('V') : QLatin1Char('F'))
                     + bank.fieldText(QStringLiteral("id")).trimmed().rightJustified(4, QLatin1Char('0'))
                     + QLatin1Char('S')
                     + bank.fieldText(QStringLiteral("Figura")).trimmed().rightJustified(3, QLatin1Char('0')).right(3);
    }
    return codes;
}

// Steps taken from an edition table: signs with their quiz block, and
// records with photographs.
std::vector<Step> stepsFrom(const QString& tablePath, int signs, int photoSteps, QString* error)
{
    DataTable t;
    t.setFileName(tablePath);
    std::vector<Step> steps;
    if (!t.open(error))
        return steps;
    int s = 0;
    int p = 0;
    for (t.first(); !t.eof() && (s < signs || p < photoSteps); t.next()) {
        const QString sign = t.fieldText(QStringLiteral("Nome segnale"));
        const QString foto1 = t.fieldText(QStringLiteral("Foto1"));
        if (!foto1.isEmpty() && p < photoSteps) {
            Step step;
            for (int i = 1; i <= 15; ++i) {
                const QString f = t.fieldText(QStringLiteral("Foto") + QString::number(i));
                if (f.isEmpty())
                    break;
                step.photos << f;
                step.captions << t.fieldText(QStringLiteral("TxtF") + QString::number(i));
            }
            steps.push_back(step);
            ++p;
        } else if (!sign.isEmpty() && s < signs && foto1.isEmpty()) {
            steps.push_back({sign, {}, {}, t.fieldText(QStringLiteral("Domanda")), {}});
            ++s;
        }
    }
    return steps;
}

bool writeLesson(const QString& path, const std::vector<Step>& steps, int tipo, bool olderSchema, QString* error)
{
    QList<FieldDef> fields = lessonFields();
    if (olderSchema) {
        // Forty statement fields, as lessons were written before the
        // statement range grew.
        fields.erase(std::remove_if(fields.begin(), fields.end(),
                                    [](const FieldDef& f) {
                                        return f.name.startsWith(QLatin1String("Quesito"))
                                            && f.name.mid(7).toInt() > 40;
                                    }),
                     fields.end());
    }
    DataTable t;
    if (!t.createFromFields(fields, error))
        return false;
    int n = 0;
    for (const Step& step : steps) {
        ++n;
        bool ok = t.append() && t.setField(QStringLiteral("NumRec"), n, error)
            && t.setField(QStringLiteral("Argomento"), QStringLiteral("Z01"), error)
            && t.setField(QStringLiteral("Tipo"), tipo, error);
        if (ok && !step.sign.isEmpty())
            ok = t.setField(QStringLiteral("Nome segnale"), step.sign, error);
        for (int i = 0; ok && i < step.photos.size(); ++i) {
            ok = t.setField(QStringLiteral("Foto") + QString::number(i + 1), step.photos.at(i), error)
                && t.setField(QStringLiteral("TxtF") + QString::number(i + 1), step.captions.value(i), error);
        }
        if (ok && !step.statements.isEmpty())
            ok = t.setField(QStringLiteral("Domanda"), step.domanda.isEmpty() ? QStringLiteral("1") : step.domanda, error)
                && t.setField(QStringLiteral("Selezione"), QStringLiteral("SI"), error);
        for (int i = 0; ok && i < step.statements.size(); ++i)
            ok = t.setField(QStringLiteral("Quesito") + QString::number(i + 1), step.statements.at(i), error);
        if (!ok || !t.post(error))
            return false;
    }
    return t.saveToFile(path, SaveFormat::Ascii, error);
}

}  // namespace

bool writeLessons(const QString& ziroDir, const QString& programDir, QString* error)
{
    const QString user = ziroDir + QStringLiteral("Utente/");
    const QStringList abCodes = statementCodes(programDir + QStringLiteral("NQM2016.XML"), 12, 0, error);
    const QStringList cdCodes = statementCodes(programDir + QStringLiteral("SQM2014.XML"), 6, 0, error);
    if (abCodes.size() < 12 || cdCodes.isEmpty()) {
        if (error && error->isEmpty())
            *error = QStringLiteral("too few statements in the question banks");
        return false;
    }
    std::vector<Step> ab = stepsFrom(programDir + QStringLiteral("AAB2016.XML"), 4, 2, error);
    std::vector<Step> cd = stepsFrom(programDir + QStringLiteral("ACD2014.XML"), 3, 0, error);
    if (ab.size() < 6 || cd.size() < 2) {
        if (error && error->isEmpty())
            *error = QStringLiteral("too few records for the lessons");
        return false;
    }
    // Statements of several blocks gathered on the signs' steps.
    ab[0].statements = abCodes.mid(0, 4);
    ab[2].statements = abCodes.mid(4, 5);
    cd[0].statements = cdCodes.mid(0, 3);
    cd[1].statements = cdCodes.mid(3, 3);
    const std::vector<Step> older = {ab[1], ab[3]};
    std::vector<Step> olderWithStatements = older;
    // Older lessons carried their references without the two leading blanks.
    olderWithStatements[0].statements = {abCodes.at(9).mid(2), abCodes.at(10).mid(2)};

    struct Lesson {
        QString folder;
        QString name;
        std::vector<Step> steps;
        int tipo;
        bool older;
    };
    const std::vector<Lesson> lessons = {
        {user, QStringLiteral("Lezione mista"), {ab[0], ab[4], ab[2], ab[5], ab[1]}, 0, false},
        {user, QStringLiteral("Vecchia lezione"), olderWithStatements, 0, true},
        {user, QStringLiteral("Patenti superiori"), {cd[0], cd[1], cd[2]}, 5, false},
        {user + QStringLiteral("Rossi/"), QStringLiteral("Segnali e quiz"), {ab[2], ab[0], ab[3]}, 0, false},
        {user + QStringLiteral("Rossi/"), QStringLiteral("Ripasso"), {ab[1], ab[4]}, 0, false},
        {user + QStringLiteral("Bianchi/"), QStringLiteral("Fotografie"), {ab[4], ab[5], ab[0]}, 0, false},
    };
    for (const Lesson& l : lessons) {
        if (!QDir().mkpath(l.folder)) {
            if (error)
                *error = QStringLiteral("cannot make ") + l.folder;
            return false;
        }
        if (!writeLesson(l.folder + l.name + QStringLiteral(".xml"), l.steps, l.tipo, l.older, error))
            return false;
    }
    for (const QString& teacher : {QStringLiteral("Rossi"), QStringLiteral("Bianchi")}) {
        if (!CreaCdsCustomVoid(user + teacher + QStringLiteral("/"), error))
            return false;
    }

    auto ini = IniFile::open(programDir + QStringLiteral("ziro.ini"), error);
    if (!ini)
        return false;
    ini->setAutoSave(false);
    ini->writeBool(QStringLiteral("Set"), QStringLiteral("Accesso multiplo"), true);
    ini->writeBool(QStringLiteral("Set"), QStringLiteral("Recupero out"), true);
    SingleAccessType empty;
    empty.mark.Snap = QChar();
    empty.mark.L_AB = false;
    for (int s = 0; s < kAccessSlots; ++s)
        putAccessSlot(*ini, s, empty);
    // Rossi left on the third statement of a custom lesson's quiz; the path
    // is the one an installation on Windows writes.
    SingleAccessType rossi;
    rossi.id = QStringLiteral("Rossi");
    rossi.mark.RecNum = 1;
    rossi.mark.Snap = QLatin1Char('Q');
    rossi.mark.Segnale = true;
    rossi.mark.Domanda = true;
    rossi.mark.NumAffermazione = 3;
    rossi.mark.Argomento = QStringLiteral("Z01");
    rossi.mark.Custom = true;
    rossi.mark.L_AB = true;
    rossi.mark.LezPers = QStringLiteral("C:\\ziro\\Utente\\Rossi\\Segnali e quiz.xml");
    putAccessSlot(*ini, 1, rossi);
    // Bianchi left on the second photograph of a step of their lesson.
    SingleAccessType bianchi;
    bianchi.id = QStringLiteral("Bianchi");
    bianchi.mark.RecNum = 1;
    bianchi.mark.Snap = QLatin1Char('F');
    bianchi.mark.Foto = 2;
    bianchi.mark.Argomento = QStringLiteral("Z01");
    bianchi.mark.Custom = true;
    bianchi.mark.L_AB = true;
    bianchi.mark.LezPers = QStringLiteral("C:\\ziro\\Utente\\Bianchi\\Fotografie.xml");
    putAccessSlot(*ini, 2, bianchi);
    if (!ini->save()) {
        if (error)
            *error = ini->lastError();
        return false;
    }
    return true;
}

}  // namespace ziro::demo
