// The demo's lesson content: a walk through the A-B edition's signs, the
// sub-topic lists of every edition with records behind each row, and
// question banks to go with them.

#include "demo_content.h"

#include "controls/kxb.h"
#include "menus/topic_list.h"
#include "platform/dataset/data_table.h"
#include "platform/dataset/sample_tables.h"
#include "platform/files/atomic_save.h"
#include "platform/files/text_codec.h"
#include "sign_art.h"

#include <QtEndian>
#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QSet>

#include <initializer_list>
#include <utility>
#include <vector>

namespace ziro::demo {

namespace {

using Fields = std::initializer_list<std::pair<const char*, QString>>;

struct Record {
    QString argomento;
    QString segnale;
    Fields extra;
};

bool addRecord(DataTable& t, int numRec, const QString& argomento, const QString& segnale,
               Fields extra, QString* error)
{
    if (!t.append())
        return false;
    bool ok = t.setField(QStringLiteral("NumRec"), numRec, error) &&
              t.setField(QStringLiteral("Argomento"), argomento, error);
    if (ok && !segnale.isEmpty())
        ok = t.setField(QStringLiteral("Nome segnale"), segnale, error);
    for (const auto& [name, value] : extra)
        if (ok)
            ok = t.setField(QString::fromLatin1(name), value, error);
    return ok && t.post(error);
}

QString caption(const QString& code)
{
    const auto s = findDemoSign(code);
    return s ? s->caption : QString();
}

// The A-B lesson: every demo sign in its topic, with plates and linked signs
// in the panels, quiz blocks, and the markers the walk reacts to.
bool fillAB(DataTable& t, QString* error)
{
    int n = 0;
    auto add = [&](const QString& arg, const QString& sign, Fields extra) {
        return addRecord(t, ++n, arg, sign, extra, error);
    };
    auto sign = [&](const QString& arg, const QString& code, const QString& domanda,
                    Fields extra = {}) {
        if (!add(arg, code, extra))
            return false;
        bool ok = t.edit() && t.setField(QStringLiteral("Testo"), caption(code.startsWith(QLatin1Char('f')) ? code.mid(1) : code), error);
        if (ok && !domanda.isEmpty())
            ok = t.setField(QStringLiteral("Domanda"), domanda, error) &&
                 t.setField(QStringLiteral("Selezione"), QStringLiteral("SI"), error);
        return ok && t.post(error);
    };

    // B: the road, its markings.
    for (const char* c : {"501", "502", "503", "504"})
        if (!sign(QStringLiteral("B01"), QLatin1String(c), QStringLiteral("01001")))
            return false;

    // C01 danger signs, some with plates and linked signs in the panels.
    if (!sign(QStringLiteral("C01"), QStringLiteral("1"), QStringLiteral("02001"),
              {{"Icona6", QStringLiteral("n2")}, {"Icona7", QStringLiteral("n3")}}))
        return false;
    if (!sign(QStringLiteral("C01"), QStringLiteral("2"), QStringLiteral("02002"),
              {{"Icona6", QStringLiteral("n1")}, {"Icona7", QStringLiteral("n3")}}))
        return false;
    if (!sign(QStringLiteral("C01"), QStringLiteral("3"), QStringLiteral("02003")))
        return false;
    if (!sign(QStringLiteral("C01"), QStringLiteral("4"), QStringLiteral("02004"),
              {{"Icona6", QStringLiteral("n42")}, {"Icona7", QStringLiteral("n40")}}))
        return false;
    if (!sign(QStringLiteral("C01"), QStringLiteral("5"), QStringLiteral("02005"),
              {{"Icona6", QStringLiteral("n168")}, {"Icona7", QStringLiteral("n503")}}))
        return false;
    for (const char* c : {"6", "7"})
        if (!sign(QStringLiteral("C01"), QLatin1String(c), QStringLiteral("02006")))
            return false;
    if (!sign(QStringLiteral("C01"), QStringLiteral("8"), QStringLiteral("02008"),
              {{"Icona1", QStringLiteral("121")}, {"Icona2", QStringLiteral("124a")},
               {"Icona6", QStringLiteral("n275")},
               {"Icona7", QStringLiteral("n909")}}))
        return false;
    for (const char* c : {"9", "10"})
        if (!sign(QStringLiteral("C01"), QLatin1String(c), QStringLiteral("02009")))
            return false;
    if (!sign(QStringLiteral("C01"), QStringLiteral("11"), QStringLiteral("02011"),
              {{"Icona6", QStringLiteral("n41")}, {"Icona7", QStringLiteral("n8")},
               {"Icona8", QStringLiteral("n911")}}))
        return false;
    for (const char* c : {"12", "13"})
        if (!sign(QStringLiteral("C01"), QLatin1String(c), QString()))
            return false;

    // C02 precedence; the stop sign shown in its large form.
    for (const char* c : {"40", "f41", "42", "43", "44", "45", "46"})
        if (!sign(QStringLiteral("C02"), QLatin1String(c), QStringLiteral("03001"),
                  {{"Icona1", QStringLiteral("121")}}))
            return false;

    // C03 prohibitions.
    for (const char* c : {"54", "55", "57", "58", "59", "60", "61", "62", "63", "64", "65",
                          "66", "67", "68", "69"})
        if (!sign(QStringLiteral("C03"), QLatin1String(c), QStringLiteral("04001")))
            return false;
    if (!sign(QStringLiteral("C03"), QStringLiteral("56"), QStringLiteral("04002"),
              {{"Icona6", QStringLiteral("n56")}, {"Icona7", QStringLiteral("a931")}}))
        return false;

    // C04 obligations.
    for (const char* c : {"93", "94", "95", "96", "97", "98", "99", "100"})
        if (!sign(QStringLiteral("C04"), QLatin1String(c), QStringLiteral("05001")))
            return false;

    // C05 supplementary plates: their own panels show the sign they go with.
    for (const char* c : {"121", "122", "123", "124", "125", "126"})
        if (!sign(QStringLiteral("C05"), QLatin1String(c), QString(),
                  {{"Icona6", QStringLiteral("n8")}, {"Spare", QStringLiteral("2")}}))
            return false;

    // C06 indications, C07 traffic lights.
    for (const char* c : {"166", "167", "168", "169", "170", "171", "172", "173", "174"})
        if (!sign(QStringLiteral("C06"), QLatin1String(c), QStringLiteral("06001")))
            return false;
    for (const char* c : {"154", "155", "156", "157"})
        if (!sign(QStringLiteral("C07"), QLatin1String(c), QStringLiteral("07001"),
                  {{"Spare", QStringLiteral("3")}}))
            return false;

    // E: behaviour, questions without a sign; one with a film and a book page.
    if (!add(QStringLiteral("E01"), QString(),
             {{"Domanda", QStringLiteral("08001")}, {"Selezione", QStringLiteral("SI")},
              {"Testo", QString::fromUtf8("Precedenza agli incroci")}, {"Video", QStringLiteral("001")},
              {"EDL", QStringLiteral("0/250")}, {"Libro", QStringLiteral("012")}}))
        return false;
    if (!add(QStringLiteral("E01"), QStringLiteral("275"),
             {{"Domanda", QStringLiteral("08002")}, {"Selezione", QStringLiteral("SI")},
              {"Testo", caption(QStringLiteral("275"))}, {"Video", QStringLiteral("014")},
              {"EDL", QStringLiteral("25/150")}}))
        return false;
    // H01, a photo-only stretch, and the photographs of other records come
    // with the demo's photographs (addPhotoRecords).
    return true;
}

QList<FieldDef> bankFields()
{
    FieldDef risposta;
    risposta.name = QStringLiteral("Risposta");
    risposta.type = FieldType::Boolean;
    return {FieldDef::text(QStringLiteral("Blocco"), 7),
            FieldDef::text(QStringLiteral("id"), 4),
            risposta,
            FieldDef::memo(QStringLiteral("Testo")),
            FieldDef::memo(QStringLiteral("Lingua1")),
            FieldDef::memo(QStringLiteral("Lingua2")),
            FieldDef::integer(QStringLiteral("Difficolta")),
            FieldDef::text(QStringLiteral("Figura"), 8),
            FieldDef::text(QStringLiteral("Domanda"), 4),
            FieldDef::text(QStringLiteral("Info2"), 60),
            FieldDef::text(QStringLiteral("Audio1"), 12),
            FieldDef::text(QStringLiteral("Gruppo1"), 7)};
}

struct Statement {
    const char* blocco;
    const char* id;
    bool vero;
    const char* it;
    const char* fr;
    const char* de;
    const char* figura;
};

const Statement kStatements[] = {
    {"02001", "1", true, "Il segnale preannuncia una curva pericolosa a destra",
     "Le panneau annonce un virage dangereux à droite",
     "Das Zeichen kündigt eine gefährliche Rechtskurve an", "1"},
    {"02001", "2", false, "Il segnale obbliga a svoltare a destra",
     "Le panneau oblige à tourner à droite", "Das Zeichen schreibt vor, rechts abzubiegen", "1"},
    {"02001", "3", true, "In presenza del segnale bisogna moderare la velocità",
     "En présence du panneau il faut modérer la vitesse",
     "Bei diesem Zeichen muss man die Geschwindigkeit mäßigen", "1"},
    {"04002", "1", true, "Il segnale vieta il sorpasso dei veicoli a motore",
     "Le panneau interdit le dépassement des véhicules à moteur",
     "Das Zeichen verbietet das Überholen von Kraftfahrzeugen", "56"},
    {"04002", "2", false, "Il segnale consente il sorpasso a destra",
     "Le panneau permet le dépassement par la droite",
     "Das Zeichen erlaubt das Rechtsüberholen", "56"},
    {"08001", "1", true, "All'incrocio senza segnali si dà la precedenza ai veicoli da destra",
     "Au carrefour sans panneaux on cède le passage aux véhicules venant de droite",
     "An Kreuzungen ohne Zeichen hat der Verkehr von rechts Vorfahrt", ""},
};

bool writeBank(const QString& path, bool withStatements, QString* error)
{
    DataTable t;
    if (!t.createFromFields(bankFields(), error))
        return false;
    if (withStatements) {
        for (const Statement& s : kStatements) {
            if (!(t.append() && t.setField(QStringLiteral("Blocco"), QLatin1String(s.blocco), error) &&
                  t.setField(QStringLiteral("id"), QLatin1String(s.id), error) &&
                  t.setField(QStringLiteral("Risposta"),
                             s.vero ? QStringLiteral("TRUE") : QStringLiteral("FALSE"), error) &&
                  t.setField(QStringLiteral("Testo"), QString::fromUtf8(s.it), error) &&
                  t.setField(QStringLiteral("Lingua1"), QString::fromUtf8(s.fr), error) &&
                  t.setField(QStringLiteral("Lingua2"), QString::fromUtf8(s.de), error) &&
                  t.setField(QStringLiteral("Difficolta"), 3, error) &&
                  t.setField(QStringLiteral("Figura"), QLatin1String(s.figura), error) &&
                  t.setField(QStringLiteral("Domanda"), QStringLiteral("1"), error) &&
                  t.setField(QStringLiteral("Info2"), QString::fromUtf8(s.it).left(40), error) &&
                  t.post(error)))
                return false;
        }
    }
    return t.saveToFile(path, SaveFormat::Utf8, error);
}

bool writeTable(const QString& path, const std::function<bool(DataTable&, QString*)>& fill,
                QString* error)
{
    DataTable t;
    return t.createFromFields(contentTableFields(), error) && fill(t, error) &&
           t.saveToFile(path, SaveFormat::Utf8, error);
}

// A bitmap with a 256-colour palette, run-length encoded: the drawn signs are
// mostly flat colour, so this keeps the demo a few megabytes instead of
// dozens while the loader reads it like any other bitmap.
QByteArray bmpBytes(const QImage& source)
{
    const QImage img = source.convertToFormat(QImage::Format_Indexed8,
                                              Qt::ThresholdDither | Qt::AvoidDither);
    const int w = img.width();
    const int h = img.height();
    QByteArray pixels;
    for (int y = h - 1; y >= 0; --y) {  // bottom-up rows
        const uchar* row = img.constScanLine(y);
        for (int x = 0; x < w;) {
            int run = 1;
            while (x + run < w && run < 255 && row[x + run] == row[x])
                ++run;
            pixels.append(char(run));
            pixels.append(char(row[x]));
            x += run;
        }
        pixels.append('\0');
        pixels.append('\0');  // end of line
    }
    pixels.append('\0');
    pixels.append('\1');  // end of bitmap

    const QList<QRgb> palette = img.colorTable();
    QByteArray out;
    auto u16 = [&](quint16 v) { out.append(char(v & 0xff)); out.append(char(v >> 8)); };
    auto u32 = [&](quint32 v) { for (int i = 0; i < 4; ++i) out.append(char((v >> (8 * i)) & 0xff)); };
    const quint32 offset = 14 + 40 + 4 * quint32(palette.size());
    out.append("BM");
    u32(offset + quint32(pixels.size()));
    u32(0);
    u32(offset);
    u32(40);
    u32(quint32(w));
    u32(quint32(h));
    u16(1);
    u16(8);
    u32(1);  // BI_RLE8
    u32(quint32(pixels.size()));
    u32(2835);
    u32(2835);
    u32(quint32(palette.size()));
    u32(0);
    for (QRgb c : palette) {
        out.append(char(qBlue(c)));
        out.append(char(qGreen(c)));
        out.append(char(qRed(c)));
        out.append('\0');
    }
    out.append(pixels);
    return out;
}

bool save(const QString& path, const QByteArray& bytes, QString* error)
{
    if (bytes.isEmpty()) {
        if (error)
            *error = QStringLiteral("cannot encode ") + path;
        return false;
    }
    return saveFileAtomically(path, bytes, error);
}

constexpr int kTitleWidth = 40;

// One line of a topic list: the title in 40 places, the film marker, an
// optional HTML page, and the topic code in the last five places.
QString topicLine(const QString& title, const QString& code, const QString& film = {},
                  const QString& html = {})
{
    QString line = title.left(kTitleWidth).leftJustified(kTitleWidth);
    line += QLatin1Char('#') + film.leftJustified(3);
    if (!html.isEmpty())
        line += QStringLiteral(" $") + html.leftJustified(3);
    line += QLatin1Char(' ') + code.leftJustified(5);
    return line;
}

// A sub-topic of the general menu: one row of its group's list and one new
// record per sign. Rows of the A-B lesson above name no signs: their records
// are already there. A row without a code is the blank row that cannot be
// chosen.
struct Topic {
    const char* code;
    const char* title;
    std::vector<const char*> signs;
    const char* film = "";
    const char* html = "";
};

struct Group {
    char letter;
    std::vector<Topic> topics;
};

struct Edition {
    const char* letter;  // first letter of the list files
    const char* table;   // content table in the program folder
    int blockDigits;     // record digits of a quiz block code: 5 characters in all, 7 in C-D-E
    std::vector<Group> groups;
};

const Topic kBlankRow{"", "", {}};

// The sub-topics of every group each edition offers, modelled on the chapters
// of the theory course. A-B group J runs past the twelve visible rows so its
// list scrolls; its rows above row 12 open as photograph walks, so they still
// carry signs for the menu's check.
const std::vector<Edition>& editions()
{
    static const std::vector<Edition> all = {
        {"N", "AAB2016.XML", 1, {
            {'A', {{"A01", "Classificazione dei veicoli", {"63", "67", "66"}},
                   {"A02", "Veicoli a motore e rimorchi", {"125", "63"}},
                   {"A03", "Massa e sagoma dei veicoli", {"64", "65"}},
                   {"A04", "Velocipedi e ciclomotori", {"66", "98", "100"}},
                   {"A05", "Motocicli, tricicli e quadricicli", {"67"}}}},
            {'B', {{"B01", "Strisce e segni sulla carreggiata", {}},
                   {"B02", "Definizioni generali", {"172", "173"}},
                   {"B03", "Carreggiata, corsie e intersezioni", {"4", "11", "169"}, "005"},
                   {"B04", "Strade extraurbane e autostrade", {"171", "172"}},
                   {"B05", "Centri abitati", {"173", "6"}},
                   {"B06", "Attraversamenti pedonali e ciclabili", {"5", "503", "168"}}}},
            {'C', {{"C01", "Segnali di pericolo", {}},
                   {"C02", "Segnali di precedenza", {}},
                   {"C03", "Segnali di divieto", {}},
                   {"C04", "Segnali di obbligo", {}},
                   {"C05", "Pannelli integrativi", {}},
                   {"C06", "Segnali di indicazione", {}},
                   {"C07", "Semafori e luci", {}},
                   kBlankRow,
                   {"C08", "Segnali temporanei e di cantiere", {"275", "911", "909"}, "009"},
                   {"C09", "Segnali di fine prescrizione", {"68", "69", "931", "44", "100"}},
                   {"C10", "Segnali di localizzazione e di servizio", {"173", "167", "166"}, "", "C10"}}},
            {'D', {{"D01", "Dispositivi di equipaggiamento", {"12"}},
                   {"D02", "Luci e dispositivi di segnalazione", {"154", "10"}, "017"},
                   {"D03", "Pneumatici e catene da neve", {"7", "59"}},
                   {"D04", "Cinture di sicurezza e seggiolini", {"6"}},
                   {"D05", "Casco protettivo", {"67"}},
                   {"D06", "Triangolo e giubbotto retroriflettente", {"12", "8"}}}},
            {'E', {{"E01", "Precedenza agli incroci, velocità", {}, "001", "001"},
                   {"E02", "Limiti di velocità", {"57", "58", "59", "60"}, "014"},
                   {"E03", "Distanza di sicurezza", {"12", "7"}},
                   {"E04", "Posizione dei veicoli sulla carreggiata", {"96", "169"}},
                   {"E05", "Cambio di direzione e di corsia", {"94", "95", "97"}},
                   {"E06", "Sorpasso", {"56", "931", "11"}, "021"},
                   {"E07", "Fermata, sosta e arresto", {"61", "62", "166"}},
                   {"E08", "Sensi unici alternati", {"45", "46"}},
                   {"E09", "Comportamento ai semafori", {"155", "156", "157"}},
                   {"E10", "Trasporto di persone e di cose", {"125"}},
                   {"E11", "Circolazione in autostrada", {"171"}},
                   {"E12", "Pedoni e ciclisti", {"5", "168", "66"}}}},
            {'F', {{"F01", "Patenti di guida", {"67", "63"}},
                   {"F02", "Carta di circolazione e targhe", {"172"}},
                   {"F03", "Revisione dei veicoli", {"8"}},
                   {"F04", "Patente a punti", {"58"}},
                   {"F05", "Sanzioni e decurtazione dei punti", {"62", "56"}}}},
            {'G', {{"G01", "Comportamento in caso di incidente", {"12", "8"}},
                   {"G02", "Assicurazione R.C.A.", {"12"}, "", "G02"},
                   {"G03", "Constatazione amichevole", {"4"}},
                   {"G04", "Responsabilità civile e penale", {"54"}}}},
            {'H', {{"H01", "Primo soccorso", {}},
                   {"H02", "Chiamata dei soccorsi", {"167"}},
                   {"H03", "Posizione laterale di sicurezza", {"167"}},
                   {"H04", "Emorragie e fratture", {"167"}},
                   {"H05", "Ustioni e stato di shock", {"167", "12"}}}},
            {'I', {{"I01", "Inquinamento e consumi", {"172"}},
                   {"I02", "Guida sicura e stanchezza", {"12", "3"}},
                   {"I03", "Alcol, droghe e farmaci", {"12"}},
                   {"I04", "Rumore e inquinamento acustico", {"173"}},
                   {"I05", "Guida ecologica e risparmio", {"57"}}}},
            {'J', {{"J01", "Elementi costitutivi dell'autoveicolo", {"63"}},
                   {"J02", "Motore e alimentazione", {"63"}},
                   {"J03", "Trasmissione e frizione", {"3"}},
                   {"J04", "Sospensioni e ammortizzatori", {"13"}},
                   {"J05", "Pneumatici e aderenza", {"7"}, "031"},
                   {"J06", "Impianto frenante", {"8"}},
                   {"J07", "Sterzo e organi di direzione", {"1", "2"}},
                   {"J08", "Impianto elettrico e batteria", {"154"}},
                   {"J09", "Dispositivi di illuminazione", {"10"}},
                   {"J10", "Cinture di sicurezza e airbag", {"6"}, "", "J10"},
                   {"J11", "Seggiolini per bambini", {"6"}, "", "J11"},
                   {"J12", "Manutenzione e controlli periodici", {"8"}},
                   {"J13", "Esercizi sui segnali di pericolo", {"1", "2", "3", "4", "5", "7"}},
                   {"J14", "Esercizi sui segnali di prescrizione", {"54", "55", "56", "93", "94", "40"}}}},
        }},
        {"C", "AAM2015.XML", 1, {
            {'A', {{"A01", "Ciclomotori e quadricicli", {"67", "66"}},
                   {"A02", "Ciclomotori a due ruote", {"67"}},
                   {"A03", "Quadricicli leggeri", {"172"}},
                   {"A04", "Velocipedi a pedalata assistita", {"66", "98"}}}},
            {'B', {{"B01", "Definizioni stradali", {"172", "173"}},
                   {"B02", "Carreggiata e corsie", {"169", "11"}},
                   {"B03", "Piste ciclabili", {"98", "100"}},
                   {"B04", "Centri abitati", {"173"}}}},
            {'C', {{"C01", "Segnali di pericolo", {"1", "5", "7"}},
                   {"C02", "Segnali di precedenza", {"40", "43"}},
                   {"C03", "Segnali di divieto", {"58", "54", "67"}},
                   {"C04", "Segnali di obbligo", {"93", "96"}},
                   {"C05", "Segnali di indicazione", {"166", "169"}},
                   {"C06", "Semafori", {"155", "156", "157"}},
                   {"C07", "Segnaletica orizzontale", {"501", "502"}}}},
            {'D', {{"D01", "Equipaggiamento del ciclomotore", {"12"}},
                   {"D02", "Casco e abbigliamento", {"67"}},
                   {"D03", "Luci e catadiottri", {"10"}},
                   {"D04", "Specchi e dispositivi acustici", {"12"}}}},
            {'E', {{"E01", "Comportamento alla guida", {"96"}},
                   {"E02", "Velocità", {"57", "58"}, "003"},
                   {"E03", "Precedenza", {"40", "4"}},
                   {"E04", "Sorpasso", {"56"}},
                   {"E05", "Fermata e sosta", {"61", "62"}},
                   {"E06", "Trasporto del passeggero", {"67"}}}},
            {'F', {{"F01", "Il certificato di idoneità", {"67"}},
                   {"F02", "La patente AM", {"67"}},
                   {"F03", "Targa e certificato di circolazione", {"172"}}}},
            {'G', {{"G01", "Incidenti e assicurazione", {"12"}},
                   {"G02", "Comportamento in caso di incidente", {"8"}},
                   {"G03", "Assicurazione R.C.A.", {"12"}}}},
            {'I', {{"I01", "Sicurezza e casco", {"67"}},
                   {"I02", "Alcol e sostanze stupefacenti", {"12"}},
                   {"I03", "Inquinamento e rumore", {"173"}}}},
            {'J', {{"J01", "Consigli per la guida", {"3"}},
                   {"J02", "Guida con pioggia e nebbia", {"7"}},
                   {"J03", "Manutenzione del ciclomotore", {"12"}},
                   {"J04", "Guida notturna", {"10"}}}},
        }},
        {"A", "ACD2014.XML", 3, {
            {'A', {{"A01", "Massa e sagoma dei veicoli - merci", {"64", "65"}},
                   {"A02", "Classificazione dei veicoli pesanti", {"63"}},
                   {"A03", "Sistemazione del carico - merci", {"125"}},
                   {"A04", "Autobus e autosnodati - persone", {"172"}}}},
            {'B', {{"B01", "Aggancio dei rimorchi", {"63"}},
                   {"B02", "Impianto frenante pneumatico", {"8"}},
                   {"B03", "Freno di soccorso e di stazionamento", {"12"}},
                   {"B04", "Rallentatori e freno motore", {"3"}}}},
            {'C', {{"C01", "Limiti di velocità - merci", {"59", "60"}},
                   {"C02", "Limiti di velocità - persone", {"58", "59"}},
                   {"C03", "Distanza di sicurezza e sorpasso", {"56"}},
                   {"C04", "Divieti di circolazione nei festivi", {"63"}},
                   {"C05", "Circolazione in galleria", {"12"}}}},
            {'D', {{"D01", "Segnali per i veicoli pesanti", {"63", "64", "65"}},
                   {"D02", "Segnali di divieto", {"54", "55"}},
                   {"D03", "Segnali di pericolo", {"1", "8"}},
                   {"D04", "Pannelli integrativi", {"125", "121"}}}},
            {'E', {{"E01", "Uso dei veicoli", {"172"}},
                   {"E02", "Dispositivi di segnalazione visiva", {"154"}},
                   {"E03", "Pneumatici e catene da neve", {"7"}},
                   {"E04", "Trasporto di merci pericolose - merci", {"12"}}}},
            {'F', {{"F01", "Tempi di guida e di riposo", {"12"}, "031"},
                   {"F02", "Il cronotachigrafo digitale", {"12"}},
                   {"F03", "Carta del conducente", {"12"}},
                   {"F04", "Pause e riposi settimanali", {"166"}}}},
            {'G', {{"G01", "Motore e trasmissione", {"63"}},
                   {"G02", "Impianto di alimentazione", {"63"}},
                   {"G03", "Sospensioni e pneumatici", {"7"}},
                   {"G04", "Impianto elettrico", {"154"}}}},
            {'H', {{"H01", "Guasti e manutenzione", {"8"}},
                   {"H02", "Controlli prima della partenza", {"12"}},
                   {"H03", "Guasti all'impianto frenante", {"3"}}}},
            {'I', {{"I01", "Responsabilità del conducente", {"54"}},
                   {"I02", "Documenti di viaggio - merci", {"125"}},
                   {"I03", "Trasporto scolastico - persone", {"6"}}}},
        }},
        {"Q", "ACQ2021.XML", 1, {
            {'A', {{"A01", "Dinamica del veicolo", {"59"}},
                   {"A02", "Forze agenti sul veicolo", {"1"}},
                   {"A03", "Curve e stabilità del veicolo", {"3"}},
                   {"A04", "Guida economica", {"57"}}}},
            {'B', {{"B01", "Freni e rallentatori", {"8"}},
                   {"B02", "Impianto frenante e ABS", {"7"}, "011"},
                   {"B03", "Uso del rallentatore in discesa", {"3"}}}},
            {'C', {{"C01", "Manutenzione del motore", {"63"}},
                   {"C02", "Lubrificazione e raffreddamento", {"12"}},
                   {"C03", "Curve di coppia e di potenza", {"57"}}}},
            {'D', {{"D01", "L'impresa di autotrasporto", {"63"}},
                   {"D02", "Il contratto di lavoro", {"166"}},
                   {"D03", "L'ambiente di lavoro", {"12"}}}},
            {'E', {{"E01", "Prevenzione degli infortuni", {"12"}},
                   {"E02", "Ergonomia e postura di guida", {"12"}},
                   {"E03", "Salute, alimentazione e stanchezza", {"167"}}}},
            {'F', {{"F01", "Primo soccorso e R.C.A.", {"167"}},
                   {"F02", "Comportamento in caso di incidente", {"8"}},
                   {"F03", "Constatazione amichevole", {"12"}}}},
            {'G', {{"G01", "Carico e stivaggio delle merci", {"125"}},
                   {"G02", "Ancoraggio del carico", {"64"}},
                   {"G03", "Documenti di trasporto", {"63"}}}},
            {'H', {{"H01", "Gestione dei trasporti", {"63"}},
                   {"H02", "Trasporto internazionale e CMR", {"171"}, "", "H02"},
                   {"H03", "Carnet TIR e accordo ATA", {"171"}}}},
            {'I', {{"I01", "Infrastrutture stradali", {"172"}},
                   {"I02", "Gallerie e ponti", {"65"}},
                   {"I03", "Autostrade e pedaggi", {"171"}}}},
            {'L', {{"L01", "Trasporto di persone", {"171"}},
                   {"L02", "Sicurezza dei passeggeri", {"6"}},
                   {"L03", "Servizi di linea e NCC", {"172"}}}},
        }},
    };
    return all;
}

const Edition& editionOf(const char* letter)
{
    for (const Edition& e : editions())
        if (qstrcmp(e.letter, letter) == 0)
            return e;
    Q_UNREACHABLE();
}

QString u8(const char* s)
{
    return QString::fromUtf8(s);
}

bool failWith(QString* error, const QString& what)
{
    if (error)
        *error = what;
    return false;
}

// The records behind the topic rows, numbered on after the records the table
// already holds: record numbers are unique in a file, since jumps and resume
// marks find a record by its number. Each sign gets its own quiz block,
// named after the group, the topic and the record.
bool addTopicRecords(DataTable& t, const Edition& e, QString* error)
{
    int n = t.recordCount();
    int limit = 1;
    for (int i = 0; i < e.blockDigits; ++i)
        limit *= 10;
    for (const Group& g : e.groups) {
        for (const Topic& topic : g.topics) {
            const QString code = QLatin1String(topic.code);
            int index = 0;
            for (const char* s : topic.signs) {
                const QString sign = QLatin1String(s);
                const QString text = caption(sign.startsWith(QLatin1Char('f')) ? sign.mid(1) : sign);
                if (text.isEmpty())
                    return failWith(error, QStringLiteral("topic %1 of %2: no demo sign %3")
                                               .arg(code, QLatin1String(e.table), sign));
                if (++index >= limit)
                    return failWith(error, QStringLiteral("topic %1 of %2: too many records")
                                               .arg(code, QLatin1String(e.table)));
                const QString domanda = QStringLiteral("%1%2%3")
                                            .arg(10 + (g.letter - 'A'), 2, 10, QLatin1Char('0'))
                                            .arg(code.mid(1, 2))
                                            .arg(index, e.blockDigits, 10, QLatin1Char('0'));
                if (!addRecord(t, ++n, code, sign,
                               {{"Testo", text}, {"Domanda", domanda},
                                {"Selezione", QStringLiteral("SI")}},
                               error))
                    return false;
            }
        }
    }
    return true;
}

bool isTopicCodeOf(const QString& code, QChar group)
{
    return code.size() == 3 && code.at(0) == group && code.at(1).isDigit() && code.at(2).isDigit();
}

bool isDrawnSign(const QString& code)
{
    for (const SignSpec& s : demoSigns())
        if (s.code == code)
            return true;
    return false;
}

// Reads back what was written, as the menu will: every row the teacher can
// choose must reach records that pass the menu's check with signs and
// questions shown, and every sign those records name must have a picture.
// Otherwise the demo would answer a choice with "Argomento vuoto" or an empty
// sign area. The groups are listed here apart from the topic data so that a
// group dropped from the data is caught too.
bool verifyTopicLists(const QString& programDir, QString* error)
{
    struct Offered {
        const char* letter;
        const char* table;
        const char* groups;
    };
    const Offered offered[] = {{"N", "AAB2016.XML", "ABCDEFGHIJ"},
                               {"C", "AAM2015.XML", "ABCDEFGIJ"},
                               {"A", "ACD2014.XML", "ABCDEFGHI"},
                               {"Q", "ACQ2021.XML", "ABCDEFGHIL"}};
    const QStringList shown = {QStringLiteral("Foto1"), QStringLiteral("Video"),
                               QStringLiteral("Libro"), QStringLiteral("Domanda"),
                               QStringLiteral("Nome segnale")};
    for (const Offered& o : offered) {
        const QString table = QLatin1String(o.table);
        DataTable t;
        if (!t.loadFromFile(programDir + table, error))
            return false;
        QSet<int> numbers;
        for (t.first(); !t.eof(); t.next()) {
            const int number = t.fieldInt(QStringLiteral("NumRec"));
            if (numbers.contains(number))
                return failWith(error, QStringLiteral("%1: record number %2 twice").arg(table).arg(number));
            numbers.insert(number);
        }
        if (!t.setIndexFieldNames(QStringLiteral("Argomento;NumRec"), error))
            return false;
        const int signField = t.fieldIndex(QStringLiteral("Nome segnale"));
        QList<int> shownFields;
        for (const QString& name : shown)
            shownFields.append(t.fieldIndex(name));

        for (const char* g = o.groups; *g; ++g) {
            const QChar group = QLatin1Char(*g);
            const QString file = topicListFileName(QLatin1String(o.letter), group);
            const auto rows = loadTopicList(programDir + file);
            if (!rows)
                return failWith(error, QStringLiteral("cannot read ") + file);
            QString previous;
            int choosable = 0;
            for (const TopicLine& row : *rows) {
                if (!row.selectable())
                    continue;
                ++choosable;
                const QString where = file + QStringLiteral(", topic ") + row.code;
                if (!isTopicCodeOf(row.code, group))
                    return failWith(error, where + QStringLiteral(": not a topic code of group ") + group);
                if (row.code <= previous)
                    return failWith(error, where + QStringLiteral(": out of order after ") + previous);
                previous = row.code;
                if (!t.setRange({row.code, 0}, {row.code + QLatin1Char('Z'), 999999}, error))
                    return false;
                bool showsSomething = false;
                for (int r = 1, n = t.recordCount(); r <= n; ++r) {
                    for (int f : shownFields)
                        if (!t.fieldTextAt(r, f).trimmed().isEmpty())
                            showsSomething = true;
                    QString sign = t.fieldTextAt(r, signField).trimmed();
                    if (sign.startsWith(QLatin1Char('f')))
                        sign.remove(0, 1);
                    if (!sign.isEmpty() && !isDrawnSign(sign))
                        return failWith(error, where + QStringLiteral(": sign ") + sign +
                                                   QStringLiteral(" has no picture"));
                }
                if (!showsSomething)
                    return failWith(error, where + QStringLiteral(": nothing to show in ") + table);
            }
            if (choosable == 0)
                return failWith(error, file + QStringLiteral(": no topic to choose"));
        }
    }
    return true;
}

}  // namespace


QByteArray monoWave(const QByteArray& pcm, int rate)
{
    QByteArray wav;
    auto u32 = [&](quint32 v) { char b[4]; qToLittleEndian(v, b); wav.append(b, 4); };
    auto u16 = [&](quint16 v) { char b[2]; qToLittleEndian(v, b); wav.append(b, 2); };
    wav.append("RIFF");
    u32(36 + quint32(pcm.size()));
    wav.append("WAVEfmt ");
    u32(16);
    u16(1);  // PCM
    u16(1);  // mono
    u32(quint32(rate));
    u32(quint32(rate) * 2);
    u16(2);
    u16(16);
    wav.append("data");
    u32(quint32(pcm.size()));
    wav.append(pcm);
    return wav;
}

QByteArray maskedBytes(const QImage& image)
{
    QByteArray bytes = bmpBytes(image);
    bytes[0] = 'K';
    bytes[1] = 'X';
    return bytes;
}

bool writeTopicLists(const QString& programDir, QString* error)
{
    for (const Edition& e : editions()) {
        for (const Group& g : e.groups) {
            const QString file = topicListFileName(QLatin1String(e.letter), QString(QLatin1Char(g.letter)));
            QString text;
            for (const Topic& topic : g.topics) {
                const QString title = u8(topic.title);
                if (title.size() > kTitleWidth)
                    return failWith(error, file + QStringLiteral(": title longer than 40 characters: ") + title);
                if (*topic.code)
                    text += topicLine(title, QLatin1String(topic.code), u8(topic.film), u8(topic.html));
                text += QStringLiteral("\r\n");
            }
            bool lossless = true;
            const QByteArray bytes = encodeWindows1252(text, &lossless);
            if (!lossless)
                return failWith(error, file + QStringLiteral(": a title does not fit the Windows code page"));
            if (!saveFileAtomically(programDir + file, bytes, error))
                return false;
        }
    }
    // C-D-E offers no group J, but the menu reads each edition's J list when
    // it is created.
    if (!saveFileAtomically(programDir + QStringLiteral("AJ0.TXT"), QByteArray(), error))
        return false;
    return verifyTopicLists(programDir, error);
}

bool writeContentTables(const QString& programDir, QString* error)
{
    const Edition& ab = editionOf("N");
    auto topicsOf = [](const Edition& e) {
        return [&e](DataTable& t, QString* err) { return addTopicRecords(t, e, err); };
    };
    return writeTable(programDir + QLatin1String(ab.table),
                      [&](DataTable& t, QString* e) {
                          return fillAB(t, e) && addTopicRecords(t, ab, e) && addPhotoRecords(t, e);
                      },
                      error) &&
           writeTable(programDir + QStringLiteral("AAM2015.XML"), topicsOf(editionOf("C")), error) &&
           writeTable(programDir + QStringLiteral("ACD2014.XML"), topicsOf(editionOf("A")), error) &&
           writeTable(programDir + QStringLiteral("ACQ2021.XML"), topicsOf(editionOf("Q")), error) &&
           writeBank(programDir + QStringLiteral("NQM2016.XML"), true, error) &&
           writeBank(programDir + QStringLiteral("CQM2015.XML"), true, error) &&
           writeBank(programDir + QStringLiteral("SQM2014.XML"), true, error) &&
           writeBank(programDir + QStringLiteral("QQM2021.XML"), true, error);
}

bool writeSignPictures(const QString& ziroDir, QString* error)
{
    const QString sgn = ziroDir + QStringLiteral("PicSgn/");
    const QString sgt = ziroDir + QStringLiteral("PicSgt/");
    const QString lnk = ziroDir + QStringLiteral("PicLnk/");
    const QString icn = ziroDir + QStringLiteral("PicIcn/");
    for (const SignSpec& s : demoSigns()) {
        if (!save(sgn + s.code + QStringLiteral(".BMP"), bmpBytes(drawSign(s)), error) ||
            !save(sgt + s.code + QStringLiteral(".BMP"), bmpBytes(drawNamedSign(s)), error) ||
            !save(icn + QStringLiteral("I") + s.code + QStringLiteral(".KXB"),
                  maskedBytes(drawIcon(s)), error))
            return false;
    }
    // The large form of the stop sign, named with its "f".
    if (const auto stop = findDemoSign(QStringLiteral("41"))) {
        if (!save(sgn + QStringLiteral("41.BMP"), bmpBytes(drawSign(*stop, kLargeSignPictureSize)), error))
            return false;
    }
    // Linked and integrated pictures: a sign shown with one of its plates.
    struct Combined {
        const char* file;
        const char* sign;
        const char* plate;
    };
    const Combined combined[] = {
        {"8p121a.KXB", "8", "150 m"},             // sign 8 linked from plate 121
        {"8p122b.KXB", "8", "500 m"},             // the "b" fall-back from plate 122
        {"8p124a.KXB", "8", "eccetto autorizzati"},  // integrated part of sign 8
    };
    for (const Combined& c : combined) {
        auto spec = findDemoSign(QLatin1String(c.sign));
        if (!spec)
            continue;
        spec->plate = QString::fromUtf8(c.plate);
        if (!save(lnk + QLatin1String(c.file), maskedBytes(drawSign(*spec)), error))
            return false;
    }
    if (const auto plate = findDemoSign(QStringLiteral("124"))) {
        if (!save(icn + QStringLiteral("I124a.KXB"), maskedBytes(drawIcon(*plate)), error))
            return false;
    }
    for (const SignSpec& v : demoVehicles())
        if (!save(icn + QStringLiteral("I") + v.code + QStringLiteral(".KXB"),
                  maskedBytes(drawIcon(v)), error))
            return false;
    return true;
}

}  // namespace ziro::demo
