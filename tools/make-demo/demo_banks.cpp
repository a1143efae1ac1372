// The question banks of the four editions: one block for every quiz block
// the demo's records name, with statements about the record's sign in
// Italian, French and German. The A-B bank shows the sizes a class meets (a
// block of 1, 4 and 10 statements) and one of 71, more than a run holds.

#include "demo_content.h"
#include "sign_art.h"

#include "platform/dataset/data_table.h"
#include "quiz/question_bank.h"
#include "quiz/quiz_order.h"
#include "quiz/sample_banks.h"

#include <QMap>
#include <QSet>

#include <algorithm>
#include <vector>

namespace ziro::demo {

namespace {

struct Text {
    const char* it;
    const char* fr;
    const char* de;
    bool vero;
};

const Text kDanger[] = {
    {"Il segnale raffigurato è un segnale di pericolo", "Le panneau représenté est un panneau de danger",
     "Das abgebildete Zeichen ist ein Gefahrzeichen", true},
    {"Il segnale raffigurato è un segnale di obbligo", "Le panneau représenté est un panneau d'obligation",
     "Das abgebildete Zeichen ist ein Gebotszeichen", false},
};
const Text kPrecedence[] = {
    {"Il segnale raffigurato riguarda la precedenza", "Le panneau représenté concerne la priorité",
     "Das abgebildete Zeichen betrifft die Vorfahrt", true},
    {"Il segnale raffigurato consente di non fermarsi mai", "Le panneau représenté permet de ne jamais s'arrêter",
     "Das abgebildete Zeichen erlaubt, niemals anzuhalten", false},
};
const Text kProhibition[] = {
    {"Il segnale raffigurato è un segnale di divieto", "Le panneau représenté est un panneau d'interdiction",
     "Das abgebildete Zeichen ist ein Verbotszeichen", true},
    {"Il segnale raffigurato è un segnale di pericolo", "Le panneau représenté est un panneau de danger",
     "Das abgebildete Zeichen ist ein Gefahrzeichen", false},
};
const Text kObligation[] = {
    {"Il segnale raffigurato è un segnale di obbligo", "Le panneau représenté est un panneau d'obligation",
     "Das abgebildete Zeichen ist ein Gebotszeichen", true},
    {"Il segnale raffigurato è un segnale di divieto", "Le panneau représenté est un panneau d'interdiction",
     "Das abgebildete Zeichen ist ein Verbotszeichen", false},
};
const Text kIndication[] = {
    {"Il segnale raffigurato è un segnale di indicazione", "Le panneau représenté est un panneau d'indication",
     "Das abgebildete Zeichen ist ein Hinweiszeichen", true},
    {"Il segnale raffigurato impone di fermarsi", "Le panneau représenté impose de s'arrêter",
     "Das abgebildete Zeichen schreibt vor, anzuhalten", false},
};
const Text kPlate[] = {
    {"Il pannello raffigurato integra il segnale sotto cui è posto",
     "Le panonceau représenté complète le panneau sous lequel il est placé",
     "Das abgebildete Zusatzzeichen ergänzt das Zeichen, unter dem es steht", true},
    {"Il pannello raffigurato può stare da solo, senza altri segnali",
     "Le panonceau représenté peut être placé seul, sans autre panneau",
     "Das abgebildete Zusatzzeichen darf allein stehen, ohne anderes Zeichen", false},
};
const Text kLight[] = {
    {"Il semaforo raffigurato regola la circolazione all'incrocio",
     "Le feu représenté règle la circulation au carrefour", "Die abgebildete Ampel regelt den Verkehr an der Kreuzung",
     true},
    {"Con la luce gialla fissa si deve sempre accelerare", "Au feu jaune fixe il faut toujours accélérer",
     "Bei gelbem Dauerlicht muss man immer beschleunigen", false},
};
const Text kMarking[] = {
    {"La segnaletica orizzontale raffigurata va rispettata", "Le marquage au sol représenté doit être respecté",
     "Die abgebildete Fahrbahnmarkierung ist zu beachten", true},
    {"La striscia raffigurata si può sempre oltrepassare", "La ligne représentée peut toujours être franchie",
     "Die abgebildete Linie darf immer überfahren werden", false},
};
// Said of any sign: they fill the larger blocks.
const Text kAnySign[] = {
    {"Il segnale raffigurato va rispettato anche dai ciclisti",
     "Le panneau représenté doit être respecté aussi par les cyclistes",
     "Das abgebildete Zeichen gilt auch für Radfahrer", true},
    {"Il segnale raffigurato può essere ignorato di notte", "Le panneau représenté peut être ignoré la nuit",
     "Das abgebildete Zeichen darf nachts missachtet werden", false},
    {"Il segnale raffigurato vale solo sulle autostrade", "Le panneau représenté ne vaut que sur les autoroutes",
     "Das abgebildete Zeichen gilt nur auf Autobahnen", false},
    {"Il segnale raffigurato può essere ripetuto dopo ogni incrocio",
     "Le panneau représenté peut être répété après chaque carrefour",
     "Das abgebildete Zeichen kann nach jeder Kreuzung wiederholt werden", true},
    {"Il segnale raffigurato riguarda solo gli autocarri", "Le panneau représenté ne concerne que les camions",
     "Das abgebildete Zeichen betrifft nur Lastkraftwagen", false},
    {"Il segnale raffigurato deve essere visibile anche di notte",
     "Le panneau représenté doit être visible même la nuit", "Das abgebildete Zeichen muss auch nachts sichtbar sein",
     true},
};
// Questions without a sign: precedence at crossroads.
const Text kNoSign[] = {
    {"All'incrocio senza segnali si dà la precedenza ai veicoli da destra",
     "Au carrefour sans panneaux on cède le passage aux véhicules venant de droite",
     "An Kreuzungen ohne Zeichen hat der Verkehr von rechts Vorfahrt", true},
    {"All'incrocio senza segnali passa per primo il veicolo più veloce",
     "Au carrefour sans panneaux le véhicule le plus rapide passe en premier",
     "An Kreuzungen ohne Zeichen fährt das schnellste Fahrzeug zuerst", false},
    {"Chi svolta a sinistra dà la precedenza a chi procede diritto dal senso opposto",
     "Qui tourne à gauche cède le passage à qui va tout droit en sens inverse",
     "Wer links abbiegt, lässt den Gegenverkehr geradeaus durchfahren", true},
    {"I veicoli su rotaia hanno sempre l'obbligo di dare la precedenza",
     "Les véhicules sur rails doivent toujours céder le passage",
     "Schienenfahrzeuge müssen immer Vorfahrt gewähren", false},
    {"Il conducente deve moderare la velocità in prossimità degli incroci",
     "Le conducteur doit modérer sa vitesse à l'approche des carrefours",
     "Der Fahrer muss vor Kreuzungen die Geschwindigkeit mäßigen", true},
    {"All'incrocio si può sostare se non si intralcia nessuno",
     "On peut stationner au carrefour si l'on ne gêne personne",
     "An Kreuzungen darf man parken, wenn man niemanden behindert", false},
};

template <std::size_t N>
std::vector<Text> list(const Text (&texts)[N])
{
    return std::vector<Text>(texts, texts + N);
}

std::vector<Text> kindTexts(const std::optional<SignSpec>& sign)
{
    if (!sign)
        return list(kNoSign);
    switch (sign->kind) {
    case SignKind::Danger:
        return list(kDanger);
    case SignKind::GiveWay:
    case SignKind::Stop:
    case SignKind::Priority:
        return list(kPrecedence);
    case SignKind::Prohibition:
    case SignKind::NoEntry:
        return list(kProhibition);
    case SignKind::Obligation:
        return list(kObligation);
    case SignKind::Plate:
        return list(kPlate);
    case SignKind::Light:
        return list(kLight);
    case SignKind::Marking:
        return list(kMarking);
    default:
        return list(kIndication);
    }
}

struct BankFile {
    const char* content;
    const char* bank;
    int keyLength;
    bool groups;  // C-D-E marks the licence groups of each statement
};

const BankFile kBanks[] = {
    {"AAB2016.XML", "NQM2016.XML", 5, false},
    {"AAM2015.XML", "CQM2015.XML", 5, false},
    {"ACD2014.XML", "SQM2014.XML", 7, true},
    {"ACQ2021.XML", "QQM2021.XML", 5, false},
};

const char* const kGroupMarks[] = {"1", "2", "3", "135", "24", "67", "1234567", "5"};

bool failWith(QString* error, const QString& what)
{
    if (error)
        *error = what;
    return false;
}

// The block each record's reference names, as the quiz will take it, with
// the sign of the first record naming it.
bool blocksNamed(const QString& path, int keyLength, QMap<QString, QString>* blocks, QString* error)
{
    DataTable t;
    t.setSaveOnClose(false);
    if (!t.loadFromFile(path, error))
        return false;
    for (t.first(); !t.eof(); t.next()) {
        const QString code = t.fieldText(QStringLiteral("Domanda")).trimmed();
        if (code.isEmpty())
            continue;
        const QString reference = (code.startsWith(QLatin1Char('d')) ? QStringLiteral("C") : QStringLiteral("Ad")) + code;
        QString sign = t.fieldText(QStringLiteral("Nome segnale")).trimmed();
        if (sign.startsWith(QLatin1Char('f')))
            sign.remove(0, 1);
        const QString key = reference.right(keyLength);
        if (!blocks->contains(key))
            blocks->insert(key, sign);
    }
    return true;
}

// The sizes of the A-B blocks in the order of their keys; every size a
// class meets is among the first ones.
int blockSize(int index)
{
    static const int sizes[] = {4, 10, 1, 6, 3, 8, 2, 5, 12, 7};
    return sizes[index % 10];
}

bool writeBlock(DataTable& t, const QString& key, const QString& signCode, int size, bool groups, QString* error)
{
    const std::optional<SignSpec> sign = signCode.isEmpty() ? std::nullopt : findDemoSign(signCode);
    std::vector<Text> texts = kindTexts(sign);
    if (sign)
        texts.insert(texts.end(), std::begin(kAnySign), std::end(kAnySign));
    const QString caption = sign ? sign->caption : QStringLiteral("Precedenza agli incroci");
    for (int i = 0; i < size; ++i) {
        const Text& text = texts[std::size_t(i) % texts.size()];
        const int round = i / int(texts.size());
        BankRow row;
        row.Blocco = key;
        row.id = QString::number(i + 1);
        row.Risposta = text.vero;
        row.Testo = QString::fromUtf8(text.it);
        row.Lingua1 = QString::fromUtf8(text.fr);
        row.Lingua2 = QString::fromUtf8(text.de);
        if (round > 0) {
            // The long block repeats its statements: number the repeats so a
            // class can tell them apart.
            const QString suffix = QStringLiteral(" (%1)").arg(round + 1);
            row.Testo += suffix;
            row.Lingua1 += suffix;
            row.Lingua2 += suffix;
        }
        row.Difficolta = (i * 3 + key.right(2).toInt()) % 11;
        // Most statements show the record's sign; every fifth one shows the
        // give-way sign instead, as statements about another sign do.
        row.Figura = sign ? (i % 5 == 4 ? QStringLiteral("40") : sign->code) : QString();
        row.Domanda = QString::number(i / 4 + 1);
        // The first statement carries the caption; one block in three leaves
        // the others without, for the caption editor to fill.
        if (i == 0 || key.right(1).toInt() % 3 != 0)
            row.Info2 = caption.left(80);
        row.Audio1 = QStringLiteral("%1_%2").arg(key).arg(i + 1, 2, 10, QLatin1Char('0'));
        if (groups)
            row.Gruppo1 = QLatin1String(kGroupMarks[i % 8]);
        if (!appendBankRow(t, row, error))
            return false;
    }
    return true;
}

// Reads a bank back as the quiz does: every block a record names is there.
bool verifyBank(const QString& path, const QMap<QString, QString>& blocks, QString* error)
{
    QuestionBank bank;
    if (!bank.open(path, error))
        return false;
    for (auto it = blocks.begin(); it != blocks.end(); ++it)
        if (bank.block(it.key()).empty())
            return failWith(error, QStringLiteral("%1: no block %2").arg(path, it.key()));
    return true;
}

}  // namespace

bool writeQuestionBanks(const QString& programDir, QString* error)
{
    for (const BankFile& b : kBanks) {
        QMap<QString, QString> blocks;
        if (!blocksNamed(programDir + QLatin1String(b.content), b.keyLength, &blocks, error))
            return false;
        const bool ab = qstrcmp(b.bank, "NQM2016.XML") == 0;
        DataTable t;
        t.setSaveOnClose(false);
        if (!t.createFromFields(questionBankFields(), error))
            return false;
        int index = 0;
        QSet<int> sizes;
        for (auto it = blocks.begin(); it != blocks.end(); ++it, ++index) {
            // The precedence questions without a sign make the long block.
            const int size = ab && it.value().isEmpty() && !sizes.contains(kMaxStatements + 1)
                                 ? kMaxStatements + 1
                                 : blockSize(index);
            sizes.insert(size);
            if (!writeBlock(t, it.key(), it.value(), size, b.groups, error))
                return false;
        }
        if (ab) {
            if (blocks.size() < 40)
                return failWith(error, QStringLiteral("A-B bank: only %1 blocks").arg(blocks.size()));
            for (int size : {1, 4, 10, kMaxStatements + 1})
                if (!sizes.contains(size))
                    return failWith(error, QStringLiteral("A-B bank: no block of %1 statements").arg(size));
        }
        const QString path = programDir + QLatin1String(b.bank);
        if (!t.saveToFile(path, SaveFormat::Utf8, error) || !verifyBank(path, blocks, error))
            return false;
    }
    return true;
}

}  // namespace ziro::demo
