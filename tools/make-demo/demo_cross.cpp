// The crossroads of the demo: the table "kx_cross.cds", one animation per
// crossroads drawn here (an intersection from above, the vehicles as
// coloured squares with their letters), and the A-B records that open them.
//
// Every frame carries its number in large digits and as the two rows of
// cells the generated films use, so the tests read back which frame the
// window shows. The animations are encoded at 25 frames per second as
// Motion JPEG in AVI, every frame a key frame, and masked as ".KXA".

#include "demo_content.h"

#include "film_maker.h"

#include "crossroads/cross_data.h"
#include "platform/dataset/data_table.h"
#include "platform/files/atomic_save.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>

#include <algorithm>
#include <vector>

namespace ziro::demo {

namespace {

bool fail(QString* error, const QString& what)
{
    if (error)
        *error = what;
    return false;
}

// Frames each vehicle takes to cross.
constexpr int kCross = 16;
// Encoded at half the drawing size: the cells stay readable and the
// installation small.
constexpr QSize kEncoded{320, 240};

// Where the vehicles wait, in the 640 x 480 drawing, and where they leave.
struct Arm {
    QPointF start;
    QPointF end;
};
const Arm kArms[cross::kVehicles] = {
    {{340, 410}, {340, 80}},   // from the south, going north
    {{150, 292}, {620, 292}},  // from the west, going east
    {{300, 120}, {300, 470}},  // from the north, going south
    {{490, 252}, {20, 252}},   // from the east, going west
    {{560, 252}, {20, 252}},   // behind the fourth
};

QColor colourOf(QChar c)
{
    switch (c.unicode()) {
    case 'b': return QColor(236, 236, 236);
    case 'c': return QColor(150, 210, 250);
    case 'g': return QColor(250, 215, 0);
    case 'n': return QColor(20, 20, 20);
    case 'r': return QColor(215, 30, 30);
    case 'v': return QColor(30, 150, 60);
    default: return QColor(150, 150, 150);
    }
}

// What one crossroads shows, and where its stretches lie.
struct Scene {
    QString number;     // the table's record
    QString sequence;   // letters of vehicles 1..n
    QString colours;
    QStringList alternatives;
    // Stretches after the passage, in order: the order they answer and
    // whether it is accepted (drawn without the crash).
    struct Stretch {
        QString order;
        bool accepted = false;
        int at = 0;  // the field that carries it: 1..109 SErr/FErr, 110.. the long ones
    };
    std::vector<Stretch> stretches;
    // A stretch at fixed frames (the siren's order): from, to, order.
    int fixedFrom = 0;
    int fixedTo = 0;
    QString fixedOrder;
};

// The frame layout of a scene's animation.
struct Layout {
    int n = 0;
    int b1 = 0;                    // end of the passage
    std::vector<int> bounds;       // B of each stretch, then its end
    int frames = 0;
};

Layout layoutOf(const Scene& s)
{
    Layout l;
    l.n = int(s.sequence.size());
    const int length = l.n * kCross + 4;
    l.b1 = l.n + 1 + length;
    int at = l.b1;
    l.bounds.push_back(at);
    for (std::size_t i = 0; i < s.stretches.size(); ++i) {
        at += length;
        l.bounds.push_back(at);
    }
    const int last = std::max(at, s.fixedTo);
    l.frames = last + 1 + l.n;
    return l;
}

QChar colourAt(const Scene& s, int k)
{
    return k < s.colours.size() ? s.colours[k] : QLatin1Char('b');
}

void drawVehicle(QPainter& p, QPointF centre, QChar letter, QChar colour, bool lit)
{
    const QRectF box(centre.x() - 22, centre.y() - 22, 44, 44);
    if (lit) {
        p.setPen(QPen(QColor(255, 140, 0), 6));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(box.adjusted(-8, -8, 8, 8), 12, 12);
    }
    const QColor fill = colourOf(colour);
    p.setPen(QPen(fill.darker(170), 2));
    p.setBrush(fill);
    p.drawRoundedRect(box, 8, 8);
    QFont f = p.font();
    f.setPixelSize(30);
    f.setBold(true);
    p.setFont(f);
    p.setPen(colour == QLatin1Char('n') ? Qt::white : Qt::black);
    p.drawText(box, Qt::AlignCenter, QString(letter));
}

void drawJunction(QPainter& p)
{
    p.fillRect(QRect(0, 0, 640, 480), QColor(120, 170, 90));
    p.fillRect(QRect(0, 232, 640, 80), QColor(90, 90, 95));
    p.fillRect(QRect(280, 0, 80, 480), QColor(90, 90, 95));
    p.setPen(QPen(Qt::white, 3, Qt::DashLine));
    p.drawLine(0, 272, 270, 272);
    p.drawLine(370, 272, 640, 272);
    p.drawLine(320, 0, 320, 222);
    p.drawLine(320, 322, 320, 480);
}

// Vehicles at the positions of `order` progressing at `t` frames into a
// stretch: the i-th of the order crosses during frames i*kCross .. +kCross.
void drawMoving(QPainter& p, const Scene& s, const QString& order, int t, bool crash)
{
    const int n = int(s.sequence.size());
    std::vector<double> progress(std::size_t(n), 0.0);
    for (int i = 0; i < order.size(); ++i) {
        const int k = int(s.sequence.indexOf(order[i]));
        if (k < 0)
            continue;
        progress[std::size_t(k)] = std::clamp((t - i * kCross) / double(kCross), 0.0, 1.0);
    }
    for (int k = 0; k < n; ++k) {
        const Arm& arm = kArms[k];
        const QPointF at = arm.start + (arm.end - arm.start) * progress[std::size_t(k)];
        drawVehicle(p, at, s.sequence[k], colourAt(s, k), false);
    }
    if (crash && t >= kCross / 2) {
        p.setPen(QPen(QColor(220, 0, 0), 10, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(290, 242), QPointF(350, 302));
        p.drawLine(QPointF(350, 242), QPointF(290, 302));
    }
}

QImage drawCrossFrame(const Scene& s, const Layout& l, int index)
{
    QImage image(filmgen::kFilmSize, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    drawJunction(p);
    const int n = l.n;
    auto still = [&](int lit) {
        for (int k = 0; k < n; ++k)
            drawVehicle(p, kArms[k].start, s.sequence[k], colourAt(s, k), k + 1 == lit);
    };
    if (index <= n) {
        still(index);
    } else if (index >= l.frames - n) {
        // A vehicle's own still: it alone, with its way through marked.
        const int k = index - (l.frames - n);
        const Arm& arm = kArms[k];
        p.setPen(QPen(QColor(255, 140, 0), 8, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(arm.start, arm.end);
        drawVehicle(p, arm.start, s.sequence[k], colourAt(s, k), true);
    } else if (index < l.b1) {
        drawMoving(p, s, s.sequence, index - (n + 1), false);
    } else if (s.fixedTo > 0 && index >= s.fixedFrom && index <= s.fixedTo) {
        drawMoving(p, s, s.fixedOrder, (index - s.fixedFrom) / 4, false);
    } else {
        bool drawn = false;
        for (std::size_t i = 0; i + 1 < l.bounds.size(); ++i) {
            // A stretch shares its last frame with the next one's first;
            // the last stretch keeps its own.
            const bool last = i + 2 == l.bounds.size();
            if (index >= l.bounds[i] && (index < l.bounds[i + 1] || (last && index == l.bounds[i + 1]))) {
                const Scene::Stretch& st = s.stretches[i];
                drawMoving(p, s, st.order, index - l.bounds[i], !st.accepted);
                drawn = true;
                break;
            }
        }
        // Frames no stretch uses (before the siren's fixed stretch) are
        // never shown: flat, so they cost next to nothing.
        if (!drawn)
            p.fillRect(QRect(0, 0, 640, 480), QColor(60, 60, 60));
    }
    p.end();
    // The frame number, as the generated films carry it.
    const QImage numbered = filmgen::drawFrame(index, l.frames);
    QPainter over(&image);
    const QRect cells(56, 0, 528, 64);
    const QRect digits(472, 400, 160, 72);
    over.drawImage(cells, numbered, cells);
    over.drawImage(digits, numbered, digits);
    return image;
}

bool encode(const QString& path, const Scene& s, const Layout& l, QString* error)
{
    const QString ffmpeg = QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
    if (ffmpeg.isEmpty())
        return fail(error, QStringLiteral("the ffmpeg program was not found: install the Debian package ffmpeg"));
    const QString part = QFileInfo(path).dir().filePath(QStringLiteral(".") + QFileInfo(path).completeBaseName() +
                                                        QStringLiteral("-part.avi"));
    const QStringList args{QStringLiteral("-hide_banner"), QStringLiteral("-loglevel"), QStringLiteral("error"),
                           QStringLiteral("-nostdin"), QStringLiteral("-y"), QStringLiteral("-f"),
                           QStringLiteral("rawvideo"), QStringLiteral("-pix_fmt"), QStringLiteral("bgra"),
                           QStringLiteral("-s"), QStringLiteral("%1x%2").arg(kEncoded.width()).arg(kEncoded.height()),
                           QStringLiteral("-r"), QString::number(filmgen::kFilmFps), QStringLiteral("-i"),
                           QStringLiteral("pipe:0"), QStringLiteral("-fflags"), QStringLiteral("+bitexact"),
                           QStringLiteral("-flags:v"), QStringLiteral("+bitexact"), QStringLiteral("-threads"),
                           QStringLiteral("1"), QStringLiteral("-c:v"), QStringLiteral("mjpeg"),
                           QStringLiteral("-q:v"), QStringLiteral("12"), QStringLiteral("-pix_fmt"),
                           QStringLiteral("yuvj420p"), QStringLiteral("-f"), QStringLiteral("avi"), part};
    QProcess process;
    process.start(ffmpeg, args);
    if (!process.waitForStarted(10000))
        return fail(error, QStringLiteral("ffmpeg could not be started: %1").arg(process.errorString()));
    bool fed = true;
    for (int i = 0; i < l.frames && fed; ++i) {
        const QImage frame = drawCrossFrame(s, l, i)
                                 .scaled(kEncoded, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                                 .convertToFormat(QImage::Format_RGB32);
        const QByteArray bytes(reinterpret_cast<const char*>(frame.constBits()), int(frame.sizeInBytes()));
        fed = process.write(bytes) == bytes.size();
        while (fed && process.bytesToWrite() > 0)
            fed = process.waitForBytesWritten(30000);
    }
    process.closeWriteChannel();
    const bool finished = process.waitForFinished(120000);
    if (!fed || !finished || process.exitCode() != 0) {
        QFile::remove(part);
        return fail(error, QStringLiteral("ffmpeg could not write %1: %2")
                               .arg(part, QString::fromLocal8Bit(process.readAllStandardError()).trimmed()));
    }
    QFile file(part);
    if (!file.open(QIODevice::ReadOnly))
        return fail(error, part + QStringLiteral(": ") + file.errorString());
    QByteArray bytes = file.readAll();
    file.close();
    QFile::remove(part);
    if (!bytes.startsWith("RIFF"))
        return fail(error, part + QStringLiteral(": not an AVI file"));
    bytes.replace(0, 4, "KXA#");
    return saveFileAtomically(path, bytes, error);
}

using Row = QList<std::pair<QString, QString>>;

Row rowOf(const Scene& s, const Layout& l)
{
    Row r{{QStringLiteral("Incrocio"), s.number}, {QStringLiteral("Sequenza"), s.sequence},
          {QStringLiteral("Colori"), s.colours}};
    // The areas of the waiting vehicles in the 440 x 350 panel the film is
    // fitted into (330 high, 10 from the top).
    constexpr double scale = 440.0 / 640.0;
    for (int k = 1; k <= l.n; ++k) {
        const QPointF c = kArms[k - 1].start;
        const QRect area(int((c.x() - 30) * scale), int(10 + (c.y() - 30) * scale), int(60 * scale),
                         int(60 * scale));
        r << std::pair{QStringLiteral("Xt%1").arg(k), QString::number(area.left())}
          << std::pair{QStringLiteral("Yt%1").arg(k), QString::number(area.top())}
          << std::pair{QStringLiteral("Xb%1").arg(k), QString::number(area.width())}
          << std::pair{QStringLiteral("Yb%1").arg(k), QString::number(area.height())};
    }
    for (int i = 0; i < s.alternatives.size(); ++i)
        r << std::pair{QStringLiteral("Seq_%1").arg(i + 2), s.alternatives[i]};
    r << std::pair{QStringLiteral("FErr1"), QString::number(l.b1)};
    for (std::size_t i = 0; i < s.stretches.size(); ++i) {
        const Scene::Stretch& st = s.stretches[i];
        const int from = l.bounds[i];
        const int to = l.bounds[i + 1];
        if (st.at < cross::kFramedOrders) {
            r << std::pair{QStringLiteral("SErr%1").arg(st.at), st.order}
              << std::pair{QStringLiteral("FErr%1").arg(st.at), QString::number(from)}
              << std::pair{QStringLiteral("FErr%1").arg(st.at + 1), QString::number(to)};
        } else {
            // The long fields carry their frame after five characters of order.
            r << std::pair{QStringLiteral("SErr%1").arg(st.at), st.order.leftJustified(5) + QString::number(from)}
              << std::pair{QStringLiteral("SErr%1").arg(st.at + 1), QStringLiteral("     ") + QString::number(to)};
        }
    }
    return r;
}

std::vector<Scene> demoScenes()
{
    std::vector<Scene> scenes;
    // Three vehicles, every wrong order with its own stretch; the last one
    // is kept in the long fields.
    Scene s631{QStringLiteral("631"), QStringLiteral("ABC"), QStringLiteral("rvg"), {}, {}, 0, 0, {}};
    s631.stretches = {{QStringLiteral("BAC"), false, 1}, {QStringLiteral("ACB"), false, 2},
                      {QStringLiteral("BCA"), false, 3}, {QStringLiteral("CAB"), false, 4},
                      {QStringLiteral("CBA"), false, 110}};
    scenes.push_back(s631);
    // Several accepted orders: the alternative has its own stretch.
    Scene s635{QStringLiteral("635"), QStringLiteral("ABCD"), QStringLiteral("rgvc"),
               {QStringLiteral("BACD"), QStringLiteral("ABDC")}, {}, 0, 0, {}};
    s635.stretches = {{QStringLiteral("BACD"), true, 1}, {QStringLiteral("ABDC"), true, 2},
                      {QStringLiteral("DCBA"), false, 3}};
    scenes.push_back(s635);
    // Single answer: picking B first is wrong.
    Scene s600{QStringLiteral("600"), QStringLiteral("AB"), QStringLiteral("nr"), {}, {}, 0, 0, {}};
    s600.stretches = {{QStringLiteral("B"), false, 1}};
    scenes.push_back(s600);
    // The emergency vehicle: with its siren on it goes first (A, S, M).
    Scene s619{QStringLiteral("619"), QStringLiteral("SMA"), QStringLiteral("vbr"), {}, {}, 888, 1124,
               QStringLiteral("ASM")};
    s619.stretches = {{QStringLiteral("MSA"), false, 1}, {QStringLiteral("ASM"), false, 2},
                      {QStringLiteral("SMA"), false, 3}};
    scenes.push_back(s619);
    return scenes;
}

bool addRecords(const QString& tablePath, QString* error)
{
    DataTable t;
    if (!t.loadFromFile(tablePath, error))
        return false;
    int numRec = 0;
    for (t.first(); !t.eof(); t.next())
        numRec = std::max(numRec, t.fieldInt(QStringLiteral("NumRec")));
    // The precedence topic: each crossroads, and 649, which shows 600.
    const std::pair<const char*, const char*> records[] = {
        {"631", "Incrocio a tre veicoli"},
        {"635", "Incrocio con due ordini corretti"},
        {"600", "Chi passa per primo?"},
        {"649", "Chi passa per primo?"},
        {"619", "Incrocio con veicolo di soccorso"}};
    for (const auto& [sign, text] : records) {
        if (!t.append() || !t.setField(QStringLiteral("NumRec"), ++numRec, error) ||
            !t.setField(QStringLiteral("Argomento"), QStringLiteral("E01"), error) ||
            !t.setField(QStringLiteral("Nome segnale"), QLatin1String(sign), error) ||
            !t.setField(QStringLiteral("Testo"), QString::fromUtf8(text), error) ||
            // Shown by the walk although they carry no quiz block.
            !t.setField(QStringLiteral("Spare"), QStringLiteral("2"), error) || !t.post(error))
            return false;
    }
    return t.saveToFile(tablePath, SaveFormat::Utf8, error);
}

}  // namespace

bool writeCrossroads(const QString& videoDir, const QString& programDir, QString* error)
{
    DataTable table;
    if (!table.createFromFields(cross::tableFields(), error))
        return false;
    int rec = 0;
    const auto addRow = [&](const Row& row) {
        if (!table.append() || !table.setField(QStringLiteral("Rec"), ++rec, error))
            return false;
        for (const auto& [field, value] : row)
            if (!table.setField(field, value, error))
                return false;
        return table.post(error);
    };
    for (const Scene& s : demoScenes()) {
        const Layout l = layoutOf(s);
        if (!encode(videoDir + cross::filmBaseName(s.number) + QStringLiteral(".KXA"), s, l, error))
            return false;
        Row row = rowOf(s, l);
        if (!addRow(row))
            return false;
        // Their other records: 649 shows 600, 6190 is 619 with the siren on.
        Row other = row;
        if (s.number == QLatin1String("600"))
            other[0].second = QStringLiteral("649");
        else if (s.number == QLatin1String("619"))
        {
            other[0].second = QStringLiteral("6190");
            other << std::pair{QStringLiteral("Seq_2"), QStringLiteral("ASM")};
        }
        else
            continue;
        if (!addRow(other))
            return false;
    }
    if (!table.saveToFile(programDir + QStringLiteral("kx_cross.cds"), SaveFormat::Utf8, error))
        return false;
    return addRecords(programDir + QStringLiteral("AAB2016.XML"), error);
}

}  // namespace ziro::demo
