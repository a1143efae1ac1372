#include "annotate/caption_styles.h"
#include "base/globals.h"
#include "base/reports.h"
#include "config/ini_file.h"
#include "support/qt_printers.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace ziro {
namespace {

class RecordedReports : public NullReports {
public:
    QStringList reports;
    void Emsg(ReportKind kind, const QString& context, const QString& name) override
    {
        reports << QStringLiteral("%1|%2|%3").arg(reportCode(kind)).arg(context, name);
    }
};

class CaptionStylesTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    RecordedReports reports;

    QString path(const QString& name) const { return dir.filePath(name); }

    void write(const QString& name, const QByteArray& bytes)
    {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QByteArray read(const QString& name) const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    CaptionStyleStore store() { return CaptionStyleStore(path("TextStyles.ini"), QString(), reports); }
};

TEST_F(CaptionStylesTest, StoredStyleIsWrittenKeyByKey)
{
    CaptionStyle style;
    style.fontName = QStringLiteral("Verdana");
    style.fontColour = QColor(255, 0, 0);
    style.fontSize = 48;
    style.alignment = CaptionAlignment::Right;
    style.italic = true;
    style.bold = true;
    style.FondinoON = true;
    style.captionColour = QColor(0x12, 0x34, 0x56);
    style.effect = CaptionEffect::Resit3d;
    style.shadeColour = QColor(0, 0, 128);

    ASSERT_TRUE(store().store(CaptionPreset::A, style));
    EXPECT_EQ(read("TextStyles.ini"),
              QByteArray("[Preset2]\r\nFontName=Verdana\r\nFontColor=clRed\r\nFontSize=48\r\n"
                         "Alignment=3\r\nStyle=3\r\nTransparent=0\r\nColor=$00563412\r\n"
                         "Effect3d=1\r\nShadeColor=clNavy\r\n"));
    EXPECT_TRUE(reports.reports.isEmpty());

    CaptionStyle back;
    ASSERT_TRUE(store().load(CaptionPreset::A, true, back));
    EXPECT_EQ(back, style);
    // B is a section of its own.
    CaptionStyle untouched;
    untouched.fontName = QStringLiteral("Courier");
    EXPECT_FALSE(store().load(CaptionPreset::B, true, untouched));
    EXPECT_EQ(untouched.fontName, QStringLiteral("Courier"));
}

TEST_F(CaptionStylesTest, StyleAndEffectDigitsLeftOutWhenThereAreNone)
{
    struct Case {
        bool italic, bold, underline;
        CaptionEffect effect;
        const char* style;   // nullptr: no key
        const char* effect3d;
    } cases[] = {
        {false, false, false, CaptionEffect::Normal3d, "0", "0"},
        {true, false, false, CaptionEffect::Shadowed3d, "1", "2"},
        {false, true, false, CaptionEffect::Resit3d, "2", "1"},
        {true, true, false, CaptionEffect::Shadowed3d, "3", "2"},
        {false, false, true, CaptionEffect::Raised3d, nullptr, nullptr},  // underlined only
        {true, true, true, CaptionEffect::Normal3d, nullptr, "0"},
    };
    for (const auto& c : cases) {
        QFile::remove(path("TextStyles.ini"));
        CaptionStyle style;
        style.italic = c.italic;
        style.bold = c.bold;
        style.underline = c.underline;
        style.effect = c.effect;
        ASSERT_TRUE(store().store(CaptionPreset::B, style));
        const auto file = IniFile::open(path("TextStyles.ini"));
        ASSERT_TRUE(file);
        EXPECT_EQ(file->valueExists("Preset3", "Style"), c.style != nullptr);
        EXPECT_EQ(file->readString("Preset3", "Style"), QString::fromLatin1(c.style));
        EXPECT_EQ(file->valueExists("Preset3", "Effect3d"), c.effect3d != nullptr);
        EXPECT_EQ(file->readString("Preset3", "Effect3d"), QString::fromLatin1(c.effect3d));
    }
}

TEST_F(CaptionStylesTest, MissingKeysTakeTheirDefaults)
{
    write("TextStyles.ini", "[Preset2]\r\n");
    CaptionStyle current;
    current.fontName = QStringLiteral("Verdana");
    current.fontColour = QColor(255, 0, 0);
    current.fontSize = 90;
    current.alignment = CaptionAlignment::Left;
    current.bold = false;
    current.FondinoON = true;
    current.effect = CaptionEffect::Normal3d;
    ASSERT_TRUE(store().load(CaptionPreset::A, true, current));
    EXPECT_EQ(current, CaptionStyle());  // black font, size 35, centre, bold, no box, shadow
    EXPECT_EQ(current.fontColour, QColor(0, 0, 0));
}

TEST_F(CaptionStylesTest, FontSizeIsTakenOnlyForSeveralLines)
{
    write("TextStyles.ini", "[Preset3]\nFontSize=60\n");
    CaptionStyle single;
    single.fontSize = 22;
    ASSERT_TRUE(store().load(CaptionPreset::B, false, single));
    EXPECT_EQ(single.fontSize, 22);
    CaptionStyle multi;
    ASSERT_TRUE(store().load(CaptionPreset::B, true, multi));
    EXPECT_EQ(multi.fontSize, 60);
}

TEST_F(CaptionStylesTest, GarbageValuesNeverBreakTheCaption)
{
    static const char garbage[] =
        "\xff\xfe\x00garbage\r\n[Preset2]\r\nFontName=Ar*i#al\x01\r\nFontColor=rosso\r\n"
        "FontSize=99999999999\r\nAlignment=7\r\nStyle=-1\r\nTransparent=forse\r\n"
        "Color=$FF000000\r\nEffect3d=abc\r\nShadeColor=\r\n=\r\n[Preset3\r\n";
    write("TextStyles.ini", QByteArray(garbage, sizeof(garbage) - 1));
    CaptionStyle current;
    current.alignment = CaptionAlignment::Right;
    current.italic = true;
    current.bold = false;
    current.effect = CaptionEffect::Resit3d;
    ASSERT_TRUE(store().load(CaptionPreset::A, true, current));
    EXPECT_EQ(current.fontName, QStringLiteral("Arial"));        // cleaned of * # and controls
    EXPECT_EQ(current.fontColour, QColor(0, 0, 0));               // not a colour: default
    EXPECT_EQ(current.fontSize, 35);                              // not an int: default
    EXPECT_EQ(current.alignment, CaptionAlignment::Right);        // out of range: left as it was
    EXPECT_TRUE(current.italic);                                  // likewise
    EXPECT_FALSE(current.bold);
    EXPECT_FALSE(current.FondinoON);                              // default: transparent
    EXPECT_EQ(current.captionColour, QColor(0xC6, 0xCD, 0xD9));   // a system colour: default
    EXPECT_EQ(current.effect, CaptionEffect::Shadowed3d);         // not a number: default
    EXPECT_EQ(current.shadeColour, QColor(128, 128, 128));

    write("TextStyles.ini", "[Preset3]\r\nFontSize=-40\r\nFontName=   \r\n");
    ASSERT_TRUE(store().load(CaptionPreset::B, true, current));
    EXPECT_EQ(current.fontSize, 1);
    EXPECT_EQ(current.fontName, QStringLiteral("Arial"));
    EXPECT_TRUE(reports.reports.isEmpty());
}

TEST_F(CaptionStylesTest, MissingFileOrSectionDoesNothing)
{
    CaptionStyle current;
    current.fontName = QStringLiteral("Verdana");
    EXPECT_FALSE(store().load(CaptionPreset::A, true, current));
    write("TextStyles.ini", "[Preset3]\r\nFontName=Courier\r\n");
    EXPECT_FALSE(store().load(CaptionPreset::A, true, current));
    EXPECT_EQ(current.fontName, QStringLiteral("Verdana"));
    EXPECT_TRUE(reports.reports.isEmpty());
}

TEST_F(CaptionStylesTest, OlderCopyBesideTheProgramIsReadNeverWritten)
{
    Folders folders;
    folders.DirProgram = dir.filePath("Program/");
    folders.DirUtente = dir.filePath("Utente/");
    ASSERT_TRUE(QDir().mkpath(folders.DirProgram));
    const QByteArray legacy = "[Preset2]\r\nFontName=Tahoma\r\n[Preset3]\r\nFontName=Courier\r\n";
    write("Program/TextStyles.ini", legacy);

    CaptionStyleStore styles = CaptionStyleStore::forFolders(folders, reports);
    EXPECT_EQ(styles.userPath(), folders.DirUtente + "TextStyles.ini");
    CaptionStyle style;
    ASSERT_TRUE(styles.load(CaptionPreset::A, false, style));
    EXPECT_EQ(style.fontName, QStringLiteral("Tahoma"));

    // Storing A goes to the user's folder (made when missing); B still comes
    // from the older copy, which stays as it was.
    style.fontName = QStringLiteral("Verdana");
    ASSERT_TRUE(styles.store(CaptionPreset::A, style));
    EXPECT_EQ(read("Program/TextStyles.ini"), legacy);
    CaptionStyle a, b;
    ASSERT_TRUE(styles.load(CaptionPreset::A, false, a));
    ASSERT_TRUE(styles.load(CaptionPreset::B, false, b));
    EXPECT_EQ(a.fontName, QStringLiteral("Verdana"));
    EXPECT_EQ(b.fontName, QStringLiteral("Courier"));
    EXPECT_TRUE(reports.reports.isEmpty());
}

TEST_F(CaptionStylesTest, WriteFailureIsReportedAndLeavesTheFile)
{
    // The user's folder is a file: nothing can be written under it.
    write("Utente", "not a folder");
    CaptionStyleStore blocked(path("Utente/TextStyles.ini"), QString(), reports);
    EXPECT_FALSE(blocked.store(CaptionPreset::A, CaptionStyle()));
    ASSERT_EQ(reports.reports.size(), 1);
    EXPECT_TRUE(reports.reports[0].startsWith("2|")) << reports.reports[0].toStdString();
    EXPECT_EQ(read("Utente"), QByteArray("not a folder"));

    // The styles path is a folder: neither read nor written, both reported.
    ASSERT_TRUE(QDir().mkpath(path("Folder.ini")));
    CaptionStyleStore folder(path("Folder.ini"), QString(), reports);
    CaptionStyle style;
    EXPECT_FALSE(folder.load(CaptionPreset::A, true, style));
    EXPECT_FALSE(folder.store(CaptionPreset::A, style));
    EXPECT_EQ(reports.reports.size(), 3);
}

}  // namespace
}  // namespace ziro
