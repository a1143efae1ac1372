// Writes the demo installation: a complete "ziro" tree whose program folder
// holds the presenter, its settings file, the splash picture and sound and
// the private fonts, and whose data folders hold what the lessons show.
// Everything is drawn or generated here, so the demo is ours and the same on
// every run.

#include "config/ini_file.h"
#include "config/settings.h"
#include "controls/kxb.h"
#include "demo_content.h"
#include "platform/files/atomic_save.h"
#include "platform/files/text_codec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QProcess>
#include <QtEndian>

#include <cmath>
#include <cstdio>

namespace {

bool g_failed = false;

void fail(const QString& what)
{
    std::fprintf(stderr, "make-demo: %s\n", qPrintable(what));
    g_failed = true;
}

void save(const QString& path, const QByteArray& bytes)
{
    QString error;
    if (!ziro::saveFileAtomically(path, bytes, &error))
        fail(path + QStringLiteral(": ") + error);
}

void makeDirs(const QString& root, const QStringList& names)
{
    for (const QString& n : names)
        if (!QDir().mkpath(root + n))
            fail(QStringLiteral("cannot create ") + root + n);
}

QImage drawLogo()
{
    QImage img(410, 130, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient bg(0, 0, 0, 130);
    bg.setColorAt(0, QColor(250, 250, 252));
    bg.setColorAt(1, QColor(214, 224, 240));
    p.fillRect(img.rect(), bg);
    p.setPen(QPen(QColor(30, 50, 110), 3));
    p.drawRect(img.rect().adjusted(1, 1, -2, -2));

    // A give-way sign as the mark of the school.
    const QPointF tri[3] = {{22, 26}, {102, 26}, {62, 104}};
    p.setPen(QPen(QColor(200, 20, 30), 9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::white);
    p.drawPolygon(tri, 3);

    QFont title(QStringLiteral("DejaVu Sans"));
    title.setPixelSize(54);
    title.setBold(true);
    p.setFont(title);
    p.setPen(QColor(30, 50, 110));
    p.drawText(QRect(124, 14, 280, 70), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Ziro"));
    QFont sub(QStringLiteral("DejaVu Sans"));
    sub.setPixelSize(15);
    p.setFont(sub);
    p.setPen(QColor(60, 70, 90));
    p.drawText(QRect(126, 78, 280, 22), Qt::AlignLeft | Qt::AlignVCenter,
               QString::fromUtf8("Teoria della patente in aula"));
    return img;
}

// A short two-note chime as 16-bit mono PCM in a RIFF wave file.
QByteArray makeChime()
{
    const int rate = 22050;
    QByteArray pcm;
    auto tone = [&](double freq, double seconds) {
        const int n = static_cast<int>(rate * seconds);
        for (int i = 0; i < n; ++i) {
            const double t = static_cast<double>(i) / rate;
            const double env = std::exp(-3.0 * t) * std::min(1.0, i / 200.0);
            const auto s = static_cast<qint16>(9000.0 * env * std::sin(2 * M_PI * freq * t));
            char le[2];
            qToLittleEndian(s, le);
            pcm.append(le, 2);
        }
    };
    tone(659.25, 0.35);
    tone(880.0, 0.6);

    QByteArray wav;
    auto u32 = [&](quint32 v) { char b[4]; qToLittleEndian(v, b); wav.append(b, 4); };
    auto u16 = [&](quint16 v) { char b[2]; qToLittleEndian(v, b); wav.append(b, 2); };
    wav.append("RIFF");
    u32(36 + pcm.size());
    wav.append("WAVEfmt ");
    u32(16);
    u16(1);
    u16(1);
    u32(rate);
    u32(rate * 2);
    u16(2);
    u16(16);
    wav.append("data");
    u32(pcm.size());
    wav.append(pcm);
    return wav;
}

void copyFile(const QString& from, const QString& to)
{
    QFile in(from);
    if (!in.open(QIODevice::ReadOnly)) {
        fail(QStringLiteral("cannot read ") + from);
        return;
    }
    save(to, in.readAll());
}

// The file of an installed font, found through fontconfig so that it does not
// matter where the distribution keeps its fonts. fc-match always names some
// font, falling back to the nearest one it has, so its answer only counts
// when it is the family and style that were asked for.
QString fontFile(const QString& family, const QString& style, const char* package)
{
    const QString wanted = family + QLatin1Char(' ') + style;
    const QString install = QStringLiteral("; install the Debian package ") + QLatin1String(package);
    QProcess fc;
    fc.start(QStringLiteral("fc-match"), {QStringLiteral("-f"), QStringLiteral("%{file}\n%{family}\n%{style}\n"),
                                          family + QStringLiteral(":style=") + style});
    if (!fc.waitForStarted() || !fc.waitForFinished() || fc.exitStatus() != QProcess::NormalExit ||
        fc.exitCode() != 0) {
        fail(QStringLiteral("cannot ask fontconfig for the font \"") + wanted +
             QStringLiteral("\": fc-match could not be run or failed (install the Debian package fontconfig)"));
        return {};
    }
    const QStringList answer = QString::fromLocal8Bit(fc.readAllStandardOutput()).split(QLatin1Char('\n'));
    const QString file = answer.value(0);
    // A font can carry several names for its family and its style.
    auto names = [&](int line) {
        QStringList list = answer.value(line).split(QLatin1Char(','));
        for (QString& n : list)
            n = n.trimmed();
        return list;
    };
    if (!names(1).contains(family, Qt::CaseInsensitive) || !names(2).contains(style, Qt::CaseInsensitive)) {
        fail(QStringLiteral("the font \"") + wanted + QStringLiteral("\" is not installed (fontconfig offers \"") +
             answer.value(1) + QLatin1Char(' ') + answer.value(2) + QStringLiteral("\" instead)") + install);
        return {};
    }
    if (!QFileInfo(file).isFile()) {
        fail(QStringLiteral("fontconfig names ") + file + QStringLiteral(" for the font \"") + wanted +
             QStringLiteral("\", but there is no such file") + install);
        return {};
    }
    return file;
}

// A complete settings file, every key with its value, as a Windows
// installation writes it: CRLF lines in the Windows code page, drive paths.
bool writeSettings(const QString& path)
{
    ziro::Config cfg;
    cfg.NomeAutoscuola = QStringLiteral("Autoscuola Demo");
    cfg.UnitaProgram = QStringLiteral("C:\\");
    cfg.UnitaDati = QStringLiteral("C:\\");
    cfg.PathFoto = QStringLiteral("C:\\ziro\\Foto\\");
    cfg.PathAudioAB = QStringLiteral("C:\\ziro\\Audio\\");
    cfg.PathAudioAM = QStringLiteral("C:\\ziro\\Audio AM\\");
    cfg.PathVideo = QStringLiteral("C:\\ziro\\Video\\");
    cfg.VideoSize = QStringLiteral("3 - 480x360 (default)");
    // The lesson fills the screen (the projector), scaled; the display mode
    // itself is never switched.
    cfg.CB_Autores = true;
    // The sub-topic banner answers the "A" key only with this option on.
    cfg.CBJumpMark2 = true;
    // The frame the arrow keys move over the icon panels, in a colour of the
    // school's choosing rather than the built-in blue.
    cfg.ColoreSelettore = QColor(255, 140, 0);

    // Built as a new document, then written over the old file in one step.
    auto ini = ziro::IniFile::open(path + QStringLiteral(".nuovo"));
    if (!ini)
        return false;
    ini->setAutoSave(false);
    for (const ziro::SettingDef& def : ziro::settingDefs())
        ini->writeString(def.section, def.key, ziro::settingText(cfg, def.id));
    return ziro::saveFileAtomically(path, ini->toBytes());
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: ziro-make-demo OUTPUT_DIR [PROGRAM]\n");
        return 2;
    }
    const QString out = QDir(QString::fromLocal8Bit(argv[1])).absolutePath() + QStringLiteral("/");
    const QString ziro = out + QStringLiteral("ziro/");
    const QString program = ziro + QStringLiteral("Program/");

    makeDirs(ziro, {QStringLiteral("Program"), QStringLiteral("Utente"),
                    QStringLiteral("Utente/Foto"), QStringLiteral("pressKit"),
                    QStringLiteral("PicSgn"), QStringLiteral("PicSgt"), QStringLiteral("PicLnk"),
                    QStringLiteral("PicIcn"), QStringLiteral("Foto"), QStringLiteral("Audio"),
                    QStringLiteral("Audio AM"), QStringLiteral("Audio CDE"),
                    QStringLiteral("Video"), QStringLiteral("Book"), QStringLiteral("Book AM"),
                    QStringLiteral("Book CDE"), QStringLiteral("Book CQC"), QStringLiteral("Html"),
                    QStringLiteral("Quiz/Dom_A")});

    save(program + QStringLiteral("LOGO.BMP"), ziro::encodeKxb(drawLogo()));
    save(program + QStringLiteral("LOGO.WAV"), makeChime());
    if (!writeSettings(program + QStringLiteral("ziro.ini")))
        fail(QStringLiteral("cannot write the settings file"));

    struct PrivateFont {
        QString family, style;
        const char* package;
        QString copyAs;
    };
    const PrivateFont privateFonts[] = {
        {QStringLiteral("Liberation Sans Narrow"), QStringLiteral("Regular"), "fonts-liberation",
         QStringLiteral("ARIALN.TTF")},
        {QStringLiteral("Liberation Sans Narrow"), QStringLiteral("Bold"), "fonts-liberation",
         QStringLiteral("ARIALNB.TTF")},
        {QStringLiteral("DSEG7 Classic"), QStringLiteral("Regular"), "fonts-dseg", QStringLiteral("digital2.ttf")},
    };
    for (const PrivateFont& font : privateFonts) {
        const QString file = fontFile(font.family, font.style, font.package);
        if (!file.isEmpty())
            copyFile(file, program + font.copyAs);
    }

    QString error;
    if (!ziro::demo::writeContentTables(program, &error))
        fail(QStringLiteral("content tables: ") + error);
    if (!ziro::demo::writeQuestionBanks(program, &error))
        fail(QStringLiteral("question banks: ") + error);
    if (!ziro::demo::writeTopicLists(program, &error))
        fail(QStringLiteral("topic lists: ") + error);
    if (!ziro::demo::writeSignPictures(ziro, &error))
        fail(QStringLiteral("sign pictures: ") + error);
    if (!ziro::demo::writeFilms(ziro + QStringLiteral("Video/"), &error))
        fail(QStringLiteral("films: ") + error);
    if (!ziro::demo::writePhotos(ziro, &error))
        fail(QStringLiteral("photographs: ") + error);
    else if (!ziro::demo::verifyPhotos(ziro, program, &error))
        fail(QStringLiteral("photographs: ") + error);
    if (!ziro::demo::writeIconMenus(program, ziro, &error))
        fail(QStringLiteral("icon menus: ") + error);
    if (!ziro::demo::writeBookPages(ziro, program, &error))
        fail(QStringLiteral("book pages: ") + error);
    if (!ziro::demo::writeHtmlPages(ziro, program, &error))
        fail(QStringLiteral("HTML pages: ") + error);
    if (!ziro::demo::writeCrossroads(ziro + QStringLiteral("Video/"), program, &error))
        fail(QStringLiteral("crossroads: ") + error);
    if (!ziro::demo::writeSpokenStatements(ziro, program, out + QStringLiteral("Velarium/"), &error))
        fail(QStringLiteral("spoken statements: ") + error);
    if (!ziro::demo::writeLessons(ziro, program, &error))
        fail(QStringLiteral("lessons: ") + error);
    if (!ziro::demo::writeSampleDataset(out + QStringLiteral("dataset/"), &error))
        fail(QStringLiteral("sample dataset: ") + error);
    if (!ziro::demo::writeEditorSources(ziro, program, &error))
        fail(QStringLiteral("editor sources: ") + error);

    if (argc >= 3) {
        const QString exe = program + QStringLiteral("ziro");
        copyFile(QString::fromLocal8Bit(argv[2]), exe);
        QFile::setPermissions(exe, QFile::permissions(exe) | QFileDevice::ExeOwner |
                                       QFileDevice::ExeGroup | QFileDevice::ExeOther);
    }

    if (g_failed)
        return 1;
    std::printf("demo installation written to %s\n", qPrintable(ziro));
    return 0;
}
