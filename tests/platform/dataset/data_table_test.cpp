#include "platform/dataset/data_table.h"

#include <QFile>
#include <QTemporaryDir>

#include <string>

#include <gtest/gtest.h>

namespace ziro {
namespace {

struct Record
{
    int numRec;
    const char* argomento;  // nullptr: absent
    const char* segnale;
};

// File order on purpose unlike every order the tests set.
const Record kRecords[] = {
    {30, "B00", "10"}, {10, "A01", "f20"}, {20, "A01", "20"}, {40, "H17", "30"},
    {50, "H05", "40"}, {5, "C02", "50"},   {60, nullptr, "60"}, {45, "H17", "70"},
};

class DataTableTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_table.createFromFields({FieldDef::integer(QStringLiteral("NumRec")), FieldDef::text(QStringLiteral("Argomento"), 3),
                                              FieldDef::text(QStringLiteral("Nome segnale"), 5), FieldDef::text(QStringLiteral("Testo"), 20)}));
        for (const Record& r : kRecords) {
            ASSERT_TRUE(m_table.append());
            ASSERT_TRUE(m_table.setField(QStringLiteral("NumRec"), r.numRec));
            if (r.argomento) {
                ASSERT_TRUE(m_table.setField(QStringLiteral("Argomento"), QString::fromUtf8(r.argomento)));
            }
            ASSERT_TRUE(m_table.setField(QStringLiteral("Nome segnale"), QString::fromUtf8(r.segnale)));
            ASSERT_TRUE(m_table.post());
        }
        // Start from a table as read from a file: unmodified.
        ASSERT_TRUE(m_table.loadFromData(m_table.toXml(SaveFormat::Utf8), QStringLiteral("fixture")));
    }

    // NumRec of every record of the range, walking it from the start.
    std::vector<int> walk()
    {
        std::vector<int> numbers;
        for (m_table.first(); !m_table.eof(); m_table.next())
            numbers.push_back(m_table.fieldInt(QStringLiteral("NumRec")));
        return numbers;
    }

    DataTable m_table;
};

using Numbers = std::vector<int>;

TEST_F(DataTableTest, OrdersAndRestrictsToKeyRanges)
{
    EXPECT_EQ(walk(), (Numbers{30, 10, 20, 40, 50, 5, 60, 45}));  // no order: file order
    ASSERT_TRUE(m_table.setIndexFieldNames(QStringLiteral("Argomento;NumRec")));
    EXPECT_EQ(walk(), (Numbers{60, 10, 20, 30, 5, 50, 40, 45}));

    struct Case
    {
        QVariantList start, end;
        Numbers expected;
    };
    const Case cases[] = {
        {{"A01"}, {"A01"}, {10, 20}},
        {{"B00"}, {"H17"}, {30, 5, 50, 40, 45}},
        {{"H"}, {"HZ"}, {50, 40, 45}},              // a topic group by prefix
        {{"A01", 15}, {"H17", 40}, {20, 30, 5, 50, 40}},
        {{"A01", "0"}, {"A01", "999999"}, {10, 20}},
        {{"Z"}, {"ZZ"}, {}},
        {{"H17"}, {"A01"}, {}},                     // start after end
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(m_table.setRange(c.start, c.end));
        EXPECT_EQ(m_table.recordCount(), int(c.expected.size()));
        EXPECT_EQ(m_table.recNo(), c.expected.empty() ? 0 : 1);
        EXPECT_TRUE(m_table.bof());
        EXPECT_EQ(m_table.eof(), c.expected.empty());
        EXPECT_EQ(walk(), c.expected);
    }
    // Empty range: nothing to read, moving is harmless.
    m_table.next();
    m_table.prior();
    EXPECT_TRUE(m_table.bof() && m_table.eof());
    EXPECT_EQ(m_table.fieldText(QStringLiteral("NumRec")), QString());
    EXPECT_FALSE(m_table.edit());

    ASSERT_TRUE(m_table.setRange({"B00"}, {"H17"}));
    ASSERT_TRUE(m_table.locate(QStringLiteral("NumRec"), QStringLiteral("50")));
    m_table.cancelRange();  // keeps the current record
    EXPECT_EQ(m_table.fieldInt(QStringLiteral("NumRec")), 50);
    EXPECT_EQ(m_table.recNo(), 6);
    EXPECT_EQ(m_table.recordCount(), 8);

    QString error;
    EXPECT_FALSE(m_table.setRange({"A01", "dieci"}, {"A01"}, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(m_table.setRange({"A01", 1, 2}, {"A01"}));

    ASSERT_TRUE(m_table.setIndexFieldNames(QStringLiteral("NumRec")));
    EXPECT_EQ(walk(), (Numbers{5, 10, 20, 30, 40, 45, 50, 60}));
    EXPECT_FALSE(m_table.setIndexFieldNames(QStringLiteral("Argomento;Nessuno")));

    // A named descending index orders the whole key downwards; equal keys
    // keep their file order.
    ASSERT_TRUE(m_table.AggiungiIndice(QStringLiteral("_Argomento"), QStringLiteral("Argomento"), IndexOption::Descending));
    ASSERT_TRUE(m_table.setIndexName(QStringLiteral("_argomento")));
    EXPECT_EQ(walk(), (Numbers{40, 45, 50, 5, 30, 10, 20, 60}));
    ASSERT_TRUE(m_table.setRange({"H17"}, {"H"}));
    EXPECT_EQ(walk(), (Numbers{40, 45, 50}));
}

// Texts of nine bytes that share their first eight still order by every
// character, both ways, alone or with a second field, and a range on them
// takes exactly the keys between its ends.
TEST_F(DataTableTest, LongTextsOrderByEveryCharacter)
{
    // By file record: NumRec 30, 10, 20, 40, 50, 5, 60, 45.
    const char* texts[] = {"ABCDEFGHZ", "ABCDEFGHA", "ABCDEFGHM", "ABCDEFGH",
                           "ABCDEFGHC", "ABCDEFGHB", "ABCDEFGHA", "ABCDEFGHY"};
    for (int r = 1; r <= 8; ++r) {
        ASSERT_TRUE(m_table.setRecNo(r));
        ASSERT_TRUE(m_table.edit());
        ASSERT_TRUE(m_table.setField(QStringLiteral("Testo"), QString::fromLatin1(texts[r - 1])));
        ASSERT_TRUE(m_table.post());
    }
    const Numbers ascending{40, 10, 60, 5, 50, 20, 45, 30};  // equal texts keep file order
    ASSERT_TRUE(m_table.setIndexFieldNames(QStringLiteral("Testo")));
    EXPECT_EQ(walk(), ascending);
    ASSERT_TRUE(m_table.setRange({"ABCDEFGHA"}, {"ABCDEFGHM"}));
    EXPECT_EQ(walk(), (Numbers{10, 60, 5, 50, 20}));
    ASSERT_TRUE(m_table.setIndexFieldNames(QStringLiteral("Testo;NumRec")));
    EXPECT_EQ(walk(), ascending);
    ASSERT_TRUE(m_table.setRange({"ABCDEFGHB"}, {"ABCDEFGHZ", 29}));
    EXPECT_EQ(walk(), (Numbers{5, 50, 20, 45}));

    ASSERT_TRUE(m_table.AggiungiIndice(QStringLiteral("_Testo"), QStringLiteral("Testo"), IndexOption::Descending));
    ASSERT_TRUE(m_table.setIndexName(QStringLiteral("_Testo")));
    EXPECT_EQ(walk(), (Numbers{30, 45, 20, 50, 5, 10, 60, 40}));
    ASSERT_TRUE(m_table.setRange({"ABCDEFGHM"}, {"ABCDEFGHA"}));
    EXPECT_EQ(walk(), (Numbers{20, 50, 5, 10, 60}));
}

TEST_F(DataTableTest, CursorFlagsAtTheEnds)
{
    m_table.first();
    EXPECT_TRUE(m_table.bof());
    EXPECT_FALSE(m_table.eof());
    EXPECT_EQ(m_table.recNo(), 1);
    m_table.prior();
    EXPECT_TRUE(m_table.bof());
    EXPECT_EQ(m_table.recNo(), 1);
    m_table.next();
    EXPECT_FALSE(m_table.bof() || m_table.eof());
    EXPECT_EQ(m_table.recNo(), 2);

    m_table.last();
    EXPECT_TRUE(m_table.eof());
    EXPECT_EQ(m_table.recNo(), 8);
    m_table.next();
    m_table.next();
    EXPECT_TRUE(m_table.eof());
    EXPECT_EQ(m_table.recNo(), 8);
    EXPECT_EQ(m_table.fieldInt(QStringLiteral("NumRec")), 45);
    m_table.prior();
    EXPECT_FALSE(m_table.eof());
    EXPECT_EQ(m_table.recNo(), 7);

    EXPECT_EQ(m_table.moveBy(-100), -6);
    EXPECT_TRUE(m_table.bof());
    EXPECT_EQ(m_table.moveBy(3), 3);
    EXPECT_EQ(m_table.recNo(), 4);
    EXPECT_TRUE(m_table.setRecNo(8));
    EXPECT_FALSE(m_table.setRecNo(9));
    EXPECT_EQ(m_table.fieldTextAt(2, m_table.fieldIndex(QStringLiteral("NumRec"))), QStringLiteral("10"));
    EXPECT_EQ(m_table.fieldTextAt(9, 0), QString());
}

TEST_F(DataTableTest, LocatesWithinTheRangeInOrder)
{
    ASSERT_TRUE(m_table.setIndexFieldNames(QStringLiteral("Argomento;NumRec")));
    EXPECT_TRUE(m_table.locate(QStringLiteral("numrec"), QStringLiteral(" 40 ")));
    EXPECT_EQ(m_table.recNo(), 7);
    EXPECT_TRUE(m_table.locate(QStringLiteral("Nome segnale"), QStringLiteral("f"), LocateOption::PartialKey));
    EXPECT_EQ(m_table.fieldInt(QStringLiteral("NumRec")), 10);
    EXPECT_FALSE(m_table.locate(QStringLiteral("Nome segnale"), QStringLiteral("F20")));  // values compare exactly
    EXPECT_TRUE(m_table.locate(QStringLiteral("Nome segnale"), QStringLiteral("F20"), LocateOption::CaseInsensitive));
    EXPECT_TRUE(m_table.locate(QStringList{QStringLiteral("Argomento"), QStringLiteral("NumRec")}, QStringList{QStringLiteral("H17"), QStringLiteral("45")}));
    EXPECT_EQ(m_table.recNo(), 8);

    // A miss leaves the cursor where it was.
    EXPECT_FALSE(m_table.locate(QStringLiteral("NumRec"), QStringLiteral("999")));
    EXPECT_FALSE(m_table.locate(QStringLiteral("NumRec"), QStringLiteral("abc")));
    EXPECT_FALSE(m_table.locate(QStringLiteral("Nessuno"), QStringLiteral("1")));
    EXPECT_EQ(m_table.recNo(), 8);

    ASSERT_TRUE(m_table.setRange({"A01"}, {"B00"}));
    EXPECT_FALSE(m_table.locate(QStringLiteral("NumRec"), QStringLiteral("40")));
    EXPECT_FALSE(m_table.locate(QStringLiteral("Argomento"), QString()));
    EXPECT_TRUE(m_table.locate(QStringLiteral("NumRec"), QStringLiteral("30")));
    EXPECT_EQ(m_table.recNo(), 3);
}

TEST_F(DataTableTest, BookmarksSurviveOrderAndRangeButNotDeletionOrReopening)
{
    ASSERT_TRUE(m_table.locate(QStringLiteral("NumRec"), QStringLiteral("50")));
    const Bookmark mark = m_table.bookmark();
    ASSERT_TRUE(m_table.setIndexFieldNames(QStringLiteral("Argomento;NumRec")));
    ASSERT_TRUE(m_table.setRange({"H"}, {"HZ"}));
    m_table.last();
    EXPECT_TRUE(m_table.gotoBookmark(mark));
    EXPECT_EQ(m_table.fieldInt(QStringLiteral("NumRec")), 50);
    EXPECT_EQ(m_table.recNo(), 1);

    ASSERT_TRUE(m_table.setRange({"A01"}, {"A01"}));
    EXPECT_TRUE(m_table.bookmarkValid(mark));
    EXPECT_FALSE(m_table.gotoBookmark(mark));  // outside the range
    EXPECT_EQ(m_table.fieldInt(QStringLiteral("NumRec")), 10);

    m_table.cancelRange();
    ASSERT_TRUE(m_table.gotoBookmark(mark));
    ASSERT_TRUE(m_table.edit());
    ASSERT_TRUE(m_table.setField(QStringLiteral("Testo"), QStringLiteral("modificato")));
    ASSERT_TRUE(m_table.post());
    m_table.first();
    ASSERT_TRUE(m_table.gotoBookmark(mark));  // an edited record keeps its bookmark
    EXPECT_EQ(m_table.fieldText(QStringLiteral("Testo")), QStringLiteral("modificato"));

    ASSERT_TRUE(m_table.deleteRecord());
    EXPECT_FALSE(m_table.bookmarkValid(mark));
    EXPECT_FALSE(m_table.gotoBookmark(mark));
    EXPECT_TRUE(Bookmark().isNull());
    EXPECT_FALSE(m_table.gotoBookmark(Bookmark()));

    const Bookmark other = m_table.bookmark();
    ASSERT_TRUE(m_table.loadFromData(m_table.toXml(SaveFormat::Utf8), QStringLiteral("again")));
    EXPECT_FALSE(m_table.gotoBookmark(other));
}

TEST_F(DataTableTest, EditsAreCheckedPostedInOrderAndCancellable)
{
    ASSERT_TRUE(m_table.setIndexFieldNames(QStringLiteral("Argomento;NumRec")));
    ASSERT_TRUE(m_table.locate(QStringLiteral("NumRec"), QStringLiteral("20")));
    QString error;
    EXPECT_FALSE(m_table.setField(QStringLiteral("Testo"), QStringLiteral("x"), &error));  // not editing

    ASSERT_TRUE(m_table.edit());
    const struct
    {
        const char* field;
        QString value;
    } refused[] = {
        {"Argomento", QStringLiteral("A012")},                     // WIDTH 3
        {"Testo", QString(21, QLatin1Char('x'))},                   // WIDTH 20
        {"NumRec", QStringLiteral("12x")},
        {"NumRec", QStringLiteral("2147483648")},
        {"Testo", QStringLiteral("a\x01" "b")},
        {"Nessuno", QStringLiteral("1")},
    };
    for (const auto& r : refused) {
        SCOPED_TRACE(r.field);
        error.clear();
        EXPECT_FALSE(m_table.setField(QLatin1String(r.field), r.value, &error));
        EXPECT_FALSE(error.isEmpty());
    }
    EXPECT_EQ(m_table.fieldText(QStringLiteral("Argomento")), QStringLiteral("A01"));  // old values kept
    EXPECT_TRUE(m_table.setField(QStringLiteral("Testo"), QStringLiteral("Città è più (20)")));  // 16 characters, more bytes
    EXPECT_TRUE(m_table.setField(QStringLiteral("Argomento"), QStringLiteral("H06")));
    EXPECT_EQ(m_table.fieldText(QStringLiteral("Argomento")), QStringLiteral("H06"));  // pending value
    EXPECT_FALSE(m_table.isModified());
    ASSERT_TRUE(m_table.post());
    EXPECT_TRUE(m_table.isModified());
    // The record moved to its place in the order and the cursor followed it.
    EXPECT_EQ(m_table.fieldInt(QStringLiteral("NumRec")), 20);
    EXPECT_EQ(m_table.recNo(), 6);
    EXPECT_EQ(walk(), (Numbers{60, 10, 30, 5, 50, 20, 40, 45}));

    ASSERT_TRUE(m_table.locate(QStringLiteral("NumRec"), QStringLiteral("5")));
    ASSERT_TRUE(m_table.edit());
    ASSERT_TRUE(m_table.setField(QStringLiteral("Argomento"), QString()));
    m_table.cancel();
    EXPECT_EQ(m_table.fieldText(QStringLiteral("Argomento")), QStringLiteral("C02"));

    ASSERT_TRUE(m_table.append());
    ASSERT_TRUE(m_table.setField(QStringLiteral("NumRec"), 15));
    ASSERT_TRUE(m_table.setField(QStringLiteral("Argomento"), QStringLiteral("A01")));
    m_table.last();  // moving posts the pending record
    EXPECT_EQ(walk(), (Numbers{60, 10, 15, 30, 5, 50, 20, 40, 45}));

    ASSERT_TRUE(m_table.setRange({"A01"}, {"A01"}));
    m_table.last();
    ASSERT_TRUE(m_table.deleteRecord());  // the last of the range: the cursor steps back
    EXPECT_EQ(m_table.fieldInt(QStringLiteral("NumRec")), 10);
    ASSERT_TRUE(m_table.deleteRecord());
    EXPECT_TRUE(m_table.isEmpty());
    EXPECT_TRUE(m_table.bof() && m_table.eof());
    EXPECT_FALSE(m_table.deleteRecord());
    m_table.cancelRange();
    EXPECT_EQ(walk(), (Numbers{60, 30, 5, 50, 20, 40, 45}));
}

TEST_F(DataTableTest, NoticesAndSuspendedControls)
{
    int opened = 0;
    int changed = 0;
    m_table.setOnOpened([&] { ++opened; });
    m_table.setOnRecordChanged([&] { ++changed; });

    m_table.first();
    EXPECT_EQ(changed, 0);  // already there
    m_table.next();
    EXPECT_EQ(changed, 1);
    m_table.last();
    m_table.next();  // at the end: no move, no notice
    EXPECT_EQ(changed, 2);

    // Counting with a bookmark, as the navigation does: no notice.
    m_table.disableControls();
    const Bookmark mark = m_table.bookmark();
    int count = 0;
    for (m_table.first(); !m_table.eof(); m_table.next())
        ++count;
    m_table.gotoBookmark(mark);
    m_table.enableControls();
    EXPECT_EQ(count, 8);
    EXPECT_EQ(changed, 2);

    // A walk that ends elsewhere raises one notice when controls return.
    m_table.disableControls();
    m_table.disableControls();
    m_table.first();
    m_table.next();
    m_table.enableControls();
    EXPECT_EQ(changed, 2);
    m_table.enableControls();
    EXPECT_EQ(changed, 3);

    ASSERT_TRUE(m_table.edit());
    ASSERT_TRUE(m_table.setField(QStringLiteral("Testo"), QStringLiteral("nuovo")));
    ASSERT_TRUE(m_table.post());
    EXPECT_EQ(changed, 4);

    ASSERT_TRUE(m_table.loadFromData(m_table.toXml(SaveFormat::Utf8), QStringLiteral("again")));
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(changed, 5);
}

TEST_F(DataTableTest, MissingFieldsReadAsEmptyAndAreReportedOnce)
{
    QStringList reported;
    m_table.setOnMissingField([&](const QString& name) { reported.append(name); });
    EXPECT_EQ(m_table.fieldIndex(QStringLiteral("Tipo")), -1);
    EXPECT_EQ(m_table.findField(QStringLiteral("Tipo")), nullptr);
    EXPECT_NE(m_table.findField(QStringLiteral("nome segnale")), nullptr);
    EXPECT_EQ(m_table.fieldText(QStringLiteral("Tipo")), QString());
    EXPECT_EQ(m_table.fieldInt(QStringLiteral("Tipo")), 0);
    EXPECT_EQ(m_table.fieldInt(QStringLiteral("TIPO")), 0);
    EXPECT_EQ(reported, QStringList{QStringLiteral("Tipo")});
    // Present but empty reads the same.
    EXPECT_EQ(m_table.fieldText(QStringLiteral("Testo")), QString());
    EXPECT_EQ(m_table.fieldInt(QStringLiteral("Testo")), 0);
}

TEST_F(DataTableTest, AggiungiIndiceAddsANameOnce)
{
    EXPECT_TRUE(m_table.AggiungiIndice(QStringLiteral("_Argomento"), QStringLiteral("Argomento"), IndexOption::Descending));
    EXPECT_TRUE(m_table.AggiungiIndice(QStringLiteral("_ARGOMENTO"), QStringLiteral("NumRec")));
    ASSERT_EQ(m_table.indexDefs().size(), 1);
    EXPECT_EQ(m_table.indexDefs()[0].fields, QStringList{QStringLiteral("Argomento")});
    EXPECT_FALSE(m_table.AggiungiIndice(QStringLiteral("_X"), QStringLiteral("Nessuno")));
    QString error;
    EXPECT_FALSE(m_table.addIndex(QStringLiteral("_Argomento"), QStringLiteral("NumRec"), {}, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(m_table.isModified());  // a definition alone does not make close() write
}

// A deleted record is gone for good: from the table read back and from the
// file's bytes, whether the table was saved by hand or wrote itself back on
// closing, in both forms of the file.
TEST_F(DataTableTest, ADeletedRecordStaysDeletedInTheFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray original = m_table.toXml(SaveFormat::Utf8);
    // ".xml" is written in the plain (ASCII) form, other names in UTF-8.
    for (const char* name : {"Lezione.xml", "AAB2016.XML"}) {
        for (const bool onClose : {false, true}) {
            SCOPED_TRACE(std::string(name) + (onClose ? ", written on closing" : ", saved"));
            const QString file = dir.filePath(QLatin1String(name));
            DataTable table;
            ASSERT_TRUE(table.loadFromData(original, QStringLiteral("fixture")));
            ASSERT_TRUE(table.saveToFile(file, DataTable::saveFormatFor(file)));
            table.setFileName(file);
            ASSERT_TRUE(table.open());

            ASSERT_TRUE(table.locate(QStringLiteral("NumRec"), QStringLiteral("40")));
            ASSERT_TRUE(table.deleteRecord());
            if (onClose)
                ASSERT_TRUE(table.close());
            else
                ASSERT_TRUE(table.saveToFile(file, DataTable::saveFormatFor(file)));

            QFile f(file);
            ASSERT_TRUE(f.open(QIODevice::ReadOnly));
            const QByteArray bytes = f.readAll();
            EXPECT_FALSE(bytes.contains("NumRec=\"40\""));
            EXPECT_FALSE(bytes.contains("=\"30\"/>"));  // its sign name, the row's last value
            EXPECT_TRUE(bytes.contains("NumRec=\"45\""));

            ASSERT_TRUE(table.open());
            EXPECT_EQ(table.recordCount(), 7);
            EXPECT_FALSE(table.locate(QStringLiteral("NumRec"), QStringLiteral("40")));
            EXPECT_TRUE(table.locate(QStringLiteral("NumRec"), QStringLiteral("45")));
        }
    }
}

TEST_F(DataTableTest, CloseWritesBackChangedOrMissingFilesOnly)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    auto contents = [](const QString& file) {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };

    // A new lesson: its file does not exist, so closing writes it, in the
    // plain form for ".xml".
    const QString lesson = dir.filePath(QStringLiteral("Lezione.xml"));
    m_table.setFileName(lesson);
    ASSERT_TRUE(m_table.edit());
    ASSERT_TRUE(m_table.setField(QStringLiteral("Testo"), QStringLiteral("perché")));
    QString error;
    ASSERT_TRUE(m_table.close(&error)) << qPrintable(error);
    EXPECT_FALSE(m_table.isOpen());
    EXPECT_TRUE(contents(lesson).contains("perch&#233;"));  // the pending edit was posted

    // Unchanged, even by an edit that posts the values already there:
    // closing leaves the file alone.
    ASSERT_TRUE(m_table.open(&error)) << qPrintable(error);
    EXPECT_EQ(m_table.recordCount(), 8);
    ASSERT_TRUE(m_table.edit());
    ASSERT_TRUE(m_table.setField(QStringLiteral("Testo"), QStringLiteral("perché")));
    ASSERT_TRUE(m_table.post());
    EXPECT_FALSE(m_table.isModified());
    {
        QFile f(lesson);
        ASSERT_TRUE(f.open(QIODevice::Append));
        f.write("<!-- touched -->");
    }
    ASSERT_TRUE(m_table.close());
    EXPECT_TRUE(contents(lesson).endsWith("<!-- touched -->"));

    // Changed: written back, in UTF-8 for other names.
    const QString edition = dir.filePath(QStringLiteral("AAB2016.XML"));
    ASSERT_TRUE(QFile::copy(lesson, edition));
    m_table.setFileName(edition);
    ASSERT_TRUE(m_table.open());
    ASSERT_TRUE(m_table.edit());
    ASSERT_TRUE(m_table.setField(QStringLiteral("Testo"), QStringLiteral("più")));
    ASSERT_TRUE(m_table.post());
    ASSERT_TRUE(m_table.close());
    EXPECT_TRUE(contents(edition).contains("più"));

    // A write that fails is reported, by close() and by saveToFile().
    ASSERT_TRUE(m_table.open());
    EXPECT_FALSE(m_table.saveToFile(dir.filePath(QStringLiteral("no/such/folder.xml")), SaveFormat::Ascii, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("folder.xml"))) << qPrintable(error);
    m_table.setFileName(dir.filePath(QStringLiteral("no/such/folder.xml")));
    error.clear();
    EXPECT_FALSE(m_table.close(&error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(m_table.isOpen());  // nothing lost unseen
    EXPECT_EQ(m_table.recordCount(), 8);
    m_table.setSaveOnClose(false);
    EXPECT_TRUE(m_table.close());
    EXPECT_FALSE(m_table.isOpen());
}

}  // namespace
}  // namespace ziro
