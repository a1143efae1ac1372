#include "platform/dataset/data_table.h"
#include "platform/dataset/datapacket_reader.h"
#include "platform/dataset/sample_tables.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <utility>

namespace ziro {
namespace {

// A table of the shapes the reader must understand: a field whose real name
// is not an XML name, memos, an unknown FIELD attribute and PARAMS
// attribute, an index definition.
const char kSample[] = R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<DATAPACKET Version="2.0">
<METADATA>
<FIELDS>
<FIELD attrname="NumRec" fieldtype="i4" required="true"/>
<FIELD attrname="Argomento" fieldtype="string" WIDTH="3"/>
<FIELD attrname="Nome_segnale" fieldname="Nome segnale" fieldtype="string" WIDTH="5"/>
<FIELD attrname="Attivo" fieldtype="boolean"/>
<FIELD attrname="Piccolo" fieldtype="i2"/>
<FIELD attrname="TxtF1" fieldtype="bin.hex" SUBTYPE="Text" WIDTH="255"/>
</FIELDS>
<PARAMS LCID="1040" INDEX1="_NumRec|NumRec|primary"/>
</METADATA>
<ROWDATA>
<ROW NumRec="  +007 " Argomento="B00" Nome_segnale="f123" Attivo="TRUE" Piccolo="-5" TxtF1="Riga 1&#13;&#10;Riga&#9;2 &lt;&amp;&quot;&gt; à€"/>
<ROW RowState="4" Argomento="A01" NumRec="2"/>
<ROW NumRec="3" TxtF1="&#128;uro"/>
</ROWDATA>
</DATAPACKET>
)";

class DatapacketIo : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    QString path(const QString& name) const { return m_dir.filePath(name); }
    static QByteArray contents(const QString& file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static void write(const QString& file, const QByteArray& data)
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_EQ(f.write(data), data.size());
    }

    QTemporaryDir m_dir;
};

TEST_F(DatapacketIo, ReadsFieldsValuesAndMetadata)
{
    DataTable t;
    QString error;
    ASSERT_TRUE(t.loadFromData(kSample, QStringLiteral("sample"), &error)) << qPrintable(error);
    ASSERT_EQ(t.fieldCount(), 6);
    EXPECT_EQ(t.fieldIndex(QStringLiteral("nome SEGNALE")), 2);
    EXPECT_EQ(t.fields()[5].type, FieldType::Memo);
    EXPECT_EQ(t.fields()[5].width, 255);
    EXPECT_EQ(t.recordCount(), 3);

    t.first();
    EXPECT_EQ(t.fieldText(QStringLiteral("NumRec")), QStringLiteral("7"));  // canonical form
    EXPECT_EQ(t.fieldInt(QStringLiteral("numrec")), 7);
    EXPECT_EQ(t.fieldText(QStringLiteral("Nome segnale")), QStringLiteral("f123"));
    EXPECT_EQ(t.fieldInt(QStringLiteral("Attivo")), 1);
    EXPECT_EQ(t.fieldInt(QStringLiteral("Piccolo")), -5);
    EXPECT_EQ(t.fieldText(QStringLiteral("TxtF1")), QStringLiteral("Riga 1\r\nRiga\t2 <&\">"
                                                                   " à€"));
    t.next();  // an attribute that names no field (a row state) is not data
    EXPECT_EQ(t.fieldText(QStringLiteral("Argomento")), QStringLiteral("A01"));
    EXPECT_EQ(t.fieldText(QStringLiteral("TxtF1")), QString());
    t.next();  // &#128; is the euro sign of old Windows tools
    EXPECT_EQ(t.fieldText(QStringLiteral("TxtF1")), QStringLiteral("€uro"));

    ASSERT_EQ(t.indexDefs().size(), 1);
    EXPECT_EQ(t.indexDefs()[0].name, QStringLiteral("_NumRec"));
    EXPECT_EQ(t.indexDefs()[0].options, IndexOptions(IndexOption::Primary));
}

TEST_F(DatapacketIo, BothFormsRoundTripAndKeepWhatTheyDoNotInterpret)
{
    DataTable t;
    ASSERT_TRUE(t.loadFromData(kSample, QStringLiteral("sample")));
    ASSERT_TRUE(t.AggiungiIndice(QStringLiteral("_Nome segnale"), QStringLiteral("Nome segnale"), IndexOption::Descending));

    for (SaveFormat format : {SaveFormat::Utf8, SaveFormat::Ascii}) {
        SCOPED_TRACE(format == SaveFormat::Utf8 ? "utf8" : "ascii");
        const QString file = path(QStringLiteral("out.xml"));
        QString error;
        ASSERT_TRUE(t.saveToFile(file, format, &error)) << qPrintable(error);
        const QByteArray bytes = contents(file);
        EXPECT_TRUE(bytes.contains("attrname=\"Nome_segnale\" fieldname=\"Nome segnale\""));
        EXPECT_TRUE(bytes.contains("required=\"true\""));
        EXPECT_TRUE(bytes.contains("LCID=\"1040\""));
        EXPECT_FALSE(bytes.contains("RowState"));
        EXPECT_TRUE(bytes.contains("Riga 1&#13;&#10;Riga&#9;2 &lt;&amp;&quot;&gt; "));
        if (format == SaveFormat::Ascii) {
            EXPECT_TRUE(std::all_of(bytes.begin(), bytes.end(), [](char c) { return (unsigned char)c < 0x80; }));
            EXPECT_TRUE(bytes.contains("&#224;&#8364;"));  // à€
            EXPECT_FALSE(bytes.contains("encoding="));
        } else {
            EXPECT_TRUE(bytes.contains("encoding=\"UTF-8\""));
            EXPECT_TRUE(bytes.contains("à€"));
        }

        DataTable back;
        ASSERT_TRUE(back.loadFromFile(file, &error)) << qPrintable(error);
        ASSERT_EQ(back.fieldCount(), t.fieldCount());
        ASSERT_EQ(back.recordCount(), t.recordCount());
        for (int f = 0; f < t.fieldCount(); ++f) {
            EXPECT_EQ(back.fields()[f].name, t.fields()[f].name);
            EXPECT_EQ(back.fields()[f].type, t.fields()[f].type);
            EXPECT_EQ(back.fields()[f].width, t.fields()[f].width);
            EXPECT_EQ(back.fields()[f].extraAttributes, t.fields()[f].extraAttributes);
            for (int r = 1; r <= t.recordCount(); ++r)
                EXPECT_EQ(back.fieldTextAt(r, f), t.fieldTextAt(r, f)) << "record " << r << " field " << f;
        }
        ASSERT_EQ(back.indexDefs().size(), 2);
        EXPECT_EQ(back.indexDefs()[1].name, QStringLiteral("_Nome segnale"));
        EXPECT_EQ(back.indexDefs()[1].fields, QStringList{QStringLiteral("Nome segnale")});
        EXPECT_EQ(back.indexDefs()[1].options, IndexOptions(IndexOption::Descending));
    }
}

// C1 controls are the Windows-1252 characters old tools meant by those
// bytes, at both ends of the range and whether written as a reference or as
// UTF-8; the five bytes Windows-1252 leaves undefined stay as they are. A
// value set in the table is stored the way the file will read it back.
TEST_F(DatapacketIo, C1ControlsReadAndWriteAsWindows1252)
{
    const QByteArray head = "<DATAPACKET Version=\"2.0\"><METADATA><FIELDS>"
                            "<FIELD attrname=\"T\" fieldtype=\"string\" WIDTH=\"9\"/></FIELDS></METADATA><ROWDATA><ROW T=\"";
    const QByteArray tail = "\"/></ROWDATA></DATAPACKET>";
    const struct {
        QByteArray value;
        QString read;
    } cases[] = {
        {"&#128;", QString(QChar(0x20AC))},  // the euro sign
        {"&#159;", QString(QChar(0x0178))},  // Y with diaeresis
        {"\xC2\x80", QString(QChar(0x20AC))},
        {"\xC2\x9F", QString(QChar(0x0178))},
        {"&#129;", QString(QChar(0x0081))},  // undefined in Windows-1252
        {"&#157;", QString(QChar(0x009D))},
        {"&#160;", QString(QChar(0x00A0))},  // past the range
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value.toStdString());
        DataTable t;
        QString error;
        ASSERT_TRUE(t.loadFromData(head + c.value + tail, QStringLiteral("c1"), &error)) << qPrintable(error);
        EXPECT_EQ(t.fieldText(QStringLiteral("T")), c.read);
    }

    DataTable t;
    ASSERT_TRUE(t.createFromFields({FieldDef::text(QStringLiteral("T"), 9)}));
    const std::pair<char16_t, char16_t> written[] = {{0x80, 0x20AC}, {0x9F, 0x0178}};
    for (const auto& [set, stored] : written) {
        SCOPED_TRACE(int(set));
        const QString expected(QChar{stored});
        ASSERT_TRUE(t.append());
        ASSERT_TRUE(t.setField(QStringLiteral("T"), QString(QChar{set})));
        ASSERT_TRUE(t.post());
        EXPECT_EQ(t.fieldText(QStringLiteral("T")), expected);
        for (SaveFormat format : {SaveFormat::Utf8, SaveFormat::Ascii}) {
            DataTable back;
            ASSERT_TRUE(back.loadFromData(t.toXml(format), QStringLiteral("written")));
            back.last();
            EXPECT_EQ(back.fieldText(QStringLiteral("T")), expected);
        }
    }
}

// A value rewritten for its C1 controls is kept apart from the file's bytes;
// in a row whose attributes come out of field order it must still be found
// after the row's cells are sorted (a hand-edited question bank: the text
// before the answer). Before, the saved table read from a wild address.
TEST_F(DatapacketIo, RewrittenValuesSurviveARowOutOfFieldOrder)
{
    const QByteArray file = "<DATAPACKET Version=\"2.0\"><METADATA><FIELDS>"
                            "<FIELD attrname=\"Risposta\" fieldtype=\"boolean\"/>"
                            "<FIELD attrname=\"NumRec\" fieldtype=\"i4\"/>"
                            "<FIELD attrname=\"TxtF1\" fieldtype=\"bin.hex\" SUBTYPE=\"Text\" WIDTH=\"255\"/>"
                            "</FIELDS></METADATA><ROWDATA>"
                            "<ROW NumRec=\"1\" TxtF1=\"prima&#128; riga lunga\" Risposta=\"TRUE\"/>"
                            "<ROW TxtF1=\"seconda&#150;riga lunga\" NumRec=\"2\" Risposta=\"FALSE\"/>"
                            "</ROWDATA></DATAPACKET>";
    DataTable t;
    QString error;
    ASSERT_TRUE(t.loadFromData(file, QStringLiteral("bank"), &error)) << qPrintable(error);
    const QString expected[] = {QStringLiteral("prima\u20AC riga lunga"), QStringLiteral("seconda\u2013riga lunga")};
    for (SaveFormat format : {SaveFormat::Utf8, SaveFormat::Ascii}) {
        DataTable back;
        ASSERT_TRUE(back.loadFromData(t.toXml(format), QStringLiteral("written"), &error)) << qPrintable(error);
        ASSERT_EQ(back.recordCount(), 2);
        for (int r = 1; r <= 2; ++r) {
            EXPECT_EQ(back.fieldTextAt(r, 2), expected[r - 1]);
            EXPECT_EQ(back.fieldTextAt(r, 1), QString::number(r));
            EXPECT_EQ(back.fieldTextAt(r, 0), r == 1 ? QStringLiteral("TRUE") : QStringLiteral("FALSE"));
        }
    }
}

// The plain form writes every character outside ASCII as a reference, for
// the first and last character of each UTF-8 length.
TEST_F(DatapacketIo, AsciiFormReferencesEveryCharacterLength)
{
    const char32_t characters[] = {0xA0, 0x7FF, 0x800, 0xFFFD, 0x10000, 0x10FFFF};
    DataTable t;
    ASSERT_TRUE(t.createFromFields({FieldDef::text(QStringLiteral("T"), 9)}));
    for (const char32_t c : characters) {
        ASSERT_TRUE(t.append());
        ASSERT_TRUE(t.setField(QStringLiteral("T"), QStringLiteral("a") + QString::fromUcs4(&c, 1) + QStringLiteral("b")));
        ASSERT_TRUE(t.post());
    }
    const QByteArray bytes = t.toXml(SaveFormat::Ascii);
    EXPECT_TRUE(std::all_of(bytes.begin(), bytes.end(), [](char c) { return (unsigned char)c < 0x80; }));
    DataTable back;
    ASSERT_TRUE(back.loadFromData(bytes, QStringLiteral("ascii")));
    ASSERT_EQ(back.recordCount(), int(std::size(characters)));
    for (int r = 1; r <= back.recordCount(); ++r) {
        const char32_t c = characters[r - 1];
        SCOPED_TRACE(int(c));
        EXPECT_TRUE(bytes.contains("T=\"a&#" + QByteArray::number(uint(c)) + ";b\""));
        EXPECT_EQ(back.fieldTextAt(r, 0), t.fieldTextAt(r, 0));
    }
}

// An attribute kept uninterpreted whose name lies outside ASCII cannot be
// written as a reference: the plain form leaves it out and stays ASCII, the
// UTF-8 form keeps it, and no value is lost either way.
TEST_F(DatapacketIo, KeptAttributesWithNamesOutsideAsciiStayOutOfThePlainForm)
{
    const QByteArray file = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><DATAPACKET Version=\"2.0\"><METADATA><FIELDS>"
                            "<FIELD attrname=\"T\" fieldtype=\"string\" WIDTH=\"9\" Unit\xC3\xA0=\"1\" LCID=\"1040\"/>"
                            "</FIELDS><PARAMS Propriet\xC3\xA0=\"x\" CHANGE_LOG=\"1\"/></METADATA><ROWDATA>"
                            "<ROW T=\"Citt\xC3\xA0\"/></ROWDATA></DATAPACKET>";
    DataTable t;
    ASSERT_TRUE(t.loadFromData(file, QStringLiteral("nomi")));
    const QByteArray ascii = t.toXml(SaveFormat::Ascii);
    EXPECT_TRUE(std::all_of(ascii.begin(), ascii.end(), [](char c) { return (unsigned char)c < 0x80; })) << ascii.constData();
    EXPECT_TRUE(ascii.contains("LCID=\"1040\""));
    EXPECT_TRUE(ascii.contains("CHANGE_LOG=\"1\""));
    const QByteArray utf8 = t.toXml(SaveFormat::Utf8);
    EXPECT_TRUE(utf8.contains("Unit\xC3\xA0=\"1\""));
    EXPECT_TRUE(utf8.contains("Propriet\xC3\xA0=\"x\""));
    for (const QByteArray& bytes : {ascii, utf8}) {
        DataTable back;
        ASSERT_TRUE(back.loadFromData(bytes, QStringLiteral("back")));
        EXPECT_EQ(back.fieldTextAt(1, 0), QStringLiteral("Città"));
    }
}

TEST_F(DatapacketIo, CreatedTableGetsXmlSafeNamesAndReadsBackUnderTheRealOnes)
{
    DataTable t;
    ASSERT_TRUE(t.createFromFields({FieldDef::integer(QStringLiteral("NumRec")), FieldDef::text(QStringLiteral("Nome segnale"), 5),
                                    FieldDef::text(QStringLiteral("Nome_segnale"), 5), FieldDef::text(QStringLiteral("Difficoltà"), 2)}));
    ASSERT_TRUE(t.append());
    ASSERT_TRUE(t.setField(QStringLiteral("Nome segnale"), QStringLiteral("a")));
    ASSERT_TRUE(t.setField(QStringLiteral("Nome_segnale"), QStringLiteral("b")));
    ASSERT_TRUE(t.setField(QStringLiteral("Difficoltà"), QStringLiteral("c")));
    ASSERT_TRUE(t.post());

    DataTable back;
    QString error;
    ASSERT_TRUE(back.loadFromData(t.toXml(SaveFormat::Ascii), QStringLiteral("created"), &error)) << qPrintable(error);
    EXPECT_EQ(back.fieldText(QStringLiteral("Nome segnale")), QStringLiteral("a"));
    EXPECT_EQ(back.fieldText(QStringLiteral("Nome_segnale")), QStringLiteral("b"));
    EXPECT_EQ(back.fieldText(QStringLiteral("Difficoltà")), QStringLiteral("c"));
}

TEST_F(DatapacketIo, ReadsOtherEncodings)
{
    const QString body = QStringLiteral(
        "<DATAPACKET Version=\"2.0\"><METADATA><FIELDS><FIELD attrname=\"T\" fieldtype=\"string\" WIDTH=\"9\"/>"
        "</FIELDS></METADATA><ROWDATA><ROW T=\"Città\"/></ROWDATA></DATAPACKET>");
    QStringEncoder utf16(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
    const QByteArray cases[] = {
        "<?xml version=\"1.0\" encoding=\"windows-1252\"?>" + QStringLiteral("%1").arg(body).toLatin1(),
        QByteArray(utf16(QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-16\"?>") + body)),
        "\xEF\xBB\xBF" + body.toUtf8(),
    };
    for (const QByteArray& bytes : cases) {
        DataTable t;
        QString error;
        ASSERT_TRUE(t.loadFromData(bytes, QStringLiteral("enc"), &error)) << qPrintable(error);
        EXPECT_EQ(t.fieldText(QStringLiteral("T")), QStringLiteral("Città"));
    }
}

// Each malformed or hostile input fails with a message that names the
// source and says where; none may crash (the suite also runs under ASan and
// UBSan) and none may leave a partial table behind.
TEST_F(DatapacketIo, MalformedAndHostileInputsFailClearly)
{
    const QByteArray head = "<?xml version=\"1.0\"?>\n<DATAPACKET Version=\"2.0\">\n<METADATA><FIELDS>"
                            "<FIELD attrname=\"NumRec\" fieldtype=\"i4\"/><FIELD attrname=\"T\" fieldtype=\"string\" WIDTH=\"9\"/>"
                            "</FIELDS><PARAMS/></METADATA>\n<ROWDATA>\n";
    const QByteArray tail = "</ROWDATA>\n</DATAPACKET>\n";
    const QByteArray good = head + "<ROW NumRec=\"1\" T=\"a\"/>\n" + tail;
    QByteArray deep = head + "<ROW NumRec=\"1\">";
    for (int i = 0; i < 100000; ++i)
        deep += "<x>";
    for (int i = 0; i < 100000; ++i)
        deep += "</x>";
    deep += "</ROW>" + tail;
    QByteArray withNul = good;
    withNul[withNul.indexOf("T=\"a\"") + 3] = '\0';

    struct Case
    {
        const char* name;
        QByteArray bytes;
        const char* expected;  // a part of the error message
    };
    const Case cases[] = {
        {"empty file", QByteArray(), "No document element"},
        {"not XML", "Hello, world", "No document element"},
        {"truncated mid-row", good.left(good.indexOf("T=\"a\"") + 4), "line 5"},
        {"wrong root", "<TABLE/>", "not <DATAPACKET>"},
        {"missing METADATA", "<DATAPACKET><ROWDATA/></DATAPACKET>", "no METADATA"},
        {"missing ROWDATA", head.left(head.indexOf("\n<ROWDATA>")) + "</DATAPACKET>", "no ROWDATA"},
        {"FIELD without attrname", "<DATAPACKET><METADATA><FIELDS><FIELD fieldtype=\"i4\"/></FIELDS></METADATA><ROWDATA/></DATAPACKET>", "no attrname"},
        {"unknown fieldtype", "<DATAPACKET><METADATA><FIELDS><FIELD attrname=\"X\" fieldtype=\"r8\"/></FIELDS></METADATA><ROWDATA/></DATAPACKET>", "unsupported fieldtype \"r8\""},
        {"binary blob", "<DATAPACKET><METADATA><FIELDS><FIELD attrname=\"X\" fieldtype=\"bin.hex\" SUBTYPE=\"Graphics\"/></FIELDS></METADATA><ROWDATA/></DATAPACKET>", "not supported"},
        {"bad i4", head + "<ROW NumRec=\"1\"/>\n<ROW NumRec=\"12x\"/>\n" + tail, "line 6, column 1: row 2, field \"NumRec\": \"12x\" is not an integer"},
        {"i4 out of range", head + "<ROW NumRec=\"2147483648\"/>\n" + tail, "not an integer"},
        {"field twice in a row", head + "<ROW NumRec=\"1\" NumRec=\"2\"/>\n" + tail, "appears twice"},
        {"DOCTYPE with entities", "<!DOCTYPE d [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;\">]>" + good.mid(good.indexOf("<DATAPACKET")), "DOCTYPE"},
        {"second root", good + "<DATAPACKET/>", "second root element"},
        {"NUL byte", withNul, "line 5"},
        {"invalid UTF-8", head + "<ROW T=\"\xC3\x28\"/>\n" + tail, "invalid UTF-8"},
        {"overlong UTF-8", head + "<ROW T=\"\xC0\xAF\"/>\n" + tail, "invalid UTF-8"},
        {"surrogate in UTF-8", head + "<ROW T=\"ab\xED\xA0\x80\"/>\n" + tail, "invalid UTF-8"},
        {"unclosed deep nesting", head + QByteArray(50000, '<'), "line"},
        {"duplicate field names", "<DATAPACKET><METADATA><FIELDS><FIELD attrname=\"a\" fieldtype=\"i4\"/><FIELD attrname=\"b\" fieldname=\"A\" fieldtype=\"i4\"/></FIELDS></METADATA><ROWDATA/></DATAPACKET>", "defined twice"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DataTable t;
        ASSERT_TRUE(t.loadFromData(good, QStringLiteral("good")));
        QString error;
        EXPECT_FALSE(t.loadFromData(c.bytes, QStringLiteral("hostile.xml"), &error));
        EXPECT_TRUE(error.startsWith(QStringLiteral("Cannot read hostile.xml: "))) << qPrintable(error);
        EXPECT_TRUE(error.contains(QLatin1String(c.expected))) << qPrintable(error);
        // The previous table is untouched.
        EXPECT_EQ(t.recordCount(), 1);
        EXPECT_EQ(t.fieldText(QStringLiteral("T")), QStringLiteral("a"));
    }

    // Stress rather than malice: these load.
    DataTable t;
    QString error;
    EXPECT_TRUE(t.loadFromData(deep, QStringLiteral("deep"), &error)) << qPrintable(error);
    const QByteArray huge(8 << 20, 'x');
    ASSERT_TRUE(t.loadFromData(head + "<ROW T=\"" + huge + "\"/>" + tail, QStringLiteral("huge"), &error)) << qPrintable(error);
    EXPECT_EQ(t.fieldText(QStringLiteral("T")).size(), huge.size());  // WIDTH binds new values, not what a file holds
}

TEST_F(DatapacketIo, FileErrorsNameTheFile)
{
    DataTable t;
    QString error;
    t.setFileName(path(QStringLiteral("missing.XML")));
    EXPECT_FALSE(t.open(&error));
    EXPECT_FALSE(t.isOpen());
    EXPECT_TRUE(error.contains(QStringLiteral("missing.XML"))) << qPrintable(error);

    write(path(QStringLiteral("bad.XML")), "<DATAPACKET>\n<METADATA>\n<FIELDS>\n<FIELD attrname=\"a\" fieldtype=\"i4\"/>\n</FIELDS>\n</METADATA>\n<ROWDATA>\n<ROW a=\"1\">\n</ROWDATA>\n");
    t.setFileName(path(QStringLiteral("bad.XML")));
    EXPECT_FALSE(t.open(&error));
    EXPECT_TRUE(error.contains(QDir::toNativeSeparators(path(QStringLiteral("bad.XML"))) + QStringLiteral(": line 9, column "))) << qPrintable(error);
    EXPECT_FALSE(t.isOpen());
}

// Large files are read in two halves at once and parsed in chunks by two
// threads; the table must be exactly the one written, with errors and odd
// files (a comment across a cut) handled as when read whole.
TEST_F(DatapacketIo, LargeTablesReadBackExactly)
{
    DataTable written;
    ASSERT_TRUE(fillSampleContentTable(written, 7000, 7));
    const QString file = path(QStringLiteral("big.XML"));
    ASSERT_TRUE(written.saveToFile(file, SaveFormat::Utf8));
    const QByteArray bytes = contents(file);
    ASSERT_GT(bytes.size(), 4 * 1024 * 1024);  // big enough for the split read

    // `textAt` gives a value by record (from 1) and field.
    auto expectSameValues = [&](int records, int fields, const auto& textAt) {
        ASSERT_EQ(records, written.recordCount());
        ASSERT_EQ(fields, written.fieldCount());
        for (int r = 1; r <= written.recordCount(); ++r) {
            for (int f = 0; f < written.fieldCount(); ++f)
                ASSERT_EQ(textAt(r, f), written.fieldTextAt(r, f)) << "record " << r << " field " << f;
        }
    };
    auto expectSame = [&](DataTable& read) {
        expectSameValues(read.recordCount(), read.fieldCount(), [&](int r, int f) { return read.fieldTextAt(r, f); });
    };
    DataTable read;
    QString error;
    read.setFileName(file);
    ASSERT_TRUE(read.open(&error)) << qPrintable(error);
    expectSame(read);

    // The rows parsed on one thread, and split between two whatever else
    // the thread pool is doing.
    for (const ParseThreads threads : {ParseThreads::One, ParseThreads::Two}) {
        SCOPED_TRACE(threads == ParseThreads::One ? "one thread" : "two threads");
        const std::unique_ptr<TableStore> store = readDatapacket(bytes, QStringLiteral("big"), &error, threads);
        ASSERT_TRUE(store) << qPrintable(error);
        expectSameValues(int(store->rows.size()), int(store->fields.size()), [&](int r, int f) {
            return QString::fromUtf8(store->value(std::uint32_t(r - 1), f));
        });
    }

    // A comment across the middle of the rows.
    const qsizetype middle = bytes.indexOf("<ROW", bytes.size() / 2);
    const qsizetype afterMiddle = bytes.indexOf("<ROW", middle + 1);
    QByteArray commented = bytes;
    commented.insert(afterMiddle, " -->");
    commented.insert(middle - 1, "<!-- ");
    DataTable withComment;
    ASSERT_TRUE(withComment.loadFromData(commented, QStringLiteral("commented"), &error)) << qPrintable(error);
    EXPECT_EQ(withComment.recordCount(), written.recordCount() - 1);

    // A fault in the second half is reported with its true row number.
    QByteArray broken = bytes;
    const qsizetype row6400 = [&] {
        qsizetype at = broken.indexOf("<ROWDATA>");
        for (int i = 0; i < 6400; ++i)
            at = broken.indexOf("<ROW ", at + 1);
        return at;
    }();
    broken.replace(broken.indexOf("NumRec=\"", row6400), 8, "NumRec=\"x");
    EXPECT_FALSE(read.loadFromData(broken, QStringLiteral("broken"), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("row 6400, field \"NumRec\""))) << qPrintable(error);
    expectSame(read);  // still the table it had
}

}  // namespace
}  // namespace ziro
