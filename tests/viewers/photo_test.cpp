#include "viewers/photo.h"

#include "support/logging_reports.h"

#include "base/globals.h"
#include "base/reports.h"
#include "controls/kxb.h"
#include "platform/dataset/data_table.h"
#include "platform/files/atomic_save.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>

using namespace ziro;

namespace {

using RecordingReports = test::LoggingReports;

struct FakeCaptionTable : CaptionTable {
    QHash<QString, QString> fields;
    bool saveFails = false;
    int saves = 0;
    bool hasField(const QString& name) const override { return fields.contains(name); }
    QString fieldText(const QString& name) const override { return fields.value(name); }
    bool storeAndSave(const QString& name, const QString& value, QString* error) override
    {
        ++saves;
        if (saveFails) {
            *error = QStringLiteral("disco pieno");
            return false;
        }
        fields[name] = value;
        return true;
    }
    QString fileName() const override { return QStringLiteral("/dati/AAB2016.XML"); }
};

Folders folders()
{
    Folders f;
    f.DirFoto = QStringLiteral("/nowhere/Foto/");
    f.DirFotoUtente = QStringLiteral("/nowhere/Utente/Foto/");
    return f;
}

FotoValue slots(std::map<int, QString> values)
{
    return [values](int n) {
        const auto it = values.find(n);
        return it == values.end() ? QString() : it->second;
    };
}

PhotoCaption caption(const QString& text)
{
    PhotoCaption c;
    c.text = text;
    return c;
}

}  // namespace

TEST(PhotoFiles, NumbersPickFolderAndKind)
{
    struct Case {
        const char* value;
        const char* path;  // nullptr: no file
        bool masked;
    };
    const Case cases[] = {
        {"8999", "/nowhere/Foto/8999.KXB", true},
        {"9000", "/nowhere/Utente/Foto/9000.BMP", false},
        {" 12 ", "/nowhere/Foto/12.KXB", true},
        {"00012", "/nowhere/Foto/00012.KXB", true},
        {"09000", "/nowhere/Utente/Foto/09000.BMP", false},
        {"0", "/nowhere/Foto/0.KXB", true},
        {"123456789012345678901234567890", "/nowhere/Utente/Foto/123456789012345678901234567890.BMP", false},
        {"", nullptr, false},
        {"   ", nullptr, false},
        {"12a", nullptr, false},
        {"-5", nullptr, false},
        {"+5", nullptr, false},
        {"1.5", nullptr, false},
        {"../1", nullptr, false},
        {"1 2", nullptr, false},
        {"\xd9\xa1\xd9\xa2", nullptr, false},  // Arabic-Indic digits
    };
    for (const Case& c : cases) {
        const auto file = photoFile(folders(), QString::fromUtf8(c.value));
        if (!c.path) {
            EXPECT_FALSE(file.has_value()) << c.value;
            continue;
        }
        ASSERT_TRUE(file.has_value()) << c.value;
        EXPECT_EQ(file->path, QString::fromLatin1(c.path));
        EXPECT_EQ(file->masked, c.masked) << c.value;
    }
    EXPECT_EQ(userListPhotoName(QStringLiteral("9012 Rotonda.BMP")), "9012");
    EXPECT_EQ(newListPhotoName(QStringLiteral("1234.KXB")), "1234");
    EXPECT_EQ(newListPhotoName(QStringLiteral("KXB")), "");
}

TEST(PhotoFiles, FoundIgnoringCaseAndLoadedAsRgb32)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    Folders f;
    f.DirFoto = dir.path() + QStringLiteral("/Foto/");
    f.DirFotoUtente = dir.path() + QStringLiteral("/Utente/");
    ASSERT_TRUE(QDir().mkpath(f.DirFoto) && QDir().mkpath(f.DirFotoUtente));

    QImage picture(48, 36, QImage::Format_RGB32);
    picture.fill(qRgb(10, 120, 200));
    ASSERT_TRUE(saveFileAtomically(f.DirFoto + QStringLiteral("123.kxb"), encodeKxb(picture, "KX")));
    ASSERT_TRUE(picture.convertToFormat(QImage::Format_Indexed8).save(f.DirFotoUtente + QStringLiteral("9001.bmp")));
    ASSERT_TRUE(saveFileAtomically(f.DirFoto + QStringLiteral("124.KXB"), QByteArray("not a picture at all, sorry")));

    const auto masked = photoFile(f, QStringLiteral("123"));
    ASSERT_TRUE(masked);
    EXPECT_TRUE(masked->path.endsWith(QLatin1String("123.kxb")));
    const auto maskedPicture = loadPhoto(*masked);
    ASSERT_TRUE(maskedPicture);
    EXPECT_EQ(maskedPicture->format(), QImage::Format_RGB32);
    EXPECT_EQ(maskedPicture->pixel(5, 5), qRgb(10, 120, 200));

    const auto user = photoFile(f, QStringLiteral("9001"));
    ASSERT_TRUE(user);
    const auto userPicture = loadPhoto(*user);
    ASSERT_TRUE(userPicture);
    EXPECT_EQ(userPicture->format(), QImage::Format_RGB32);
    EXPECT_EQ(userPicture->size(), QSize(48, 36));

    EXPECT_FALSE(loadPhoto(*photoFile(f, QStringLiteral("124"))));
    EXPECT_FALSE(loadPhoto(*photoFile(f, QStringLiteral("125"))));
    EXPECT_FALSE(loadPhoto(*photoFile(f, QStringLiteral("9999"))));
}

TEST(PhotoSequence, CountAsThePreviewsDo)
{
    // The last filled slot, gaps included; only from Foto2 or a page on.
    EXPECT_EQ(countPhotos(slots({{1, "10"}, {2, "11"}, {7, "12"}}), false, false), 7);
    EXPECT_EQ(countPhotos(slots({{1, "10"}, {3, "12"}}), false, false), 1);
    EXPECT_EQ(countPhotos(slots({{1, "10"}, {3, "12"}}), true, false), 3);
    EXPECT_EQ(countPhotos(slots({{1, "10"}, {2, "11"}, {30, "12"}}), false, false), 30);
    EXPECT_EQ(countPhotos(slots({{1, "10"}, {2, "11"}, {16, "12"}}), false, true), 2);  // custom: 15
    EXPECT_EQ(countPhotos(slots({}), false, false), 1);
}

TEST(PhotoSequence, VediFotoWrapsOnlyWhenAskedAndNeverLeavesTheRange)
{
    struct Case {
        int quale, count;
        bool wrap;
        std::optional<int> shown;
    };
    const Case cases[] = {
        {3, 5, true, 3},  {5, 5, true, 5},   {6, 5, true, 1},   {0, 5, true, 5},   {-4, 5, true, 5}, {99, 5, true, 1},
        {1, 0, true, {}}, {0, 0, true, {}},  {0, 30, false, {}}, {31, 30, false, {}}, {30, 30, false, 30},
        {1, 1, true, 1},  {2, 1, true, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(photoToShow(c.quale, c.count, c.wrap), c.shown) << c.quale << "/" << c.count << " " << c.wrap;
}

TEST(PhotoSequence, StepsSkipEmptySlots)
{
    const FotoValue gaps = slots({{1, "10"}, {2, "11"}, {5, " 12 "}, {6, "  "}, {9, "13"}});
    EXPECT_EQ(stepPhoto(2, 1, 9, gaps, true), 5);
    EXPECT_EQ(stepPhoto(5, 1, 9, gaps, true), 9);  // 6 is blank
    EXPECT_EQ(stepPhoto(9, 1, 9, gaps, true), 1);
    EXPECT_EQ(stepPhoto(9, 1, 9, gaps, false), std::nullopt);
    EXPECT_EQ(stepPhoto(1, -1, 9, gaps, true), 9);
    EXPECT_EQ(stepPhoto(1, -1, 9, gaps, false), std::nullopt);
    EXPECT_EQ(stepPhoto(9, -1, 9, gaps, true), 5);
    EXPECT_EQ(stepPhoto(0, 1, 9, gaps, true), 1);
    EXPECT_EQ(stepPhoto(4, 1, 9, gaps, true), 5);      // from an empty slot
    EXPECT_EQ(stepPhoto(50, -1, 9, gaps, false), 9);   // from past the end
    EXPECT_EQ(stepPhoto(2, 0, 9, gaps, true), std::nullopt);
    EXPECT_EQ(stepPhoto(1, 1, 0, gaps, true), std::nullopt);
    // The only photograph: no other to go to, but wrapping comes back to it.
    EXPECT_EQ(stepPhoto(1, 1, 1, gaps, true), 1);
    EXPECT_EQ(stepPhoto(3, 1, 4, slots({}), true), std::nullopt);
}

TEST(CaptionSaving, Decisions)
{
    const QString stored = writeCaption(caption(QStringLiteral("Vecchio")));
    struct Case {
        const char* name;
        QString text;
        bool modificato;
        int foto;
        bool answer;
        CaptionSave result;
        bool modificatoAfter;
        int questions;
        QString fieldAfter;
    };
    const Case cases[] = {
        {"not changed", "Nuovo", false, 1, true, CaptionSave::NotWanted, false, 0, stored},
        {"placeholder", "Testo...", true, 1, true, CaptionSave::NotWanted, false, 0, stored},
        {"lone photo", "Nuovo", true, 1149, true, CaptionSave::NoField, false, 0, stored},
        {"no such slot", "Nuovo", true, 16, true, CaptionSave::NoField, false, 0, stored},
        {"closed viewer", "Nuovo", true, 0, true, CaptionSave::NoField, false, 0, stored},
        {"declined", "Nuovo", true, 1, false, CaptionSave::Declined, false, 1, stored},
        {"same record", "Vecchio", true, 1, true, CaptionSave::Unchanged, false, 1, stored},
        {"stored", "Nuovo", true, 1, true, CaptionSave::Stored, false, 1,
         writeCaption(caption(QStringLiteral("Nuovo")))},
        {"blank clears", "  ", true, 1, true, CaptionSave::Stored, false, 1, QString()},
    };
    for (const Case& c : cases) {
        FakeCaptionTable table;
        for (int n = 1; n <= 15; ++n)
            table.fields[captionFieldName(n)] = QString();
        table.fields[QStringLiteral("TxtF1")] = stored;
        RecordingReports reports;
        reports.answer = c.answer;
        const CaptionSaveOutcome out = SaveToDB(table, c.foto, caption(c.text), c.modificato, true, reports);
        EXPECT_EQ(out.result, c.result) << c.name;
        EXPECT_EQ(out.modificato, c.modificatoAfter) << c.name;
        EXPECT_EQ(reports.log.size(), c.questions) << c.name << ": " << qPrintable(reports.log.join('\n'));
        EXPECT_EQ(table.fields.value(QStringLiteral("TxtF1")), c.fieldAfter) << c.name;
    }

    // Without the question, the caption is stored at once.
    FakeCaptionTable table;
    table.fields[QStringLiteral("TxtF2")] = QString();
    RecordingReports reports;
    reports.answer = false;
    EXPECT_EQ(SaveToDB(table, 2, caption(QStringLiteral("Incollato")), true, false, reports).result,
              CaptionSave::Stored);
    EXPECT_TRUE(reports.log.isEmpty());
}

TEST(CaptionSaving, FailedWriteIsReportedAndKeepsTheChange)
{
    FakeCaptionTable table;
    table.fields[QStringLiteral("TxtF3")] = QString();
    table.saveFails = true;
    RecordingReports reports;
    const CaptionSaveOutcome out = SaveToDB(table, 3, caption(QStringLiteral("Nuovo")), true, false, reports);
    EXPECT_EQ(out.result, CaptionSave::Failed);
    EXPECT_TRUE(out.modificato);
    EXPECT_FALSE(out.clearClipboard);
    ASSERT_EQ(reports.log.size(), 1);
    EXPECT_TRUE(reports.log[0].startsWith(QLatin1String("2 ")));
    EXPECT_TRUE(reports.log[0].contains(QLatin1String("disco pieno")));
    EXPECT_TRUE(reports.log[0].endsWith(QLatin1String("/dati/AAB2016.XML")));
}

namespace {

QList<FieldDef> photoFields()
{
    return {FieldDef::integer(QStringLiteral("NumRec")), FieldDef::text(QStringLiteral("Argomento"), 3),
            FieldDef::text(QStringLiteral("Foto1"), 5), FieldDef::memo(QStringLiteral("TxtF1")),
            FieldDef::memo(QStringLiteral("TxtF2"))};
}

bool fill(DataTable& table, const QString& file)
{
    if (!table.createFromFields(photoFields()))
        return false;
    const char* topics[] = {"A01", "B02", "C03"};
    for (int i = 0; i < 3; ++i) {
        if (!table.append() || !table.setField(QStringLiteral("NumRec"), i + 1)
            || !table.setField(QStringLiteral("Argomento"), QString::fromLatin1(topics[i]))
            || !table.setField(QStringLiteral("Foto1"), QString::number(100 + i)) || !table.post())
            return false;
    }
    table.setFileName(file);
    return table.saveToFile(file, DataTable::saveFormatFor(file)) && table.setIndexFieldNames(QStringLiteral("Argomento;NumRec"))
        && table.setRange({QStringLiteral("B02")}, {QStringLiteral("B02")});
}

}  // namespace

TEST(CaptionSaving, TheWholeTableIsWrittenAtomically)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("AAB2016.XML"));
    DataTable table;
    table.setSaveOnClose(false);
    ASSERT_TRUE(fill(table, file));
    ASSERT_EQ(table.recordCount(), 1);
    table.first();

    DataTableCaptions captions(table);
    EXPECT_TRUE(captions.hasField(QStringLiteral("TxtF2")));
    EXPECT_FALSE(captions.hasField(QStringLiteral("TxtF3")));
    RecordingReports reports;
    PhotoCaption c = caption(QStringLiteral("Riga uno\rRiga due"));
    c.arrows[0] = {QPoint(10, 300), QPoint(200, 100)};
    ASSERT_EQ(SaveToDB(captions, 2, c, true, false, reports).result, CaptionSave::Stored);
    EXPECT_TRUE(reports.log.isEmpty());

    // Every record of the file is still there, with the caption on its own.
    DataTable reread;
    reread.setSaveOnClose(false);
    reread.setFileName(file);
    ASSERT_TRUE(reread.open());
    ASSERT_EQ(reread.recordCount(), 3);
    ASSERT_TRUE(reread.locate(QStringLiteral("Argomento"), QStringLiteral("B02")));
    EXPECT_EQ(reread.fieldText(QStringLiteral("TxtF2")), writeCaption(c));
    EXPECT_EQ(readCaption(reread.fieldText(QStringLiteral("TxtF2"))).caption, c);
    ASSERT_TRUE(reread.locate(QStringLiteral("Argomento"), QStringLiteral("C03")));
    EXPECT_EQ(reread.fieldText(QStringLiteral("TxtF2")), QString());

    // A table without the field stores nothing and raises nothing.
    const QByteArray before = [&] { QFile f(file); f.open(QIODevice::ReadOnly); return f.readAll(); }();
    EXPECT_EQ(SaveToDB(captions, 7, c, true, true, reports).result, CaptionSave::NoField);
    EXPECT_TRUE(reports.log.isEmpty());
    QFile after(file);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), before);
}

TEST(CaptionSaving, AFailedWriteLeavesTableAndFileAsTheyWere)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("Lezione 1.xml"));
    DataTable table;
    table.setSaveOnClose(false);
    ASSERT_TRUE(fill(table, file));
    table.first();
    DataTableCaptions captions(table);
    RecordingReports reports;

    // The folder goes away: the write cannot happen.
    const QString gone = dir.filePath(QStringLiteral("sparita/Lezione 1.xml"));
    table.setFileName(gone);
    const CaptionSaveOutcome failed = SaveToDB(captions, 1, caption(QStringLiteral("Nuovo")), true, false, reports);
    EXPECT_EQ(failed.result, CaptionSave::Failed);
    EXPECT_TRUE(failed.modificato);
    ASSERT_EQ(reports.log.size(), 1);
    EXPECT_TRUE(reports.log[0].startsWith(QLatin1String("2 ")));
    EXPECT_TRUE(reports.log[0].endsWith(gone));
    EXPECT_EQ(table.fieldText(QStringLiteral("TxtF1")), QString());
    EXPECT_EQ(table.state(), DataTable::State::Browse);

    // Saving again once the file can be written stores the same caption.
    table.setFileName(file);
    EXPECT_EQ(SaveToDB(captions, 1, caption(QStringLiteral("Nuovo")), true, false, reports).result,
              CaptionSave::Stored);
    DataTable reread;
    reread.setSaveOnClose(false);
    reread.setFileName(file);
    ASSERT_TRUE(reread.open());
    ASSERT_TRUE(reread.locate(QStringLiteral("Argomento"), QStringLiteral("B02")));
    EXPECT_EQ(reread.fieldText(QStringLiteral("TxtF1")), writeCaption(caption(QStringLiteral("Nuovo"))));
}
