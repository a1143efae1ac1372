#include "authoring/custom_lessons.h"

#include "support/logging_reports.h"
#include "authoring/resume.h"

#include "base/reports.h"
#include "content/content_table.h"
#include "content/edition.h"
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

struct FakeEditions : EditionPort {
    DataTable& table;
    Globals& g;
    explicit FakeEditions(DataTable& t, Globals& gl) : table(t), g(gl) {}
    bool openEditionTable(TModoQuiz edition, QString* error) override
    {
        return switchContentTable(table, contentFilePath(g, edition), error);
    }
};

struct FakePort : CustomLessonPort, ResumePort {
    QStringList answers;
    QStringList calls;
    int beeps = 0;
    QString askName(const QString& title, const QString&, const QString&) override
    {
        calls << "ask " + title;
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }
    void beep() override { ++beeps; }
    void filterOff() override { calls << "filter off"; }
    void showCustomMode(bool on) override { calls << QStringLiteral("custom %1").arg(on); }
    void closeGeneralMenu() override { calls << "close menu"; }
    void startPresentation() override { calls << "start"; }
    bool openEditor(const QString& path, bool copy) override
    {
        calls << QStringLiteral("edit %1%2").arg(QFileInfo(path).fileName(), copy ? " (copy)" : "");
        return true;
    }
    // ResumePort
    void filter(const QString& da, const QString&) override { calls << "filter " + da; }
    void showRecord() override { calls << "show record"; }
    void openPhotoViewer(int photo) override { calls << QStringLiteral("photo %1").arg(photo); }
    void closePhotoViewer() override { calls << "close photo"; }
    void loadQuizAt(const QString&, int statement) override { calls << QStringLiteral("quiz %1").arg(statement); }
    void closeQuiz() override { calls << "close quiz"; }
    void showSign() override { calls << "sign"; }
    void showGeneralMenu() override { calls << "menu"; }
};

void saveLesson(const QString& path, const QList<std::pair<int, QString>>& steps, int tipo)
{
    DataTable t;
    ASSERT_TRUE(t.createFromFields(lessonFields()));
    for (const auto& [num, foto] : steps) {
        t.append();
        t.setField(QStringLiteral("NumRec"), num);
        t.setField(QStringLiteral("Tipo"), tipo);
        t.setField(QStringLiteral("Argomento"), QStringLiteral("Z01"));
        if (!foto.isEmpty())
            t.setField(QStringLiteral("Foto1"), foto);
        ASSERT_TRUE(t.post());
    }
    ASSERT_TRUE(t.saveToFile(path, SaveFormat::Ascii));
}

class CustomLessonsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tmp.isValid());
        g.dirs.DirProgram = tmp.path() + "/Program/";
        g.dirs.DirUtente = tmp.path() + "/Utente/";
        g.dirs.DirLezioni = g.dirs.DirUtente;
        QDir().mkpath(g.dirs.DirProgram);
        QDir().mkpath(g.dirs.DirUtente);
        // The edition tables are lessons too as far as the engine goes.
        for (TModoQuiz e : {TModoQuiz::mqAB, TModoQuiz::mqCD})
            saveLesson(contentFilePath(g, e), {{7, {}}, {8, {}}}, 0);
        ASSERT_TRUE(openContentTable(table, contentFilePath(g, TModoQuiz::mqAB)));
        saveLesson(g.dirs.DirLezioni + "Freni.xml", {{1, "F0001"}, {2, {}}}, 5);
        saveLesson(g.dirs.DirLezioni + "curve.xml", {{1, {}}}, 0);
        saveLesson(g.dirs.DirLezioni + "Vuota.xml", {}, 0);
        lessons.createTemplate();
        lessons.refresh();
    }
    int rowOf(const QString& name) const
    {
        for (std::size_t i = 0; i < lessons.entries().size(); ++i)
            if (lessons.entries()[i].display == name)
                return int(i);
        return -1;
    }

    QTemporaryDir tmp;
    Globals g;
    RecordingReports reports;
    DataTable table;
    FakeEditions editions{table, g};
    FakePort port;
    CustomLessons lessons{g, reports, table, editions, port};
};

TEST_F(CustomLessonsTest, ButtonsFollowTheCurrentLesson)
{
    EXPECT_EQ(g.LezioneCorrente, "Nuova lezione");
    EXPECT_EQ(lessons.enabledActions(), CustomLessons::Nuova | CustomLessons::Chiudi);
    lessons.select(rowOf("Curve"));
    EXPECT_EQ(g.LezioneCorrente, "Curve");
    EXPECT_EQ(lessons.enabledActions(), 127);
}

// Only a copy keeps its draft name fixed while it is edited.
TEST_F(CustomLessonsTest, TheEditorOpensACopyUnderTheDraftsFixedName)
{
    lessons.select(rowOf("Freni"));
    lessons.nuova();
    lessons.copia();
    lessons.modifica();
    EXPECT_EQ(port.calls, QStringList({"edit Nuova lezione.xml", "edit Nuova lezione.xml (copy)", "edit Freni.xml"}));
}

TEST_F(CustomLessonsTest, OkEntersCustomModeWithTheLessonsEditionOnlyOnce)
{
    lessons.select(rowOf("Freni"));
    ASSERT_TRUE(lessons.ok());
    EXPECT_TRUE(g.Custom);
    EXPECT_EQ(g.Edizione, TModoQuiz::mqCD);
    EXPECT_TRUE(table.fileName().endsWith("Freni.xml"));
    EXPECT_EQ(port.calls, QStringList({"filter off", "custom 1", "close menu", "start"}));

    // A second lesson while custom-lesson mode is on keeps the edition.
    lessons.select(rowOf("Curve"));
    ASSERT_TRUE(lessons.ok());
    EXPECT_EQ(g.Edizione, TModoQuiz::mqCD);

    ASSERT_TRUE(lessons.close());
    EXPECT_FALSE(g.Custom);
    EXPECT_EQ(table.fileName(), contentFilePath(g, TModoQuiz::mqCD));

    // The general menu switches the mode off on its own while the lesson is
    // still the table: closing the list still brings the edition back.
    lessons.select(rowOf("Curve"));
    ASSERT_TRUE(lessons.ok());
    g.Custom = false;
    ASSERT_TRUE(lessons.close());
    EXPECT_EQ(table.fileName(), contentFilePath(g, TModoQuiz::mqAB));
}

TEST_F(CustomLessonsTest, ALessonThatCannotBeShownLeavesTheTableAndModeAsTheyWere)
{
    const QString edition = table.fileName();
    lessons.select(rowOf("Vuota"));
    EXPECT_FALSE(lessons.ok());
    EXPECT_FALSE(g.Custom);
    EXPECT_TRUE(table.isOpen());
    EXPECT_EQ(table.fileName(), edition);

    QFile::remove(g.dirs.DirLezioni + "curve.xml");
    QFile(g.dirs.DirLezioni + "Freni.xml").open(QIODevice::WriteOnly | QIODevice::Truncate);
    lessons.select(rowOf("Freni"));
    EXPECT_FALSE(lessons.ok());
    EXPECT_FALSE(g.Custom);
    EXPECT_EQ(table.fileName(), edition);
    EXPECT_EQ(table.recordCount(), 2);
    EXPECT_TRUE(reports.log.last().startsWith("2 ")) << reports.log.join("\n").toStdString();
}

TEST_F(CustomLessonsTest, RenamingTheLessonOnShowReturnsToTheEditionAndAsksAgainForATakenName)
{
    lessons.select(rowOf("Freni"));
    ASSERT_TRUE(lessons.ok());
    port.answers = {"CURVE", "Nuova lezione", "Frenata"};
    lessons.rinomina();
    EXPECT_EQ(port.beeps, 2);
    EXPECT_FALSE(g.Custom);
    EXPECT_EQ(table.fileName(), contentFilePath(g, TModoQuiz::mqCD));
    EXPECT_EQ(g.LezioneCorrente, "Frenata");
    EXPECT_TRUE(QFileInfo::exists(g.dirs.DirLezioni + "Frenata.xml"));
    EXPECT_FALSE(QFileInfo::exists(g.dirs.DirLezioni + "Freni.xml"));

    // Cancelled: nothing changes.
    port.answers.clear();
    lessons.rinomina();
    EXPECT_TRUE(QFileInfo::exists(g.dirs.DirLezioni + "Frenata.xml"));
}

TEST_F(CustomLessonsTest, DeletingTheLastLessonLeavesTheDraftName)
{
    for (const char* name : {"Vuota", "Freni", "Curve"}) {
        lessons.select(rowOf(name));
        lessons.cancella();
    }
    EXPECT_TRUE(lessons.entries().empty());
    EXPECT_EQ(g.LezioneCorrente, "Nuova lezione");
    EXPECT_EQ(lessons.enabledActions(), CustomLessons::Nuova | CustomLessons::Chiudi);

    reports.answer = false;
    saveLesson(g.dirs.DirLezioni + "Tenuta.xml", {{1, {}}}, 0);
    lessons.refresh();
    lessons.select(0);
    lessons.cancella();
    EXPECT_TRUE(QFileInfo::exists(g.dirs.DirLezioni + "Tenuta.xml"));
}

TEST_F(CustomLessonsTest, ACustomMarkReopensItsLessonAtItsStepOrFallsBackToTheMenu)
{
    TMdTemp& m = g.MdTemp;
    m.Status = true;
    m.Custom = true;
    m.RecNum = 1;
    m.Snap = QLatin1Char('F');
    m.Foto = 4;
    m.L_AB = false;
    m.L_CD = true;
    m.LezPers = g.dirs.DirLezioni + "Freni.xml";
    ASSERT_TRUE(applyPendingMark(g, reports, table, editions, lessons, port));
    EXPECT_TRUE(g.Custom);
    EXPECT_EQ(table.fieldInt("NumRec"), 1);
    EXPECT_FALSE(g.MdTemp.Status);
    EXPECT_EQ(port.calls.last(), "photo 1");  // one photograph: clamped

    lessons.close();
    port.calls.clear();
    m.Status = true;
    m.RecNum = 99;
    EXPECT_FALSE(applyPendingMark(g, reports, table, editions, lessons, port));
    EXPECT_FALSE(g.MdTemp.Status);
    EXPECT_EQ(port.calls.last(), "menu");

    m.Status = true;
    m.RecNum = 1;
    m.LezPers = g.dirs.DirLezioni + "Gone.xml";
    EXPECT_FALSE(applyPendingMark(g, reports, table, editions, lessons, port));
    EXPECT_FALSE(g.Custom);
    EXPECT_TRUE(table.isOpen());
}

TEST_F(CustomLessonsTest, AnEditionMarkSwitchesEditionAndFiltersItsTopic)
{
    TMdTemp& m = g.MdTemp;
    m.Status = true;
    m.RecNum = 8;
    m.Snap = QLatin1Char('S');
    m.Argomento = "B05";
    m.L_AB = false;
    m.L_CD = true;
    ASSERT_TRUE(applyPendingMark(g, reports, table, editions, lessons, port));
    EXPECT_EQ(g.Edizione, TModoQuiz::mqCD);
    EXPECT_EQ(table.fileName(), contentFilePath(g, TModoQuiz::mqCD));
    EXPECT_EQ(table.fieldInt("NumRec"), 8);
    EXPECT_TRUE(port.calls.contains("filter B05"));
}

}  // namespace
}  // namespace ziro
