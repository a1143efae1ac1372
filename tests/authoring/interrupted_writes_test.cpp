// A lesson upgrade, a teacher rename and a mark save killed at random
// points: afterwards every lesson, folder and mark is the old one or the new
// one, whole, once the next start has loaded the accesses.

#include "authoring/accesses.h"
#include "authoring/lesson_store.h"

#include "base/reports.h"
#include "config/ini_file.h"
#include "platform/dataset/data_table.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "support/kill_runs.h"
#include "support/qt_printers.h"

#include <gtest/gtest.h>

#include <functional>

namespace ziro {
namespace {

constexpr int kRuns = 100;
using Stats = test::KillStats;

struct AgreeingReports : Reports {
    void Emsg(ReportKind, const QString&, const QString&) override {}
    bool Conferma(const QString&, const QString&) override { return true; }
    void Debug(const QString&, const QString&) override {}
    bool reportWindowVisible() const override { return false; }
};

void writeFile(const QString& path, const QByteArray& data)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(data);
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

Stats killAtRandom(const std::function<void()>& setup, const std::function<void()>& work,
                   const std::function<void()>& check)
{
    return test::killAtRandom(setup, work, check, kRuns);
}

QByteArray oldLesson()
{
    QByteArray fields = "<FIELD attrname=\"NumRec\" fieldtype=\"i4\"/>";
    for (int i = 1; i <= 40; ++i)
        fields += "<FIELD attrname=\"Quesito" + QByteArray::number(i) + "\" fieldtype=\"string\" WIDTH=\"16\"/>";
    QByteArray rows;
    for (int r = 1; r <= 200; ++r)
        rows += "<ROW NumRec=\"" + QByteArray::number(r) + "\" Quesito1=\"    12V0001S001\"/>";
    return "<?xml version=\"1.0\"?><DATAPACKET Version=\"2.0\"><METADATA><FIELDS>" + fields
        + "</FIELDS><PARAMS/></METADATA><ROWDATA>" + rows + "</ROWDATA></DATAPACKET>";
}

TEST(InterruptedWrites, AnUpgradeLeavesTheOldLessonOrTheNewOneWithItsBackup)
{
    QTemporaryDir tmp;
    const QString path = tmp.path() + "/run/Vecchia.xml";
    const QByteArray original = oldLesson();
    const auto setup = [&] {
        QDir(tmp.path() + "/run").removeRecursively();
        QDir().mkpath(tmp.path() + "/run");
        writeFile(path, original);
    };
    const auto work = [&] {
        AgreeingReports reports;
        upgradeLessonFile(path, reports);
    };
    const auto check = [&] {
        const QByteArray now = readAll(path);
        if (now == original)
            return;
        DataTable t;
        ASSERT_TRUE(t.loadFromData(now, path));
        EXPECT_TRUE(isCurrentLessonSchema(t));
        EXPECT_EQ(t.recordCount(), 200);
        EXPECT_EQ(readAll(tmp.path() + "/run/Vecchia.old"), original);
    };
    killAtRandom(setup, work, check);
}

TEST(InterruptedWrites, ATeacherRenameLeavesOneWholeFolderAndAUsableMark)
{
    QTemporaryDir tmp;
    Globals g;
    g.dirs.DirUtente = tmp.path() + "/Utente/";
    const QString ini = tmp.path() + "/ziro.ini";
    const auto setup = [&] {
        QDir(g.dirs.DirUtente).removeRecursively();
        for (int i = 1; i <= 5; ++i) {
            QDir().mkpath(g.dirs.DirUtente + "Rossi");
            writeFile(g.dirs.DirUtente + "Rossi/Lezione " + QString::number(i) + ".xml",
                      QByteArray(20000 + i, char('a' + i)));
        }
        writeFile(ini, "[Accesso1]\r\nid=Rossi\r\nMTrec=7\r\nMTcst=1\r\nMTncs=" + g.dirs.DirUtente.toUtf8()
                           + "Rossi/Lezione 3.xml\r\n[Accesso2]\r\nid=Bianchi\r\n");
        QDir().mkpath(g.dirs.DirUtente + "Bianchi");
    };
    const auto work = [&] {
        Globals child = g;
        child.IniFilePtr = IniFile::open(ini);
        AgreeingReports reports;
        AccessList list(child, reports);
        list.load();
        list.rename(0, "Russo");
    };
    const auto check = [&] {
        Globals after = g;
        after.IniFilePtr = IniFile::open(ini);
        ASSERT_TRUE(after.IniFilePtr);
        AgreeingReports reports;
        AccessList list(after, reports);
        ASSERT_TRUE(list.load());
        ASSERT_EQ(list.teacherCount(), 2);
        const QString id = list.slot(1).id;
        ASSERT_TRUE(id == "Rossi" || id == "Russo") << id.toStdString();
        const QString other = id == "Rossi" ? "Russo" : "Rossi";
        EXPECT_FALSE(QFileInfo::exists(g.dirs.DirUtente + other)) << id.toStdString();
        for (int i = 1; i <= 5; ++i)
            EXPECT_EQ(readAll(g.dirs.DirUtente + id + "/Lezione " + QString::number(i) + ".xml"),
                      QByteArray(20000 + i, char('a' + i)));
        const auto mark = markToLoad(list.slot(1), g.dirs.DirUtente);
        ASSERT_TRUE(mark);
        EXPECT_EQ(readAll(mark->LezPers), QByteArray(20003, 'd'));
    };
    killAtRandom(setup, work, check);
}

TEST(InterruptedWrites, AMarkSaveLeavesTheOldMarkOrTheNewOne)
{
    QTemporaryDir tmp;
    const QString ini = tmp.path() + "/ziro.ini";
    QByteArray text = "[Set]\r\nAccesso multiplo=1\r\n";
    for (int s = 0; s <= 8; ++s)
        text += "[Accesso" + QByteArray::number(s) + "]\r\nid=T" + QByteArray::number(s)
            + "\r\nMTrec=1\r\nMTsnp=S\r\nMTaff=1\r\nMTarg=A01\r\nMTlnq=1\r\n";
    text += "[Colori]\r\n" + QByteArray(20000, 'x') + "=1\r\n";
    const auto setup = [&] { writeFile(ini, text); };
    const auto work = [&] {
        auto file = IniFile::open(ini);
        TMdTemp m;
        m.RecNum = 2222;
        m.Snap = QLatin1Char('Q');
        m.NumAffermazione = 4;
        m.Argomento = "B07";
        m.L_AB = false;
        m.L_CD = true;
        saveMarkToSlot(*file, 4, m);
    };
    const auto check = [&] {
        auto file = IniFile::open(ini);
        ASSERT_TRUE(file);
        const TMdTemp m = readAccessSlot(*file, 4).mark;
        const bool old = m.RecNum == 1 && m.Snap == QLatin1Char('S') && m.NumAffermazione == 1
            && m.Argomento == "A01" && m.L_AB && !m.L_CD;
        const bool fresh = m.RecNum == 2222 && m.Snap == QLatin1Char('Q') && m.NumAffermazione == 4
            && m.Argomento == "B07" && !m.L_AB && m.L_CD;
        EXPECT_TRUE(old || fresh);
        EXPECT_EQ(readAccessSlot(*file, 8).id, "T8");
        EXPECT_TRUE(file->sectionExists("Colori"));
    };
    killAtRandom(setup, work, check);
}

}  // namespace
}  // namespace ziro
