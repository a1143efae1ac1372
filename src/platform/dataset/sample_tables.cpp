#include "platform/dataset/sample_tables.h"

#include "platform/dataset/data_table.h"

#include <QStringList>

#include <cstdint>

namespace ziro {

namespace {

// splitmix64: the same numbers on every platform and library, unlike the
// standard distributions.
class Random
{
public:
    explicit Random(std::uint64_t seed) : m_state(seed * 0x9E3779B97F4A7C15ULL + 1) {}
    std::uint64_t next()
    {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    int below(int n) { return int(next() % std::uint64_t(n)); }
    bool chance(int percent) { return below(100) < percent; }

private:
    std::uint64_t m_state;
};

const QStringList& sentences()
{
    static const QStringList list = {
        QStringLiteral("Il conducente deve dare la precedenza ai veicoli che provengono da destra."),
        QStringLiteral("È vietato il sorpasso in prossimità delle intersezioni e dei dossi."),
        QStringLiteral("Il segnale preannuncia un tratto di strada sdrucciolevole per pioggia o gelo."),
        QStringLiteral("In caso di nebbia fitta è obbligatorio ridurre la velocità e accendere i fendinebbia."),
        QStringLiteral("La distanza di sicurezza dipende dalla velocità, dal carico e dallo stato della strada."),
        QStringLiteral("Il pedone che attraversa sulle strisce ha sempre la precedenza."),
        QStringLiteral("Nelle gallerie si devono tenere accesi i proiettori anabbaglianti."),
        QStringLiteral("Perché la frenata sia efficace gli pneumatici devono avere il battistrada regolare."),
        QStringLiteral("Città, velocità, più, già, così, perché: à è é ì ò ù."),
        QStringLiteral("Al passaggio a livello senza barriere occorre fermarsi e guardare da entrambe le parti."),
        QStringLiteral("Il casco deve essere allacciato correttamente anche per brevi tragitti."),
        QStringLiteral("Sulle strade extraurbane principali il limite è di 110 km/h."),
    };
    return list;
}

QString sentencesUpTo(Random& random, int count, const QString& separator, int maxLength)
{
    QString text;
    for (int i = 0; i < count; ++i) {
        const QString& s = sentences()[random.below(int(sentences().size()))];
        const QString candidate = text.isEmpty() ? s : text + separator + s;
        if (maxLength > 0 && candidate.size() > maxLength)
            break;
        text = candidate;
    }
    return text;
}

QString digits(Random& random, int count)
{
    QString s;
    for (int i = 0; i < count; ++i)
        s.append(QChar(u'0' + random.below(10)));
    return s;
}

}  // namespace

QList<FieldDef> contentTableFields()
{
    QList<FieldDef> f = {
        FieldDef::integer(QStringLiteral("NumRec")),
        FieldDef::text(QStringLiteral("Domanda"), 7),
        FieldDef::text(QStringLiteral("Capitolo"), 2),
        FieldDef::text(QStringLiteral("Argomento"), 3),
        FieldDef::text(QStringLiteral("ArgLiv1"), 1),
        FieldDef::text(QStringLiteral("ArgLiv2"), 2),
        FieldDef::text(QStringLiteral("Nome segnale"), 5),
        FieldDef::text(QStringLiteral("Difficolta"), 2),
        FieldDef::text(QStringLiteral("Selezione"), 3),
        FieldDef::text(QStringLiteral("Spare"), 8),
        FieldDef::integer(QStringLiteral("nVere")),
        FieldDef::integer(QStringLiteral("nFalse")),
        FieldDef::text(QStringLiteral("Libro"), 5),
        FieldDef::integer(QStringLiteral("FreX")),
        FieldDef::integer(QStringLiteral("FreY")),
        FieldDef::text(QStringLiteral("Audio"), 5),
        FieldDef::text(QStringLiteral("Video"), 5),
        FieldDef::text(QStringLiteral("EDL"), 15),
        FieldDef::text(QStringLiteral("Html1"), 5),
        FieldDef::text(QStringLiteral("Testo"), 320),
        FieldDef::text(QStringLiteral("Info1"), 8),
    };
    for (int i = 1; i <= 30; ++i)
        f.append(FieldDef::text(QStringLiteral("Foto%1").arg(i), 5));
    for (int i = 1; i <= 30; ++i)
        f.append(FieldDef::memo(QStringLiteral("TxtF%1").arg(i)));
    for (int i = 1; i <= 13; ++i)
        f.append(FieldDef::text(QStringLiteral("Icona%1").arg(i), 5));
    for (int i = 1; i <= 3; ++i)
        f.append(FieldDef::text(QStringLiteral("Gruppo%1").arg(i), 3));
    f.append(FieldDef::integer(QStringLiteral("Tipo")));
    for (int i = 1; i <= 70; ++i)
        f.append(FieldDef::text(QStringLiteral("Quesito%1").arg(i), 17));
    return f;
}

bool fillSampleContentTable(DataTable& table, int records, unsigned seed, QString* error)
{
    if (!table.createFromFields(contentTableFields(), error))
        return false;
    Random random(seed);
    const int topicCount = 10 * 17;
    const int foto1 = table.fieldIndex(QStringLiteral("Foto1"));
    const int txtF1 = table.fieldIndex(QStringLiteral("TxtF1"));
    const int icona1 = table.fieldIndex(QStringLiteral("Icona1"));
    const int gruppo1 = table.fieldIndex(QStringLiteral("Gruppo1"));
    const int quesito1 = table.fieldIndex(QStringLiteral("Quesito1"));

    table.disableControls();
    for (int r = 0; r < records; ++r) {
        table.append();
        auto set = [&table](const char* name, const QString& value) { table.setField(QLatin1String(name), value); };
        // Topics come in blocks as the files are laid out, with a tenth of
        // the records out of place so that ordering has work to do.
        int topic = int(std::int64_t(r) * topicCount / std::max(records, 1));
        if (random.chance(10))
            topic = random.below(topicCount);
        const QString argomento = QChar(u'A' + topic / 17) + QStringLiteral("%1").arg(topic % 17 + 1, 2, 10, QLatin1Char('0'));

        table.setField(QStringLiteral("NumRec"), r + 1);
        const bool quiz = random.chance(60);
        if (quiz) {
            set("Domanda", (random.chance(20) ? QStringLiteral("d") : QString()) + digits(random, 5));
            table.setField(QStringLiteral("nVere"), 1 + random.below(4));
            table.setField(QStringLiteral("nFalse"), 1 + random.below(4));
        }
        set("Capitolo", QStringLiteral("%1").arg(topic / 17 + 1, 2, 10, QLatin1Char('0')));
        set("Argomento", argomento);
        set("ArgLiv1", QString::number(random.below(4)));
        set("ArgLiv2", digits(random, 2));
        if (random.chance(70))
            set("Nome segnale", (random.chance(20) ? QStringLiteral("f") : QString()) + QString::number(1 + random.below(708)));
        set("Difficolta", QString::number(1 + random.below(3)));
        if (random.chance(30))
            set("Selezione", QStringLiteral("SI"));
        if (random.chance(8))
            set("Spare", random.chance(50) ? QStringLiteral("5") : QStringLiteral("2"));
        if (random.chance(80)) {
            set("Libro", digits(random, 3));
            table.setField(QStringLiteral("FreX"), 1);
            table.setField(QStringLiteral("FreY"), 15 + random.below(1400));
        }
        if (random.chance(50))
            set("Audio", digits(random, 5));
        if (random.chance(10)) {
            set("Video", QStringLiteral("V") + digits(random, 3));
            set("EDL", QStringLiteral("%1-%2").arg(random.below(900)).arg(900 + random.below(9000)));
        }
        if (random.chance(5))
            set("Html1", QStringLiteral("H") + digits(random, 3));
        if (random.chance(60))
            set("Testo", sentencesUpTo(random, 1 + random.below(4), QStringLiteral(" "), 320));
        if (random.chance(10))
            set("Info1", QStringLiteral("I") + digits(random, 4));

        // A few photographs for most records, a dozen for some.
        const int photos = random.chance(25) ? 0 : (random.chance(85) ? 1 + random.below(4) : 5 + random.below(8));
        for (int p = 0; p < photos; ++p) {
            table.setField(foto1 + p, digits(random, 5));
            if (random.chance(60))
                table.setField(txtF1 + p, sentencesUpTo(random, 1 + random.below(3), QStringLiteral("\r\n"), 0));
        }
        const int icons = random.chance(50) ? 0 : 1 + random.below(5);
        for (int i = 0; i < icons; ++i)
            table.setField(icona1 + i, QStringLiteral("S") + digits(random, 3));
        const int groups = random.below(3);
        for (int g = 0; g < groups; ++g)
            table.setField(gruppo1 + g, QStringLiteral("G") + digits(random, 2));
        if (random.chance(5)) {
            const int references = 5 + random.below(16);
            for (int q = 0; q < references; ++q) {
                table.setField(quesito1 + q, QStringLiteral("%1%2 %3")
                                                 .arg(argomento, 7)
                                                 .arg(digits(random, 5), 6)
                                                 .arg(digits(random, 3)));
            }
        }
        if (!table.post(error))
            return false;
    }
    table.first();
    table.enableControls();
    return true;
}

}  // namespace ziro
