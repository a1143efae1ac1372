#include "authoring/lesson_store.h"

#include "support/logging_reports.h"

#include "base/reports.h"
#include "platform/dataset/data_table.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "support/qt_printers.h"

#include <gtest/gtest.h>

namespace ziro {
namespace {

using RecordingReports = test::LoggingReports;

// Fails the n-th write (1-based) and counts the rest.
struct FailingOps : LessonFileOps {
    int failWrite = 0;
    int writes = 0;
    bool write(const QString& path, const QByteArray& data, QString* error) override
    {
        if (++writes == failWrite) {
            *error = QStringLiteral("disco pieno");
            return false;
        }
        return LessonFileOps::write(path, data, error);
    }
};

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& data)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
}

// A lesson of the older schema: statements only up to Quesito40.
QByteArray oldLesson(const QString& q1, const QString& q2 = {}, int tipo = 5)
{
    QByteArray fields = "<FIELD attrname=\"NumRec\" fieldtype=\"i4\"/>"
                        "<FIELD attrname=\"Argomento\" fieldtype=\"string\" WIDTH=\"3\"/>"
                        "<FIELD attrname=\"Tipo\" fieldtype=\"i4\"/>"
                        "<FIELD attrname=\"Vecchio\" fieldtype=\"string\" WIDTH=\"4\"/>";
    for (int i = 1; i <= 40; ++i)
        fields += "<FIELD attrname=\"Quesito" + QByteArray::number(i) + "\" fieldtype=\"string\" WIDTH=\"20\"/>";
    QByteArray rows = "<ROW NumRec=\"2\" Argomento=\"B01\" Tipo=\"" + QByteArray::number(tipo)
        + "\" Vecchio=\"x\" Quesito1=\"" + q1.toUtf8() + "\"";
    if (!q2.isNull())
        rows += " Quesito2=\"" + q2.toUtf8() + "\"";
    rows += "/><ROW NumRec=\"1\" Argomento=\"B01\"/>";
    return "<?xml version=\"1.0\" standalone=\"yes\"?><DATAPACKET Version=\"2.0\"><METADATA><FIELDS>" + fields
        + "</FIELDS><PARAMS/></METADATA><ROWDATA>" + rows + "</ROWDATA></DATAPACKET>";
}

class LessonFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tmp.isValid());
        dirs.DirUtente = tmp.path() + "/";
        dirs.DirLezioni = dirs.DirUtente;
        ASSERT_TRUE(CreaCdsCustomVoid(dirs.DirUtente));
    }
    QString lesson(const QString& name) const { return dirs.DirLezioni + name + ".xml"; }
    void makeLesson(const QString& name)
    {
        DataTable t;
        ASSERT_TRUE(t.createFromFields(lessonFields()));
        t.append();
        t.setField(QStringLiteral("NumRec"), 1);
        ASSERT_TRUE(t.post());
        ASSERT_TRUE(t.saveToFile(lesson(name), SaveFormat::Ascii));
    }

    QTemporaryDir tmp;
    Folders dirs;
    RecordingReports reports;
};

TEST(LessonSchema, HasTheFieldsInOrderAndTheTemplateIsUtf8WithNoRows)
{
    const QList<FieldDef> f = lessonFields();
    ASSERT_EQ(f.size(), 168);
    EXPECT_EQ(f.first().name, "NumRec");
    EXPECT_EQ(f.at(6).name, "Nome segnale");
    EXPECT_EQ(f.at(21).name, "Foto1");
    EXPECT_EQ(f.at(51).type, FieldType::Memo);
    EXPECT_EQ(f.at(97).name, "Tipo");
    EXPECT_EQ(f.last().name, "Quesito70");
    EXPECT_EQ(f.last().width, 17);

    QTemporaryDir tmp;
    const QString user = tmp.path() + "/";
    writeFile(user + "[VOID].xml", "old junk");
    ASSERT_TRUE(CreaCdsCustomVoid(user));
    const QByteArray bytes = readAll(user + "[VOID].xml");
    EXPECT_TRUE(bytes.contains("encoding=\"UTF-8\""));
    DataTable t;
    t.setFileName(user + "[VOID].xml");
    ASSERT_TRUE(t.open());
    EXPECT_EQ(t.recordCount(), 0);
    EXPECT_TRUE(isCurrentLessonSchema(t));
    EXPECT_TRUE(CreaCdsCustomVoid(user + "new/"));
    writeFile(user + "afile", "x");
    EXPECT_FALSE(CreaCdsCustomVoid(user + "afile/"));
}

TEST(LessonSchema, EditionComesFromTipoAndNeverLeavesNone)
{
    struct Case {
        int tipo;
        TModoQuiz edition;
    } cases[] = {{0, TModoQuiz::mqAB}, {4, TModoQuiz::mqAM}, {5, TModoQuiz::mqCD},
                 {6, TModoQuiz::mqCQ}, {3, TModoQuiz::mqAB}, {-1, TModoQuiz::mqAB}};
    for (const Case& c : cases)
        EXPECT_EQ(editionForTipo(c.tipo), c.edition) << c.tipo;

    DataTable noTipo;
    ASSERT_TRUE(noTipo.createFromFields({FieldDef::integer("NumRec")}));
    EXPECT_EQ(lessonEdition(noTipo), TModoQuiz::mqAB);
}

TEST(LessonNames, UnsafeReservedAndExistingNamesAreRefused)
{
    const std::vector<LessonEntry> existing = {{"Freni", "/x/freni.xml"}, {"Sorpasso", "/x/SORPASSO.xml"}};
    struct Case {
        const char* name;
        NameProblem problem;
    } cases[] = {
        {"Curve", NameProblem::None},          {"", NameProblem::Empty},
        {"  ", NameProblem::Empty},            {"nuova LEZIONE", NameProblem::Reserved},
        {"[void]", NameProblem::Reserved},     {"FOTO", NameProblem::Reserved},
        {"../x", NameProblem::Unsafe},         {"a/b", NameProblem::Unsafe},
        {"a\\b", NameProblem::Unsafe},         {"..", NameProblem::Unsafe},
        {"fine.", NameProblem::Unsafe},        {"a|b", NameProblem::Unsafe},
        {"con", NameProblem::Unsafe},          {"Lpt1.txt", NameProblem::Unsafe},
        {"riga\nnuova", NameProblem::Unsafe},  {"FRENI", NameProblem::Exists},
        {"sorpasso", NameProblem::Exists},     {"Console", NameProblem::None},
    };
    for (const Case& c : cases)
        EXPECT_EQ(lessonNameProblem(QString::fromUtf8(c.name), existing), c.problem) << c.name;
}

TEST_F(LessonFolderTest, ListShowsLessonsByNormalisedNameWithTheirRealPaths)
{
    makeLesson("prova");
    makeLesson("PROVA");
    makeLesson("Zeta lezione");
    makeLesson("a");
    writeFile(dirs.DirLezioni + "[void].XML", "x");
    writeFile(dirs.DirLezioni + "NUOVA LEZIONE.xml", "x");
    writeFile(dirs.DirLezioni + "note.txt", "x");
    QDir(dirs.DirLezioni).mkdir("cartella.xml");

    const auto list = listLessons(dirs.DirLezioni);
    QStringList shown;
    for (const auto& e : list) {
        shown << e.display;
        EXPECT_TRUE(QFileInfo(e.path).isFile()) << e.path.toStdString();
    }
    EXPECT_EQ(shown, QStringList({"A", "Prova", "Prova", "Zeta lezione"}));
    EXPECT_NE(list[1].path, list[2].path);
}

TEST_F(LessonFolderTest, NewDraftIsAFreshTemplateEachTimeAndFailsWithoutOne)
{
    LessonFolder folder(dirs, reports);
    const QString draft = folder.newDraft();
    ASSERT_EQ(draft, lesson("Nuova lezione"));
    writeFile(draft, "edited");
    ASSERT_EQ(folder.newDraft(), draft);
    EXPECT_EQ(readAll(draft), readAll(dirs.DirUtente + "[VOID].xml"));
    EXPECT_TRUE(folder.list().empty());

    QFile::remove(dirs.DirUtente + "[VOID].xml");
    QFile::remove(draft);
    EXPECT_TRUE(folder.newDraft().isEmpty());
    EXPECT_TRUE(reports.log.last().startsWith("10 La lezione non esiste")) << reports.log.join("\n").toStdString();
}

TEST_F(LessonFolderTest, CopyUpgradesTheDraftAndNeverTheSource)
{
    writeFile(lesson("vecchia"), oldLesson("12345678901V"));
    const QByteArray source = readAll(lesson("vecchia"));
    LessonFolder folder(dirs, reports);
    const auto entries = folder.list();
    ASSERT_EQ(entries.size(), 1u);

    const QString draft = folder.copyToDraft(entries[0]);
    ASSERT_FALSE(draft.isEmpty());
    EXPECT_EQ(readAll(lesson("vecchia")), source);
    DataTable t;
    t.setFileName(draft);
    ASSERT_TRUE(t.open());
    EXPECT_TRUE(isCurrentLessonSchema(t));
    EXPECT_EQ(t.recordCount(), 2);
    // The source is the draft's backup: no other is left behind.
    EXPECT_EQ(QDir(dirs.DirLezioni).entryList({"*.old*"}), QStringList());

    reports.answer = false;
    EXPECT_TRUE(folder.copyToDraft(entries[0]).isEmpty());
    EXPECT_EQ(readAll(lesson("vecchia")), source);
}

TEST_F(LessonFolderTest, RenameMovesTheFileAndRefusesAnyTakenName)
{
    makeLesson("freni");
    makeLesson("Curve");
    const QByteArray bytes = readAll(lesson("freni"));
    LessonFolder folder(dirs, reports);
    auto entries = folder.list();
    ASSERT_EQ(entries[1].display, "Freni");

    for (const QString& taken : {"CURVE", "Nuova lezione", "../fuori", "freni"})
        EXPECT_TRUE(folder.rename(entries[1], taken).isEmpty()) << taken.toStdString();
    EXPECT_EQ(readAll(lesson("freni")), bytes);
    EXPECT_FALSE(QFileInfo::exists(tmp.path() + "/../fuori.xml"));

    const QString renamed = folder.rename(entries[1], "Frenata");
    EXPECT_EQ(renamed, lesson("Frenata"));
    EXPECT_FALSE(QFileInfo::exists(lesson("freni")));
    EXPECT_EQ(readAll(renamed), bytes);
}

TEST_F(LessonFolderTest, RemoveDeletesOnlyThatLesson)
{
    makeLesson("Uno");
    makeLesson("Due");
    LessonFolder folder(dirs, reports);
    auto entries = folder.list();
    ASSERT_TRUE(folder.remove(entries[0]));
    entries = folder.list();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].display, "Uno");
    EXPECT_FALSE(folder.remove({"Due", lesson("Due")}));
}

TEST(LessonUpgrade, StatementCodesAreRightAlignedAndBlanksStayEmpty)
{
    DataTable old;
    ASSERT_TRUE(old.loadFromData(oldLesson("12345678901V", "   "), "old"));
    // A twenty-character code keeps its last sixteen.
    old.first();
    DataTable up;
    ASSERT_TRUE(upgradeLessonTable(old, up));
    ASSERT_EQ(up.recordCount(), 2);
    up.first();
    EXPECT_EQ(up.fieldInt("NumRec"), 2);  // file order kept
    EXPECT_EQ(up.fieldText("Quesito1"), "    12345678901V");
    EXPECT_EQ(up.fieldText("Quesito2"), "");
    EXPECT_EQ(up.fieldText("Argomento"), "B01");
    EXPECT_EQ(up.fieldInt("Tipo"), 5);
    EXPECT_LT(up.fieldIndex("Vecchio"), 0);

    DataTable longCode;
    ASSERT_TRUE(longCode.loadFromData(oldLesson("ABCD     12V0001S001"), "old"));
    DataTable up2;
    ASSERT_TRUE(upgradeLessonTable(longCode, up2));
    up2.first();
    EXPECT_EQ(up2.fieldText("Quesito1"), "     12V0001S001");
}

TEST(LessonUpgrade, KeepsTheOriginalUnderAFreeBackupName)
{
    QTemporaryDir tmp;
    const QString path = tmp.path() + "/Vecchia.xml";
    writeFile(path, oldLesson("     12V0001S001"));
    writeFile(tmp.path() + "/Vecchia.old", "an earlier backup");
    const QByteArray original = readAll(path);
    RecordingReports reports;

    const UpgradeOutcome out = upgradeLessonFile(path, reports);
    ASSERT_EQ(out.result, UpgradeOutcome::Result::Upgraded);
    EXPECT_EQ(out.backupPath, tmp.path() + "/Vecchia.old.1");
    EXPECT_EQ(readAll(out.backupPath), original);
    EXPECT_EQ(readAll(tmp.path() + "/Vecchia.old"), "an earlier backup");
    DataTable t;
    t.setFileName(path);
    ASSERT_TRUE(t.open());
    EXPECT_TRUE(isCurrentLessonSchema(t));
    EXPECT_EQ(t.recordCount(), 2);
    EXPECT_FALSE(readAll(path).contains("encoding"));  // the plain form

    EXPECT_EQ(upgradeLessonFile(path, reports).result, UpgradeOutcome::Result::AlreadyCurrent);
}

TEST(LessonUpgrade, AnyFailureLeavesTheLessonAsItWas)
{
    QTemporaryDir tmp;
    const QString path = tmp.path() + "/Vecchia.xml";
    writeFile(path, oldLesson("     12V0001S001"));
    const QByteArray original = readAll(path);
    for (int failing : {1, 2}) {
        RecordingReports reports;
        FailingOps ops;
        ops.failWrite = failing;
        EXPECT_EQ(upgradeLessonFile(path, reports, ops).result, UpgradeOutcome::Result::Failed) << failing;
        EXPECT_EQ(readAll(path), original) << failing;
        EXPECT_TRUE(reports.log.last().startsWith("2 Aggiornamento lezione")) << failing;
    }
    RecordingReports declining;
    declining.answer = false;
    EXPECT_EQ(upgradeLessonFile(path, declining).result, UpgradeOutcome::Result::Declined);
    EXPECT_EQ(readAll(path), original);

    // A value that does not fit the new field stops the upgrade too.
    writeFile(path, oldLesson("x", {}, 0).replace("WIDTH=\"3\"", "WIDTH=\"9\"").replace("B01", "B01234"));
    const QByteArray wide = readAll(path);
    RecordingReports reports;
    EXPECT_EQ(upgradeLessonFile(path, reports).result, UpgradeOutcome::Result::Failed);
    EXPECT_EQ(readAll(path), wide);

    writeFile(path, "<DATAPACKET");
    EXPECT_EQ(upgradeLessonFile(path, reports).result, UpgradeOutcome::Result::Failed);
}

}  // namespace
}  // namespace ziro
