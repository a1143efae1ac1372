#include "importer.h"

#include "controls/kxb.h"
#include "menus/topic_list.h"
#include "platform/dataset/data_table.h"
#include "platform/dataset/sample_tables.h"
#include "platform/files/text_codec.h"
#include "quiz/bank_fixture.h"
#include "quiz/question_bank.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace ziro::import {
namespace {

class ImportTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString root, json;

    void SetUp() override
    {
        root = dir.filePath(QStringLiteral("inst"));
        ASSERT_TRUE(QDir().mkpath(root + QStringLiteral("/ziro/Program")));
        ASSERT_TRUE(QDir().mkpath(dir.filePath(QStringLiteral("data/img_sign"))));
        json = dir.filePath(QStringLiteral("data/quiz.json"));
        QImage sign(20, 20, QImage::Format_ARGB32);
        sign.fill(Qt::transparent);
        sign.setPixelColor(5, 5, Qt::red);
        ASSERT_TRUE(sign.save(dir.filePath(QStringLiteral("data/img_sign/550.png"))));
        put(dir.filePath(QStringLiteral("data/img_sign/551.png")), "not a picture");
    }
    void put(const QString& path, const QByteArray& bytes)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    static QByteArray read(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static QJsonObject st(const QString& q, bool a, const QString& img = {})
    {
        QJsonObject o{{QStringLiteral("q"), q}, {QStringLiteral("a"), a}};
        if (!img.isEmpty())
            o.insert(QStringLiteral("img"), img);
        return o;
    }
    // Chapter "definizioni" with a sub-topic of 75 statements (two blocks)
    // and one with the pictures; chapter "segnali" with bad statements only
    // but one; an empty chapter.
    QJsonObject dataset()
    {
        QJsonArray many, pictured, odd;
        for (int i = 1; i <= 75; ++i)
            many.append(st(QStringLiteral("Affermazione %1").arg(i), i % 2 == 0));
        pictured.append(st(QStringLiteral("Il segnale indica pericolo"), true, QStringLiteral("/img_sign/550.png")));
        pictured.append(st(QStringLiteral("Segnale illeggibile"), false, QStringLiteral("/img_sign/551.png")));
        pictured.append(st(QStringLiteral("Segnale assente"), false, QStringLiteral("/img_sign/999.png")));
        pictured.append(st(QStringLiteral("Stesso segnale"), false, QStringLiteral("/img_sign/550.png")));
        odd.append(QJsonObject{{QStringLiteral("q"), QStringLiteral("senza risposta")}});
        odd.append(st(QString(10000, QLatin1Char('x')), true));
        odd.append(QStringLiteral("non un oggetto"));
        odd.append(st(QStringLiteral("Valida"), true));
        return QJsonObject{
            {QStringLiteral("definizioni"),
             QJsonObject{{QStringLiteral("a-strada"), many}, {QStringLiteral("b-segnali"), pictured}}},
            {QStringLiteral("segnali"), QJsonObject{{QStringLiteral("vari"), odd}}},
            {QStringLiteral("vuoto"), QJsonObject{{QStringLiteral("niente"), QJsonArray()}}},
        };
    }
    QString bankPath() const { return root + QStringLiteral("/ziro/Program/NQM2016.XML"); }
};

TEST_F(ImportTest, BlocksKeysPicturesAndAnIdenticalRerun)
{
    put(json, QJsonDocument(dataset()).toJson());
    // A lesson's block, and one left by an earlier import of more.
    std::vector<BankRow> before = test::blockRows("0999A", 2);
    for (const BankRow& r : test::blockRows("10011", 3))
        before.push_back(r);
    ASSERT_NO_FATAL_FAILURE(test::writeBank(bankPath(), before));
    const QByteArray original = read(bankPath());
    Report report;
    QString error;
    ASSERT_TRUE(importDataset({json, root, {}}, &report, &error)) << qPrintable(error);
    EXPECT_EQ(report.chapters, 2);
    EXPECT_EQ(report.blocks, 4);  // 70 + 5, the pictured, the one valid odd one
    EXPECT_EQ(report.statements, 75 + 4 + 1);
    EXPECT_EQ(report.pictures, 1);
    EXPECT_EQ(report.notes.filter(QStringLiteral("10000 characters")).size(), 1);
    EXPECT_EQ(report.notes.filter(QStringLiteral("551.png")).size(), 1);
    EXPECT_EQ(report.notes.filter(QStringLiteral("chapter \"vuoto\"")).size(), 1);

    QuestionBank bank;
    ASSERT_TRUE(bank.open(bankPath(), &error)) << qPrintable(error);
    EXPECT_EQ(bank.block(QStringLiteral("0101A")).count, 70);
    EXPECT_EQ(bank.block(QStringLiteral("0101B")).count, 5);
    EXPECT_EQ(bank.block(QStringLiteral("0102A")).count, 4);
    EXPECT_EQ(bank.block(QStringLiteral("0201A")).count, 1);
    QuizStatement s;
    ASSERT_TRUE(bank.readStatement(bank.block(QStringLiteral("0101B")).first, &s));
    EXPECT_EQ(s.Aff[0], QLatin1String("Affermazione 71"));
    EXPECT_EQ(s.NumRec, QLatin1String("1"));
    const BankBlock pictured = bank.block(QStringLiteral("0102A"));
    QStringList figure;
    for (int r = pictured.first; r < pictured.first + pictured.count; ++r) {
        ASSERT_TRUE(bank.readStatement(r, &s));
        figure << s.IntegratoAffermazione;
    }
    EXPECT_EQ(figure, (QStringList{"550", "", "", "550"}));
    const auto sign = loadKxbFile(root + QStringLiteral("/ziro/PicSgn/550.BMP"));
    ASSERT_TRUE(sign);
    EXPECT_EQ(sign->pixelColor(5, 5), QColor(Qt::red));
    EXPECT_EQ(sign->pixelColor(0, 0), QColor(Qt::white)) << "transparency over white";
    EXPECT_TRUE(loadKxbFile(root + QStringLiteral("/ziro/PicSgt/550.BMP"))) << "for the lesson's named signs";
    const QStringList kept = report.backups.filter(QStringLiteral("NQM2016.XML"));
    ASSERT_EQ(kept.size(), 1);
    EXPECT_EQ(read(kept[0]), original);
    EXPECT_EQ(bank.block(QStringLiteral("10011")).count, 3) << "the lesson's block stays";
    EXPECT_TRUE(bank.block(QStringLiteral("0999A")).empty()) << "the earlier import gave way";

    // The same input again: the same bytes, nothing replaced or kept.
    const QByteArray first = read(bankPath());
    Report again;
    ASSERT_TRUE(importDataset({json, root, {}}, &again, &error)) << qPrintable(error);
    EXPECT_EQ(read(bankPath()), first);
    EXPECT_TRUE(again.written.isEmpty());
    EXPECT_TRUE(again.backups.isEmpty());
}

// The blocks become lessons: one record per block under a topic of its
// group, and a topic line each. The school's own records and lines stay,
// an earlier import's give way, and a second import keeps the first one's
// backups.
TEST_F(ImportTest, BlocksBecomeTopicsBesideTheSchoolsOwn)
{
    const QString contentPath = root + QStringLiteral("/ziro/Program/AAB2016.XML");
    const QString listA = root + QStringLiteral("/ziro/Program/NA0.TXT");
    {
        DataTable t;
        t.setSaveOnClose(false);
        ASSERT_TRUE(t.createFromFields(contentTableFields()));
        const auto add = [&t](int numRec, const char* domanda, const char* argomento) {
            ASSERT_TRUE(t.append());
            ASSERT_TRUE(t.setField(QStringLiteral("NumRec"), numRec));
            ASSERT_TRUE(t.setField(QStringLiteral("Domanda"), QLatin1String(domanda)));
            ASSERT_TRUE(t.setField(QStringLiteral("Argomento"), QLatin1String(argomento)));
            ASSERT_TRUE(t.post());
        };
        add(1, "10011", "A01");
        add(7, "0999A", "A50");  // an earlier import's
        put(contentPath, t.toXml(DataTable::saveFormatFor(contentPath)));
    }
    const QByteArray schoolLine = "Veicoli della scuola                    #    A01  ";
    put(listA, schoolLine + "\r\n\r\nVecchio argomento importato              #    A50  \r\n");
    ASSERT_TRUE(QDir().mkpath(root + QStringLiteral("/ziro/PicSgt")));
    put(root + QStringLiteral("/ziro/PicSgt/550.BMP"), "the school's named sign");
    put(json, QJsonDocument(dataset()).toJson());
    Report report;
    QString error;
    ASSERT_TRUE(importDataset({json, root, {}}, &report, &error)) << qPrintable(error);
    EXPECT_EQ(report.topics, 3);
    EXPECT_EQ(read(root + QStringLiteral("/ziro/PicSgt/550.BMP")), "the school's named sign");

    DataTable t;
    t.setSaveOnClose(false);
    ASSERT_TRUE(t.loadFromFile(contentPath, &error)) << qPrintable(error);
    QStringList rows;
    for (t.first(); !t.eof(); t.next())
        rows << QStringLiteral("%1 %2 %3 %4 %5").arg(t.fieldText(QStringLiteral("NumRec")), t.fieldText(QStringLiteral("Domanda")),
                                                   t.fieldText(QStringLiteral("Argomento")),
                                                   t.fieldText(QStringLiteral("Nome segnale")).trimmed(),
                                                   t.fieldText(QStringLiteral("Testo")));
    // Two usable chapters: the first fills group A, the second starts at F.
    EXPECT_EQ(rows, (QStringList{"1 10011 A01  ", "2 0101A A50  a-strada", "3 0101B A50  a-strada",
                                 "4 0102A A51 550 b-segnali", "5 0201A F50  vari"}));

    const auto lines = loadTopicList(listA);
    ASSERT_TRUE(lines);
    QStringList codes;
    for (const TopicLine& l : *lines)
        codes << l.code;
    EXPECT_EQ(codes, (QStringList{"A01", "", "A50", "A51"}));
    EXPECT_TRUE(read(listA).startsWith(schoolLine + "\r\n")) << "the school's line byte for byte";
    EXPECT_EQ((*lines)[2].title.trimmed(), QStringLiteral("a-strada"));
    const auto listF = loadTopicList(root + QStringLiteral("/ziro/Program/NF0.TXT"));
    ASSERT_TRUE(listF);
    ASSERT_EQ(listF->size(), 1u);
    EXPECT_EQ(listF->front().code, QStringLiteral("F50"));

    // Another dataset later: the first run's backups stay as they were.
    const QStringList firstBackups = report.backups;
    ASSERT_FALSE(firstBackups.filter(QStringLiteral("NA0.TXT")).isEmpty());
    QJsonObject smaller = dataset();
    smaller.remove(QStringLiteral("segnali"));
    put(json, QJsonDocument(smaller).toJson());
    Report second;
    ASSERT_TRUE(importDataset({json, root, {}}, &second, &error)) << qPrintable(error);
    EXPECT_EQ(read(firstBackups.filter(QStringLiteral("NA0.TXT"))[0]),
              schoolLine + "\r\n\r\nVecchio argomento importato              #    A50  \r\n");
    for (const QString& b : second.backups)
        EXPECT_FALSE(firstBackups.contains(b)) << qPrintable(b);
    const auto listF2 = loadTopicList(root + QStringLiteral("/ziro/Program/NF0.TXT"));
    ASSERT_TRUE(listF2);
    EXPECT_TRUE(listF2->empty()) << "the second chapter's topic went with it";
}

TEST_F(ImportTest, BadInputWritesNothing)
{
    ASSERT_NO_FATAL_FAILURE(test::writeBank(bankPath(), test::blockRows("10011", 3)));
    const QByteArray original = read(bankPath());
    const struct {
        const char* name;
        QByteArray contents;
        const char* errorPart;
    } cases[] = {
        {"malformed", "{\"a\": [", "not JSON"},
        {"a list at the top", "[1, 2]", "object of chapters"},
        {"no usable statement", R"({"c": {"s": [{"q": "x"}]}})", "no usable statements"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        put(json, c.contents);
        QString error;
        EXPECT_FALSE(importDataset({json, root, {}}, nullptr, &error));
        EXPECT_TRUE(error.contains(QLatin1String(c.errorPart))) << qPrintable(error);
        EXPECT_EQ(read(bankPath()), original);
        EXPECT_FALSE(QFileInfo::exists(root + QStringLiteral("/ziro/PicSgn")));
    }
    QString error;
    put(json, QJsonDocument(dataset()).toJson());
    // A bank that cannot be read is not replaced by one without its blocks.
    put(bankPath(), "the bank before");
    EXPECT_FALSE(importDataset({json, root, {}}, nullptr, &error));
    EXPECT_TRUE(error.contains(QLatin1String("cannot read the bank"))) << qPrintable(error);
    EXPECT_EQ(read(bankPath()), "the bank before");
    EXPECT_FALSE(importDataset({json, dir.filePath(QStringLiteral("nowhere")), {}}, nullptr, &error));
    EXPECT_TRUE(error.contains(QLatin1String("installation root")));
    EXPECT_FALSE(importDataset({json + QStringLiteral(".missing"), root, {}}, nullptr, &error));
}

}  // namespace
}  // namespace ziro::import
