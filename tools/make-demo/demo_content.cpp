// The demo's lesson content: a walk through the A-B edition's signs, a few
// records in the other editions, and question banks to go with them.

#include "demo_content.h"

#include "controls/kxb.h"
#include "platform/dataset/data_table.h"
#include "platform/dataset/sample_tables.h"
#include "platform/files/atomic_save.h"
#include "platform/files/text_codec.h"
#include "sign_art.h"

#include <QBuffer>
#include <QDir>
#include <QImage>

#include <initializer_list>
#include <utility>

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
              {"Testo", caption(QStringLiteral("275"))}}))
        return false;

    // H: first aid, a photo-only stretch.
    for (int i = 1; i <= 3; ++i)
        if (!add(QStringLiteral("H01"), QString(),
                 {{"Spare", QStringLiteral("5")}, {"Foto1", QStringLiteral("H%1").arg(i)},
                  {"TxtF1", QString::fromUtf8("Primo soccorso: fotografia %1").arg(i)}}))
            return false;
    return true;
}

bool fillFew(DataTable& t, const QList<std::pair<QString, QString>>& records, QString* error)
{
    int n = 0;
    for (const auto& [arg, code] : records)
        if (!addRecord(t, ++n, arg, code,
                       {{"Testo", caption(code)}, {"Domanda", QStringLiteral("01001")}}, error))
            return false;
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

// The masked form of the same compact bitmap.
QByteArray maskedBytes(const QImage& image)
{
    QByteArray bytes = bmpBytes(image);
    bytes[0] = 'K';
    bytes[1] = 'X';
    return bytes;
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

// One line of a topic list: the title in 40 places, the film marker, an
// optional HTML page, and the topic code in the last five places.
QString topicLine(const QString& title, const QString& code, const QString& film = {},
                  const QString& html = {})
{
    QString line = title.left(40).leftJustified(40);
    line += QLatin1Char('#') + film.leftJustified(3);
    if (!html.isEmpty())
        line += QStringLiteral(" $") + html.leftJustified(3);
    line += QLatin1Char(' ') + code.leftJustified(5);
    return line;
}

struct TopicFile {
    const char* name;
    QStringList lines;
};

}  // namespace

bool writeTopicLists(const QString& programDir, QString* error)
{
    auto u = [](const char* s) { return QString::fromUtf8(s); };
    const QList<TopicFile> files = {
        // A-B
        {"NA0.TXT", {topicLine(u("Definizioni e classificazione dei veicoli"), "A01")}},
        {"NB0.TXT", {topicLine(u("Strisce e segni sulla carreggiata"), "B01")}},
        {"NC0.TXT", {topicLine(u("Segnali di pericolo"), "C01"),
                     topicLine(u("Segnali di precedenza"), "C02"),
                     topicLine(u("Segnali di divieto"), "C03"),
                     topicLine(u("Segnali di obbligo"), "C04"),
                     topicLine(u("Pannelli integrativi"), "C05"),
                     topicLine(u("Segnali di indicazione"), "C06"),
                     topicLine(u("Semafori e luci"), "C07")}},
        {"ND0.TXT", {topicLine(u("Dispositivi di equipaggiamento"), "D01")}},
        {"NE0.TXT", {topicLine(u("Precedenza agli incroci, velocità"), "E01", u("001"), u("001"))}},
        {"NF0.TXT", {topicLine(u("Patente e documenti di circolazione"), "F01")}},
        {"NG0.TXT", {topicLine(u("Incidenti stradali e assicurazione"), "G01")}},
        {"NH0.TXT", {topicLine(u("Primo soccorso"), "H01")}},
        {"NI0.TXT", {topicLine(u("Inquinamento e consumi"), "I01")}},
        {"NJ0.TXT", {topicLine(u("Elementi costitutivi dell'autoveicolo"), "J01")}},
        // AM
        {"CA0.TXT", {topicLine(u("Ciclomotori e quadricicli"), "A01")}},
        {"CB0.TXT", {topicLine(u("La strada"), "B01")}},
        {"CC0.TXT", {topicLine(u("Segnali di pericolo"), "C01"), topicLine(u("Segnali di precedenza"), "C02"),
                     topicLine(u("Segnali di divieto"), "C03")}},
        {"CD0.TXT", {topicLine(u("Equipaggiamento del ciclomotore"), "D01")}},
        {"CE0.TXT", {topicLine(u("Comportamento alla guida"), "E01")}},
        {"CF0.TXT", {topicLine(u("Il certificato di idoneità"), "F01")}},
        {"CG0.TXT", {topicLine(u("Incidenti e assicurazione"), "G01")}},
        {"CI0.TXT", {topicLine(u("Sicurezza e casco"), "I01")}},
        {"CJ0.TXT", {topicLine(u("Consigli per la guida"), "J01")}},
        // C-D-E
        {"AA0.TXT", {topicLine(u("Massa e sagoma dei veicoli - merci"), "A01")}},
        {"AB0.TXT", {topicLine(u("Aggancio dei rimorchi"), "B01")}},
        {"AC0.TXT", {topicLine(u("Norme di comportamento"), "C01")}},
        {"AD0.TXT", {topicLine(u("Segnali per i veicoli pesanti"), "D01")}},
        {"AE0.TXT", {topicLine(u("Uso dei veicoli"), "E01")}},
        {"AF0.TXT", {topicLine(u("Tempi di guida e di riposo"), "F01")}},
        {"AG0.TXT", {topicLine(u("Motore e trasmissione"), "G01")}},
        {"AH0.TXT", {topicLine(u("Guasti e manutenzione"), "H01")}},
        {"AI0.TXT", {topicLine(u("Responsabilità del conducente"), "I01")}},
        {"AJ0.TXT", {}},
        // CQC
        {"QA0.TXT", {topicLine(u("Dinamica del veicolo"), "A01")}},
        {"QB0.TXT", {topicLine(u("Freni e rallentatori"), "B01")}},
        {"QC0.TXT", {topicLine(u("Manutenzione del motore"), "C01")}},
        {"QD0.TXT", {topicLine(u("L'impresa di autotrasporto"), "D01")}},
        {"QE0.TXT", {topicLine(u("Prevenzione degli infortuni"), "E01")}},
        {"QF0.TXT", {topicLine(u("Primo soccorso e R.C.A."), "F01")}},
        {"QG0.TXT", {topicLine(u("Carico e stivaggio delle merci"), "G01")}},
        {"QH0.TXT", {topicLine(u("Gestione dei trasporti"), "H01")}},
        {"QI0.TXT", {topicLine(u("Infrastrutture stradali"), "I01")}},
        {"QL0.TXT", {topicLine(u("Trasporto di persone"), "J01")}},
    };
    for (const TopicFile& f : files) {
        QString text;
        for (const QString& line : f.lines)
            text += line + QStringLiteral("\r\n");
        if (!saveFileAtomically(programDir + QLatin1String(f.name), encodeWindows1252(text), error))
            return false;
    }
    return true;
}

bool writeContentTables(const QString& programDir, QString* error)
{
    const QList<std::pair<QString, QString>> am = {
        {QStringLiteral("C01"), QStringLiteral("1")}, {QStringLiteral("C02"), QStringLiteral("40")},
        {QStringLiteral("C03"), QStringLiteral("58")}};
    const QList<std::pair<QString, QString>> cd = {
        {QStringLiteral("A01"), QStringLiteral("64")}, {QStringLiteral("A01"), QStringLiteral("65")},
        {QStringLiteral("D01"), QStringLiteral("63")}};
    const QList<std::pair<QString, QString>> cq = {
        {QStringLiteral("A01"), QStringLiteral("59")}, {QStringLiteral("G01"), QStringLiteral("125")},
        {QStringLiteral("J01"), QStringLiteral("171")}};

    return writeTable(programDir + QStringLiteral("AAB2016.XML"), fillAB, error) &&
           writeTable(programDir + QStringLiteral("AAM2015.XML"),
                      [&](DataTable& t, QString* e) { return fillFew(t, am, e); }, error) &&
           writeTable(programDir + QStringLiteral("ACD2014.XML"),
                      [&](DataTable& t, QString* e) { return fillFew(t, cd, e); }, error) &&
           writeTable(programDir + QStringLiteral("ACQ2021.XML"),
                      [&](DataTable& t, QString* e) { return fillFew(t, cq, e); }, error) &&
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
