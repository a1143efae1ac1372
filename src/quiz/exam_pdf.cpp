#include "quiz/exam_pdf.h"

#include "platform/files/atomic_save.h"

#include <QBuffer>
#include <QDir>
#include <QFont>
#include <QFontMetrics>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace ziro {

QByteArray examPdf(const ExamDraw& draw, bool answers)
{
    if (!draw.ok())
        return {};
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly))
        return {};
    {
        QPdfWriter writer(&buffer);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setResolution(300);
        writer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
        writer.setTitle(answers ? QStringLiteral("Soluzioni dell'esame n. %1").arg(draw.seed)
                                : QStringLiteral("Esame n. %1").arg(draw.seed));
        writer.setCreator(QStringLiteral("Ziro"));
        QPainter painter;
        if (!painter.begin(&writer))
            return {};
        const QRect page = painter.viewport();
        const int width = page.width();
        QFont body(QStringLiteral("DejaVu Sans"));
        body.setPointSizeF(10);
        // One face throughout, larger for the title: the PDF then carries a
        // single font, and its text can be searched and copied as written.
        QFont head = body;
        head.setPointSizeF(14);

        painter.setFont(head);
        int y = 0;
        const QString title = answers ? QStringLiteral("Soluzioni - Esame n. %1").arg(draw.seed)
                                      : QStringLiteral("Simulazione d'esame n. %1").arg(draw.seed);
        painter.drawText(QRect(0, y, width, 120), Qt::AlignLeft | Qt::AlignTop, title);
        y += 130;
        painter.setFont(body);
        const QString rules = QStringLiteral("30 affermazioni, 20 minuti, superato con al massimo %1 errori.")
                                  .arg(kExamMaxErrors);
        painter.drawText(QRect(0, y, width, 80), Qt::AlignLeft | Qt::AlignTop, rules);
        y += 110;

        const int answerWidth = 300;
        const int numberWidth = 120;
        const int textWidth = width - numberWidth - answerWidth - 40;
        const QFontMetrics metrics(body, &writer);
        for (int i = 0; i < static_cast<int>(draw.items.size()); ++i) {
            const QuizStatement& s = draw.items[static_cast<std::size_t>(i)].statement;
            const QRect needed = metrics.boundingRect(QRect(0, 0, textWidth, 100000), Qt::TextWordWrap, s.Aff[0]);
            const int height = std::max(needed.height(), metrics.height()) + 30;
            if (y + height > page.height()) {
                writer.newPage();
                y = 0;
            }
            painter.drawText(QRect(0, y, numberWidth, height), Qt::AlignLeft | Qt::AlignTop,
                             QStringLiteral("%1.").arg(i + 1));
            painter.drawText(QRect(numberWidth, y, textWidth, height), Qt::TextWordWrap | Qt::AlignTop, s.Aff[0]);
            const QString answer = answers ? examAnswerText(s) : QStringLiteral("V [  ]   F [  ]");
            painter.drawText(QRect(width - answerWidth, y, answerWidth, height), Qt::AlignRight | Qt::AlignTop, answer);
            y += height;
        }
        if (!painter.end())
            return {};
    }
    buffer.close();
    return bytes;
}

bool printExam(const ExamDraw& draw, const QString& folder, ExamPrintout* written, QString* error)
{
    const auto failed = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    if (!draw.ok())
        return failed(QStringLiteral("Nessun esame da stampare."));
    if (folder.isEmpty() || !QDir().mkpath(folder))
        return failed(QStringLiteral("La cartella %1 non è disponibile.").arg(folder));
    const QString base = QDir(folder).filePath(QStringLiteral("Esame_%1").arg(draw.seed));
    ExamPrintout out{base + QStringLiteral(".pdf"), base + QStringLiteral("_soluzioni.pdf")};
    const QByteArray sheet = examPdf(draw, false);
    const QByteArray key = examPdf(draw, true);
    if (sheet.isEmpty() || key.isEmpty())
        return failed(QStringLiteral("Impossibile comporre il PDF dell'esame."));
    QString why;
    if (!saveFileAtomically(out.sheet, sheet, &why) || !saveFileAtomically(out.key, key, &why))
        return failed(QStringLiteral("Impossibile scrivere il PDF dell'esame: %1").arg(why));
    if (written)
        *written = out;
    return true;
}

}  // namespace ziro
