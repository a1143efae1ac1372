#include "authoring/accesses.h"

#include "support/logging_reports.h"

#include "base/reports.h"
#include "config/ini_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "support/qt_printers.h"

#include <gtest/gtest.h>

namespace ziro {
namespace {

using RecordingReports = test::LoggingReports;

void writeFile(const QString& path, const QByteArray& data)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class AccessTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tmp.isValid());
        g.dirs.DirUtente = tmp.path() + "/Utente/";
        g.dirs.DirFotoUtente = g.dirs.DirUtente + "Foto/";
        g.dirs.DirLezioni = g.dirs.DirUtente;
        QDir().mkpath(g.dirs.DirFotoUtente);
        writeFile(g.dirs.DirFotoUtente + "F0001.KXB", "photo");
        ASSERT_TRUE(CreaCdsCustomVoid(g.dirs.DirUtente));
    }
    // Settings with these teachers in these slots, each with a folder
    // holding one lesson and a mark naming its slot.
    void teachers(const QList<std::pair<int, QString>>& slots)
    {
        QByteArray ini = "[Set]\r\nAccesso multiplo=1\r\n";
        for (const auto& [slot, id] : slots) {
            ini += "[Accesso" + QByteArray::number(slot) + "]\r\nid=" + id.toUtf8() + "\r\nMTrec="
                + QByteArray::number(100 + slot) + "\r\nMTcst=1\r\nMTncs=C:\\ziro\\Utente\\" + id.toUtf8()
                + "\\Lezione.xml\r\n";
            QDir().mkpath(g.dirs.DirUtente + id);
            writeFile(g.dirs.DirUtente + id + "/Lezione.xml", id.toUtf8());
        }
        writeFile(iniPath(), ini);
        g.IniFilePtr = IniFile::open(iniPath());
    }
    QString iniPath() const { return tmp.path() + "/ziro.ini"; }
    std::shared_ptr<IniFile> reread() const { return IniFile::open(iniPath()); }

    QTemporaryDir tmp;
    Globals g;
    RecordingReports reports;
};

TEST_F(AccessTest, LoadClosesGapsDropsUnsafeEntriesAndKeepsMarks)
{
    teachers({{2, "Rossi"}, {4, "Bianchi"}, {5, "rossi"}, {6, "Verdi"}});
    g.IniFilePtr->writeString("Accesso7", "id", "../Program");
    g.IniFilePtr->writeString("Accesso8", "id", "Foto");
    AccessList list(g, reports);
    ASSERT_TRUE(list.load());
    EXPECT_EQ(list.names(), QStringList({"Rossi", "Bianchi", "Verdi"}));
    EXPECT_EQ(list.slotOfRow(2), 3);
    EXPECT_EQ(list.slotOfRow(3), -1);
    EXPECT_EQ(list.slot(2).mark.RecNum, 104);

    const auto file = reread();
    EXPECT_EQ(readAccessSlot(*file, 1).id, "Rossi");
    EXPECT_EQ(readAccessSlot(*file, 3).id, "Verdi");
    EXPECT_EQ(readAccessSlot(*file, 3).mark.RecNum, 106);
    for (int s = 4; s <= 8; ++s)
        EXPECT_TRUE(readAccessSlot(*file, s).id.isEmpty()) << s;
    EXPECT_EQ(reports.log.filter("Accesso non valido").size(), 3);
}

TEST_F(AccessTest, TeacherFoldersAreDirectChildrenAndNeverThePhotoFolder)
{
    teachers({{1, "Rossi"}});
    AccessList list(g, reports);
    ASSERT_TRUE(list.load());
    EXPECT_EQ(list.teacherFolder(1), std::optional<QString>(QDir(g.dirs.DirUtente).absolutePath() + "/Rossi/"));
    EXPECT_FALSE(list.teacherFolder(0));
    EXPECT_FALSE(list.teacherFolder(2));
    EXPECT_FALSE(list.teacherFolder(9));
    for (const char* bad : {"Foto", "foto", "accesso GENERICO", "../x", "", "Rossi", "ROSSI", "a]b=c"})
        EXPECT_NE(list.teacherNameProblem(QString::fromUtf8(bad)), NameProblem::None) << bad;
    EXPECT_EQ(list.teacherNameProblem("Neri"), NameProblem::None);
}

TEST_F(AccessTest, InsertAddsAFolderWithTheTemplateAndLeavesTheCurrentAccess)
{
    teachers({{1, "Rossi"}});
    AccessList list(g, reports);
    ASSERT_TRUE(list.load());
    list.choose(0);
    const QString rossi = g.dirs.DirLezioni;

    ASSERT_TRUE(list.insert("Neri"));
    EXPECT_EQ(list.names(), QStringList({"Rossi", "Neri"}));
    EXPECT_EQ(g.AccessoCorrente, 1);
    EXPECT_EQ(g.dirs.DirLezioni, rossi);
    EXPECT_TRUE(QFileInfo::exists(g.dirs.DirUtente + "Neri/[VOID].xml"));
    EXPECT_EQ(readAccessSlot(*reread(), 2).id, "Neri");
    EXPECT_FALSE(list.insert("neri"));
    EXPECT_FALSE(list.insert("Foto"));

    for (const char* n : {"T3", "T4", "T5", "T6", "T7", "T8"})
        ASSERT_TRUE(list.insert(n)) << n;
    EXPECT_FALSE(list.canInsert());
    EXPECT_FALSE(list.insert("T9"));
}

TEST_F(AccessTest, DeleteShiftsLaterTeachersWithTheirMarksAndFollowsTheCurrentOne)
{
    teachers({{1, "T1"}, {2, "T2"}, {3, "T3"}, {4, "T4"}});
    AccessList list(g, reports);
    ASSERT_TRUE(list.load());
    list.choose(2);  // T3
    ASSERT_EQ(g.AccessoCorrente, 3);
    EXPECT_EQ(list.infoAccess(), " 3 - T3");

    ASSERT_TRUE(list.remove(1));  // T2
    EXPECT_EQ(list.names(), QStringList({"T1", "T3", "T4"}));
    EXPECT_EQ(g.AccessoCorrente, 2);
    EXPECT_TRUE(g.dirs.DirLezioni.endsWith("/T3/"));
    EXPECT_FALSE(QFileInfo::exists(g.dirs.DirUtente + "T2"));
    EXPECT_TRUE(QFileInfo::exists(g.dirs.DirUtente + "T3/Lezione.xml"));
    EXPECT_TRUE(QFileInfo::exists(g.dirs.DirFotoUtente + "F0001.KXB"));
    const auto file = reread();
    EXPECT_EQ(readAccessSlot(*file, 2).mark.RecNum, 103);
    EXPECT_EQ(readAccessSlot(*file, 3).id, "T4");
    EXPECT_EQ(readAccessSlot(*file, 3).mark.RecNum, 104);
    EXPECT_TRUE(readAccessSlot(*file, 4).id.isEmpty());
    EXPECT_EQ(readAccessSlot(*file, 4).mark.RecNum, 0);

    ASSERT_TRUE(list.remove(1));  // the current one
    EXPECT_EQ(g.AccessoCorrente, 0);
    EXPECT_EQ(list.infoAccess(), " 0 - Accesso generico");
    EXPECT_EQ(g.dirs.DirLezioni, g.dirs.DirUtente);
    EXPECT_FALSE(list.remove(5));
}

TEST_F(AccessTest, DeletingFromAFullListLeavesNoDuplicate)
{
    teachers({{1, "T1"}, {2, "T2"}, {3, "T3"}, {4, "T4"}, {5, "T5"}, {6, "T6"}, {7, "T7"}, {8, "T8"}});
    AccessList list(g, reports);
    ASSERT_TRUE(list.load());
    ASSERT_TRUE(list.remove(0));
    const auto file = reread();
    EXPECT_EQ(readAccessSlot(*file, 7).id, "T8");
    EXPECT_TRUE(readAccessSlot(*file, 8).id.isEmpty());
    EXPECT_FALSE(file->sectionExists("Accesso9"));
}

TEST_F(AccessTest, RenameMovesTheFolderAndKeepsTheMarkUsable)
{
    teachers({{1, "Rossi"}, {2, "Bianchi"}});
    AccessList list(g, reports);
    ASSERT_TRUE(list.load());
    list.choose(0);

    EXPECT_FALSE(list.rename(0, "bianchi"));
    QDir().mkpath(g.dirs.DirUtente + "Estraneo");
    EXPECT_FALSE(list.rename(0, "estraneo"));
    ASSERT_TRUE(list.rename(0, "Russo"));
    EXPECT_EQ(list.names(), QStringList({"Russo", "Bianchi"}));
    EXPECT_FALSE(QFileInfo::exists(g.dirs.DirUtente + "Rossi"));
    EXPECT_EQ(readAll(g.dirs.DirUtente + "Russo/Lezione.xml"), "Rossi");
    EXPECT_TRUE(g.dirs.DirLezioni.endsWith("/Russo/"));

    AccessList again(g, reports);
    ASSERT_TRUE(again.load());
    const auto mark = markToLoad(again.slot(1), g.dirs.DirUtente);
    ASSERT_TRUE(mark);
    EXPECT_TRUE(mark->Status);
    EXPECT_EQ(QFileInfo(mark->LezPers).canonicalFilePath(),
              QFileInfo(g.dirs.DirUtente + "Russo/Lezione.xml").canonicalFilePath());
    EXPECT_FALSE(reread()->valueExists("Accesso1", "MTidPrec"));
}

TEST_F(AccessTest, RebuildTakesTheFirstSevenSafeFoldersAndClearsMarks)
{
    teachers({{1, "Hotel"}});
    for (const char* f : {"Golf", "alfa", "Delta", "Bravo", "Echo", "Charlie", "India", "Juliet", "con"})
        QDir().mkpath(g.dirs.DirUtente + f);
    AccessList list(g, reports);
    ASSERT_TRUE(list.load());
    list.choose(0);  // Hotel
    EXPECT_EQ(list.rebuild(), 7);
    EXPECT_EQ(list.names(), QStringList({"alfa", "Bravo", "Charlie", "Delta", "Echo", "Golf", "Hotel"}));
    EXPECT_EQ(g.AccessoCorrente, 7);
    const auto file = reread();
    EXPECT_EQ(readAccessSlot(*file, 7).mark.RecNum, 0);
    EXPECT_TRUE(readAccessSlot(*file, 8).id.isEmpty());
}

TEST_F(AccessTest, MarksRoundTripAndOddValuesReadAsDefaults)
{
    teachers({});
    TMdTemp m;
    m.RecNum = 1500;
    m.Snap = QLatin1Char('Q');
    m.Segnale = true;
    m.Domanda = true;
    m.Foto = 2;
    m.NumDomanda = 12;
    m.NumAffermazione = 3;
    m.Argomento = "B05";
    m.Custom = true;
    m.L_AB = false;
    m.L_CD = true;
    m.LezPers = "/x/Utente/Freni.xml";
    ASSERT_TRUE(saveMarkToSlot(*g.IniFilePtr, 3, m));
    const TMdTemp back = readAccessSlot(*reread(), 3).mark;
    EXPECT_EQ(back.RecNum, 1500);
    EXPECT_EQ(back.Snap, QLatin1Char('Q'));
    EXPECT_TRUE(back.Segnale && back.Domanda && back.Custom && back.L_CD);
    EXPECT_FALSE(back.L_AB || back.L_AM || back.L_CQ || back.OnlyFoto || back.Status);
    EXPECT_EQ(back.Foto, 2);
    EXPECT_EQ(back.NumDomanda, 12);
    EXPECT_EQ(back.NumAffermazione, 3);
    EXPECT_EQ(back.Argomento, "B05");
    EXPECT_EQ(back.LezPers, "/x/Utente/Freni.xml");
    EXPECT_FALSE(saveMarkToSlot(*g.IniFilePtr, 9, m));
    // Only a custom-lesson mark names a lesson file.
    m.Custom = false;
    ASSERT_TRUE(saveMarkToSlot(*g.IniFilePtr, 3, m));
    EXPECT_TRUE(readAccessSlot(*reread(), 3).mark.LezPers.isEmpty());

    writeFile(iniPath(), "[accesso2]\r\nmtseg=2\r\nMTfot=abc\r\nMTsnp=\r\nMTrec=7x\r\n");
    const TMdTemp odd = readAccessSlot(*reread(), 2).mark;
    EXPECT_TRUE(odd.Segnale);
    EXPECT_EQ(odd.Foto, 0);
    EXPECT_TRUE(odd.Snap.isNull());
    EXPECT_EQ(odd.RecNum, 0);
}

TEST_F(AccessTest, AMarkFindsItsLessonWrittenOnAnotherSystem)
{
    QDir().mkpath(g.dirs.DirUtente + "Rossi");
    writeFile(g.dirs.DirUtente + "Rossi/freni.xml", "x");
    const QString found = resolveMarkLesson("D:\\ziro\\Utente\\ROSSI\\Freni.xml", g.dirs.DirUtente);
    EXPECT_EQ(QFileInfo(found).fileName(), "freni.xml");
    EXPECT_TRUE(resolveMarkLesson("D:\\ziro\\Utente\\..\\Program\\x.xml", g.dirs.DirUtente).isEmpty());
    EXPECT_TRUE(resolveMarkLesson("D:\\ziro\\Utente\\Rossi\\Gone.xml", g.dirs.DirUtente).isEmpty());

    SingleAccessType slot;
    slot.mark.RecNum = 5;
    slot.mark.Custom = true;
    slot.mark.LezPers = "D:\\ziro\\Utente\\Rossi\\Gone.xml";
    EXPECT_FALSE(markToLoad(slot, g.dirs.DirUtente));
    slot.mark.RecNum = 0;
    slot.mark.Custom = false;
    EXPECT_FALSE(markToLoad(slot, g.dirs.DirUtente));
}

TEST(PlanApply, EveryCaseLeadsToOneViewWithClampedNumbers)
{
    using A = ApplyPlan::Action;
    using V = ApplyPlan::View;
    const auto mark = [](QChar snap, bool seg, bool dom) {
        TMdTemp m;
        m.RecNum = 10;
        m.Snap = snap;
        m.Segnale = seg;
        m.Domanda = dom;
        m.Foto = 9;
        m.NumAffermazione = 99;
        m.NumDomanda = 12;
        m.Argomento = "B05";
        return m;
    };
    MarkFacts signAndQuiz;
    signAndQuiz.signShown = true;
    signAndQuiz.questionShown = true;
    signAndQuiz.hasPhotos = true;
    signAndQuiz.photoCount = 3;
    signAndQuiz.statementCount = 10;
    signAndQuiz.questionCount = 20;
    MarkFacts photosOnly;
    photosOnly.hasPhotos = true;
    photosOnly.photoCount = 2;
    MarkFacts bare;
    bare.signShown = true;

    struct Case {
        const char* what;
        TMdTemp mark;
        MarkFacts facts;
        V view;
    } cases[] = {
        {"sign", mark('S', true, false), signAndQuiz, V::Sign},
        {"quiz", mark('Q', false, true), signAndQuiz, V::Quiz},
        {"photo over quiz", mark('F', false, true), signAndQuiz, V::PhotoOverQuiz},
        {"photo over sign", mark('F', true, false), signAndQuiz, V::PhotoOverSign},
        {"photos only record", mark('S', true, false), photosOnly, V::Photo},
        {"empty snap", mark(QChar(), true, false), signAndQuiz, V::Record},
        {"quiz mark, no quiz left", mark('Q', false, true), bare, V::Record},
        {"photo gone", mark('F', true, false), bare, V::Sign},
    };
    for (const Case& c : cases) {
        const ApplyPlan p = planApply(c.mark, c.facts);
        EXPECT_EQ(p.action, A::Show) << c.what;
        EXPECT_EQ(p.view, c.view) << c.what;
        EXPECT_EQ(p.recNum, 10) << c.what;
        EXPECT_EQ(p.topic, "B05") << c.what;
    }
    const ApplyPlan clamped = planApply(mark('Q', false, true), signAndQuiz);
    EXPECT_EQ(clamped.statement, 10);
    EXPECT_EQ(clamped.photo, 3);
    EXPECT_EQ(clamped.question, 12);
    TMdTemp low = mark('Q', false, true);
    low.NumAffermazione = -4;
    low.NumDomanda = 50;
    EXPECT_EQ(planApply(low, signAndQuiz).statement, 1);
    EXPECT_EQ(planApply(low, signAndQuiz).question, 20);

    TMdTemp none = mark('S', true, false);
    none.RecNum = 0;
    EXPECT_EQ(planApply(none, signAndQuiz).action, A::NotApplied);
    MarkFacts missing = signAndQuiz;
    missing.recordFound = false;
    EXPECT_EQ(planApply(mark('S', true, false), missing).action, A::Menu);

    TMdTemp custom = mark('Q', false, true);
    custom.Custom = true;
    custom.LezPers = "/u/Freni.xml";
    custom.L_AB = false;
    custom.L_CD = true;
    const ApplyPlan c = planApply(custom, signAndQuiz);
    EXPECT_EQ(c.action, A::Show);
    EXPECT_TRUE(c.custom);
    EXPECT_EQ(c.lessonPath, "/u/Freni.xml");
    EXPECT_EQ(c.edition, TModoQuiz::mqCD);
    EXPECT_EQ(c.question, 0);
    MarkFacts gone = signAndQuiz;
    gone.lessonExists = false;
    EXPECT_EQ(planApply(custom, gone).action, A::Menu);

    TMdTemp noEdition = mark('S', true, false);
    noEdition.L_AB = false;
    EXPECT_EQ(planApply(noEdition, signAndQuiz).edition, TModoQuiz::mqAB);
}

}  // namespace
}  // namespace ziro
