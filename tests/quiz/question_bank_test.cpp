#include "quiz/question_bank.h"

#include "bank_fixture.h"
#include "support/qt_printers.h"

#include <gtest/gtest.h>

#include <QDir>

#include <csignal>
#include <sys/resource.h>

namespace ziro {
namespace {

using test::contents;
using test::row;

class QuestionBankTest : public ::testing::Test {
protected:
    QString path(const char* name = "NQM2016.XML") const { return m_dir.filePath(QLatin1String(name)); }
    QTemporaryDir m_dir;
    QuestionBank m_bank;
};

TEST_F(QuestionBankTest, BadFilesLeaveTheBankClosed)
{
    const struct {
        const char* name;
        QByteArray bytes;
    } cases[] = {
        {"empty", ""},
        {"malformed", "<?xml version=\"1.0\"?><DATAPACKET><METADATA><FIELDS><FIELD attrname=\"Blocco\""},
        {"not xml", "Blocco;id\r\n17025;1\r\n"},
        {"no block field",
         "<?xml version=\"1.0\" standalone=\"yes\"?><DATAPACKET Version=\"2.0\"><METADATA><FIELDS>"
         "<FIELD attrname=\"id\" fieldtype=\"string\" WIDTH=\"4\"/></FIELDS><PARAMS/></METADATA>"
         "<ROWDATA><ROW id=\"1\"/></ROWDATA></DATAPACKET>"},
    };
    QString error;
    EXPECT_FALSE(m_bank.open(path("MISSING.XML"), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("MISSING.XML")));
    for (const auto& c : cases) {
        test::writeBytes(path(c.name), c.bytes);
        EXPECT_FALSE(m_bank.open(path(c.name), &error)) << c.name;
        EXPECT_FALSE(m_bank.isOpen()) << c.name;
        EXPECT_TRUE(m_bank.block(QStringLiteral("17025")).empty());
    }
}

TEST_F(QuestionBankTest, IndexesBlocksInFileOrderAndReadsEveryField)
{
    std::vector<BankRow> rows = {row("17025", "2", true, QStringLiteral("secondo")),
                                 row("17026", "1", false, QStringLiteral("altro")),
                                 row("17025", "1", false, QStringLiteral("primo"), "805", "7", "Didascalìa")};
    rows[2].Gruppo1 = QStringLiteral("135");
    rows[2].Lingua2 = QString(10000, QChar(u'ß'));
    test::writeBank(path(), rows);
    ASSERT_TRUE(m_bank.open(path()));
    EXPECT_EQ(m_bank.blockCount(), 2);
    EXPECT_EQ(m_bank.statementCount(), 3);
    const BankBlock block = m_bank.block(QStringLiteral("17025"));
    ASSERT_EQ(block.count, 2);
    EXPECT_TRUE(m_bank.block(QStringLiteral("1702")).empty());
    EXPECT_TRUE(m_bank.block(QStringLiteral("170255")).empty());
    EXPECT_EQ(m_bank.block(QStringLiteral("17026")).count, 1);

    // Within a block, the file's order.
    QuizStatement s;
    ASSERT_TRUE(m_bank.readStatement(block.first, &s));
    EXPECT_EQ(s.Aff[0], QStringLiteral("secondo"));
    ASSERT_TRUE(m_bank.readStatement(block.first + 1, &s));
    EXPECT_EQ(s.Aff[0], QStringLiteral("primo"));
    EXPECT_EQ(s.Aff[1], QStringLiteral("fr primo"));
    EXPECT_EQ(s.Aff[2].size(), 10000);
    EXPECT_EQ(s.Responso, 0);
    EXPECT_EQ(s.PercErr, 1);
    EXPECT_EQ(s.IntegratoAffermazione, QStringLiteral("805"));
    EXPECT_EQ(s.ARRnum, 7);
    EXPECT_EQ(s.TitBlk, QString::fromUtf8("Didascalìa"));
    EXPECT_EQ(s.NumRec, QStringLiteral("1"));
    EXPECT_EQ(s.AudioArr, QStringLiteral("17025_1"));
    EXPECT_EQ(s.GroupsArr, QStringLiteral("135"));
    EXPECT_EQ(s.Blocco, QStringLiteral("17025"));
    ASSERT_TRUE(m_bank.readStatement(block.first, &s));
    EXPECT_EQ(s.Responso, 1);
}

// Banks written elsewhere: answers in any of the usual spellings, unknown
// fields, an i4 difficulty, a question number that is no number.
TEST_F(QuestionBankTest, ReadsOtherSpellingsAndRefusesADamagedQuestionNumber)
{
    QByteArray xml =
        "<?xml version=\"1.0\" standalone=\"yes\"?><DATAPACKET Version=\"2.0\"><METADATA><FIELDS>"
        "<FIELD attrname=\"Blocco\" fieldtype=\"string\" WIDTH=\"5\"/><FIELD attrname=\"id\" fieldtype=\"string\" WIDTH=\"4\"/>"
        "<FIELD attrname=\"Risposta\" fieldtype=\"boolean\"/><FIELD attrname=\"Testo\" fieldtype=\"string.uni\" WIDTH=\"400\"/>"
        "<FIELD attrname=\"Difficolta\" fieldtype=\"i4\"/><FIELD attrname=\"Domanda\" fieldtype=\"string\" WIDTH=\"4\"/>"
        "<FIELD attrname=\"Nota\" fieldtype=\"string\" WIDTH=\"20\"/></FIELDS><PARAMS/></METADATA><ROWDATA>"
        "<ROW Blocco=\"17025\" id=\"1\" Risposta=\"true\" Testo=\"&#224; destra\" Difficolta=\"10\" Domanda=\"3\" Nota=\"x\"/>"
        "<ROW Blocco=\"17025\" id=\"2\" Risposta=\"-1\" Domanda=\" 4 \"/>"
        "<ROW Blocco=\"17025\" id=\"3\" Risposta=\"FALSE\"/>"
        "<ROW Blocco=\"17025\" id=\"4\" Risposta=\"0\" Domanda=\"3a\"/>"
        "</ROWDATA></DATAPACKET>";
    test::writeBytes(path(), xml);
    ASSERT_TRUE(m_bank.open(path()));
    const struct {
        int recNo;
        bool ok;
        int responso;
        int arrNum;
    } cases[] = {{1, true, 1, 3}, {2, true, 1, 4}, {3, true, 0, 0}, {4, false, 0, 0}};
    for (const auto& c : cases) {
        QuizStatement s;
        EXPECT_EQ(m_bank.readStatement(c.recNo, &s), c.ok) << c.recNo;
        if (c.ok) {
            EXPECT_EQ(s.Responso, c.responso) << c.recNo;
            EXPECT_EQ(s.ARRnum, c.arrNum) << c.recNo;
        }
    }
    QuizStatement s;
    m_bank.readStatement(1, &s);
    EXPECT_EQ(s.Aff[0], QString::fromUtf8("à destra"));
    EXPECT_EQ(s.PercErr, 10);
    EXPECT_TRUE(s.Aff[1].isEmpty());  // no Lingua1 field: empty, not a failure
}

TEST_F(QuestionBankTest, FindsAStatementByBlockAndIdOnly)
{
    test::writeBank(path(), {row("17025", "7", true, QStringLiteral("a")), row("17026", "7", true, QStringLiteral("b")),
                             row("17026", "A1", true, QStringLiteral("c"))});
    ASSERT_TRUE(m_bank.open(path()));
    QuizStatement s;
    ASSERT_TRUE(m_bank.readStatement(m_bank.find(QStringLiteral("17026"), QStringLiteral("7")), &s));
    EXPECT_EQ(s.Aff[0], QStringLiteral("b"));
    ASSERT_TRUE(m_bank.readStatement(m_bank.find(QStringLiteral("17025"), QStringLiteral("0007")), &s));  // padded lesson id
    EXPECT_EQ(s.Aff[0], QStringLiteral("a"));
    ASSERT_TRUE(m_bank.readStatement(m_bank.find(QStringLiteral("17026"), QStringLiteral("A1")), &s));
    EXPECT_EQ(s.Aff[0], QStringLiteral("c"));
    EXPECT_EQ(m_bank.find(QStringLiteral("17026"), QStringLiteral("a1")), 0);
    EXPECT_EQ(m_bank.find(QStringLiteral("17025"), QStringLiteral("8")), 0);
    EXPECT_EQ(m_bank.find(QStringLiteral("17099"), QStringLiteral("7")), 0);
}

// The one write into a bank changes the captions asked for and nothing else,
// in the form the file came in.
TEST_F(QuestionBankTest, CaptionWriteBackKeepsEveryOtherByte)
{
    for (SaveFormat format : {SaveFormat::Utf8, SaveFormat::Ascii}) {
        // A field and attributes this program does not know are kept too.
        DataTable t;
        QList<FieldDef> fields = questionBankFields();
        FieldDef nota = FieldDef::text(QStringLiteral("Nota"), 20);
        nota.extraAttributes = {{QStringLiteral("required"), QStringLiteral("true")}};
        fields.insert(3, nota);
        ASSERT_TRUE(t.createFromFields(fields));
        ASSERT_TRUE(t.addIndex(QStringLiteral("PerBlocco"), QStringLiteral("Blocco;id")));
        for (const BankRow& r : {row("17025", "1", true, QString::fromUtf8("È vietato"), "805", "1", "Vecchio"),
                                 row("17025", "2", false, QStringLiteral("b")),
                                 row("17026", "1", true, QString::fromUtf8("Straße"))})
            ASSERT_TRUE(appendBankRow(t, r));
        ASSERT_TRUE(t.setRecNo(3) && t.edit() && t.setField(QStringLiteral("Nota"), QStringLiteral("da rivedere")) && t.post());
        ASSERT_TRUE(t.saveToFile(path(), format));
        QByteArray expected = contents(path());
        ASSERT_TRUE(m_bank.open(path()));
        ASSERT_TRUE(m_bank.setCaptions({{1, QString::fromUtf8("Precedenza è <nuova>")}, {2, QStringLiteral("Titolo")}}));
        const QByteArray caption = format == SaveFormat::Utf8 ? QByteArray("Precedenza è &lt;nuova&gt;")
                                                              : QByteArray("Precedenza &#232; &lt;nuova&gt;");
        expected.replace("Info2=\"Vecchio\"", "Info2=\"" + caption + "\"");
        const QByteArray after = contents(path());
        // Row 2 had no caption: its attribute is new, before Audio1.
        QByteArray withRow2 = expected;
        withRow2.replace("id=\"2\" Risposta=\"FALSE\" Testo=\"b\" Lingua1=\"fr b\" Lingua2=\"de b\" Difficolta=\"2\" Domanda=\"1\"",
                         "id=\"2\" Risposta=\"FALSE\" Testo=\"b\" Lingua1=\"fr b\" Lingua2=\"de b\" Difficolta=\"2\" Domanda=\"1\" Info2=\"Titolo\"");
        EXPECT_EQ(after, withRow2);
        QuestionBank back;
        ASSERT_TRUE(back.open(path()));
        EXPECT_EQ(back.caption(1), QString::fromUtf8("Precedenza è <nuova>"));
        EXPECT_EQ(back.caption(3), QString());
        EXPECT_TRUE(after.contains("Nota=\"da rivedere\""));
        EXPECT_TRUE(after.contains("required=\"true\""));
        EXPECT_TRUE(after.contains("PerBlocco"));
    }
}

TEST_F(QuestionBankTest, AFailedWriteLeavesFileAndCaptionsAsTheyWere)
{
    std::vector<BankRow> rows = test::blockRows("17025", 40);
    rows[0].Info2 = QStringLiteral("Vecchio");
    test::writeBank(path(), rows);
    const QByteArray before = contents(path());
    ASSERT_TRUE(m_bank.open(path()));

    // A caption longer than the field holds is refused before anything is written.
    QString error;
    bool writeFailed = true;
    EXPECT_FALSE(m_bank.setCaptions({{2, QStringLiteral("ok")}, {1, QString(200, QLatin1Char('x'))}}, &error, &writeFailed));
    EXPECT_FALSE(writeFailed);
    EXPECT_EQ(m_bank.caption(2), QString());
    EXPECT_FALSE(m_bank.setCaptions({{99, QStringLiteral("x")}}, &error));

    // A full disk: the write stops part way.
    struct rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool stored = m_bank.setCaptions({{1, QStringLiteral("Nuovo")}}, &error, &writeFailed);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(stored);
    EXPECT_TRUE(writeFailed);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(contents(path()), before);
    EXPECT_EQ(m_bank.caption(1), QStringLiteral("Vecchio"));
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files).size(), 1);  // no temporary left behind
}

}  // namespace
}  // namespace ziro
