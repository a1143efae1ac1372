#pragma once

// An installation in a temporary folder for the lesson editor's source:
// edition tables and banks in the program folder, picture lists and pictures.

#include "authoring/source_model.h"
#include "content/content_fixture.h"
#include "quiz/sample_banks.h"
#include "support/logging_reports.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace ziro::test {

class SourceFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        const QString root = dir.path() + QLatin1Char('/');
        for (const char* sub : {"Program", "Foto", "FotoUtente", "PicSgn"})
            ASSERT_TRUE(QDir(root).mkpath(QString::fromLatin1(sub)));
        dirs.DirProgram = root + QStringLiteral("Program/");
        dirs.DirFoto = root + QStringLiteral("Foto/");
        dirs.DirFotoUtente = root + QStringLiteral("FotoUtente/");
        dirs.DirPicSgn = root + QStringLiteral("PicSgn/");
    }

    void writeTable(const QString& name, std::initializer_list<Rec> rows)
    {
        DataTable t;
        ASSERT_TRUE(test::buildTable(t, rows));
        ASSERT_TRUE(t.saveToFile(dirs.DirProgram + name, SaveFormat::Utf8));
    }

    void writeBank(const QString& name, const std::vector<BankRow>& rows)
    {
        DataTable t;
        // Wider ids than the program's own banks, as a bank of another make may have.
        QList<FieldDef> fields = questionBankFields();
        for (FieldDef& f : fields)
            if (f.name == QStringLiteral("id"))
                f = FieldDef::text(QStringLiteral("id"), 8);
        ASSERT_TRUE(t.createFromFields(fields));
        for (const BankRow& r : rows)
            ASSERT_TRUE(appendBankRow(t, r));
        ASSERT_TRUE(t.saveToFile(dirs.DirProgram + name, SaveFormat::Utf8));
    }

    void touch(const QString& path, const QByteArray& bytes = "x")
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    // A-B: three records of B, one of C; blocks 00010 (3 statements) and 00020.
    void writeAB()
    {
        writeTable(QStringLiteral("AAB2016.XML"),
                   {Rec(1, "B01", {{"Domanda", "00010"}, {"Nome segnale", "101"}, {"Foto1", "12"},
                                   {"TxtF1", "Curva"}, {"Icona1", "i1"}, {"Video", "v7"}}),
                    Rec(2, "B02", {{"Domanda", ""}, {"Nome segnale", "102"}}),
                    Rec(3, "B99", {{"Domanda", "00020"}, {"Nome segnale", "103"}}),
                    Rec(4, "C00", {{"Domanda", "00030"}, {"Nome segnale", "X1"}, {"Icona1", "a"}, {"Icona2", "b"}})});
        writeBank(QStringLiteral("NQM2016.XML"),
                  {{"00010", "7", true, "Testo uno", {}, {}, 0, "45", "1"},
                   {"00010", "8", false, "Testo due", {}, {}, 0, "", "1"},
                   {"00010", "10000", true, "Troppo grande", {}, {}, 0, "", "1"},
                   {"00010", "9", true, "Testo tre", {}, {}, 0, "1000", "1"},
                   {"00020", "1", false, "Altro", {}, {}, 0, "3", "2"}});
    }

    QTemporaryDir dir;
    Folders dirs;
    test::LoggingReports reports;
};

}  // namespace ziro::test
