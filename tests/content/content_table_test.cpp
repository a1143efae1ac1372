#include "base/globals.h"
#include "content/content_table.h"
#include "diag/reporter.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace ziro;

TEST(ContentTable, OpensWithTheThreeIndexesInTopicOrderAndLogsAMissingFieldOnce)
{
    QTemporaryDir dir;
    Globals g;
    g.initFromProgram(dir.path() + QStringLiteral("/ziro/Program/ziro"));
    g.dirs.DirProgram = dir.path() + QLatin1Char('/');  // the log goes next to the table
    Reporter reporter(g);

    DataTable source;
    ASSERT_TRUE(source.createFromFields({FieldDef::integer(QStringLiteral("NumRec")),
                                         FieldDef::text(QStringLiteral("Argomento"), 3),
                                         FieldDef::text(QStringLiteral("Nome segnale"), 5)}));
    for (auto [n, arg] : {std::pair{1, "C01"}, std::pair{2, "B01"}, std::pair{3, "B01"}})
        ASSERT_TRUE(source.append() && source.setField(QStringLiteral("NumRec"), n) &&
                    source.setField(QStringLiteral("Argomento"), QLatin1String(arg)) && source.post());
    const QString path = dir.path() + QStringLiteral("/AAB2016.XML");
    ASSERT_TRUE(source.saveToFile(path, SaveFormat::Utf8));

    DataTable table;
    MissingFieldLog missing(reporter);
    missing.attach(table);
    ASSERT_TRUE(openContentTable(table, path));
    QStringList names;
    for (const IndexDef& index : table.indexDefs())
        names << index.name;
    EXPECT_TRUE(names.contains(QStringLiteral("_Argomento")));
    EXPECT_TRUE(names.contains(QStringLiteral("_Nome segnale")));
    EXPECT_TRUE(names.contains(QStringLiteral("_NumRec")));
    // Reopening adds no second index of the same name.
    ASSERT_TRUE(openContentTable(table, path));
    EXPECT_EQ(table.indexDefs().size(), names.size());

    table.first();
    EXPECT_EQ(table.fieldText(QStringLiteral("Argomento")).toStdString(), "B01");
    EXPECT_EQ(table.fieldInt(QStringLiteral("NumRec")), 2);

    const int before = reporter.ErrorLog().size();
    EXPECT_TRUE(table.fieldText(QStringLiteral("Quesito1")).isEmpty());
    EXPECT_EQ(table.fieldInt(QStringLiteral("Tipo")), 0);
    table.next();
    EXPECT_TRUE(table.fieldText(QStringLiteral("Quesito1")).isEmpty());
    // Two missing fields, each logged once (three lines per report).
    EXPECT_EQ(reporter.ErrorLog().size() - before, 6);
}

TEST(ContentTable, StartupMessages)
{
    QTemporaryDir dir;
    DataTable table;
    const QString path = dir.path() + QStringLiteral("/AAB2016.XML");
    StartupTableResult r = openStartupTable(table, path);
    EXPECT_TRUE(r.fatal);
    EXPECT_TRUE(r.message.contains(QStringLiteral("(FileExist: False)")));

    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a datapacket");
    f.close();
    r = openStartupTable(table, path);
    EXPECT_TRUE(r.fatal);
    EXPECT_TRUE(r.message.contains(QStringLiteral("(FileExist: True)")));
    EXPECT_TRUE(r.message.endsWith(QString::fromUtf8("Errore irreversibile, l'applicazione sarà terminata.")));
}

TEST(ContentTable, SwitchKeepsTheOpenTableWhenTheNewFileFailsAndWritesBackEdits)
{
    QTemporaryDir dir;
    const auto write = [&](const QString& name, const char* topic) {
        DataTable t;
        EXPECT_TRUE(t.createFromFields({FieldDef::integer(QStringLiteral("NumRec")),
                                        FieldDef::text(QStringLiteral("Argomento"), 3),
                                        FieldDef::text(QStringLiteral("Nome segnale"), 5)}));
        EXPECT_TRUE(t.append() && t.setField(QStringLiteral("NumRec"), 1) &&
                    t.setField(QStringLiteral("Argomento"), QLatin1String(topic)) && t.post());
        const QString path = dir.filePath(name);
        EXPECT_TRUE(t.saveToFile(path, SaveFormat::Utf8));
        return path;
    };
    const QString ab = write(QStringLiteral("AAB2016.XML"), "B01");
    const QString am = write(QStringLiteral("AAM2015.XML"), "A01");
    const QString broken = dir.filePath(QStringLiteral("ACD2014.XML"));
    {
        QFile f(broken);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("<DATAPACKET><METADATA>");
    }

    DataTable table;
    ASSERT_TRUE(openContentTable(table, ab));
    table.first();
    ASSERT_TRUE(table.edit() && table.setField(QStringLiteral("Nome segnale"), QStringLiteral("12")) &&
                table.post());

    for (const QString& bad : {broken, dir.filePath(QStringLiteral("missing.xml"))}) {
        QString error;
        EXPECT_FALSE(switchContentTable(table, bad, &error)) << bad.toStdString();
        EXPECT_FALSE(error.isEmpty());
        ASSERT_TRUE(table.isOpen());
        EXPECT_EQ(table.fileName(), ab);
        EXPECT_EQ(table.fieldText(QStringLiteral("Argomento")), QStringLiteral("B01"));
    }

    ASSERT_TRUE(switchContentTable(table, am));
    EXPECT_EQ(table.fileName(), am);
    table.first();
    EXPECT_EQ(table.fieldText(QStringLiteral("Argomento")), QStringLiteral("A01"));
    EXPECT_EQ(table.indexFieldNames(), QStringLiteral("Argomento;NumRec"));

    // The edit made before the switch reached the file that was left.
    DataTable check;
    ASSERT_TRUE(openContentTable(check, ab));
    check.first();
    EXPECT_EQ(check.fieldText(QStringLiteral("Nome segnale")), QStringLiteral("12"));
}

TEST(ContentTable, SwitchToAFileThatIsNoContentTableGivesTheOldOneBack)
{
    QTemporaryDir dir;
    DataTable source;
    ASSERT_TRUE(source.createFromFields({FieldDef::integer(QStringLiteral("NumRec")),
                                         FieldDef::text(QStringLiteral("Argomento"), 3)}));
    ASSERT_TRUE(source.append() && source.setField(QStringLiteral("NumRec"), 7) &&
                source.setField(QStringLiteral("Argomento"), QStringLiteral("B01")) && source.post());
    const QString good = dir.filePath(QStringLiteral("AAB2016.XML"));
    ASSERT_TRUE(source.saveToFile(good, SaveFormat::Utf8));
    DataTable other;
    ASSERT_TRUE(other.createFromFields({FieldDef::integer(QStringLiteral("NumRec"))}));
    const QString wrong = dir.filePath(QStringLiteral("ACD2014.XML"));
    ASSERT_TRUE(other.saveToFile(wrong, SaveFormat::Utf8));

    DataTable table;
    ASSERT_TRUE(openContentTable(table, good));
    QString error;
    EXPECT_FALSE(switchContentTable(table, wrong, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("Argomento"))) << error.toStdString();
    EXPECT_EQ(table.fileName(), good);
    table.first();
    EXPECT_EQ(table.fieldInt(QStringLiteral("NumRec")), 7);
    EXPECT_EQ(table.fieldText(QStringLiteral("Argomento")), QStringLiteral("B01"));
}
