#include "importer.h"

#include "controls/kxb.h"
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
    EXPECT_EQ(read(root + QStringLiteral("/ziro/Backup/import/ziro/Program/NQM2016.XML")), original);
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
