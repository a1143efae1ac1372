#include "authoring/lesson_editor_model.h"

#include "authoring/lesson_store.h"
#include "platform/dataset/data_table.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "support/logging_reports.h"
#include "support/qt_printers.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>

namespace ziro {
namespace {

using test::LoggingReports;
using Nav = LessonEditorModel::Nav;
using Target = LessonEditorModel::Target;

// Writes go through; a test can make the next ones fail.
struct SwitchableOps : LessonFileOps {
    bool failWrites = false;
    int writes = 0;
    bool write(const QString& path, const QByteArray& data, QString* error) override
    {
        ++writes;
        if (failWrites) {
            if (error)
                *error = QStringLiteral("disco pieno");
            return false;
        }
        return LessonFileOps::write(path, data, error);
    }
};

QString code(int block, int id, char vf = 'V', int figura = 0)
{
    return QStringLiteral("%1%2%3S%4")
        .arg(block, 7, 10, QLatin1Char(' '))
        .arg(QLatin1Char(vf))
        .arg(id, 4, 10, QLatin1Char('0'))
        .arg(figura, 3, 10, QLatin1Char('0'));
}

QStringList codes(int block, int n, int firstId = 1)
{
    QStringList out;
    for (int i = 0; i < n; ++i)
        out << code(block, firstId + i);
    return out;
}

EditorDrag blockDrag(const QString& domanda = QStringLiteral("0000123"), int nCodes = 3)
{
    EditorDrag d;
    d.origin = DragOrigin::BlockCombo;
    d.tipo = 0;
    d.record = {{QStringLiteral("Domanda"), domanda},
                {QStringLiteral("Nome segnale"), QStringLiteral("123")},
                {QStringLiteral("Icona1"), QStringLiteral("I1")},
                {QStringLiteral("Icona13"), QStringLiteral("I13")},
                {QStringLiteral("Foto1"), QStringLiteral("101")},
                {QStringLiteral("TxtF1"), QStringLiteral("cap101")},
                {QStringLiteral("Foto2"), QString()},
                {QStringLiteral("Foto3"), QStringLiteral("103")},
                {QStringLiteral("TxtF3"), QStringLiteral("cap103")},
                {QStringLiteral("Audio"), QStringLiteral("A1")},
                {QStringLiteral("Video"), QStringLiteral("V1")},
                {QStringLiteral("EDL"), QStringLiteral("E1")},
                {QStringLiteral("Libro"), QStringLiteral("L1")},
                {QStringLiteral("FreX"), QStringLiteral("10")},
                {QStringLiteral("FreY"), QStringLiteral("20")},
                {QStringLiteral("Spare"), QStringLiteral("5")},
                {QStringLiteral("Testo"), QStringLiteral("testo")},
                {QStringLiteral("Html1"), QStringLiteral("H1")}};
    d.codes = codes(123, nCodes);
    return d;
}

EditorDrag photoDrag(const QString& value, const QString& caption = {})
{
    EditorDrag d;
    d.origin = DragOrigin::SourcePhoto;
    d.tag = 21;
    d.photoValue = value;
    d.photoCaption = caption;
    return d;
}

EditorDrag stepPhoto(int slot)
{
    EditorDrag d;
    d.origin = DragOrigin::StepPhoto;
    d.tag = slot;
    return d;
}

EditorDrag picked(const QStringList& c)
{
    EditorDrag d;
    d.origin = DragOrigin::SourceStatements;
    d.codes = c;
    return d;
}

class LessonEditorModelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath(QStringLiteral("Nuova lezione.xml"));
        DataTable t;
        ASSERT_TRUE(t.createFromFields(lessonFields()));
        ASSERT_TRUE(t.saveToFile(path, SaveFormat::Ascii));
        ASSERT_TRUE(model.open(path));
    }

    // The lesson as a fresh reader finds it on disk.
    QString onDisk(int position, const QString& field)
    {
        LessonEditorModel other(reports);
        EXPECT_TRUE(other.open(path));
        other.moveTo(position);
        return other.field(field);
    }

    QStringList photoValues() const
    {
        QStringList out;
        for (const StepPhoto& p : model.photos())
            if (!p.value.isEmpty())
                out << p.value;
        return out;
    }

    void addPhotos(int n, int first = 1)
    {
        for (int i = 0; i < n; ++i)
            ASSERT_TRUE(model.dropPhoto(photoDrag(QString::number(first + i), QStringLiteral("c%1").arg(first + i)), 15));
    }

    QTemporaryDir dir;
    QString path;
    LoggingReports reports;
    SwitchableOps ops;
    LessonEditorModel model{reports, ops};
};

TEST(LessonNumbering, NumbersOfAppendedAndInsertedSteps)
{
    EXPECT_EQ(appendedNumRec(std::nullopt), 500);
    EXPECT_EQ(appendedNumRec(1000), 1500);
    EXPECT_EQ(appendedNumRec(std::numeric_limits<qint32>::max() - 499), std::nullopt);
    EXPECT_EQ(appendedNumRec(std::numeric_limits<qint32>::max() - 500), std::numeric_limits<qint32>::max());
    struct Case { int prev, cur; std::optional<int> want; };
    for (const Case& c : {Case{1000, 1500, 1250}, Case{0, 500, 250}, Case{0, 1, std::nullopt}, Case{5, 7, 6},
                          Case{5, 6, std::nullopt}, Case{6, 6, std::nullopt}})
        EXPECT_EQ(insertedNumRec(c.prev, c.cur), c.want) << c.prev << " " << c.cur;
}

TEST_F(LessonEditorModelTest, BlockOnEmptyLessonThenAppendsAndAnInsertNumberTheSteps)
{
    ASSERT_TRUE(model.pastLast());
    ASSERT_TRUE(model.dropSign(blockDrag()));
    EXPECT_EQ(model.count(), 1);
    EXPECT_EQ(model.position(), 1);
    ASSERT_TRUE(model.appendStep());
    ASSERT_TRUE(model.appendStep());
    ASSERT_TRUE(model.navigate(Nav::Last));
    ASSERT_TRUE(model.insertStep());
    EXPECT_EQ(model.position(), 3);
    QList<int> numbers;
    for (int i = 1; i <= model.count(); ++i)
        numbers << model.numRecAt(i);
    EXPECT_EQ(numbers, (QList<int>{500, 1000, 1250, 1500}));
    EXPECT_EQ(onDisk(3, QStringLiteral("NumRec")), QStringLiteral("1250"));
    EXPECT_EQ(onDisk(1, QStringLiteral("Argomento")), QStringLiteral("Z"));
    EXPECT_EQ(onDisk(1, QStringLiteral("Selezione")), QStringLiteral("SI"));
}

// Halving the gap again and again is refused once no number is free,
// before the last step as before an inner one, and no two steps ever share
// a number.
TEST_F(LessonEditorModelTest, RepeatedInsertsStopBeforeANumberWouldRepeat)
{
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(model.appendStep());
    for (int target : {3, 2}) {
        model.moveTo(target);
        const int fixed = model.numRecAt(target);
        int inserted = 0;
        while (model.insertStep()) {
            model.moveTo(model.position() + 1);
            ASSERT_EQ(model.numRecAt(model.position()), fixed);
            ASSERT_LT(++inserted, 20);
        }
        EXPECT_GE(inserted, 8);
        EXPECT_EQ(reports.log.last(),
                  QString::fromUtf8("10 Non è piu' possibile inserire blocchi. | Creare una nuova lezione con l'ordine corretto."));
    }
    QSet<int> seen;
    for (int i = 1; i <= model.count(); ++i) {
        EXPECT_FALSE(seen.contains(model.numRecAt(i))) << model.numRecAt(i);
        seen.insert(model.numRecAt(i));
        if (i > 1) {
            EXPECT_LT(model.numRecAt(i - 1), model.numRecAt(i));
        }
    }
}

TEST_F(LessonEditorModelTest, NoStepIsAppendedPastTheLastNumber)
{
    DataTable t;
    ASSERT_TRUE(t.createFromFields(lessonFields()));
    t.append();
    t.setField(QStringLiteral("NumRec"), std::numeric_limits<qint32>::max() - 10);
    t.post();
    ASSERT_TRUE(t.saveToFile(path, SaveFormat::Ascii));
    ASSERT_TRUE(model.open(path));
    const QByteArray before = [&] { QFile f(path); f.open(QIODevice::ReadOnly); return f.readAll(); }();
    EXPECT_FALSE(model.appendStep());
    EXPECT_FALSE(model.dropOnLessonName(blockDrag(), nullptr));
    EXPECT_EQ(model.count(), 1);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
}

TEST_F(LessonEditorModelTest, NavigatorMovesWithinTheStepsAndRefusesPastTheLast)
{
    // Empty lesson: past the last step; only Last (and inserting) act.
    EXPECT_FALSE(model.navigate(Nav::Forward));
    EXPECT_EQ(reports.log.last(), QStringLiteral("10 Ultimo blocco della lezione. | Inserire nuovi blocchi o retrocedere."));
    for (int i = 0; i < 3; ++i)
        model.appendStep();
    struct Step { Nav nav; bool moved; int pos; };
    for (const Step& s : {Step{Nav::First, true, 1}, Step{Nav::Back, false, 1}, Step{Nav::Forward, true, 2},
                          Step{Nav::Last, true, 3}, Step{Nav::Forward, false, 3}, Step{Nav::Back, true, 2}}) {
        EXPECT_EQ(model.navigate(s.nav), s.moved);
        EXPECT_EQ(model.position(), s.pos);
        EXPECT_EQ(model.numRecAt(model.position()), model.table().fieldInt(QStringLiteral("NumRec")));
    }
    EXPECT_TRUE(model.moveTo(3));
    EXPECT_FALSE(model.moveTo(4));
}

TEST_F(LessonEditorModelTest, DeletingAStepAsksFirst)
{
    model.appendStep();
    model.appendStep();
    reports.answer = false;
    EXPECT_FALSE(model.deleteStep());
    EXPECT_EQ(model.count(), 2);
    reports.answer = true;
    EXPECT_TRUE(model.deleteStep());
    EXPECT_EQ(model.count(), 1);
    EXPECT_EQ(reports.log.last(), QStringLiteral("? Si desidera eliminare il blocco?"));
}

// What a sign or block drop copies, and what it leaves alone.
TEST_F(LessonEditorModelTest, SignAndBlockDrops)
{
    model.setEditionTipo(5);
    model.appendStep();
    ASSERT_TRUE(model.dropPhoto(photoDrag(QStringLiteral("77")), 1));

    EditorDrag sign = blockDrag();
    sign.origin = DragOrigin::SourceSign;
    ASSERT_TRUE(model.dropSign(sign));
    EXPECT_EQ(model.field(QStringLiteral("Nome segnale")), QStringLiteral("123"));
    EXPECT_EQ(model.field(QStringLiteral("Icona13")), QStringLiteral("I13"));
    EXPECT_EQ(model.field(QStringLiteral("Tipo")), QStringLiteral("5"));
    EXPECT_TRUE(model.field(QStringLiteral("Domanda")).isEmpty()) << "a plain sign drop on a used step";

    // A block replaces the statements and copies its media, but the step's
    // own photographs stay.
    ASSERT_TRUE(model.dropSign(blockDrag()));
    EXPECT_EQ(model.field(QStringLiteral("Domanda")), QStringLiteral("0000123"));
    EXPECT_EQ(model.statementCodes(), codes(123, 3));
    EXPECT_EQ(photoValues(), QStringList{QStringLiteral("77")});
    for (const char* f : {"Audio", "Video", "EDL", "Libro", "FreX", "FreY", "Spare", "Testo", "Html1"})
        EXPECT_FALSE(model.field(QString::fromLatin1(f)).isEmpty()) << f;

    // On a step without photographs they come along, empty values skipped.
    ASSERT_TRUE(model.appendStep());
    ASSERT_TRUE(model.dropStatements(blockDrag()));
    EXPECT_EQ(photoValues(), (QStringList{QStringLiteral("101"), QStringLiteral("103")}));
    EXPECT_EQ(model.field(QStringLiteral("TxtF2")), QStringLiteral("cap103"));

    // A sign whose name begins with F is no sign; an empty name takes the
    // source's fallback.
    EditorDrag f = sign;
    f.record[QStringLiteral("Nome segnale")] = QStringLiteral("F123");
    ASSERT_TRUE(model.dropSign(f));
    EXPECT_TRUE(model.field(QStringLiteral("Nome segnale")).isEmpty());
    f.record[QStringLiteral("Nome segnale")] = QString();
    f.signFallback = QStringLiteral("456");
    ASSERT_TRUE(model.dropSign(f));
    EXPECT_EQ(model.field(QStringLiteral("Nome segnale")), QStringLiteral("456"));
}

TEST_F(LessonEditorModelTest, ExtraSignDrops)
{
    model.appendStep();
    EditorDrag d;
    d.origin = DragOrigin::ExtraSign;
    d.tag = 21;
    d.extraSign = QStringLiteral("X99");
    d.extraSignFound = true;
    d.record = {{QStringLiteral("Icona1"), QStringLiteral("I1")}, {QStringLiteral("Icona2"), QStringLiteral("I2")}};
    ASSERT_TRUE(model.dropSign(d));
    EXPECT_EQ(model.field(QStringLiteral("Nome segnale")), QStringLiteral("X99"));
    EXPECT_EQ(model.field(QStringLiteral("Icona2")), QStringLiteral("I2"));
    d.extraSignFound = false;
    d.extraSign = QStringLiteral("X98");
    ASSERT_TRUE(model.dropSign(d));
    EXPECT_TRUE(model.field(QStringLiteral("Icona1")).isEmpty());
    d.extraSign = QStringLiteral("  ");
    EXPECT_FALSE(model.dropSign(d));
    EXPECT_FALSE(LessonEditorModel::slotAccepts(d)) << "extra signs are signs, not photographs";
}

TEST_F(LessonEditorModelTest, PickedStatementsFillUpToSeventy)
{
    model.appendStep();
    ASSERT_TRUE(model.dropStatements(picked(codes(1, 68))));
    EXPECT_EQ(model.field(QStringLiteral("Domanda")), QStringLiteral("0000000"));
    ASSERT_TRUE(model.dropStatements(picked(codes(2, 5))));
    const QStringList got = model.statementCodes();
    ASSERT_EQ(got.size(), 70);
    EXPECT_EQ(got.mid(68), codes(2, 2));
    EXPECT_FALSE(model.dropStatements(picked(codes(3, 1)))) << "no room left";
    EXPECT_EQ(onDisk(1, QStringLiteral("Quesito70")), code(2, 2));
}

TEST_F(LessonEditorModelTest, StatementDeletesAndReordersRewriteTheFields)
{
    model.appendStep();
    model.dropStatements(picked(codes(9, 5)));
    const QStringList start = codes(9, 5);
    ASSERT_TRUE(model.deleteStatement(2));
    EXPECT_EQ(model.statementCodes(), (QStringList{start[0], start[1], start[3], start[4]}));
    EXPECT_TRUE(model.field(QStringLiteral("Quesito5")).isEmpty());
    ASSERT_TRUE(model.reorderStatements(0, 2));
    EXPECT_EQ(model.statementCodes(), (QStringList{start[1], start[3], start[0], start[4]}));
    for (int i = 1; i <= 4; ++i)
        EXPECT_EQ(onDisk(1, QStringLiteral("Quesito%1").arg(i)), model.statementCodes()[i - 1]);
    for (int line : {-1, 4})
        EXPECT_FALSE(model.deleteStatement(line));
    while (!model.statementCodes().isEmpty())
        model.deleteStatement(0);
    EXPECT_TRUE(model.field(QStringLiteral("Quesito1")).isEmpty());
}

TEST_F(LessonEditorModelTest, PhotoDropsStayContiguous)
{
    model.appendStep();
    addPhotos(3);
    ASSERT_TRUE(model.dropPhoto(photoDrag(QStringLiteral("40"), QStringLiteral("c40")), 10));
    EXPECT_EQ(model.field(QStringLiteral("Foto4")), QStringLiteral("40"));
    EXPECT_EQ(model.field(QStringLiteral("TxtF4")), QStringLiteral("c40"));
    // A drop on a filled slot replaces that photograph.
    ASSERT_TRUE(model.dropPhoto(photoDrag(QStringLiteral("20")), 2));
    EXPECT_EQ(photoValues(), (QStringList{QStringLiteral("1"), QStringLiteral("20"), QStringLiteral("3"), QStringLiteral("40")}));
    // Values a Foto field cannot hold are ignored.
    for (const QString& bad : {QString(), QStringLiteral("  "), QStringLiteral("12a"), QStringLiteral("123456")})
        EXPECT_FALSE(model.dropPhoto(photoDrag(bad), 5)) << qPrintable(bad);
    EXPECT_EQ(photoValues().size(), 4);
}

TEST_F(LessonEditorModelTest, PhotoOnEmptyLessonMakesTheFirstStep)
{
    ASSERT_TRUE(model.dropPhoto(photoDrag(QStringLiteral("9012")), 8));
    EXPECT_EQ(model.count(), 1);
    EXPECT_EQ(model.numRecAt(1), 500);
    EXPECT_EQ(model.field(QStringLiteral("Foto1")), QStringLiteral("9012"));
    EXPECT_FALSE(model.dropPhoto(stepPhoto(1), 1));
}

TEST_F(LessonEditorModelTest, PhotoDeletesMovesAndInserts)
{
    model.appendStep();
    addPhotos(5);
    ASSERT_TRUE(model.deletePhoto(2));
    EXPECT_EQ(photoValues(), (QStringList{"1", "3", "4", "5"}));
    EXPECT_EQ(model.field(QStringLiteral("TxtF2")), QStringLiteral("c3"));
    EXPECT_TRUE(model.field(QStringLiteral("Foto5")).isEmpty());

    // Slot 1 moved onto slot 3 replaces it and closes the gap.
    ASSERT_TRUE(model.dropPhoto(stepPhoto(1), 3));
    EXPECT_EQ(photoValues(), (QStringList{"3", "1", "5"}));
    EXPECT_EQ(model.field(QStringLiteral("TxtF2")), QStringLiteral("c1"));
    EXPECT_FALSE(model.dropPhoto(stepPhoto(2), 2));
    EXPECT_FALSE(model.dropPhoto(stepPhoto(9), 1)) << "an empty slot";

    // Inserting a source photograph after slot 1; moving step photos keeps
    // every one of them.
    ASSERT_TRUE(model.insertPhoto(photoDrag(QStringLiteral("8"), QStringLiteral("c8")), 1));
    EXPECT_EQ(photoValues(), (QStringList{"3", "8", "1", "5"}));
    ASSERT_TRUE(model.insertPhoto(stepPhoto(4), 0));
    EXPECT_EQ(photoValues(), (QStringList{"5", "3", "8", "1"}));
    ASSERT_TRUE(model.insertPhoto(stepPhoto(1), 4));
    EXPECT_EQ(photoValues(), (QStringList{"3", "8", "1", "5"}));
    EXPECT_EQ(model.field(QStringLiteral("TxtF4")), QStringLiteral("c5"));
    EXPECT_FALSE(model.insertMarkerAccepts(6, photoDrag(QStringLiteral("9")))) << "marker after an empty slot";
}

TEST_F(LessonEditorModelTest, AFullStripRefusesANewPhotographButReordersItsOwn)
{
    model.appendStep();
    addPhotos(15);
    const int before = reports.log.size();
    EXPECT_FALSE(model.insertPhoto(photoDrag(QStringLiteral("99")), 3));
    EXPECT_EQ(reports.log.size(), before + 1);
    EXPECT_EQ(model.field(QStringLiteral("Foto15")), QStringLiteral("15"));
    // A drop on slot 15 replaces that photograph; nothing falls off.
    ASSERT_TRUE(model.dropPhoto(photoDrag(QStringLiteral("99")), 15));
    EXPECT_EQ(model.field(QStringLiteral("Foto15")), QStringLiteral("99"));
    EXPECT_EQ(model.field(QStringLiteral("Foto14")), QStringLiteral("14"));
    ASSERT_TRUE(model.insertPhoto(stepPhoto(2), 14));
    EXPECT_EQ(model.field(QStringLiteral("Foto14")), QStringLiteral("2"));
    EXPECT_EQ(photoValues().size(), 15);
    // Deleting from a full strip leaves the last slot empty, caption too.
    ASSERT_TRUE(model.deletePhoto(1));
    EXPECT_TRUE(model.field(QStringLiteral("Foto15")).isEmpty());
    EXPECT_TRUE(model.field(QStringLiteral("TxtF15")).isEmpty());
    EXPECT_EQ(onDisk(1, QStringLiteral("Foto14")), model.field(QStringLiteral("Foto14")));
}

TEST_F(LessonEditorModelTest, SignDeleteClearsIconsToo)
{
    model.dropSign(blockDrag());
    ASSERT_TRUE(model.deleteSign());
    EXPECT_TRUE(model.field(QStringLiteral("Nome segnale")).isEmpty());
    EXPECT_TRUE(model.field(QStringLiteral("Icona1")).isEmpty());
    EXPECT_EQ(model.statementCodes().size(), 3);
}

TEST_F(LessonEditorModelTest, DropsOnTheLessonNameAppendAStep)
{
    model.appendStep();
    model.navigate(Nav::First);
    ASSERT_TRUE(model.dropOnLessonName(photoDrag(QStringLiteral("5")), nullptr));
    EXPECT_EQ(model.count(), 2);
    EXPECT_EQ(model.position(), 2);
    EXPECT_EQ(model.field(QStringLiteral("Foto1")), QStringLiteral("5"));
    ASSERT_TRUE(model.dropOnLessonName(picked(codes(4, 2)), nullptr));
    EXPECT_EQ(model.statementCodes(), codes(4, 2));
    EXPECT_FALSE(model.dropOnLessonName(photoDrag(QString()), nullptr));
    EXPECT_FALSE(model.dropOnLessonName(stepPhoto(1), nullptr));
    EXPECT_EQ(model.count(), 3) << "a refused drop adds no step";
}

// A caption stored through a step's binding lands on that step alone,
// wherever the editor stands, and a failed write leaves the step as it was.
TEST_F(LessonEditorModelTest, CaptionsBindToTheirStep)
{
    model.dropPhoto(photoDrag(QStringLiteral("11"), QStringLiteral("prima")), 1);
    model.dropOnLessonName(photoDrag(QStringLiteral("22"), QStringLiteral("seconda")), nullptr);
    StepCaptions first(model, model.numRecAt(1));
    ASSERT_EQ(model.position(), 2);
    EXPECT_EQ(first.fieldText(QStringLiteral("Foto1")), QStringLiteral("11"));
    EXPECT_EQ(first.fieldText(QStringLiteral("TxtF1")), QStringLiteral("prima"));
    QString error;
    ASSERT_TRUE(first.storeAndSave(QStringLiteral("TxtF1"), QStringLiteral("nuova"), &error));
    EXPECT_EQ(model.position(), 2);
    EXPECT_EQ(model.field(QStringLiteral("TxtF1")), QStringLiteral("seconda"));
    EXPECT_EQ(onDisk(1, QStringLiteral("TxtF1")), QStringLiteral("nuova"));
    ops.failWrites = true;
    EXPECT_FALSE(first.storeAndSave(QStringLiteral("TxtF1"), QStringLiteral("persa"), &error));
    EXPECT_EQ(first.fieldText(QStringLiteral("TxtF1")), QStringLiteral("nuova"));
    EXPECT_EQ(first.fileName(), path);
}

// Drops of anything onto anything: whatever arrives, the lesson on disk
// stays readable, its steps ordered with numbers of their own, its photo
// strips contiguous and no statement list longer than 70.
TEST_F(LessonEditorModelTest, AnyDropOnAnyTargetLeavesASoundLesson)
{
    std::mt19937 rng(7);
    const auto pick = [&](int n) { return int(rng() % unsigned(n)); };
    const QStringList values = {QString(), QStringLiteral("12"), QStringLiteral("9012"), QStringLiteral("abc"),
                                QStringLiteral("1234567"), QStringLiteral(" 7 ")};
    for (int i = 0; i < 400; ++i) {
        EditorDrag d;
        d.origin = DragOrigin(pick(8));
        d.tag = pick(60) - 5;
        d.photoValue = values[pick(int(values.size()))];
        d.extraSign = values[pick(int(values.size()))];
        d.extraSignFound = pick(2);
        d.record[QStringLiteral("Domanda")] = values[pick(int(values.size()))];
        d.record[QStringLiteral("Nome segnale")] = pick(2) ? QStringLiteral("F1") : QStringLiteral("77");
        d.record[QStringLiteral("Foto%1").arg(1 + pick(15))] = values[pick(int(values.size()))];
        d.codes = codes(pick(999), pick(80));
        if (pick(4) == 0)
            d.codes << QStringLiteral("short");
        switch (pick(7)) {
        case 0: model.dropSign(d); break;
        case 1: model.dropStatements(d); break;
        case 2: model.dropPhoto(d, pick(20) - 2); break;
        case 3: model.insertPhoto(d, pick(18) - 2); break;
        case 4: model.dropOnLessonName(d, nullptr); break;
        case 5: model.moveTo(1 + pick(std::max(model.count(), 1))); break;
        default: pick(2) ? model.deletePhoto(pick(16)) : model.reorderStatements(pick(70), pick(70)); break;
        }
    }
    ASSERT_GT(model.count(), 10);
    LessonEditorModel check(reports);
    ASSERT_TRUE(check.open(path));
    ASSERT_EQ(check.count(), model.count());
    for (int s = 1; s <= check.count(); ++s) {
        check.moveTo(s);
        if (s > 1) {
            EXPECT_LT(check.numRecAt(s - 1), check.numRecAt(s));
        }
        EXPECT_LE(check.statementCodes().size(), 70);
        bool gap = false;
        for (const StepPhoto& ph : check.photos()) {
            EXPECT_FALSE(gap && !ph.value.isEmpty()) << "step " << s;
            if (ph.value.isEmpty())
                gap = true;
            else
                EXPECT_TRUE(isPhotoValue(ph.value)) << qPrintable(ph.value);
        }
    }
}

struct FakeSource : EditorSource {
    std::optional<std::vector<EditorDrag>> records;
    std::optional<std::vector<EditorDrag>> topicRecords(const QString&) override { return records; }
};

TEST_F(LessonEditorModelTest, TopicImportAppendsEveryBlockAndReportsAFailure)
{
    FakeSource src;
    src.records = std::vector<EditorDrag>{blockDrag(QStringLiteral("0000001")), blockDrag(QStringLiteral("  ")),
                                          blockDrag(QStringLiteral("0000002"), 70)};
    EditorDrag plain = blockDrag(QStringLiteral("0000003"));
    plain.record[QStringLiteral("Nome segnale")] = QString();
    src.records->push_back(plain);
    ASSERT_TRUE(model.importTopic(src, QStringLiteral("B01")));
    EXPECT_EQ(model.count(), 3);
    EXPECT_EQ(onDisk(2, QStringLiteral("Quesito70")), code(123, 70));
    EXPECT_EQ(onDisk(3, QStringLiteral("Icona1")), QString()) << "no sign, no icons";
    EXPECT_EQ(onDisk(1, QStringLiteral("Foto2")), QStringLiteral("103"));

    ops.failWrites = true;
    EXPECT_TRUE(model.importTopic(src, QStringLiteral("B01")));
    EXPECT_TRUE(reports.log.last().startsWith(QStringLiteral("10 Importazione argomento")));
    EXPECT_TRUE(reports.log.last().contains(QStringLiteral("3 passi"))) << qPrintable(reports.log.last());
    src.records.reset();
    EXPECT_FALSE(model.importTopic(src, QStringLiteral("B01")));
}

TEST_F(LessonEditorModelTest, AFailedWriteIsReportedAndKeptUntilItSucceeds)
{
    model.appendStep();
    ops.failWrites = true;
    EXPECT_FALSE(model.dropSign(blockDrag()));
    EXPECT_TRUE(model.unsaved());
    EXPECT_TRUE(reports.log.last().startsWith(QStringLiteral("2 ")));
    EXPECT_FALSE(model.flush());
    ops.failWrites = false;
    EXPECT_TRUE(model.flush());
    EXPECT_FALSE(model.unsaved());
    EXPECT_EQ(onDisk(1, QStringLiteral("Domanda")), QStringLiteral("0000123"));
}

TEST_F(LessonEditorModelTest, NamingANewLesson)
{
    model.dropSign(blockDrag());
    QFile other(dir.filePath(QStringLiteral("Strada.xml")));
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.write("x");
    other.close();
    for (const QString& bad : {QStringLiteral("Nuova lezione"), QStringLiteral("[void]"), QStringLiteral("../x"),
                               QStringLiteral("strada"), QString()}) {
        EXPECT_EQ(model.closeNaming(bad), LessonEditorModel::NamingResult::Refused) << qPrintable(bad);
        EXPECT_TRUE(QFileInfo::exists(path));
    }
    ops.failWrites = true;
    EXPECT_EQ(model.closeNaming(QStringLiteral("Rotonde")), LessonEditorModel::NamingResult::WriteFailed);
    EXPECT_TRUE(QFileInfo::exists(path));
    EXPECT_EQ(onDisk(1, QStringLiteral("Domanda")), QStringLiteral("0000123"));
    ops.failWrites = false;
    ASSERT_EQ(model.closeNaming(QStringLiteral("Rotonde")), LessonEditorModel::NamingResult::Saved);
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_EQ(model.lessonName(), QStringLiteral("Rotonde"));
    path = dir.filePath(QStringLiteral("Rotonde.xml"));
    EXPECT_EQ(onDisk(1, QStringLiteral("Domanda")), QStringLiteral("0000123"));
    EXPECT_FALSE(model.isDraft());
}

}  // namespace
}  // namespace ziro
