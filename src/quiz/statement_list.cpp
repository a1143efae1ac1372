#include "quiz/statement_list.h"

namespace ziro {

void StatementList::clearPositions()
{
    for (QuizStatement& s : Affermazioni)
        s = QuizStatement();
    GiaUsciti.fill(0);
    NumAff = 0;
}

QString diagnosticText(const QString& blockKey, int numAff, const QString& segnaleCorrente,
                       const std::vector<QuizStatement>& sources)
{
    QString text = QStringLiteral("Blocco: ") + blockKey + QStringLiteral(", NumAff: ") + QString::number(numAff) +
                   QStringLiteral(", SegnaleCorrente: ") + segnaleCorrente + QStringLiteral("\r\n\r\n");
    for (const QuizStatement& s : sources) {
        text += QString::number(s.ARRnum) + QStringLiteral("] ") +
                (s.Responso ? QStringLiteral("True") : QStringLiteral("False")) + QStringLiteral(", {") +
                s.IntegratoAffermazione + QStringLiteral("}   ") + s.Aff[0] + QStringLiteral(" (") +
                QString::number(s.PercErr) + QStringLiteral(")\r");
    }
    return text;
}

}  // namespace ziro
