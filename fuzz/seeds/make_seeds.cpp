// Writes the seed corpus of every fuzz target, one folder per target, with
// the program's own writers (tables, settings, pictures, captions, drags)
// and small texts in the documented layouts:
//
//   ziro-fuzz-seeds OUTPUT_FOLDER
//
// The seeds are the same on every run, so a corpus grown from them can be
// kept beside them.

#include "authoring/editor_drag.h"
#include "authoring/lesson_store.h"
#include "config/colour_text.h"
#include "config/ini_file.h"
#include "config/settings.h"
#include "controls/jpeg_loader.h"
#include "controls/kxb.h"
#include "crossroads/cross_data.h"
#include "platform/dataset/data_table.h"
#include "platform/dataset/sample_tables.h"
#include "quiz/sample_banks.h"
#include "viewers/photo_caption.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>

#include <cstdio>

using namespace ziro;

namespace {

QString g_out;
bool g_ok = true;

void seed(const char* target, const QString& name, const QByteArray& bytes)
{
    const QString folder = g_out + QLatin1Char('/') + QLatin1String(target);
    QDir().mkpath(folder);
    QFile file(folder + QLatin1Char('/') + name);
    if (bytes.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush()) {
        fprintf(stderr, "ziro-fuzz-seeds: cannot write seed %s/%s\n", target, qPrintable(name));
        g_ok = false;
    }
}

QByteArray tableXml(DataTable& table, SaveFormat format) { return table.toXml(format); }

QImage sampleImage(int w, int h, QImage::Format format = QImage::Format_RGB32)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(QColor(0xC6, 0xCD, 0xD9));
    QPainter p(&image);
    p.fillRect(0, 0, w / 2, h / 2, QColor(200, 30, 30));
    p.end();
    return image.convertToFormat(format);
}

QByteArray qtBmp(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

void datapacketSeeds()
{
    DataTable content;
    if (fillSampleContentTable(content, 2, 3)) {
        seed("datapacket", "content-ascii.xml", tableXml(content, SaveFormat::Ascii));
        seed("datapacket", "content-utf8.cds", tableXml(content, SaveFormat::Utf8));
    }
    DataTable bank;
    if (fillSampleBank(bank, 6, 3)) {
        seed("datapacket", "bank-utf8.cds", tableXml(bank, SaveFormat::Utf8));
        seed("datapacket", "bank-ascii.xml", tableXml(bank, SaveFormat::Ascii));
    }
    DataTable small;
    QList<FieldDef> fields;
    fields << FieldDef::integer(QStringLiteral("NumRec")) << FieldDef::text(QStringLiteral("Nome segnale"), 5)
           << FieldDef::memo(QStringLiteral("TxtF1"), 255);
    if (small.createFromFields(fields) && small.append()) {
        small.setField(0, QStringLiteral("7"));
        small.setField(1, QStringLiteral("à€<&"));
        small.setField(2, QStringLiteral("riga\r\ncon\ttab \"e\" €"));
        small.post();
        seed("datapacket", "small-ascii.xml", tableXml(small, SaveFormat::Ascii));
        seed("datapacket", "small-utf8.xml", tableXml(small, SaveFormat::Utf8));
    }
}

void iniSeeds()
{
    const QString path = g_out + QStringLiteral("/.settings.ini");
    QFile::remove(path);
    std::shared_ptr<IniFile> ini = IniFile::open(path);
    if (!ini) {
        g_ok = false;
        return;
    }
    ini->setAutoSave(false);
    const Config cfg;
    for (const SettingDef& def : settingDefs())
        ini->writeString(def.section, def.key, settingText(cfg, def.id));
    seed("ini", "settings.ini", ini->toBytes());
    seed("ini", "odd.ini",
         QByteArray("\xEF\xBB\xBF; commento\r\n[Unità]\r\nChiave = valore=con=uguali\r\n[senza fine\r\n"
                    "riga senza uguale\r\n[UNITÀ]\r\nchiave=seconda\r\nNumero=$1F\r\nVero=yes\r\n"));
    seed("ini", "cp1252.ini", QByteArray("[Sezione]\nNome=Citt\xE0\nColore=clBlue\nIntero=0x7FFFFFFF\n"));
}

void pictureSeeds()
{
    seed("kxb", "rgb.kxb", encodeKxb(sampleImage(5, 3)));
    seed("kxb", "plain.bmp", encodeKxb(sampleImage(2, 2), QByteArray("BM")));
    QByteArray indexed = qtBmp(sampleImage(4, 4, QImage::Format_Indexed8));
    indexed.replace(0, 2, "KX");
    seed("kxb", "indexed.kxb", indexed);
    seed("kxb", "mono.bmp", qtBmp(sampleImage(9, 3, QImage::Format_Mono)));

    seed("jpeg", "colour.jpg", encodeJpeg(sampleImage(16, 8), 90));
    seed("jpeg", "low.jpg", encodeJpeg(sampleImage(9, 17), 10));
    seed("jpeg", "grey.jpg", encodeJpeg(sampleImage(8, 8, QImage::Format_Grayscale8), 50));
}

void textSeeds()
{
    // Topic lists: title in 40 characters, the marked fields, the code last.
    const auto topic = [](const QString& title, const QString& fields, const QString& code) {
        return (title.leftJustified(40, QLatin1Char(' ')) + fields).leftJustified(60, QLatin1Char(' ')) + code;
    };
    QString list;
    list += topic(QStringLiteral("SEGNALI DI PERICOLO"), QString(), QString()) + QStringLiteral("\r\n");
    list += topic(QStringLiteral("Curva a destra"), QStringLiteral("#CURVA %A01 $curve.htm"), QStringLiteral("A0101"))
            + QStringLiteral("\r\n");
    list += topic(QStringLiteral("Dosso # 50% $"), QStringLiteral("%A02"), QStringLiteral("A0102")) + QStringLiteral("\n");
    seed("topic_list", "NA0.TXT", list.toLatin1());
    seed("topic_list", "utf8.txt", (topic(QStringLiteral("Precedenza è già"), QStringLiteral("#F1"), QStringLiteral("B01"))
                                    + QStringLiteral("\rX"))
                                       .toUtf8());

    PhotoCaption caption;
    caption.text = QStringLiteral("Attenzione\rcurva");
    caption.left = 12;
    caption.top = 30;
    caption.multiLine = true;
    caption.italic = caption.bold = true;
    caption.effect = CaptionEffect::Shadowed3d;
    caption.arrows[0].origin = QPoint(20, 40);
    caption.arrows[0].tip = QPoint(80, 90);
    seed("caption", "arrows.txt", writeCaption(caption).toUtf8());
    seed("caption", "plain.txt", writeCaption(PhotoCaption{.text = QStringLiteral("Dare precedenza")}).toUtf8());
    seed("caption", "short.txt", QByteArray("Stop*10*20*#"));

    for (const QColor& c : {QColor(Qt::blue), QColor(0xC6, 0xCD, 0xD9), QColor(1, 2, 3)})
        seed("colour_text", colourToText(c).mid(1) + QStringLiteral(".txt"), colourToText(c).toUtf8());
    seed("colour_text", "hex.txt", "0x00FF8000");
    seed("colour_text", "decimal.txt", "16711680");

    seed("edl", "range.txt", "100/250");
    seed("edl", "start.txt", "12");
    seed("edl", "end.txt", "/40");

    seed("statement_refs", "current.txt",
         "  10001\n  10001 0001      \n  10002 2        \n  10003 0003\n\n  10001 0002      \n");
    seed("statement_refs", "older.txt", QByteArray("\x01") + "10002\n10001 0001    \n10002 0002    \n");

    seed("legacy_lists", "map-and-texts.txt",
         QByteArray("VL00001 NQ0001\r\nvl00002 nq0002\r\nVL3\r\n") + '\0'
             + "NQ0001 Il segnale (12) indica\r\n\r\n\r\nV una curva\r\nF un dosso\r\n\r\nNQ0002 Testo\n \n\nf falso\n");

    seed("html_links", "page.txt",
         "suoni/KX_SOUND/campana%20grande.wav/1\n"
         "<html><body><map name=\"Mappa\"><area shape=\"rect\" coords=\"0,0,10,10\" href=\"a.htm\">"
         "<AREA SHAPE=circle COORDS=\"20,20,5\" nohref><area shape=poly coords=\"0,0,10,0,5,10\" href='b.htm'>"
         "<area shape=default href=c.htm></map><img src=\"x.jpg\" usemap=\"#Mappa\"><img src=y.png></body></html>");
    seed("html_links", "stop.txt", "KX_SOUND/x/0\n<map name=m></map>");

    seed("masked_stream", "kxv.bin", QByteArray("\x00", 1) + "KXV#" + QByteArray(40, '\x11'));
    seed("masked_stream", "kxa.bin", QByteArray("\x01", 1) + "KXA#" + QByteArray("\x00\x10\x00\x00WAVEfmt ", 12));
    seed("masked_stream", "kxs.bin", QByteArray("\x02", 1) + "KXS" + QByteArray("\x20" "ftypisom", 9));
    seed("masked_stream", "plain.bin", QByteArray("\x03", 1) + QByteArray("\x00\x00\x01\xBA\x44", 5));
}

void crossroadsSeeds()
{
    const QByteArray fields = "Rec=1\nIncrocio=631\nSequenza=ABC\nColori=rvg\n"
                              "Xt1=10\nYt1=20\nXb1=50\nYb1=40\nXt2=100\nYt2=20\nXb2=50\nYb2=40\n"
                              "Xt3=200\nYt3=20\nXb3=50\nYb3=40\n"
                              "FErr1=60\nSErr1=BAC\nFErr2=100\nSErr2=ACB\nFErr3=140\n";
    // Clicks on the vehicles in the right order, then a wrong one.
    seed("crossroads", "631.txt", fields + "--\n" + QByteArray("\x10\x20\x30\x02\x05\x06\x20\x10\x30\x02\x05", 11));
    seed("crossroads", "6190.txt",
         "Rec=1\nIncrocio=6190\nSequenza=BA\nSeq_2=AB\nXt1=1\nYt1=1\nXb1=9\nYb1=9\nXt2=20\nYt2=1\nXb2=9\nYb2=9\n"
         "SErr110=BA 300\n--\n\x0a\x05\x0b\x11\x21\x02");
}

void dragSeeds()
{
    EditorDrag drag;
    drag.origin = DragOrigin::SourceStatements;
    drag.tag = 3;
    drag.tipo = 5;
    drag.record.insert(QStringLiteral("Nome segnale"), QStringLiteral("f123"));
    drag.record.insert(QStringLiteral("EDL"), QStringLiteral("10/20"));
    drag.codes << QStringLiteral("  10001 0001    ") << QStringLiteral("  10002 0002    ");
    drag.photoValue = QStringLiteral("F0001");
    drag.extraSignFound = true;
    drag.topic = QStringLiteral("A01");
    seed("editor_drag", "statements.bin", editorDragBytes(drag).mid(14));
    seed("editor_drag", "empty.bin", editorDragBytes(EditorDrag{}).mid(14));
}

void lessonSeeds()
{
    DataTable lesson;
    if (!lesson.createFromFields(lessonFields()) || !lesson.append())
        return;
    lesson.setField(QStringLiteral("NumRec"), 1);
    lesson.setField(QStringLiteral("Domanda"), QStringLiteral("A01"));
    lesson.setField(QStringLiteral("Tipo"), 5);
    lesson.setField(QStringLiteral("Quesito1"), QStringLiteral("  10001 0001    "));
    lesson.setField(QStringLiteral("TxtF1"), QStringLiteral("Curva è*1*2*#"));
    lesson.post();
    seed("lesson", "current.xml", tableXml(lesson, SaveFormat::Ascii));

    // The older schema: fifty references, none after Quesito40 in the
    // oldest lessons.
    QList<FieldDef> older;
    for (const FieldDef& f : lessonFields()) {
        const bool late = f.name.startsWith(QLatin1String("Quesito")) && f.name.mid(7).toInt() > 40;
        if (!late)
            older << f;
    }
    DataTable old;
    if (!old.createFromFields(older) || !old.append())
        return;
    old.setField(QStringLiteral("NumRec"), 1);
    old.setField(QStringLiteral("Quesito1"), QStringLiteral("10001 0001    "));
    old.setField(QStringLiteral("Quesito2"), QStringLiteral("   "));
    old.post();
    seed("lesson", "older.xml", tableXml(old, SaveFormat::Ascii));
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        fprintf(stderr, "usage: ziro-fuzz-seeds OUTPUT_FOLDER\n");
        return 2;
    }
    g_out = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(g_out)) {
        fprintf(stderr, "ziro-fuzz-seeds: cannot make %s\n", argv[1]);
        return 1;
    }
    datapacketSeeds();
    iniSeeds();
    pictureSeeds();
    textSeeds();
    crossroadsSeeds();
    dragSeeds();
    lessonSeeds();
    return g_ok ? 0 : 1;
}
