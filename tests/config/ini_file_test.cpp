#include "config/ini_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace ziro {
namespace {

// A settings file as the Windows program leaves it: Windows-1252, CRLF,
// comments of both kinds, odd spacing, a blank line closing a section.
const QByteArray kWindowsFile =
    "; Ziro settings\r\n"
    "[Path]\r\n"
    "Unit\xE0 Programma=C:\\\r\n"
    "Unit\xE0 Dati = C:\\\r\n"
    "Path video=C:\\ziro\\Video\\\r\n"
    "\r\n"
    "# quiz options\r\n"
    "[Quiz]\r\n"
    "Delay=15\r\n"
    "Formula=a=b\r\n"
    "\r\n";

template <size_t N>
QByteArray withNuls(const char (&text)[N])
{
    return QByteArray(text, N - 1);
}

class IniFileTest : public ::testing::Test
{
protected:
    QString pathOf(const QString& name) const { return dir.filePath(name); }

    QString write(const QString& name, const QByteArray& bytes) const
    {
        const QString path = pathOf(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    static QByteArray contents(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir dir;
};

TEST_F(IniFileTest, WindowsFileChangesOnlyTheWrittenLine)
{
    const QString path = write("ziro.ini", kWindowsFile);
    auto ini = IniFile::open(path);
    ASSERT_TRUE(ini);
    EXPECT_TRUE(ini->exists());
    EXPECT_EQ(ini->encoding(), TextEncoding::Windows1252);
    EXPECT_EQ(ini->lineEnding(), IniFile::LineEnding::CrLf);

    EXPECT_EQ(ini->readString("path", "UNITÀ PROGRAMMA"), "C:\\");
    EXPECT_EQ(ini->readString("PATH", "unità dati"), "C:\\");
    EXPECT_EQ(ini->readString("Quiz", "Formula"), "a=b");
    EXPECT_EQ(ini->readString("Quiz", "Missing", "dflt"), "dflt");

    // Rewriting a value it already holds leaves the file as it was.
    ASSERT_TRUE(ini->writeString("Path", "Unità Programma", "C:\\"));
    EXPECT_EQ(contents(path), kWindowsFile);

    ASSERT_TRUE(ini->writeString("path", "UNITÀ DATI", "D:\\"));
    QByteArray expected = kWindowsFile;
    expected.replace("Unit\xE0 Dati = C:\\", "Unit\xE0 Dati = D:\\");
    EXPECT_EQ(contents(path), expected);

    auto reread = IniFile::open(path);
    ASSERT_TRUE(reread);
    EXPECT_EQ(reread->readString("Path", "Unità Dati"), "D:\\");
    EXPECT_EQ(reread->sections(), QStringList({"Path", "Quiz"}));
    EXPECT_EQ(reread->readSection("PATH"),
              QStringList({"Unità Programma", "Unità Dati", "Path video"}));
}

TEST_F(IniFileTest, NewKeysAndSectionsGoWhereTheyBelong)
{
    const QString path = write("ziro.ini",
                               "[A]\r\n"
                               "k1=1\r\n"
                               "; about A\r\n"
                               "k2=2\r\n"
                               "\r\n"
                               "[Empty]\r\n"
                               "[B]\r\n"
                               "x=1"); // no final line break
    auto ini = IniFile::open(path);
    ASSERT_TRUE(ini);
    ASSERT_TRUE(ini->writeString("a", "k3", "3"));
    ASSERT_TRUE(ini->writeInteger("Empty", "n", -7));
    ASSERT_TRUE(ini->writeString("b", "y", "2"));
    ASSERT_TRUE(ini->writeBool("New", "flag", true));
    EXPECT_EQ(contents(path),
              "[A]\r\n"
              "k1=1\r\n"
              "; about A\r\n"
              "k2=2\r\n"
              "k3=3\r\n"
              "\r\n"
              "[Empty]\r\n"
              "n=-7\r\n"
              "[B]\r\n"
              "x=1\r\n"
              "y=2\r\n"
              "\r\n"
              "[New]\r\n"
              "flag=1");
}

TEST_F(IniFileTest, MissingFileStartsEmptyAndIsCreatedByTheFirstWrite)
{
    const QString path = pathOf("new.ini");
    QString error = "stale";
    auto ini = IniFile::open(path, &error);
    ASSERT_TRUE(ini);
    EXPECT_TRUE(error.isEmpty());
    EXPECT_FALSE(ini->exists());
    EXPECT_FALSE(ini->sectionExists("Path"));
    EXPECT_EQ(ini->readInteger("Quiz", "Delay", 15), 15);

    ASSERT_TRUE(ini->writeString("Path", "Unità Dati", "C:\\"));
    EXPECT_TRUE(ini->exists());
    EXPECT_EQ(contents(path), "[Path]\r\nUnit\xE0 Dati=C:\\\r\n");
}

TEST_F(IniFileTest, UnreadableFileGivesAnError)
{
    QString error;
    EXPECT_FALSE(IniFile::open(dir.path(), &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST_F(IniFileTest, DeleteRemovesEveryOccurrence)
{
    const QString path = write("ziro.ini",
                               "[S]\n"
                               "k=1\n"
                               "other=2\n"
                               "K = 3\n"
                               "[T]\n"
                               "k=4\n"
                               "[s]\n"
                               "k=5\n"
                               "\n"
                               "; next\n"
                               "[U]\n"
                               "u=1\n");
    auto ini = IniFile::open(path);
    ASSERT_TRUE(ini);
    EXPECT_EQ(ini->readSection("S"), QStringList({"k", "other"}));
    ASSERT_TRUE(ini->deleteKey("s", "K"));
    EXPECT_FALSE(ini->valueExists("S", "k"));
    EXPECT_EQ(ini->readString("T", "k"), "4");
    ASSERT_TRUE(ini->deleteKey("S", "not there"));

    ASSERT_TRUE(ini->eraseSection("S"));
    EXPECT_FALSE(ini->sectionExists("s"));
    EXPECT_EQ(contents(path), "[T]\nk=4\n; next\n[U]\nu=1\n");
}

TEST_F(IniFileTest, IntegersAndBooleans)
{
    struct Row
    {
        const char* value;
        int integer; // read with default 99
        int boolean; // read with default true: 1 true, 0 false
    };
    const Row rows[] = {
        {"1", 1, 1},        {"0", 0, 0},          {"2", 2, 1},       {"-1", -1, 1},
        {" 15 ", 15, 1},    {"010", 10, 1},       {"$FF", 255, 1},   {"0x10", 16, 1},
        {"TRUE", 99, 1},    {"no", 99, 0},        {"Yes", 99, 1},    {"false", 99, 0},
        {"", 99, 1},        {"abc", 99, 1},       {"1.5", 99, 1},    {"99999999999", 99, 1},
        {"$", 99, 1},       {"0xZZ", 99, 1},
    };
    QByteArray text = "[V]\n";
    for (size_t i = 0; i < std::size(rows); ++i)
        text += "k" + QByteArray::number(qulonglong(i)) + "=" + rows[i].value + "\n";
    auto ini = IniFile::open(write("ziro.ini", text));
    ASSERT_TRUE(ini);
    for (size_t i = 0; i < std::size(rows); ++i) {
        const QString key = "k" + QString::number(i);
        EXPECT_EQ(ini->readInteger("V", key, 99), rows[i].integer) << rows[i].value;
        EXPECT_EQ(ini->readBool("V", key, true), rows[i].boolean != 0) << rows[i].value;
    }
    EXPECT_FALSE(ini->readBool("V", "zero", false));
    EXPECT_FALSE(ini->readBool("V", "k12", false)); // empty value: the default

    ASSERT_TRUE(ini->writeBool("V", "k0", false));
    EXPECT_EQ(ini->readString("V", "k0"), "0");
    ASSERT_TRUE(ini->writeBool("V", "k0", true));
    EXPECT_EQ(ini->readString("V", "k0"), "1");
}

TEST_F(IniFileTest, Utf8FileStaysUtf8)
{
    const QByteArray original = "\xEF\xBB\xBF[Autoscuola]\nNome autoscuola=Citt\xC3\xA0\n";
    const QString path = write("ziro.ini", original);
    auto ini = IniFile::open(path);
    ASSERT_TRUE(ini);
    EXPECT_EQ(ini->encoding(), TextEncoding::Utf8);
    EXPECT_TRUE(ini->hasByteOrderMark());
    EXPECT_EQ(ini->lineEnding(), IniFile::LineEnding::Lf);
    EXPECT_EQ(ini->readString("autoscuola", "nome autoscuola"), "Città");

    ASSERT_TRUE(ini->writeString("Autoscuola", "Località", "Forlì"));
    EXPECT_EQ(contents(path), original + "Localit\xC3\xA0=Forl\xC3\xAC\n");
}

TEST_F(IniFileTest, PlainAsciiFileCountsAsWindows1252)
{
    const QString path = write("ziro.ini", "[Path]\r\n");
    auto ini = IniFile::open(path);
    ASSERT_TRUE(ini);
    ASSERT_TRUE(ini->writeString("Path", "Unità Dati", "C:\\"));
    EXPECT_EQ(contents(path), "[Path]\r\nUnit\xE0 Dati=C:\\\r\n");
}

TEST_F(IniFileTest, Windows1252FileTurnsUtf8RatherThanLoseCharacters)
{
    const QString path = write("ziro.ini", kWindowsFile);
    auto ini = IniFile::open(path);
    ASSERT_TRUE(ini);

    // The euro sign is in Windows-1252: the file keeps its encoding.
    ASSERT_TRUE(ini->writeString("Autoscuola", "Nome autoscuola", "Prezzo €"));
    EXPECT_EQ(ini->encoding(), TextEncoding::Windows1252);
    EXPECT_TRUE(contents(path).endsWith("Nome autoscuola=Prezzo \x80\r\n"));

    ASSERT_TRUE(ini->writeString("Autoscuola", "Nome autoscuola", "Łódź"));
    EXPECT_EQ(ini->encoding(), TextEncoding::Utf8);
    const QByteArray saved = contents(path);
    EXPECT_TRUE(saved.contains("Unit\xC3\xA0 Programma=C:\\\r\n"));

    auto reread = IniFile::open(path);
    ASSERT_TRUE(reread);
    EXPECT_EQ(reread->encoding(), TextEncoding::Utf8);
    EXPECT_EQ(reread->readString("Autoscuola", "Nome autoscuola"), "Łódź");
    EXPECT_EQ(reread->readString("Path", "Unità Programma"), "C:\\");
}

TEST_F(IniFileTest, FailedSaveIsReportedAndKeepsTheChangeInMemory)
{
    // The "folder" of the settings file is a regular file: nothing can be
    // written there, and that file must survive untouched.
    const QString blocker = write("blocker", "not a folder");
    auto ini = IniFile::open(blocker + "/ziro.ini");
    ASSERT_TRUE(ini);
    EXPECT_FALSE(ini->writeString("Path", "Unità Dati", "D:\\"));
    EXPECT_FALSE(ini->lastError().isEmpty());
    EXPECT_EQ(ini->readString("Path", "Unità Dati"), "D:\\");
    EXPECT_FALSE(ini->save());
    EXPECT_FALSE(ini->exists());
    EXPECT_EQ(contents(blocker), "not a folder");
}

TEST_F(IniFileTest, RefusesNamesAndValuesThatWouldBreakTheFile)
{
    const QString path = write("ziro.ini", kWindowsFile);
    auto ini = IniFile::open(path);
    ASSERT_TRUE(ini);
    const std::pair<QString, QString> badKeyValues[] = {
        {"a=b", "v"}, {"[x", "v"}, {"a\nb", "v"}, {"a\rb", "v"}, {"", "v"}, {"  ", "v"},
        {";k", "v"},  {"#k", "v"}, {"k", "x\r\n[Evil]"},         {"k", "x\ny"},
    };
    for (const auto& [key, value] : badKeyValues)
        EXPECT_FALSE(ini->writeString("Quiz", key, value)) << key.toStdString();
    EXPECT_FALSE(ini->writeString("", "k", "v"));
    EXPECT_FALSE(ini->writeString("A\nB", "k", "v"));
    EXPECT_EQ(contents(path), kWindowsFile);
    EXPECT_FALSE(ini->sectionExists("Evil"));
}

TEST_F(IniFileTest, BatchedWritesWaitForSave)
{
    const QString path = write("ziro.ini", kWindowsFile);
    auto ini = IniFile::open(path);
    ASSERT_TRUE(ini);
    ini->setAutoSave(false);
    ASSERT_TRUE(ini->writeInteger("Quiz", "Delay", 30));
    ASSERT_TRUE(ini->writeBool("Quiz", "Autoscroll", true));
    EXPECT_EQ(contents(path), kWindowsFile);
    ASSERT_TRUE(ini->save());
    auto reread = IniFile::open(path);
    EXPECT_EQ(reread->readInteger("Quiz", "Delay", 0), 30);
    EXPECT_TRUE(reread->readBool("Quiz", "Autoscroll", false));
}

TEST_F(IniFileTest, HostileFilesAreKeptAndStillWritable)
{
    struct Row
    {
        const char* name;
        QByteArray bytes;
        const char* section; // a key expected to read "v", or nullptr
    };
    QByteArray junk;
    for (int i = 0; i < 4096; ++i)
        junk.append(char((i * 7919 + 13) % 256));
    const Row rows[] = {
        {"empty", "", nullptr},
        {"only a BOM", "\xEF\xBB\xBF", nullptr},
        {"binary junk", junk, nullptr},
        {"NUL bytes", withNuls("[A\0B]\r\nk\0=v\r\n[S]\r\nk=v\0\r\n"), nullptr},
        {"header without ]", "[Unclosed\r\nk=v\r\n[S]\r\nk=v\r\n", "S"},
        {"lines without names", "[S]\r\n=v\r\nnoequals\r\n[]\r\nk=v\r\n", nullptr},
        {"keys before any section", "k=v\r\n[S]\r\nk = v \r\n", "S"},
        {"very long line", "[S]\r\nk=v\r\nlong=" + QByteArray(2'000'000, 'x') + "\r\n", "S"},
        {"lone CRs", "[S]\rk=v\r", nullptr},
        {"BOM and invalid UTF-8", "\xEF\xBB\xBF[S]\r\nk=v\xFF\r\n", nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const QString path = write("hostile.ini", row.bytes);
        auto ini = IniFile::open(path);
        ASSERT_TRUE(ini);
        if (row.section) {
            EXPECT_EQ(ini->readString(row.section, "k"), "v");
        }
        EXPECT_FALSE(ini->valueExists("Unclosed", "k"));
        EXPECT_FALSE(ini->valueExists("", "k"));

        ASSERT_TRUE(ini->writeString("Added", "key", "value"));
        EXPECT_TRUE(contents(path).startsWith(row.bytes));
        auto reread = IniFile::open(path);
        ASSERT_TRUE(reread);
        EXPECT_EQ(reread->readString("Added", "key"), "value");
    }
}

} // namespace
} // namespace ziro
