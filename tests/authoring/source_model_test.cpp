#include "authoring/source_model.h"

#include "authoring/source_fixture.h"

#include <QDir>

#include <gtest/gtest.h>

namespace ziro {
namespace {

using test::Rec;
using test::SourceFixture;

TEST(SourceTopic, ChapterLetterTakesItsHundredTopicsAndALongerCodeOnlyItself)
{
    struct Case {
        const char* filter;
        const char* argomento;
        bool accepted;
    } cases[] = {
        {"B", "B00", true},   {"B", "B42", true},  {"B", "B99", true}, {"B", "", false},
        {"B", "C00", false},  {"B", "A99", false}, {"B", "B99x", false}, {"B01", "B01", true},
        {"B01", "B011", false}, {"B01", "B02", false}, {"", "", true},  {"", "Z99", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(topicAccepts(QString::fromLatin1(c.filter), QString::fromLatin1(c.argomento)), c.accepted)
            << c.filter << " / " << c.argomento;
}

TEST(SourceBlocks, EditionCdeTakesSevenCharactersTheOthersFive)
{
    EXPECT_EQ(blockOfDomanda(QStringLiteral(" 1234567 "), TModoQuiz::mqCD), QStringLiteral("1234567"));
    EXPECT_EQ(blockOfDomanda(QStringLiteral("1234567"), TModoQuiz::mqAB), QStringLiteral("34567"));
    EXPECT_EQ(blockOfDomanda(QStringLiteral("d00123"), TModoQuiz::mqAM), QStringLiteral("00123"));
    EXPECT_EQ(blockOfDomanda(QStringLiteral("   "), TModoQuiz::mqAB), QString());
}

TEST(SourceStatementCode, FitsItsDigitsOrIsRefused)
{
    EXPECT_EQ(statementCode(QStringLiteral("123"), true, QStringLiteral("7"), QStringLiteral("45")),
              QStringLiteral("    123V0007S045"));
    EXPECT_EQ(statementCode(QStringLiteral("1234567"), false, QStringLiteral("0012"), QString()),
              QStringLiteral("1234567F0012S000"));
    EXPECT_EQ(statementCode(QStringLiteral("5"), true, QStringLiteral("9999"), QStringLiteral("999")),
              QStringLiteral("      5V9999S999"));
    // Each of these would have been written as some other statement's code.
    EXPECT_FALSE(statementCode(QStringLiteral("5"), true, QStringLiteral("10000"), QStringLiteral("1")));
    EXPECT_FALSE(statementCode(QStringLiteral("5"), true, QStringLiteral("7"), QStringLiteral("1000")));
    EXPECT_FALSE(statementCode(QStringLiteral("5"), true, QStringLiteral("x7"), QStringLiteral("1")));
    EXPECT_FALSE(statementCode(QStringLiteral("5"), true, QString(), QStringLiteral("1")));
    EXPECT_FALSE(statementCode(QStringLiteral("12345678"), true, QStringLiteral("7"), QStringLiteral("1")));
}

TEST(SourceUserPhotos, OnlyFourDigitNamesFrom9000AreOffered)
{
    struct Case {
        const char* name;
        const char* value;  // "" = refused
    } cases[] = {
        {"9000.BMP", "9000"}, {"9012.bmp", "9012"}, {"9999.Bmp", "9999"}, {"0042 x.BMP", ""},
        {"0042.BMP", ""},     {"8999.BMP", ""},     {"9012a.BMP", ""},    {"abcd.BMP", ""},
        {"9001.KXB", ""},     {"90012.BMP", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(userPhotoValue(QString::fromLatin1(c.name)).value_or(QString()), QString::fromLatin1(c.value))
            << c.name;
}

TEST(SourcePaging, SixteenEntriesMakeTwoPages)
{
    PhotoPaging p{0, 16};
    EXPECT_EQ(p.counter(), QStringLiteral("1 / 2"));
    EXPECT_FALSE(p.canBack());
    EXPECT_TRUE(p.canForward());
    p.move(3);
    EXPECT_EQ(p.start, 15);
    EXPECT_EQ(p.counter(), QStringLiteral("2 / 2"));
    EXPECT_FALSE(p.canForward());
    p.move(3);
    EXPECT_EQ(p.start, 15);
    p.move(2);
    p.move(2);
    EXPECT_EQ(p.start, 0);
    p.move(4);
    EXPECT_EQ(p.start, 15);
    PhotoPaging exact{0, 15};
    EXPECT_EQ(exact.counter(), QStringLiteral("1 / 1"));
    EXPECT_FALSE(exact.canForward());
    exact.move(4);
    EXPECT_EQ(exact.start, 0);
}

TEST_F(SourceFixture, AnEditionSourceFiltersByTopicAndListsBlocksLast)
{
    writeAB();
    SourceModel m(dirs, reports);
    m.setTopicMarker(0);
    ASSERT_EQ(m.applySourceType(0), SourceModel::Outcome::Applied);
    EXPECT_EQ(m.counter(), QStringLiteral("1 / 4"));
    EXPECT_EQ(m.blocks(), (QStringList{"00010", "00020", "00030", "-----"}));

    // Without topic files the combo holds the chapter headings and the photo item.
    ASSERT_GE(m.topics().size(), 3u);
    EXPECT_EQ(m.topics().back().text, QStringLiteral("SELEZIONE FOTO"));
    EXPECT_EQ(m.topics()[1].code, QStringLiteral("B"));
    m.selectTopic(1);
    EXPECT_EQ(m.filter(), QStringLiteral("B"));
    EXPECT_EQ(m.recordCount(), 3);
    EXPECT_EQ(m.blocks(), (QStringList{"00010", "00020", "-----"}));
    EXPECT_FALSE(m.canBack());
    m.navigate(4);
    EXPECT_EQ(m.field(QStringLiteral("Argomento")), QStringLiteral("B99"));
    EXPECT_FALSE(m.canForward());
    EXPECT_EQ(m.counter(), QStringLiteral("3 / 3"));
    m.navigate(2);
    EXPECT_EQ(m.currentBlock(), QStringLiteral("-----"));
    EXPECT_TRUE(m.statements().empty());
    m.selectTopic(0);
    EXPECT_EQ(m.filter(), QString());
    EXPECT_EQ(m.recordCount(), 4);
}

TEST_F(SourceFixture, ABlockLoadsItsCodableStatementsOnlyAndLogsTheRest)
{
    writeAB();
    SourceModel m(dirs, reports);
    m.setTopicMarker(0);
    m.applySourceType(0);
    ASSERT_EQ(m.currentBlock(), QStringLiteral("00010"));
    ASSERT_EQ(m.statements().size(), 2u);
    EXPECT_EQ(m.statements()[0].line, QStringLiteral("  00010V0007S045Testo uno"));
    EXPECT_TRUE(m.statements()[0].truth);
    EXPECT_EQ(m.statements()[1].line, QStringLiteral("  00010F0008S000Testo due"));
    EXPECT_FALSE(m.statements()[1].truth);
    EXPECT_EQ(reports.log.filter(QStringLiteral("20 Blocco 00010")).size(), 2);
    EXPECT_TRUE(m.figurePath(0).endsWith(QStringLiteral("PicSgn/45.BMP")));
    EXPECT_EQ(m.film(), QStringLiteral("v7"));
    EXPECT_EQ(m.blockDiagnostic(), QStringLiteral("Domanda (vecchia num): 00010, Blocco (nuova num): 00010\r\n"
                                                  "Indice: 1, NumAff: 2, SegnaleCorrente: 101\r\n\r\n"
                                                  "1] True, {45}   Testo uno (0)\r\n"
                                                  "1] False, {}   Testo due (0)\r\n"));
}

TEST_F(SourceFixture, SeventyOneStatementsGiveSeventyLinesAndAReport)
{
    std::vector<BankRow> rows;
    for (int i = 1; i <= 71; ++i)
        rows.push_back({"00123", QString::number(i), i % 2 == 0, QStringLiteral("T%1").arg(i), {}, {}, 0, "", "1"});
    writeBank(QStringLiteral("NQM2016.XML"), rows);
    QuestionBank bank;
    ASSERT_TRUE(bank.open(dirs.DirProgram + QStringLiteral("NQM2016.XML")));
    const auto lines = loadBlockStatements(bank, QStringLiteral("00123"), reports);
    ASSERT_EQ(lines.size(), 70u);
    EXPECT_EQ(lines.back().text(), QStringLiteral("T70"));
    EXPECT_EQ(reports.log.filter(QStringLiteral("oltre le 70")).size(), 1);
}

TEST_F(SourceFixture, AnAmBlockLeadsToItsRecordWithTheLetterD)
{
    writeTable(QStringLiteral("AAM2015.XML"), {Rec(1, "A01", {{"Domanda", "d00100"}}),
                                               Rec(2, "A02", {{"Domanda", "d00123"}, {"Nome segnale", "77"}})});
    SourceModel m(dirs, reports);
    m.setTopicMarker(0);
    ASSERT_EQ(m.applySourceType(4), SourceModel::Outcome::Applied);
    EXPECT_EQ(m.tipo(), 4);
    // No AM bank in this installation: said in front of the class.
    EXPECT_TRUE(reports.log.contains(QStringLiteral("10 Quiz AM | Errore: Database quesiti non caricato.")));
    EXPECT_EQ(m.blocks(), (QStringList{"00100", "00123", "-----"}));
    ASSERT_TRUE(m.chooseBlock(QStringLiteral("00123")));
    EXPECT_EQ(m.signName(), QStringLiteral("77"));
    EXPECT_FALSE(m.chooseBlock(QStringLiteral("99999")));
    EXPECT_EQ(m.signName(), QStringLiteral("77"));
}

TEST_F(SourceFixture, AMissingEditionIsReportedAndLeavesAnEmptySource)
{
    SourceModel m(dirs, reports);
    EXPECT_EQ(m.applySourceType(5), SourceModel::Outcome::Applied);
    EXPECT_FALSE(m.isOpen());
    EXPECT_FALSE(m.hasRecord());
    EXPECT_FALSE(m.signDrag());
    EXPECT_FALSE(m.topicRecords(QStringLiteral("B")));
    EXPECT_TRUE(reports.log.filter(QStringLiteral("1 Quiz CDE")).size() == 1) << reports.log.join('\n').toStdString();
    m.navigate(3);
    EXPECT_EQ(m.counter(), QStringLiteral("0 / 0"));
    EXPECT_EQ(m.applySourceType(9), SourceModel::Outcome::Invalid);
    EXPECT_TRUE(reports.log.contains(
        QStringLiteral("20 Tipo sorgente non valido | Impossibile navigare la sorgente selezionata")));
}

TEST_F(SourceFixture, AnEditionThatCannotBeOpenedLeavesTheTableAndBankItHad)
{
    writeAB();
    touch(dirs.DirProgram + QStringLiteral("ACQ2021.XML"), "<not a table");
    SourceModel m(dirs, reports);
    m.setTopicMarker(0);
    m.applySourceType(0);
    m.applySourceType(6);
    EXPECT_EQ(reports.log.filter(QStringLiteral("2 Quiz CQC")).size(), 1) << reports.log.join('\n').toStdString();
    EXPECT_EQ(m.sourceType(), SourceType::QuizAB);
    EXPECT_EQ(m.tipo(), 0);
    EXPECT_EQ(m.recordCount(), 4);
    EXPECT_EQ(m.statements().size(), 2u);
}

TEST_F(SourceFixture, AnInstallationWithoutPictureListsOrUserFolderIsReportedOnce)
{
    ASSERT_TRUE(QDir(dirs.DirFotoUtente).removeRecursively());
    SourceModel m(dirs, reports);
    m.checkInstallation();
    EXPECT_EQ(reports.log,
              (QStringList{QStringLiteral("3 Foto Utente | ") + dirs.DirFotoUtente,
                           QStringLiteral("20 Preview segnali extra | File ") + dirs.DirProgram +
                               QStringLiteral("SEGN EXTRA.TXT non trovato!"),
                           QStringLiteral("20 Preview nuove foto | File ") + dirs.DirProgram +
                               QStringLiteral("FOTO NUOVE.TXT non trovato!")}));
    // With nothing to page through, every picture source falls back.
    for (int type : {1, 2, 3})
        EXPECT_EQ(m.applySourceType(type), SourceModel::Outcome::FellBack) << type;
}

TEST_F(SourceFixture, MovedFoldersAreReadAtTheNextApply)
{
    writeAB();
    SourceModel m(dirs, reports);
    m.setTopicMarker(0);
    m.applySourceType(0);
    ASSERT_EQ(m.recordCount(), 4);
    Folders moved = dirs;
    moved.DirProgram = dirs.DirFoto;  // holds no tables
    m.setFolders(moved);
    m.applySourceType(0);
    EXPECT_EQ(reports.log.filter(QStringLiteral("1 Quiz AB")).size(), 1);
    // The table that could be read stays the source.
    EXPECT_EQ(m.recordCount(), 4);
    m.setFolders(dirs);
    m.applySourceType(0);
    EXPECT_EQ(reports.log.filter(QStringLiteral("1 Quiz AB")).size(), 1);
}

TEST_F(SourceFixture, EmptyUserPhotosFallBackToAbAndThePhotoItemOpensThem)
{
    writeAB();
    SourceModel m(dirs, reports);
    m.setTopicMarker(0);
    m.applySourceType(0);
    const int photoItem = int(m.topics().size()) - 1;
    touch(dirs.DirFotoUtente + QStringLiteral("0042 x.BMP"));
    touch(dirs.DirFotoUtente + QStringLiteral("8999.BMP"));
    EXPECT_EQ(m.selectTopic(photoItem), SourceModel::Outcome::FellBack);
    EXPECT_EQ(m.sourceType(), SourceType::QuizAB);
    EXPECT_TRUE(m.combosEnabled());

    touch(dirs.DirFotoUtente + QStringLiteral("9012.bmp"));
    touch(dirs.DirFotoUtente + QStringLiteral("9012.BMP"));  // the same number: offered once
    touch(dirs.DirFotoUtente + QStringLiteral("9001.BMP"));
    EXPECT_EQ(m.selectTopic(photoItem), SourceModel::Outcome::Applied);
    EXPECT_EQ(m.sourceType(), SourceType::FotoUtente);
    EXPECT_FALSE(m.combosEnabled());
    EXPECT_EQ(m.topicIndex(), photoItem);
    ASSERT_EQ(m.entries().size(), 2u);
    EXPECT_EQ(m.entries()[0].value, QStringLiteral("9001"));
    EXPECT_EQ(m.pictureInfo(22), QStringLiteral("f 9012"));
    EXPECT_TRUE(m.picturePath(22).endsWith(QStringLiteral("9012.BMP")));
    EXPECT_EQ(m.pictureInfo(23), QString());
    EXPECT_FALSE(m.pictureDrag(23));
    const auto drag = m.pictureDrag(21);
    ASSERT_TRUE(drag);
    EXPECT_EQ(drag->origin, DragOrigin::SourcePhoto);
    EXPECT_EQ(drag->photoValue, QStringLiteral("9001"));
    EXPECT_TRUE(drag->photoCaption.isEmpty());
}

TEST_F(SourceFixture, NewPhotosPageByFifteenAndSkipLinesThatStoreNothingUseful)
{
    writeAB();
    QByteArray list;
    for (int i = 1; i <= 16; ++i) {
        const QString name = QStringLiteral("%1.KXB").arg(7000 + i);
        touch(dirs.DirFoto + name);
        list += name.toLatin1() + "\r\n";
    }
    // Nothing left once the extension is cut; a user photograph's number; a
    // missing file; a path out of the folder.
    touch(dirs.DirFoto + QStringLiteral(".KXB"));
    touch(dirs.DirFoto + QStringLiteral("9005.KXB"));
    list += ".KXB\r\n9005.KXB\r\n7999.KXB\r\n../7001.KXB\r\n\r\n";
    touch(dirs.DirProgram + QStringLiteral("FOTO NUOVE.TXT"), list);

    SourceModel m(dirs, reports);
    m.setTopicMarker(0);
    m.applySourceType(0);
    m.navigate(3);
    const QString before = m.field(QStringLiteral("NumRec"));
    ASSERT_EQ(m.applySourceType(1), SourceModel::Outcome::Applied);
    EXPECT_EQ(m.entries().size(), 16u);
    EXPECT_EQ(reports.log.filter(QStringLiteral("20 Preview nuove foto")).size(), 4);
    EXPECT_EQ(m.counter(), QStringLiteral("1 / 2"));
    EXPECT_TRUE(m.signName().isEmpty());
    EXPECT_TRUE(m.statements().empty());
    EXPECT_FALSE(m.canBack());
    EXPECT_EQ(m.pictureInfo(21), QStringLiteral("f 7001"));
    m.navigate(3);
    EXPECT_EQ(m.counter(), QStringLiteral("2 / 2"));
    EXPECT_EQ(m.pictureInfo(21), QStringLiteral("f 7016"));
    EXPECT_TRUE(m.picturePath(22).isEmpty());
    EXPECT_FALSE(m.canForward());
    EXPECT_TRUE(m.canBack());

    // Back to the edition: the record kept while the pictures were shown.
    m.applySourceType(0);
    EXPECT_FALSE(m.photoMode());
    EXPECT_EQ(m.field(QStringLiteral("NumRec")), before);
    EXPECT_EQ(m.counter(), QStringLiteral("2 / 4"));
}

TEST_F(SourceFixture, DragsCarryWhatTheDropNeeds)
{
    writeAB();
    SourceModel m(dirs, reports);
    m.setTopicMarker(0);
    m.applySourceType(0);

    const auto sign = m.signDrag();
    ASSERT_TRUE(sign);
    EXPECT_EQ(sign->origin, DragOrigin::SourceSign);
    EXPECT_EQ(sign->tipo, 0);
    EXPECT_EQ(sign->record.value(QStringLiteral("Nome segnale")), QStringLiteral("101"));
    EXPECT_EQ(sign->record.value(QStringLiteral("Icona1")), QStringLiteral("i1"));
    EXPECT_EQ(sign->record.value(QStringLiteral("Domanda")), QStringLiteral("00010"));
    EXPECT_EQ(sign->codes, (QStringList{"  00010V0007S045", "  00010F0008S000"}));

    const auto block = m.blockDrag();
    ASSERT_TRUE(block);
    EXPECT_EQ(block->origin, DragOrigin::BlockCombo);
    EXPECT_EQ(block->codes, sign->codes);

    const auto chosen = m.statementsDrag({1});
    ASSERT_TRUE(chosen);
    EXPECT_EQ(chosen->origin, DragOrigin::SourceStatements);
    EXPECT_EQ(chosen->codes, QStringList{"  00010F0008S000"});
    // Lines go in list order, each once, whatever order they were picked in.
    EXPECT_EQ(m.statementsDrag({1, 0, 1})->codes, sign->codes);
    EXPECT_FALSE(m.statementsDrag({5}));

    const auto photo = m.pictureDrag(21);
    ASSERT_TRUE(photo);
    EXPECT_EQ(photo->tag, 21);
    EXPECT_EQ(photo->photoValue, QStringLiteral("12"));
    EXPECT_EQ(photo->photoCaption, QStringLiteral("Curva"));
    EXPECT_FALSE(m.pictureDrag(22));  // an empty Foto2 stands for nothing

    m.navigate(2 + 1);  // record 2: no block
    EXPECT_FALSE(m.blockDrag());
    ASSERT_TRUE(m.signDrag());
    EXPECT_TRUE(m.signDrag()->codes.isEmpty());

    m.selectTopic(1);
    const auto topic = m.topicDrag();
    ASSERT_TRUE(topic);
    EXPECT_EQ(topic->topic, QStringLiteral("B"));
}

TEST_F(SourceFixture, ExtraSignsCarryTheIconsOfTheRecordWithThatSign)
{
    writeAB();
    touch(dirs.DirPicSgn + QStringLiteral("X1.BMP"));
    touch(dirs.DirPicSgn + QStringLiteral("X2.bmp"));
    touch(dirs.DirProgram + QStringLiteral("SEGN EXTRA.TXT"), "X1.BMP\nX2.BMP\nX3.BMP\n");
    SourceModel m(dirs, reports);
    m.applySourceType(0);
    ASSERT_EQ(m.applySourceType(3), SourceModel::Outcome::Applied);
    ASSERT_EQ(m.entries().size(), 2u);  // X3 has no picture
    EXPECT_EQ(m.pictureInfo(21), QString());
    const auto found = m.pictureDrag(21);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->origin, DragOrigin::ExtraSign);
    EXPECT_EQ(found->extraSign, QStringLiteral("X1"));
    EXPECT_TRUE(found->extraSignFound);
    EXPECT_EQ(found->record.value(QStringLiteral("Icona2")), QStringLiteral("b"));
    const auto alone = m.pictureDrag(22);
    ASSERT_TRUE(alone);
    EXPECT_EQ(alone->extraSign, QStringLiteral("X2"));
    EXPECT_FALSE(alone->extraSignFound);
    EXPECT_TRUE(alone->record.isEmpty());
}

TEST_F(SourceFixture, TopicRecordsAreTheRecordsWithABlockWithTheirCodes)
{
    writeAB();
    SourceModel m(dirs, reports);
    m.setTopicMarker(0);
    m.applySourceType(0);
    m.navigate(4);
    const auto records = m.topicRecords(QStringLiteral("B"));
    ASSERT_TRUE(records);
    ASSERT_EQ(records->size(), 2u);
    EXPECT_EQ((*records)[0].record.value(QStringLiteral("Domanda")), QStringLiteral("00010"));
    EXPECT_EQ((*records)[0].codes.size(), 2);
    EXPECT_EQ((*records)[1].codes, QStringList{"  00020F0001S003"});
    EXPECT_EQ((*records)[1].origin, DragOrigin::BlockCombo);
    EXPECT_FALSE(m.topicRecords(QStringLiteral("SELEZIONE FOTO")));
    // The walk does not move the source.
    EXPECT_EQ(m.field(QStringLiteral("Argomento")), QStringLiteral("C00"));
}

}  // namespace
// A source photograph's caption written in the viewer stays with the record
// it was opened on, reaches the edition's file, and the lesson's table over
// the same file takes it too without moving from its record.
TEST_F(SourceFixture, ASourcePhotographsCaptionIsBoundToItsRecord)
{
    writeAB();
    SourceModel m(dirs, reports);
    m.setTopicMarker(0);
    m.applySourceType(0);
    const QString file = dirs.DirProgram + QStringLiteral("AAB2016.XML");
    // The lesson's table opened on the same edition, as the program opens it.
    DataTable lesson;
    lesson.setFileName(file);
    ASSERT_TRUE(lesson.open());
    lesson.last();
    const int lessonRec = lesson.recNo();
    DataTable other;
    ASSERT_TRUE(test::buildTable(other, {Rec(1, "B01", {{"TxtF1", "altra"}})}));

    EXPECT_FALSE(m.pictureCaptions(22));  // Foto2 is empty
    std::unique_ptr<CaptionTable> captions = m.pictureCaptions(21, &lesson);
    ASSERT_TRUE(captions);
    std::unique_ptr<CaptionTable> unrelated = m.pictureCaptions(21, &other);
    m.navigate(3);
    ASSERT_EQ(m.field(QStringLiteral("NumRec")), QStringLiteral("2"));
    EXPECT_EQ(captions->fieldText(QStringLiteral("TxtF1")), QStringLiteral("Curva"));
    QString error;
    ASSERT_TRUE(captions->storeAndSave(QStringLiteral("TxtF1"), QStringLiteral("Curva a destra*#"), &error))
        << qPrintable(error);
    ASSERT_TRUE(unrelated->storeAndSave(QStringLiteral("TxtF1"), QStringLiteral("Curva a destra*#"), &error));

    EXPECT_EQ(m.field(QStringLiteral("NumRec")), QStringLiteral("2"));
    EXPECT_EQ(m.field(QStringLiteral("TxtF1")), QString());
    DataTable onDisk;
    ASSERT_TRUE(onDisk.loadFromFile(file));
    ASSERT_TRUE(onDisk.locate(QStringLiteral("NumRec"), QStringLiteral("1")));
    EXPECT_EQ(onDisk.fieldText(QStringLiteral("TxtF1")), QStringLiteral("Curva a destra*#"));
    ASSERT_TRUE(onDisk.locate(QStringLiteral("NumRec"), QStringLiteral("2")));
    EXPECT_EQ(onDisk.fieldText(QStringLiteral("TxtF1")), QString());
    EXPECT_EQ(lesson.recNo(), lessonRec);
    EXPECT_EQ(lesson.fieldTextAt(1, lesson.fieldIndex(QStringLiteral("TxtF1"))), QStringLiteral("Curva a destra*#"));
    EXPECT_EQ(other.fieldText(QStringLiteral("TxtF1")), QStringLiteral("altra"));
}

}  // namespace ziro
