// The demo's course book: pages drawn by our own code for each edition's
// book folder (tall masked bitmaps with a heading, sections of driving
// theory with sign pictures and the page number; a gap in each edition's
// numbering), and the first records of each edition, in topic order,
// pointing at a section of a page with the marker (Libro, FreX, FreY).

#include "demo_content.h"
#include "sign_art.h"

#include "platform/dataset/data_table.h"
#include "platform/files/atomic_save.h"

#include <QDir>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>
#include <optional>

namespace ziro::demo {

namespace {

constexpr int kPageWidth = 580;
constexpr int kPageHeight = 1640;
constexpr int kSectionTop = 170;
constexpr int kSectionHeight = 360;
constexpr int kSections = 4;
constexpr int kTextLeft = 48;
constexpr int kTextWidth = 360;

struct Section {
    const char* heading;
    const char* text;
    const char* sign;  // demo sign code drawn beside the text, or ""
};

// Driving theory, in the course book's plain Italian.
const Section kSections_[] = {
    {"Il segnale di pericolo",
     "I segnali di pericolo hanno forma triangolare, con il bordo rosso e il fondo bianco. "
     "Preannunciano un pericolo che il conducente deve affrontare con prudenza: vanno posti "
     "a circa 150 metri dal punto pericoloso, distanza che si riduce nei centri abitati. "
     "Alla vista del segnale occorre moderare la velocit\u00e0 e prestare la massima attenzione.",
     "1"},
    {"Curva pericolosa",
     "Il segnale indica una curva pericolosa nella direzione del disegno. In prossimit\u00e0 "
     "della curva bisogna ridurre la velocit\u00e0 prima di entrarvi, tenere rigorosamente "
     "la destra e non effettuare sorpassi. Di notte la curva pu\u00f2 essere segnalata anche "
     "da delineatori posti sul margine della carreggiata.",
     "2"},
    {"Dare la precedenza",
     "Il segnale obbliga a dare la precedenza ai veicoli che circolano sulla strada in cui ci si "
     "immette, sia da destra sia da sinistra. Non impone di fermarsi se la strada \u00e8 libera, "
     "ma di rallentare e, se necessario, arrestarsi prima della linea trasversale tratteggiata.",
     "40"},
    {"Fermarsi e dare precedenza",
     "Il segnale di STOP obbliga sempre a fermarsi in corrispondenza della linea d'arresto, "
     "anche quando la strada \u00e8 libera, e a dare la precedenza a tutti i veicoli. Si riparte "
     "solo dopo essersi accertati di poterlo fare senza pericolo.",
     "41"},
    {"Divieto di transito",
     "Il segnale vieta il transito nei due sensi a tutti i veicoli. Pu\u00f2 essere completato da "
     "un pannello integrativo che indica le eccezioni, per esempio i residenti o i mezzi di "
     "soccorso. Si pu\u00f2 invece transitare a piedi, conducendo la bicicletta a mano.",
     "54"},
    {"Limite massimo di velocit\u00e0",
     "Il segnale indica la velocit\u00e0 massima consentita in chilometri orari. Il limite vale "
     "dal punto in cui \u00e8 posto fino al segnale di fine limite o al primo incrocio. Rispettare "
     "il limite non basta: la velocit\u00e0 va adeguata alle condizioni della strada e del traffico.",
     "60"},
    {"Obbligo di direzione",
     "I segnali di obbligo hanno forma circolare e fondo azzurro. La freccia bianca indica la "
     "sola direzione consentita: all'incrocio bisogna proseguire come indicato, dando la "
     "precedenza ai pedoni che attraversano.",
     "93"},
    {"La distanza di sicurezza",
     "La distanza di sicurezza \u00e8 lo spazio che permette di arrestare il veicolo senza urtare "
     "chi precede in caso di frenata improvvisa. Aumenta con la velocit\u00e0, con la stanchezza "
     "del conducente e con il fondo bagnato o ghiacciato, e deve essere tale da evitare collisioni.",
     ""},
    {"Il sorpasso",
     "Prima di sorpassare bisogna accertarsi che la visibilit\u00e0 sia sufficiente, che nessun "
     "veicolo stia gi\u00e0 sorpassando e che la corsia sia libera per un tratto sufficiente. "
     "Si segnala la manovra con l'indicatore di direzione e si rientra a destra appena possibile, "
     "senza tagliare la strada al veicolo sorpassato.",
     ""},
    {"Le luci dei veicoli",
     "Le luci di posizione e gli anabbaglianti vanno accesi da mezz'ora dopo il tramonto a "
     "mezz'ora prima del sorgere del sole, in galleria e quando la visibilit\u00e0 \u00e8 scarsa. "
     "Gli abbaglianti si usano fuori dai centri abitati e vanno spenti all'incrocio con altri "
     "veicoli per non abbagliarne i conducenti.",
     ""},
};
constexpr int kSectionCount = int(sizeof(kSections_) / sizeof(kSections_[0]));

struct BookEditionSpec {
    const char* folder;   // under the data folder
    const char* label;    // printed in the page heading
    const char* table;    // content table in the program folder
    const char* chapter;  // heading of every page
    std::vector<int> pages;
    // Records of the edition's first topic, in order: page and section.
    std::vector<std::pair<int, int>> records;
};

const std::vector<BookEditionSpec>& bookEditions()
{
    // Each edition leaves a gap in its numbering, so that turning the page
    // skips a missing one; C-D-E and CQC (highest page 9,999,999) jump far.
    static const std::vector<BookEditionSpec> all = {
        {"Book/", "Patente A-B", "AAB2016.XML", "La segnaletica stradale",
         {1, 2, 3, 4, 5, 6, 8, 9, 10, 11, 12}, {{6, 2}, {1, 1}, {5, 3}}},
        {"Book AM/", "Patente AM", "AAM2015.XML", "Il ciclomotore e la strada",
         {1, 2, 3, 5, 6}, {{3, 1}, {1, 2}}},
        {"Book CDE/", "Patente C-D-E", "ACD2014.XML", "Veicoli pesanti e trasporto",
         {1, 2, 3, 10, 25}, {{3, 2}, {2, 0}}},
        {"Book CQC/", "Patente CQC", "ACQ2021.XML", "Carta di qualificazione",
         {1, 2, 5}, {{2, 1}, {1, 3}}},
    };
    return all;
}

// Where the marker points for section `s`: at the left of its heading.
int sectionMarkerY(int s)
{
    return kSectionTop + s * kSectionHeight + 14;
}
constexpr int kMarkerX = kTextLeft - 6;

// Lays `text` out in `width` from `top`; returns the bottom.
int drawParagraph(QPainter& p, const QString& text, const QFont& font, int left, int top, int width)
{
    QTextLayout layout(text, font);
    layout.beginLayout();
    qreal y = top;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, y - top));
        y += line.height() + 2;
    }
    layout.endLayout();
    layout.draw(&p, QPointF(left, top));
    return int(y);
}

QImage drawPage(const BookEditionSpec& e, int number)
{
    QImage page(kPageWidth, kPageHeight, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter p(&page);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    const QColor blue(20, 60, 140);
    // Running head: the edition and the page.
    QFont small(QStringLiteral("DejaVu Sans"));
    small.setPixelSize(12);
    p.setFont(small);
    p.setPen(QColor(90, 90, 90));
    p.drawText(QRect(24, 16, 300, 18), Qt::AlignLeft | Qt::AlignVCenter, QLatin1String(e.label));
    p.drawText(QRect(kPageWidth - 224, 16, 200, 18), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("Pag. %1").arg(number));
    p.setPen(QPen(QColor(160, 160, 160), 1));
    p.drawLine(24, 38, kPageWidth - 24, 38);

    // The chapter heading.
    p.fillRect(QRect(24, 60, kPageWidth - 48, 70), blue);
    QFont title(QStringLiteral("DejaVu Sans"));
    title.setPixelSize(24);
    title.setBold(true);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QRect(40, 60, kPageWidth - 80, 70), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("%1.%2  %3").arg((number - 1) / 4 + 1).arg((number - 1) % 4 + 1)
                   .arg(QLatin1String(e.chapter)));

    QFont heading(QStringLiteral("DejaVu Sans"));
    heading.setPixelSize(18);
    heading.setBold(true);
    QFont body(QStringLiteral("DejaVu Serif"));
    body.setPixelSize(15);
    for (int s = 0; s < kSections; ++s) {
        const Section& sec = kSections_[(number * 3 + s) % kSectionCount];
        const int top = kSectionTop + s * kSectionHeight;
        p.setFont(heading);
        p.setPen(blue);
        p.drawText(QRect(kTextLeft, top, kPageWidth - kTextLeft - 24, 28), Qt::AlignLeft | Qt::AlignVCenter,
                   QString::fromUtf8(sec.heading));
        p.setPen(QPen(blue, 2));
        p.drawLine(kTextLeft, top + 32, kPageWidth - 24, top + 32);
        p.setFont(body);
        p.setPen(QColor(25, 25, 25));
        const bool withSign = sec.sign[0] != '\0';
        const int width = withSign ? kTextWidth : kPageWidth - kTextLeft - 32;
        int bottom = drawParagraph(p, QString::fromUtf8(sec.text), body, kTextLeft, top + 46, width);
        if (withSign) {
            if (const std::optional<SignSpec> sign = findDemoSign(QLatin1String(sec.sign))) {
                const QRect box(kTextLeft + kTextWidth + 20, top + 50, 120, 120);
                p.setPen(QPen(QColor(200, 200, 200), 1));
                p.setBrush(Qt::NoBrush);
                p.drawRect(box.adjusted(-4, -4, 4, 4));
                paintSignInto(p, *sign, QRectF(box));
                p.setFont(small);
                p.setPen(QColor(90, 90, 90));
                p.drawText(QRect(box.left() - 10, box.bottom() + 6, box.width() + 20, 16), Qt::AlignCenter,
                           QStringLiteral("Fig. %1.%2").arg(number).arg(s + 1));
            }
        }
        // A box of things to remember under the text.
        bottom = std::max(bottom, top + 190) + 14;
        const QRect note(kTextLeft, bottom, kPageWidth - kTextLeft - 32, 58);
        p.setPen(QPen(QColor(200, 150, 0), 1));
        p.setBrush(QColor(255, 246, 210));
        p.drawRoundedRect(note, 6, 6);
        p.setFont(small);
        p.setPen(QColor(90, 60, 0));
        p.drawText(note.adjusted(10, 6, -10, -6), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap,
                   QString::fromUtf8("Ricorda: %1 \u00e8 argomento d'esame; rileggi il paragrafo e "
                                     "osserva la figura prima di rispondere ai quiz.")
                       .arg(QString::fromUtf8(sec.heading).toLower()));
    }

    // The page number at the foot.
    p.setPen(QPen(QColor(160, 160, 160), 1));
    p.drawLine(24, kPageHeight - 50, kPageWidth - 24, kPageHeight - 50);
    QFont foot(QStringLiteral("DejaVu Sans"));
    foot.setPixelSize(16);
    foot.setBold(true);
    p.setFont(foot);
    p.setPen(QColor(60, 60, 60));
    p.drawText(QRect(0, kPageHeight - 44, kPageWidth, 30), Qt::AlignCenter, QStringLiteral("\u2014 %1 \u2014").arg(number));
    return page;
}

bool failWith(QString* error, const QString& why)
{
    if (error)
        *error = why;
    return false;
}

bool pointAt(DataTable& t, const QString& libro, int section, QString* error)
{
    return t.edit() && t.setField(QStringLiteral("Libro"), libro, error) &&
           t.setField(QStringLiteral("FreX"), kMarkerX, error) &&
           t.setField(QStringLiteral("FreY"), sectionMarkerY(section), error) && t.post(error);
}

}  // namespace

bool writeBookPages(const QString& ziroDir, const QString& programDir, QString* error)
{
    for (const BookEditionSpec& e : bookEditions()) {
        const QString folder = ziroDir + QLatin1String(e.folder);
        if (!QDir().mkpath(folder))
            return failWith(error, QStringLiteral("cannot make ") + folder);
        for (const int n : e.pages)
            if (!saveFileAtomically(folder + QStringLiteral("Pag%1.KXB").arg(n), maskedBytes(drawPage(e, n)), error))
                return false;

        // The records: the first ones of the edition's first topics, in
        // topic order.
        const QString tablePath = programDir + QLatin1String(e.table);
        DataTable t;
        if (!t.loadFromFile(tablePath, error))
            return false;
        std::vector<std::pair<QString, int>> order;  // topic, NumRec
        for (t.first(); !t.eof(); t.next())
            if (!t.fieldText(QStringLiteral("Argomento")).isEmpty())
                order.emplace_back(t.fieldText(QStringLiteral("Argomento")), t.fieldInt(QStringLiteral("NumRec")));
        std::sort(order.begin(), order.end());
        if (order.size() < e.records.size())
            return failWith(error, tablePath + QStringLiteral(": too few records for the book"));
        for (std::size_t i = 0; i < e.records.size(); ++i) {
            if (!t.locate(QStringLiteral("NumRec"), QString::number(order[i].second)))
                return failWith(error, tablePath + QStringLiteral(": no record %1").arg(order[i].second));
            const auto [page, section] = e.records[i];
            if (!pointAt(t, QString::number(page), section, error))
                return false;
        }
        // The A-B film record names its page "012": the same page 12.
        if (QLatin1String(e.folder) == QLatin1String("Book/")) {
            if (!saveFileAtomically(folder + QStringLiteral("Pag012.KXB"), maskedBytes(drawPage(e, 12)), error))
                return false;
            if (t.locate(QStringLiteral("Libro"), QStringLiteral("012")) && !pointAt(t, QStringLiteral("012"), 1, error))
                return false;
        }
        if (!t.saveToFile(tablePath, SaveFormat::Utf8, error))
            return false;
    }
    return true;
}

}  // namespace ziro::demo
