#include "quiz/sample_banks.h"

#include "platform/dataset/data_table.h"

#include <algorithm>

namespace ziro {

QList<FieldDef> questionBankFields()
{
    FieldDef risposta{QStringLiteral("Risposta"), FieldType::Boolean, 0, {}, {}};
    FieldDef difficolta{QStringLiteral("Difficolta"), FieldType::SmallInt, 0, {}, {}};
    FieldDef testo{QStringLiteral("Testo"), FieldType::WideText, 0, {}, {}};
    FieldDef lingua1{QStringLiteral("Lingua1"), FieldType::WideText, 0, {}, {}};
    FieldDef lingua2{QStringLiteral("Lingua2"), FieldType::WideText, 0, {}, {}};
    return {FieldDef::text(QStringLiteral("Blocco"), 7),
            FieldDef::text(QStringLiteral("id"), 4),
            risposta,
            testo,
            lingua1,
            lingua2,
            difficolta,
            FieldDef::text(QStringLiteral("Figura"), 8),
            FieldDef::text(QStringLiteral("Domanda"), 4),
            FieldDef::text(QStringLiteral("Info2"), 80),
            FieldDef::text(QStringLiteral("Audio1"), 16),
            FieldDef::text(QStringLiteral("Gruppo1"), 7)};
}

bool appendBankRow(DataTable& t, const BankRow& r, QString* error)
{
    if (!t.append())
        return false;
    const std::pair<const char*, QString> values[] = {
        {"Blocco", r.Blocco},   {"id", r.id},
        {"Risposta", r.Risposta ? QStringLiteral("TRUE") : QStringLiteral("FALSE")},
        {"Testo", r.Testo},     {"Lingua1", r.Lingua1},
        {"Lingua2", r.Lingua2}, {"Difficolta", QString::number(r.Difficolta)},
        {"Figura", r.Figura},   {"Domanda", r.Domanda},
        {"Info2", r.Info2},     {"Audio1", r.Audio1},
        {"Gruppo1", r.Gruppo1},
    };
    for (const auto& [name, value] : values) {
        if (!value.isEmpty() && !t.setField(QLatin1String(name), value, error)) {
            t.cancel();
            return false;
        }
    }
    return t.post(error);
}

bool fillSampleBank(DataTable& t, int statements, int perBlock, QString* error)
{
    if (!t.createFromFields(questionBankFields(), error))
        return false;
    perBlock = std::max(1, perBlock);
    static const char* const subjects[][3] = {
        {"Il segnale raffigurato impone di dare la precedenza",
         "Le panneau représenté impose de céder le passage",
         "Das abgebildete Zeichen schreibt vor, Vorfahrt zu gewähren"},
        {"Il segnale raffigurato è posto in prossimità degli incroci",
         "Le panneau représenté est placé à proximité des carrefours",
         "Das abgebildete Zeichen steht in der Nähe von Kreuzungen"},
        {"Il segnale raffigurato vieta la sosta",
         "Le panneau représenté interdit le stationnement",
         "Das abgebildete Zeichen verbietet das Parken"},
    };
    for (int i = 0; i < statements; ++i) {
        const int block = i / perBlock;
        const int within = i % perBlock + 1;
        const auto& s = subjects[i % 3];
        BankRow row;
        row.Blocco = QString::number(10001 + block);
        row.id = QString::number(within);
        row.Risposta = (i * 7) % 3 != 0;
        row.Testo = QString::fromUtf8(s[0]) + QStringLiteral(" (%1)").arg(i + 1);
        row.Lingua1 = QString::fromUtf8(s[1]);
        row.Lingua2 = QString::fromUtf8(s[2]);
        row.Difficolta = (i * 3) % 11;
        row.Figura = within % 4 == 0 ? QString() : QString::number(40 + block % 60);
        row.Domanda = QString::number(within);
        row.Info2 = within == 1 ? QStringLiteral("Blocco %1").arg(10001 + block) : QString();
        row.Audio1 = QStringLiteral("%1_%2").arg(10001 + block).arg(within, 2, 10, QLatin1Char('0'));
        if (!appendBankRow(t, row, error))
            return false;
    }
    return true;
}

}  // namespace ziro
