#include "quiz/exam_pdf.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>

namespace ziro {
namespace {

// The text of a PDF as its fonts' Unicode maps give it back, glyph by glyph
// in the order drawn, with the blanks left out.
QString pdfText(const QByteArray& pdf)
{
    std::vector<QByteArray> streams;
    static const QRegularExpression streamRe(QStringLiteral("<<(.*?)>>\\s*stream\\r?\\n"),
                                             QRegularExpression::DotMatchesEverythingOption);
    const QString latin = QString::fromLatin1(pdf);
    for (auto it = streamRe.globalMatch(latin); it.hasNext();) {
        const auto m = it.next();
        const int start = int(m.capturedEnd());
        const int end = int(pdf.indexOf("endstream", start));
        if (end < 0)
            break;
        QByteArray data = pdf.mid(start, end - start);
        if (m.captured(1).contains(QLatin1String("FlateDecode"))) {
            QByteArray sized(4, '\0');
            const quint32 hint = quint32(data.size()) * 20 + 1024;
            for (int i = 0; i < 4; ++i)
                sized[i] = char((hint >> (24 - 8 * i)) & 0xff);
            data = qUncompress(sized + data);
        }
        streams.push_back(data);
    }
    // The glyph-to-Unicode maps: single entries and ranges, with a start
    // value or with a list.
    std::map<uint, QString> unicode;
    const auto hexText = [](const QString& hex) {
        QString out;
        for (int i = 0; i + 4 <= hex.size(); i += 4)
            out += QChar(char16_t(hex.mid(i, 4).toUInt(nullptr, 16)));
        return out;
    };
    static const QRegularExpression charRe(QStringLiteral("<([0-9A-Fa-f]+)>\\s*<([0-9A-Fa-f]+)>"));
    static const QRegularExpression rangeRe(
        QStringLiteral("<([0-9A-Fa-f]+)>\\s*<([0-9A-Fa-f]+)>\\s*(<([0-9A-Fa-f]+)>|\\[([^\\]]*)\\])"));
    static const QRegularExpression hexRe(QStringLiteral("<([0-9A-Fa-f]+)>"));
    for (const QByteArray& s : streams) {
        const QString text = QString::fromLatin1(s);
        for (const QString& block : text.split(QStringLiteral("beginbfchar")).mid(1)) {
            const QString body = block.section(QStringLiteral("endbfchar"), 0, 0);
            for (auto it = charRe.globalMatch(body); it.hasNext();) {
                const auto m = it.next();
                unicode[m.captured(1).toUInt(nullptr, 16)] = hexText(m.captured(2));
            }
        }
        for (const QString& block : text.split(QStringLiteral("beginbfrange")).mid(1)) {
            const QString body = block.section(QStringLiteral("endbfrange"), 0, 0);
            for (auto it = rangeRe.globalMatch(body); it.hasNext();) {
                const auto m = it.next();
                const uint first = m.captured(1).toUInt(nullptr, 16);
                const uint last = m.captured(2).toUInt(nullptr, 16);
                if (!m.captured(4).isEmpty()) {
                    const uint u = m.captured(4).toUInt(nullptr, 16);
                    for (uint g = first; g <= last; ++g)
                        unicode[g] = QChar(char16_t(u + (g - first)));
                } else {
                    uint g = first;
                    for (auto h = hexRe.globalMatch(m.captured(5)); h.hasNext() && g <= last; ++g)
                        unicode[g] = hexText(h.next().captured(1));
                }
            }
        }
    }
    // The shown glyphs: the hex strings of the text objects.
    QString out;
    static const QRegularExpression textObject(QStringLiteral("BT(.*?)ET"),
                                               QRegularExpression::DotMatchesEverythingOption);
    for (const QByteArray& s : streams) {
        if (s.contains("beginbfchar") || s.contains("beginbfrange"))
            continue;
        for (auto it = textObject.globalMatch(QString::fromLatin1(s)); it.hasNext();) {
            const QString body = it.next().captured(1);
            for (auto h = hexRe.globalMatch(body); h.hasNext();) {
                const QString hex = h.next().captured(1);
                for (int i = 0; i + 4 <= hex.size(); i += 4) {
                    const auto found = unicode.find(hex.mid(i, 4).toUInt(nullptr, 16));
                    if (found != unicode.end())
                        out += found->second;
                }
            }
        }
    }
    // Ligatures ("ff") back to their letters; the gaps come back as
    // whatever the font maps them to.
    out = out.normalized(QString::NormalizationForm_KC);
    static const QRegularExpression blanks(QStringLiteral("\\s"));
    out.remove(blanks);
    return out;
}

ExamDraw sampleDraw()
{
    ExamDraw d;
    d.seed = 4321;
    for (int i = 1; i <= kExamStatements; ++i) {
        ExamItem item;
        item.statement.Aff[0] = QStringLiteral("Affermazione numero %1 sul sorpasso").arg(i);
        item.statement.Responso = (i * 7) % 3 == 0 ? 1 : 0;
        d.items.push_back(item);
    }
    return d;
}

TEST(ExamPdfTest, TheKeyGivesEachAnswerInOrderAndTheSheetNone)
{
    const ExamDraw d = sampleDraw();
    const QString key = pdfText(examPdf(d, true));
    ASSERT_TRUE(key.contains(QLatin1String("Soluzioni-Esamen.4321"))) << qPrintable(key.left(300));
    QStringList expected, found;
    for (const ExamItem& item : d.items)
        expected << examAnswerText(item.statement);
    static const QRegularExpression answer(QStringLiteral("Vero|Falso"));
    for (auto it = answer.globalMatch(key); it.hasNext();)
        found << it.next().captured();
    EXPECT_EQ(found, expected);
    int from = 0;
    for (int i = 1; i <= kExamStatements; ++i) {
        const int at = int(key.indexOf(QStringLiteral("%1.Affermazionenumero%1sulsorpasso").arg(i), from));
        ASSERT_GE(at, 0) << "statement " << i;
        from = at;
    }

    const QString sheet = pdfText(examPdf(d, false));
    EXPECT_TRUE(sheet.contains(QLatin1String("Simulazioned'esamen.4321")));
    EXPECT_TRUE(sheet.contains(QLatin1String("30.Affermazionenumero30sulsorpasso")));
    EXPECT_FALSE(sheet.contains(QLatin1String("Vero")));
    EXPECT_FALSE(sheet.contains(QLatin1String("Falso")));
}

TEST(ExamPdfTest, PrintingWritesBothFilesOrSaysWhy)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("Rossi"));
    ExamPrintout written;
    QString error;
    ASSERT_TRUE(printExam(sampleDraw(), folder, &written, &error)) << qPrintable(error);
    EXPECT_EQ(QFileInfo(written.sheet).fileName(), QLatin1String("Esame_4321.pdf"));
    EXPECT_EQ(QFileInfo(written.key).fileName(), QLatin1String("Esame_4321_soluzioni.pdf"));
    QFile key(written.key);
    ASSERT_TRUE(key.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdfText(key.readAll()).contains(QLatin1String("Soluzioni")));

    // A folder that is a file: nothing written, the reason given.
    QFile blocker(dir.filePath(QStringLiteral("file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_FALSE(printExam(sampleDraw(), blocker.fileName(), &written, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(printExam(ExamDraw{}, folder, &written, &error));
}

}  // namespace
}  // namespace ziro
