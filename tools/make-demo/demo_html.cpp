// The demo's HTML lesson pages: three page folders under "Html", each with
// its MENU.HTML and PW.BMP thumbnail, drawn and written here, and the A-B
// records that point at them.
//
//   J10  seat belts and airbags: a drawn car interior whose parts are the
//        areas of an image map, each leading to a page of its own;
//   J11  child seats: sound links that loop the belt warning, play the
//        buckle's click once and stop the sound;
//   G02  motor insurance: a table and styled text.

#include "demo_content.h"

#include "platform/dataset/data_table.h"
#include "platform/files/atomic_save.h"

#include <QBuffer>
#include <QDir>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <functional>

namespace ziro::demo {

namespace {

bool fail(QString* error, const QString& why)
{
    if (error)
        *error = why;
    return false;
}

bool saveBytes(const QString& path, const QByteArray& bytes, QString* error)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    return saveFileAtomically(path, bytes, error);
}

bool saveImage(const QString& path, const QImage& image, const char* format, QString* error)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, format))
        return fail(error, QStringLiteral("cannot encode ") + path);
    return saveBytes(path, bytes, error);
}

// 16-bit mono PCM at 22050 Hz as a RIFF wave file, from a function of time.
QByteArray wave(double seconds, const std::function<double(double)>& sample)
{
    const int rate = 22050;
    const int count = int(rate * seconds);
    QByteArray pcm;
    pcm.reserve(count * 2);
    for (int i = 0; i < count; ++i) {
        const auto s = static_cast<qint16>(std::clamp(sample(double(i) / rate) * 9000.0, -32000.0, 32000.0));
        char le[2];
        qToLittleEndian(s, le);
        pcm.append(le, 2);
    }
    return monoWave(pcm, rate);
}

// The unfastened-belt warning: two short high beeps, then a pause; made to
// be looped.
QByteArray beltWarning()
{
    return wave(1.0, [](double t) {
        const double inBeep = std::fmod(t, 0.25);
        if (t >= 0.5 || inBeep > 0.12)
            return 0.0;
        const double env = std::min(1.0, inBeep * 200) * std::min(1.0, (0.12 - inBeep) * 200);
        return env * (std::sin(2 * M_PI * 1760 * t) + 0.3 * std::sin(2 * M_PI * 3520 * t));
    });
}

// The buckle's click: a short noisy tick and a ring.
QByteArray buckleClick()
{
    return wave(0.35, [](double t) {
        const double tick = std::exp(-300 * t) * std::sin(2 * M_PI * 3100 * t + 40 * std::sin(2 * M_PI * 900 * t));
        const double ring = 0.5 * std::exp(-18 * t) * std::sin(2 * M_PI * 2200 * t);
        return 2.5 * tick + ring;
    });
}

// A spoken-like three-note chime announcing the page.
QByteArray pageChime()
{
    return wave(1.2, [](double t) {
        const double notes[] = {659.25, 523.25, 783.99};
        const int n = std::min(2, int(t / 0.4));
        const double since = t - n * 0.4;
        const double env = std::exp(-3.5 * since) * std::min(1.0, since * 300);
        return env * (std::sin(2 * M_PI * notes[n] * t) + 0.4 * std::sin(2 * M_PI * 2 * notes[n] * t));
    });
}

QFont sans(int pixels, bool bold = false)
{
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

// The close button the close zone lies under, at the top right of every page.
QImage closeButton()
{
    QImage img(50, 26, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(176, 32, 32));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(1, 1, 48, 24), 5, 5);
    p.setPen(Qt::white);
    p.setFont(sans(11, true));
    p.drawText(img.rect(), Qt::AlignCenter, QStringLiteral("CHIUDI"));
    return img;
}

// The image map's picture: the driver's place seen from the back seat.
// The areas of the map in MENU.HTML follow these shapes.
QImage carInterior()
{
    QImage img(560, 270, QImage::Format_RGB32);
    img.fill(QColor(214, 230, 242));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    // Windscreen and road.
    p.setBrush(QColor(150, 200, 235));
    p.setPen(QPen(QColor(60, 60, 70), 6));
    p.drawRoundedRect(QRectF(30, 10, 500, 90), 30, 30);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(110, 110, 110));
    p.drawPolygon(QPolygonF({QPointF(240, 97), QPointF(320, 97), QPointF(420, 100), QPointF(140, 100)}));
    // Dashboard with the belt warning lamp (rect 300,105 - 400,150).
    p.setBrush(QColor(70, 70, 80));
    p.drawRect(QRectF(0, 100, 560, 60));
    p.setBrush(QColor(30, 30, 35));
    p.drawRoundedRect(QRectF(300, 108, 100, 40), 8, 8);
    p.setBrush(QColor(230, 40, 40));
    p.drawEllipse(QPointF(350, 128), 13, 13);
    p.setPen(QPen(Qt::white, 3));
    p.drawLine(QPointF(343, 120), QPointF(357, 136));
    // Steering wheel with the airbag (circle 150,160 r 45).
    p.setPen(QPen(QColor(25, 25, 25), 14));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(150, 160), 85, 85);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(45, 45, 50));
    p.drawEllipse(QPointF(150, 160), 45, 45);
    p.setPen(Qt::white);
    p.setFont(sans(13, true));
    p.drawText(QRectF(105, 150, 90, 20), Qt::AlignCenter, QStringLiteral("AIRBAG"));
    // Seat and belt (polygon along the strap).
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(120, 70, 40));
    p.drawRoundedRect(QRectF(430, 150, 110, 120), 18, 18);
    p.setBrush(QColor(210, 170, 30));
    p.drawPolygon(QPolygonF({QPointF(520, 150), QPointF(540, 160), QPointF(455, 270), QPointF(430, 262)}));
    p.setBrush(QColor(200, 200, 200));
    p.drawRect(QRectF(440, 245, 22, 16));
    // Labels.
    p.setPen(QColor(20, 20, 60));
    p.setFont(sans(14, true));
    p.drawText(QRectF(300, 150, 100, 20), Qt::AlignCenter, QStringLiteral("Spia"));
    p.drawText(QRectF(420, 120, 140, 20), Qt::AlignCenter, QStringLiteral("Cintura"));
    return img;
}

// An 80 x 60 thumbnail for the previews: the page's colour and a word.
QImage thumbnail(const QColor& colour, const QString& word)
{
    QImage img(80, 60, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.fillRect(QRect(0, 0, 80, 16), colour);
    p.setPen(Qt::white);
    p.setFont(sans(11, true));
    p.drawText(QRect(0, 0, 80, 16), Qt::AlignCenter, QStringLiteral("HTML"));
    p.setPen(colour.darker(150));
    p.setFont(sans(12, true));
    p.drawText(QRect(0, 16, 80, 44), Qt::AlignCenter | Qt::TextWordWrap, word);
    p.setPen(QPen(colour, 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRect(1, 1, 78, 58));
    return img;
}

// Pages are written in the Windows code page, as the lesson pages have
// always been; every text here fits it.
QByteArray latin(const QString& text)
{
    return text.toLatin1();
}

QString page(const QString& title, const QString& colour, const QString& body)
{
    return QStringLiteral(
               "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">"
               "<title>%1</title><style>"
               "body { font-family: 'Liberation Sans', Arial; font-size: 15px; color: #202030; }"
               "h1 { font-size: 22px; color: %2; margin: 0; }"
               "p { margin-top: 4px; margin-bottom: 4px; }"
               "a { color: %2; font-weight: bold; }"
               ".nota { color: #606060; font-style: italic; font-size: 13px; }"
               "</style></head><body>"
               "<table width=\"100%\" cellspacing=\"0\" cellpadding=\"0\"><tr>"
               "<td valign=\"middle\"><h1>%1</h1></td>"
               "<td align=\"right\" valign=\"top\" width=\"52\"><img src=\"CHIUDI.PNG\" width=\"50\" height=\"26\"></td>"
               "<td width=\"6\"></td>"
               "</tr></table>%3</body></html>")
        .arg(title, colour, body);
}

bool writeJ10(const QString& folder, QString* error)
{
    const QString back = QStringLiteral("<p><a href=\"MENU.HTML\">&lt;&lt; Torna all'abitacolo</a></p>");
    const QString menu = page(
        QStringLiteral("Cinture di sicurezza e airbag"), QStringLiteral("#1c4f8c"),
        QStringLiteral(
            "<p>Tocca una parte dell'abitacolo per saperne di più.</p>"
            "<p align=\"center\"><img src=\"ABITACOLO.PNG\" width=\"560\" height=\"270\" usemap=\"#abitacolo\"></p>"
            "<map name=\"abitacolo\">"
            "<area shape=\"circle\" coords=\"150,160,45\" href=\"AIRBAG.HTML\" alt=\"Airbag\">"
            "<area shape=\"rect\" coords=\"300,105,400,150\" href=\"SPIA.HTML\" alt=\"Spia\">"
            "<area shape=\"poly\" coords=\"520,150,540,160,455,270,430,262\" href=\"CINTURA.HTML\" alt=\"Cintura\">"
            "<area shape=\"rect\" coords=\"430,150,540,270\" href=\"CINTURA.HTML\" alt=\"Sedile\">"
            "</map>"));
    const QString airbag = page(
        QStringLiteral("L'airbag"), QStringLiteral("#1c4f8c"),
        QStringLiteral("<p>L'airbag si gonfia in pochi millesimi di secondo in caso di urto frontale.</p>"
                       "<ul><li>Protegge <b>solo insieme</b> alla cintura allacciata.</li>"
                       "<li>Non si tiene il volante con le braccia tese né troppo vicino al petto.</li>"
                       "<li>Con l'airbag del passeggero <b>attivo</b> non si monta un seggiolino "
                       "rivolto all'indietro sul sedile anteriore.</li></ul>") +
            back);
    const QString spia = page(
        QStringLiteral("La spia della cintura"), QStringLiteral("#1c4f8c"),
        QStringLiteral("<p>La spia rossa sul cruscotto e un segnale acustico avvisano che una cintura "
                       "non è allacciata.</p><p class=\"nota\">Il segnale si ascolta nella pagina dei seggiolini "
                       "(argomento J11).</p>") +
            back);
    const QString cintura = page(
        QStringLiteral("La cintura di sicurezza"), QStringLiteral("#1c4f8c"),
        QStringLiteral("<p>La cintura va allacciata <b>sempre</b>, anche sui sedili posteriori e nei "
                       "percorsi brevi in città.</p>"
                       "<ul><li>La fascia diagonale passa sulla spalla, non sul collo.</li>"
                       "<li>La fascia addominale sta bassa, sul bacino.</li>"
                       "<li>La cintura non va attorcigliata.</li></ul>") +
            back);
    return saveBytes(folder + QStringLiteral("MENU.HTML"), latin(menu), error) &&
           saveBytes(folder + QStringLiteral("AIRBAG.HTML"), latin(airbag), error) &&
           saveBytes(folder + QStringLiteral("SPIA.HTML"), latin(spia), error) &&
           saveBytes(folder + QStringLiteral("CINTURA.HTML"), latin(cintura), error) &&
           saveImage(folder + QStringLiteral("ABITACOLO.PNG"), carInterior(), "PNG", error) &&
           saveImage(folder + QStringLiteral("PW.BMP"), thumbnail(QColor(28, 79, 140), QStringLiteral("Cinture")),
                     "BMP", error);
}

bool writeJ11(const QString& folder, QString* error)
{
    const QString menu = page(
        QStringLiteral("Seggiolini per bambini"), QStringLiteral("#2c7a3a"),
        QStringLiteral(
            "<p>I bambini di statura inferiore a 1,50 m viaggiano su un seggiolino adatto al loro peso, "
            "ben fissato e con le cinture allacciate.</p>"
            "<p><a href=\"KX_SOUND/AVVISO.WAV/L\">&#9654; Segnale di cintura slacciata (continuo)</a></p>"
            "<p><a href=\"KX_SOUND/CLIC.WAV/S\">&#9654; Il clic della fibbia (una volta)</a></p>"
            "<p><a href=\"KX_SOUND/CAMPANA.WAV/S\">&#9654; Avviso del dispositivo antiabbandono</a></p>"
            "<p><a href=\"KX_SOUND//X\">&#9632; Ferma il suono</a></p>"
            "<p class=\"nota\">Il segnale continuo si ferma con l'ultimo collegamento, con un altro "
            "suono o chiudendo la pagina.</p>"));
    return saveBytes(folder + QStringLiteral("MENU.HTML"), latin(menu), error) &&
           saveBytes(folder + QStringLiteral("AVVISO.WAV"), beltWarning(), error) &&
           saveBytes(folder + QStringLiteral("CLIC.WAV"), buckleClick(), error) &&
           saveBytes(folder + QStringLiteral("CAMPANA.WAV"), pageChime(), error) &&
           saveImage(folder + QStringLiteral("PW.BMP"), thumbnail(QColor(44, 122, 58), QStringLiteral("Seggiolini")),
                     "BMP", error);
}

bool writeG02(const QString& folder, QString* error)
{
    const QString menu = page(
        QStringLiteral("Assicurazione R.C.A."), QStringLiteral("#8c3a1c"),
        QStringLiteral(
            "<p>Ogni veicolo a motore che circola su strada deve essere <b>assicurato</b> per la "
            "<span style=\"color:#8c3a1c\">responsabilità civile</span> verso terzi.</p>"
            "<table border=\"1\" cellspacing=\"0\" cellpadding=\"4\" width=\"100%\" "
            "style=\"border-color:#b08070\">"
            "<tr style=\"background-color:#f3dcd2\"><th>Documento</th><th>Dove si tiene</th><th>Se manca</th></tr>"
            "<tr><td>Contrassegno</td><td>Non più esposto: basta la banca dati</td><td>-</td></tr>"
            "<tr><td>Certificato di assicurazione</td><td>A bordo, anche in copia digitale</td>"
            "<td>Sanzione amministrativa</td></tr>"
            "<tr><td rowspan=\"2\">Polizza scaduta</td><td>Copertura per 15 giorni dopo la scadenza</td>"
            "<td rowspan=\"2\"><b>Sequestro</b> del veicolo</td></tr>"
            "<tr><td>Poi il veicolo non può circolare</td></tr>"
            "</table>"
            "<p class=\"nota\">La polizza copre i danni causati agli altri, non quelli subiti dal "
            "conducente responsabile.</p>"));
    return saveBytes(folder + QStringLiteral("MENU.HTML"), latin(menu), error) &&
           saveImage(folder + QStringLiteral("PW.BMP"), thumbnail(QColor(140, 58, 28), QStringLiteral("R.C.A.")),
                     "BMP", error);
}

// Html1 (and for J10 two photographs) on the first record of `topic`.
bool pointAt(DataTable& t, const QString& topic, const QStringList& photos, QString* error)
{
    if (!t.locate({QStringLiteral("Argomento")}, {topic}))
        return fail(error, QStringLiteral("no record of topic ") + topic);
    if (!t.edit() || !t.setField(QStringLiteral("Html1"), topic, error))
        return fail(error, QStringLiteral("cannot edit the record of topic ") + topic);
    for (int n = 0; n < photos.size(); ++n)
        if (!t.setField(QStringLiteral("Foto%1").arg(n + 1), photos[n], error))
            return false;
    return t.post(error);
}

}  // namespace

bool writeHtmlPages(const QString& ziroDir, const QString& programDir, QString* error)
{
    const QString html = ziroDir + QStringLiteral("Html/");
    const QImage close = closeButton();
    for (const QString& folder : {QStringLiteral("J10/"), QStringLiteral("J11/"), QStringLiteral("G02/")})
        if (!saveImage(html + folder + QStringLiteral("CHIUDI.PNG"), close, "PNG", error))
            return false;
    if (!writeJ10(html + QStringLiteral("J10/"), error) || !writeJ11(html + QStringLiteral("J11/"), error) ||
        !writeG02(html + QStringLiteral("G02/"), error))
        return false;

    // The records: J10 has the page and photographs (the previews show
    // both), J11 and G02 the page alone (the photo button opens it).
    const QString table = programDir + QStringLiteral("AAB2016.XML");
    DataTable t;
    if (!t.loadFromFile(table, error))
        return false;
    if (!pointAt(t, QStringLiteral("J10"), {QStringLiteral("2003"), QStringLiteral("2006")}, error) ||
        !pointAt(t, QStringLiteral("J11"), {}, error) || !pointAt(t, QStringLiteral("G02"), {}, error))
        return false;
    return t.saveToFile(table, SaveFormat::Utf8, error);
}

}  // namespace ziro::demo
