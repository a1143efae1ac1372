// Every kind of file the program writes, saved in a child process that is
// killed at a random moment, and saved on a full disk. Killed, the file must
// be the old one or the new one, whole and readable; on a full disk the save
// must answer that it failed, say so where the program reports it, and leave
// the old file as it was.
//
// The lesson upgrade, the teacher rename and the mark save are also killed
// in interrupted_writes_test.cpp, with checks of their own.

#include "annotate/caption_styles.h"
#include "authoring/accesses.h"
#include "authoring/lesson_store.h"
#include "base/globals.h"
#include "config/ini_file.h"
#include "config/settings.h"
#include "crossroads/cross_data.h"
#include "diag/reporter.h"
#include "platform/dataset/data_table.h"
#include "platform/dataset/sample_tables.h"
#include "quiz/question_bank.h"
#include "quiz/sample_banks.h"
#include "viewers/photo.h"
#include "viewers/photo_caption.h"

#include "support/kill_runs.h"
#include "support/logging_reports.h"
#include "support/qt_printers.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <functional>
#include <memory>

namespace ziro {
namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& data)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(data) == data.size()) << path.toStdString();
}

// Tables from this size on are read with a pooled second thread, which a
// forked child lacks; the saves' tables stay below it.
constexpr qsizetype kOneThreadBytes = 2 * 128 * 1024;

enum class OnDisk { Old, New, Damaged };

const char* nameOf(OnDisk s)
{
    return s == OnDisk::Old ? "old" : s == OnDisk::New ? "new" : "damaged";
}

// One kind of save. `setup` puts the old files in place, `save` runs the
// program's own save and answers what it answered, `state` reads what the
// program would read at its next start.
struct SaveKind {
    const char* name;
    std::function<void()> setup;
    std::function<bool(Reports&)> save;
    std::function<OnDisk()> state;
    // The save reports its own failure (a kind 2 report); the others leave
    // that to their caller, who is told by the answer.
    bool reports = true;
    // Killed at random in interrupted_writes_test.cpp already.
    bool killedElsewhere = false;
};

// A content table big enough for a save to take a while, and a record field
// written through the photo and note viewers' own save.
SaveKind contentTableKind(const QString& path, const QString& field, const QString& value)
{
    constexpr int kRecords = 150;
    auto old = std::make_shared<QByteArray>();
    return {
        field == QLatin1String("Testo") ? "content table note" : "content table caption",
        [=] {
            if (old->isEmpty()) {
                DataTable t;
                ASSERT_TRUE(fillSampleContentTable(t, kRecords, 7));
                *old = t.toXml(DataTable::saveFormatFor(path));
                ASSERT_LT(old->size(), kOneThreadBytes);
            }
            writeFile(path, *old);
        },
        [=](Reports&) {
            DataTable t;
            t.setFileName(path);
            if (!t.open())
                return false;
            t.first();
            DataTableCaptions captions(t);
            QString error;
            return captions.storeAndSave(field, value, &error);
        },
        [=] {
            const QByteArray now = readAll(path);
            if (now == *old)
                return OnDisk::Old;
            DataTable t;
            if (!t.loadFromData(now, path) || t.recordCount() != kRecords)
                return OnDisk::Damaged;
            t.first();
            return t.fieldText(field) == value ? OnDisk::New : OnDisk::Damaged;
        },
        false,
    };
}

// Every kind, its files under `root`.
std::vector<SaveKind> kinds(const QString& root)
{
    const auto at = [root](const QString& name) { return root + QLatin1Char('/') + name; };
    std::vector<SaveKind> k;
    PhotoCaption photoCaption;
    photoCaption.text = QStringLiteral("Curva pericolosa");
    photoCaption.left = 30;
    const QString caption = writeCaption(photoCaption);
    k.push_back(contentTableKind(at(QStringLiteral("dati/NA.cds")), QStringLiteral("TxtF1"), caption));
    k.push_back(contentTableKind(at(QStringLiteral("dati/NA.cds")), QStringLiteral("Testo"),
                                 QStringLiteral("Nota della lezione: è vietato")));

    // The question bank's captions: both records or neither.
    {
        const QString path = at(QStringLiteral("quiz/AB.cds"));
        auto old = std::make_shared<QByteArray>();
        const QString text = QStringLiteral("Didascalia nuova");
        k.push_back({
            "question bank captions",
            [=] {
                if (old->isEmpty()) {
                    DataTable t;
                    ASSERT_TRUE(fillSampleBank(t, 600, 10));
                    *old = t.toXml(SaveFormat::Utf8);
                    ASSERT_LT(old->size(), kOneThreadBytes);
                }
                writeFile(path, *old);
            },
            [=](Reports&) {
                QuestionBank bank;
                QString error;
                return bank.open(path, &error) && bank.setCaptions({{1, text}, {2, text}}, &error);
            },
            [=] {
                if (readAll(path) == *old)
                    return OnDisk::Old;
                QuestionBank bank;
                if (!bank.open(path) || bank.statementCount() != 600)
                    return OnDisk::Damaged;
                return bank.caption(1) == text && bank.caption(2) == text ? OnDisk::New : OnDisk::Damaged;
            },
            false,
        });
    }

    // A lesson copied over an existing one.
    {
        Folders dirs;
        dirs.DirLezioni = at(QStringLiteral("lezioni/"));
        dirs.DirUtente = at(QStringLiteral("utente/"));
        auto bytes = std::make_shared<std::pair<QByteArray, QByteArray>>();
        k.push_back({
            "lesson copy",
            [=] {
                if (bytes->first.isEmpty()) {
                    DataTable t;
                    ASSERT_TRUE(t.createFromFields(lessonFields()));
                    for (int r = 1; r <= 300; ++r) {
                        ASSERT_TRUE(t.append());
                        t.setField(QStringLiteral("NumRec"), r);
                        t.setField(QStringLiteral("Testo"), QStringLiteral("Vecchia %1 è").arg(r));
                        ASSERT_TRUE(t.post());
                    }
                    bytes->first = t.toXml(SaveFormat::Ascii);
                    ASSERT_LT(bytes->first.size(), kOneThreadBytes);
                    t.first();
                    t.edit();
                    t.setField(QStringLiteral("Testo"), QStringLiteral("Fonte"));
                    t.post();
                    bytes->second = t.toXml(SaveFormat::Ascii);
                }
                writeFile(dirs.DirLezioni + QStringLiteral("Copia.xml"), bytes->first);
                writeFile(dirs.DirLezioni + QStringLiteral("Fonte.xml"), bytes->second);
            },
            [=](Reports&) {
                QString error;
                return CopiaTabella(dirs, false, QStringLiteral("Fonte"), QStringLiteral("Copia"), &error);
            },
            [=] {
                const QByteArray now = readAll(dirs.DirLezioni + QStringLiteral("Copia.xml"));
                return now == bytes->first ? OnDisk::Old : now == bytes->second ? OnDisk::New : OnDisk::Damaged;
            },
            false,
        });
    }

    // Settings written through: three keys at once, or none.
    {
        const QString path = at(QStringLiteral("prog/ziro.ini"));
        QByteArray old = "[Generale]\r\nNome autoscuola=Vecchia\r\n";
        for (int i = 0; i < 3000; ++i)
            old += "[Sezione" + QByteArray::number(i) + "]\r\nChiave=valore lungo di riempimento\r\n";
        k.push_back({
            "settings",
            [=] { writeFile(path, old); },
            [=](Reports& reports) {
                Globals g;
                g.FileIni = path;
                g.IniFilePtr = IniFile::open(path);
                Config cfg;
                cfg.NomeAutoscuola = QStringLiteral("Autoscuola Nuova");
                cfg.EFAda = QStringLiteral("B01");
                cfg.EFAa = QStringLiteral("C07");
                return Settings(g, reports)
                    .write(cfg, {SettingId::NomeAutoscuola, SettingId::EFAda, SettingId::EFAa});
            },
            [=] {
                if (readAll(path) == old)
                    return OnDisk::Old;
                const std::shared_ptr<IniFile> ini = IniFile::open(path);
                if (!ini || !ini->sectionExists(QStringLiteral("Sezione2999")))
                    return OnDisk::Damaged;
                const SettingDef& name = settingDef(SettingId::NomeAutoscuola);
                const SettingDef& from = settingDef(SettingId::EFAda);
                const SettingDef& to = settingDef(SettingId::EFAa);
                const bool fresh = ini->readString(name.section, name.key) == QLatin1String("Autoscuola Nuova")
                    && ini->readString(from.section, from.key) == QLatin1String("B01")
                    && ini->readString(to.section, to.key) == QLatin1String("C07");
                return fresh ? OnDisk::New : OnDisk::Damaged;
            },
        });
    }

    // Caption styles: the A preset replaced in the user's style file.
    {
        const QString path = at(QStringLiteral("utente/TextStyles.ini"));
        auto old = std::make_shared<QByteArray>();
        CaptionStyle fresh;
        fresh.fontName = QStringLiteral("DejaVu Sans");
        fresh.fontSize = 61;
        fresh.effect = CaptionEffect::Resit3d;
        k.push_back({
            "caption styles",
            [=] {
                if (old->isEmpty()) {
                    QFile::remove(path);
                    NullReports none;
                    CaptionStyleStore store(path, QString(), none);
                    ASSERT_TRUE(store.store(CaptionPreset::A, CaptionStyle{}));
                    ASSERT_TRUE(store.store(CaptionPreset::B, fresh));
                    QByteArray bytes = readAll(path);
                    for (int i = 0; i < 3000; ++i)
                        bytes += "[Altro" + QByteArray::number(i) + "]\r\nx=1\r\n";
                    *old = bytes;
                }
                writeFile(path, *old);
            },
            [=](Reports& reports) {
                CaptionStyleStore store(path, QString(), reports);
                return store.store(CaptionPreset::A, fresh);
            },
            [=] {
                if (readAll(path) == *old)
                    return OnDisk::Old;
                NullReports none;
                CaptionStyleStore store(path, QString(), none);
                CaptionStyle a, b;
                if (!store.load(CaptionPreset::A, true, a) || !store.load(CaptionPreset::B, true, b) || !(b == fresh))
                    return OnDisk::Damaged;
                return a == fresh ? OnDisk::New : OnDisk::Damaged;
            },
        });
    }

    // ERROR.LOG rewritten whole.
    {
        Globals g;
        g.dirs.DirProgram = at(QStringLiteral("log/"));
        g.ProgramFile = QStringLiteral("/opt/ziro/ziro");
        QStringList lines = errorLogHeader(g.ProgramFile);
        for (int i = 0; i < 20000; ++i)
            lines << QStringLiteral("-> Riga %1 del registro").arg(i);
        const QByteArray fresh = errorLogBytes(lines);
        const QByteArray old = errorLogBytes(lines.mid(0, 5000));
        k.push_back({
            "ERROR.LOG",
            [=] { writeFile(g.dirs.DirProgram + QStringLiteral("ERROR.LOG"), old); },
            [=](Reports&) {
                Globals mine = g;
                Reporter reporter(mine);
                reporter.ErrorLog() = lines;
                return reporter.saveLog();
            },
            [=] {
                const QByteArray now = readAll(g.dirs.DirProgram + QStringLiteral("ERROR.LOG"));
                return now == old ? OnDisk::Old : now == fresh ? OnDisk::New : OnDisk::Damaged;
            },
            false,
        });
    }

    // The crossroads areas set in debug mode.
    {
        const QString path = at(QStringLiteral("prog/kx_cross.cds"));
        auto old = std::make_shared<QByteArray>();
        const std::array<QRect, cross::kVehicles> areas = {QRect(1, 2, 30, 40), QRect(5, 6, 7, 8), QRect(),
                                                           QRect(100, 100, 20, 20), QRect(9, 9, 9, 9)};
        k.push_back({
            "crossroads areas",
            [=] {
                if (old->isEmpty()) {
                    DataTable t;
                    ASSERT_TRUE(t.createFromFields(cross::tableFields()));
                    for (int n = 599; n <= 686; ++n) {
                        ASSERT_TRUE(t.append());
                        t.setField(QStringLiteral("Rec"), n);
                        t.setField(QStringLiteral("Incrocio"), QString::number(n));
                        t.setField(QStringLiteral("Sequenza"), QStringLiteral("ABC"));
                        ASSERT_TRUE(t.post());
                    }
                    *old = t.toXml(SaveFormat::Utf8);
                    ASSERT_LT(old->size(), kOneThreadBytes);
                }
                writeFile(path, *old);
            },
            [=](Reports&) {
                QString error;
                return cross::CrossTable(path).saveAreas(631, areas, &error);
            },
            [=] {
                if (readAll(path) == *old)
                    return OnDisk::Old;
                const std::optional<cross::CrossRecord> r = cross::CrossTable(path).find(631, nullptr);
                const std::optional<cross::CrossRecord> last = cross::CrossTable(path).find(686, nullptr);
                return r && last && r->areas == areas ? OnDisk::New : OnDisk::Damaged;
            },
            false,
        });
    }

    // A new teacher: the slot is written and the folder made.
    {
        const QString ini = at(QStringLiteral("acc/ziro.ini"));
        const QString users = at(QStringLiteral("acc/Utente/"));
        QByteArray old = "[Set]\r\nAccesso multiplo=1\r\n[Accesso1]\r\nid=Rossi\r\nMTrec=7\r\n";
        for (int i = 0; i < 3000; ++i)
            old += "[Colori" + QByteArray::number(i) + "]\r\nx=1\r\n";
        const QString program = at(QStringLiteral("acc/"));
        const auto listOf = [=](Globals& g, Reports& reports) {
            g.dirs.DirUtente = users;
            g.dirs.DirProgram = program;
            g.IniFilePtr = IniFile::open(ini);
            return std::make_unique<AccessList>(g, reports);
        };
        k.push_back({
            "teacher folder",
            [=] {
                QDir(users).removeRecursively();
                QDir().mkpath(users + QStringLiteral("Rossi"));
                writeFile(ini, old);
            },
            [=](Reports& reports) {
                Globals g;
                const auto list = listOf(g, reports);
                return list->load() && list->insert(QStringLiteral("Bianchi"));
            },
            [=] {
                Globals g;
                NullReports none;
                const auto list = listOf(g, none);
                if (!g.IniFilePtr || !list->load() || !g.IniFilePtr->sectionExists(QStringLiteral("Colori2999")))
                    return OnDisk::Damaged;
                if (list->teacherCount() == 1 && list->slot(1).id == QLatin1String("Rossi"))
                    return OnDisk::Old;
                return list->teacherCount() == 2 && list->slot(2).id == QLatin1String("Bianchi")
                        && QFileInfo(users + QStringLiteral("Bianchi")).isDir()
                    ? OnDisk::New
                    : OnDisk::Damaged;
            },
        });
    }
    // The three saves killed in interrupted_writes_test.cpp, here on a full
    // disk only.
    {
        const QString path = at(QStringLiteral("vecchie/Vecchia.xml"));
        QByteArray fields = "<FIELD attrname=\"NumRec\" fieldtype=\"i4\"/>";
        for (int i = 1; i <= 40; ++i)
            fields += "<FIELD attrname=\"Quesito" + QByteArray::number(i) + "\" fieldtype=\"string\" WIDTH=\"16\"/>";
        const QByteArray old = "<?xml version=\"1.0\"?><DATAPACKET Version=\"2.0\"><METADATA><FIELDS>" + fields
            + "</FIELDS><PARAMS/></METADATA><ROWDATA><ROW NumRec=\"1\" Quesito1=\"    12V0001S001\"/>"
              "</ROWDATA></DATAPACKET>";
        k.push_back({
            "lesson upgrade",
            [=] {
                QDir(QFileInfo(path).path()).removeRecursively();
                writeFile(path, old);
            },
            [=](Reports& reports) {
                test::LoggingReports agreeing;
                const UpgradeOutcome out = upgradeLessonFile(path, agreeing);
                for (const QString& line : agreeing.log)
                    if (line.startsWith(QLatin1String("2 ")))
                        reports.Emsg(ReportKind::FileIo, line, QString());
                return out.result == UpgradeOutcome::Result::Upgraded;
            },
            [=] {
                if (readAll(path) == old)
                    return OnDisk::Old;
                DataTable t;
                return t.loadFromFile(path) && isCurrentLessonSchema(t) ? OnDisk::New : OnDisk::Damaged;
            },
            true,
            true,
        });
    }
    {
        const QString ini = at(QStringLiteral("ren/ziro.ini"));
        const QString users = at(QStringLiteral("ren/Utente/"));
        const QByteArray old = "[Accesso1]\r\nid=Rossi\r\nMTrec=7\r\n[Accesso2]\r\nid=Bianchi\r\n";
        const auto listOf = [=](Globals& g, Reports& reports) {
            g.dirs.DirUtente = users;
            g.IniFilePtr = IniFile::open(ini);
            return std::make_unique<AccessList>(g, reports);
        };
        k.push_back({
            "teacher rename",
            [=] {
                QDir(users).removeRecursively();
                writeFile(users + QStringLiteral("Rossi/Lezione 1.xml"), "lezione");
                QDir().mkpath(users + QStringLiteral("Bianchi"));
                writeFile(ini, old);
            },
            [=](Reports& reports) {
                Globals g;
                const auto list = listOf(g, reports);
                return list->load() && list->rename(0, QStringLiteral("Russo"));
            },
            [=] {
                Globals g;
                NullReports none;
                const auto list = listOf(g, none);
                if (!g.IniFilePtr || !list->load() || list->teacherCount() != 2)
                    return OnDisk::Damaged;
                const QString id = list->slot(1).id;
                if (readAll(users + id + QStringLiteral("/Lezione 1.xml")) != "lezione")
                    return OnDisk::Damaged;
                return id == QLatin1String("Rossi") ? OnDisk::Old : id == QLatin1String("Russo") ? OnDisk::New
                                                                                               : OnDisk::Damaged;
            },
            true,
            true,
        });
    }
    {
        const QString path = at(QStringLiteral("segni/ziro.ini"));
        const QByteArray old = "[Accesso4]\r\nid=T4\r\nMTrec=1\r\nMTsnp=S\r\nMTaff=1\r\nMTarg=A01\r\n";
        k.push_back({
            "resume mark",
            [=] { writeFile(path, old); },
            [=](Reports&) {
                const std::shared_ptr<IniFile> file = IniFile::open(path);
                TMdTemp m;
                m.RecNum = 2222;
                m.Argomento = QStringLiteral("B07");
                return file && saveMarkToSlot(*file, 4, m);
            },
            [=] {
                if (readAll(path) == old)
                    return OnDisk::Old;
                const std::shared_ptr<IniFile> file = IniFile::open(path);
                return file && readAccessSlot(*file, 4).mark.RecNum == 2222 ? OnDisk::New : OnDisk::Damaged;
            },
            false,
            true,
        });
    }
    return k;
}

class SaveCrash : public ::testing::TestWithParam<int> {
protected:
    QTemporaryDir tmp;
    SaveKind kind() const { return kinds(tmp.path()).at(std::size_t(GetParam())); }
};

TEST_P(SaveCrash, AKilledSaveLeavesTheOldFileOrTheNewOne)
{
    const SaveKind kind = this->kind();
    if (kind.killedElsewhere)
        GTEST_SKIP() << "killed in interrupted_writes_test.cpp";
    int olds = 0, news = 0;
    const test::KillStats stats = test::killAtRandom(
        kind.setup,
        [&] {
            NullReports none;
            kind.save(none);
        },
        [&] {
            const OnDisk s = kind.state();
            ASSERT_NE(s, OnDisk::Damaged);
            (s == OnDisk::Old ? olds : news)++;
        });
    EXPECT_EQ(stats.finished + stats.cut, 100);
    // The runs must have met both outcomes, or the kills missed the save.
    EXPECT_GT(olds, 0);
    EXPECT_GT(news, 0);
    std::printf("[ kills    ] %-24s %3d cut, %3d finished: %3d old, %3d new\n", kind.name, stats.cut,
                stats.finished, olds, news);
}

TEST_P(SaveCrash, AFullDiskIsReportedAndLeavesTheOldFile)
{
    const SaveKind kind = this->kind();
    const auto files = [this] {
        QStringList all;
        for (QDirIterator it(tmp.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();)
            all << it.next();
        all.sort();
        return all;
    };
    kind.setup();
    const QStringList before = files();
    // 0: answered false with its report, 1: answered true, 2: false unreported.
    const int outcome = test::runOnFullDisk([&] {
        test::LoggingReports reports;
        if (kind.save(reports))
            return 1;
        const bool reported = std::any_of(reports.log.cbegin(), reports.log.cend(),
                                          [](const QString& line) { return line.startsWith(QLatin1String("2 ")); });
        return !kind.reports || reported ? 0 : 2;
    });
    EXPECT_EQ(outcome, 0);
    EXPECT_STREQ(nameOf(kind.state()), "old");
    // Nothing half-written is left beside it.
    EXPECT_EQ(files(), before);
}

INSTANTIATE_TEST_SUITE_P(EveryKind, SaveCrash, ::testing::Range(0, int(kinds(QStringLiteral("/")).size())),
                         [](const ::testing::TestParamInfo<int>& info) {
                             std::string name = kinds(QStringLiteral("/")).at(std::size_t(info.param)).name;
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             return name;
                         });

}  // namespace
}  // namespace ziro
