#include "drop_bench.h"

#include "authoring/lesson_editor_model.h"
#include "authoring/lesson_store.h"
#include "base/reports.h"
#include "bench_util.h"
#include "platform/dataset/data_table.h"

#include <QTemporaryDir>

#include <cstdio>
#include <vector>

namespace ziro::bench {

namespace {

struct QuietReports : Reports {
    void Emsg(ReportKind, const QString& c, const QString& n) override
    {
        fail(QStringLiteral("%1 %2").arg(c, n));
    }
    bool Conferma(const QString&, const QString&) override { return true; }
    void Debug(const QString&, const QString&) override {}
    bool reportWindowVisible() const override { return false; }
};

EditorDrag blockFor(int i)
{
    EditorDrag d;
    d.origin = DragOrigin::BlockCombo;
    d.record[QStringLiteral("Domanda")] = QStringLiteral("%1").arg(i + 1, 7, 10, QLatin1Char('0'));
    d.record[QStringLiteral("Nome segnale")] = QString::number(100 + i % 400);
    d.record[QStringLiteral("Testo")] = QStringLiteral("Passo %1 della lezione di prova").arg(i);
    for (int f = 1; f <= 6; ++f) {
        d.record[QStringLiteral("Foto%1").arg(f)] = QString::number(1000 + i * 7 + f);
        d.record[QStringLiteral("TxtF%1").arg(f)] = QStringLiteral("Didascalia %1 del passo %2").arg(f).arg(i);
    }
    for (int s = 1; s <= 12; ++s)
        d.codes << QStringLiteral("%1%2%3S000")
                       .arg(i + 1, 7, 10, QLatin1Char(' '))
                       .arg(s % 2 ? QLatin1Char('V') : QLatin1Char('F'))
                       .arg(s, 4, 10, QLatin1Char('0'));
    return d;
}

}  // namespace

int runDrop(int steps)
{
    QTemporaryDir dir;
    if (!dir.isValid())
        fail(QStringLiteral("no temporary folder"));
    const QString path = dir.filePath(QStringLiteral("Nuova lezione.xml"));
    {
        DataTable t;
        QString error;
        if (!t.createFromFields(lessonFields(), &error) || !t.saveToFile(path, SaveFormat::Ascii, &error))
            fail(error);
    }
    QuietReports reports;
    LessonEditorModel model(reports);
    QString error;
    if (!model.open(path, &error))
        fail(error);
    std::vector<double> drops, saves;
    const QString savePath = dir.filePath(QStringLiteral("Copia.xml"));
    for (int i = 0; i < steps; ++i) {
        const EditorDrag block = blockFor(i);
        EditorDrag photo;
        photo.origin = DragOrigin::SourcePhoto;
        photo.tag = 21;
        photo.photoValue = QString::number(9000 + i % 900);
        photo.photoCaption = QStringLiteral("Foto utente");
        const auto start = Clock::now();
        if (!model.dropOnLessonName(block, nullptr))
            fail(QStringLiteral("block drop %1 refused").arg(i));
        drops.push_back(msSince(start));
        const auto photoStart = Clock::now();
        if (!model.dropPhoto(photo, kStepPhotos))
            fail(QStringLiteral("photo drop %1 refused").arg(i));
        drops.push_back(msSince(photoStart));
        // The same lesson saved alone, as every drop saves it.
        const auto saveStart = Clock::now();
        if (!saveFileAtomically(savePath, model.lessonBytes(), &error))
            fail(error);
        saves.push_back(msSince(saveStart));
    }
    std::printf("steps %d\n", model.count());
    std::printf("drop_ms %.3f\n", median(drops));
    std::printf("save_ms %.3f\n", median(saves));
    return 0;
}

}  // namespace ziro::bench
