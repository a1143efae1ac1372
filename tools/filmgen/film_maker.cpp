#include "film_maker.h"

#include "platform/files/mask_kinds.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace ziro::filmgen {

namespace {

// The number cells: two rows of 16 across the top, the number's bits (most
// significant first) over their complement, so a misread cell shows.
constexpr int kBits = 16;
constexpr int kCellW = 32;
constexpr int kCellH = 24;
constexpr int kCellsX = 64;
constexpr int kCellsY = 8;

QRect cellRect(int row, int bit)
{
    return QRect(kCellsX + bit * kCellW, kCellsY + row * kCellH, kCellW, kCellH);
}

// Seven-segment digits: no font is needed, and every machine draws them alike.
void drawDigit(QPainter& p, QPoint at, int digit)
{
    // Segments a..g as bits 0..6.
    static const int kSegments[10] = {0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F};
    const int w = 28, h = 48, t = 6;
    const QRect segments[7] = {
        {at.x(), at.y(), w, t},                      // a
        {at.x() + w - t, at.y(), t, h / 2},          // b
        {at.x() + w - t, at.y() + h / 2, t, h / 2},  // c
        {at.x(), at.y() + h - t, w, t},              // d
        {at.x(), at.y() + h / 2, t, h / 2},          // e
        {at.x(), at.y(), t, h / 2},                  // f
        {at.x(), at.y() + (h - t) / 2, w, t},        // g
    };
    for (int s = 0; s < 7; ++s)
        if (kSegments[digit] & (1 << s))
            p.fillRect(segments[s], Qt::black);
}

void drawNumber(QPainter& p, int number)
{
    const QString digits = QString::number(number).rightJustified(4, QLatin1Char('0'));
    const int pitch = 36;
    const QRect box(kFilmSize.width() - 16 - digits.size() * pitch - 8, kFilmSize.height() - 16 - 64,
                    digits.size() * pitch + 8, 64);
    p.fillRect(box, Qt::white);
    for (int i = 0; i < digits.size(); ++i)
        drawDigit(p, QPoint(box.left() + 8 + i * pitch, box.top() + 8), digits[i].digitValue());
}

void drawCells(QPainter& p, int number)
{
    p.fillRect(QRect(kCellsX - 8, 0, kBits * kCellW + 16, kCellsY * 2 + 2 * kCellH), QColor(128, 128, 128));
    for (int bit = 0; bit < kBits; ++bit) {
        const bool one = number & (1 << (kBits - 1 - bit));
        p.fillRect(cellRect(0, bit), one ? Qt::white : Qt::black);
        p.fillRect(cellRect(1, bit), one ? Qt::black : Qt::white);
    }
}

void drawCar(QPainter& p, int x, bool braking)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 30, 30));
    p.drawRoundedRect(QRect(x, 318, 150, 44), 10, 10);
    p.drawRoundedRect(QRect(x + 30, 292, 84, 34), 10, 10);
    p.setBrush(QColor(170, 210, 240));
    p.drawRect(QRect(x + 40, 298, 28, 22));
    p.drawRect(QRect(x + 76, 298, 28, 22));
    p.setBrush(Qt::black);
    p.drawEllipse(QPoint(x + 32, 364), 17, 17);
    p.drawEllipse(QPoint(x + 118, 364), 17, 17);
    // The rear light, bright while the car brakes.
    p.setBrush(braking ? QColor(255, 40, 40) : QColor(120, 20, 20));
    p.drawRect(QRect(x - 2, 326, 8, 12));
}

void drawLandscape(QPainter& p)
{
    const int w = kFilmSize.width();
    QLinearGradient sky(0, 0, 0, 300);
    sky.setColorAt(0, QColor(90, 150, 230));
    sky.setColorAt(1, QColor(200, 225, 250));
    p.fillRect(0, 0, w, 300, sky);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 210, 60));
    p.drawEllipse(QPoint(540, 110), 36, 36);
    p.fillRect(0, 260, w, 220, QColor(70, 150, 60));
    p.fillRect(0, 300, w, 120, QColor(80, 80, 85));
    p.fillRect(0, 300, w, 4, Qt::white);
    p.fillRect(0, 416, w, 4, Qt::white);
}

// A car slowing down evenly to a halt before a stop line and its sign.
void drawBraking(QPainter& p, int index, int frames)
{
    drawLandscape(p);
    const qreal t = frames > 1 ? qreal(index) / (frames - 1) : 1;
    // Drives on for the first fifth, brakes to a halt by four fifths.
    const qreal drive = 0.2, stop = 0.8;
    qreal along;
    if (t < drive)
        along = t;
    else if (t < stop) {
        const qreal b = (t - drive) / (stop - drive);
        along = drive + (stop - drive) * (b - b * b / 2);
    } else
        along = drive + (stop - drive) / 2;
    const int line = 470;
    const int x = int(-160 + (line - 160 + 160) * along / (drive + (stop - drive) / 2));
    for (int x0 = 0; x0 < line - 20; x0 += 80)
        p.fillRect(x0, 357, 44, 6, Qt::white);
    p.fillRect(line, 300, 10, 120, Qt::white);  // the stop line
    // The stop sign: a red octagon on a post.
    p.fillRect(line + 40, 170, 6, 130, QColor(60, 60, 60));
    QPolygonF octagon;
    for (int k = 0; k < 8; ++k) {
        const qreal a = (22.5 + 45 * k) * M_PI / 180;
        octagon << QPointF(line + 43 + 34 * std::cos(a), 150 + 34 * std::sin(a));
    }
    p.setPen(QPen(Qt::white, 3));
    p.setBrush(QColor(200, 0, 0));
    p.drawPolygon(octagon);
    p.setPen(Qt::white);
    QFont f = p.font();
    f.setPixelSize(16);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRect(line + 9, 140, 68, 20), Qt::AlignCenter, QStringLiteral("STOP"));
    drawCar(p, x, t >= drive);
}

// A roundabout seen from above: a car comes up the road from below, gives
// way, goes round anticlockwise (traffic keeps to the right) and leaves by
// the road to the left.
void drawRoundabout(QPainter& p, int index, int frames)
{
    p.fillRect(QRect(QPoint(0, 0), kFilmSize), QColor(70, 150, 60));
    const QPointF c(320, 250);
    const qreal outer = 150, inner = 70;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(80, 80, 85));
    p.drawRect(QRectF(c.x() - 40, c.y(), 80, 480 - c.y()));  // the road from below
    p.drawRect(QRectF(0, c.y() - 40, c.x(), 80));            // the road to the left
    p.drawEllipse(c, outer, outer);
    p.setBrush(QColor(90, 170, 70));
    p.setPen(QPen(Qt::white, 4));
    p.drawEllipse(c, inner, inner);

    const qreal t = frames > 1 ? qreal(index) / (frames - 1) : 1;
    const qreal lane = (outer + inner) / 2;
    QPointF car;
    qreal heading = -90;  // degrees on the screen: up
    if (t < 0.3) {  // up the road to the ring, slowing down
        const qreal a = t / 0.3;
        car = QPointF(c.x() + 20, 480 - (480 - (c.y() + outer)) * (a * (2 - a)));
    } else if (t < 0.4) {  // giving way
        car = QPointF(c.x() + 20, c.y() + outer);
    } else if (t < 0.85) {  // three quarters round, anticlockwise
        const qreal angle = 90 - 270 * (t - 0.4) / 0.45;
        const qreal r = angle * M_PI / 180;
        car = QPointF(c.x() + lane * std::cos(r), c.y() + lane * std::sin(r));
        heading = angle - 90;
    } else {  // out along the road to the left
        const qreal a = (t - 0.85) / 0.15;
        car = QPointF(c.x() - lane - (c.x() - lane + 40) * a, c.y() - 20);
        heading = 180;
    }
    p.save();
    p.translate(car);
    p.rotate(heading);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 30, 30));
    p.drawRoundedRect(QRectF(-24, -13, 48, 26), 6, 6);
    p.setBrush(QColor(170, 210, 240));
    p.drawRect(QRectF(6, -10, 10, 20));
    p.restore();
}

// A car passing along a road, the centre line running towards the viewer.
void drawRoad(QPainter& p, int index, int frames)
{
    const int w = kFilmSize.width();
    drawLandscape(p);
    const int dash = (index * 8) % 80;
    for (int x = -dash; x < w; x += 80)
        p.fillRect(x, 357, 44, 6, Qt::white);
    // A sign post at the roadside, for something that stands still.
    p.fillRect(96, 190, 6, 110, QColor(60, 60, 60));
    p.setBrush(Qt::white);
    p.setPen(QPen(QColor(200, 0, 0), 8));
    p.drawEllipse(QPoint(99, 180), 30, 30);
    // The car crosses the picture once over the film.
    const int span = w + 160;
    drawCar(p, frames > 1 ? -160 + span * index / (frames - 1) : 240, false);
}

int luminance(const QImage& image, QPointF centre, qreal half)
{
    const QRect box = QRect(QPoint(qRound(centre.x() - half), qRound(centre.y() - half)),
                            QPoint(qRound(centre.x() + half), qRound(centre.y() + half)))
                          .intersected(image.rect());
    if (box.isEmpty())
        return -1;
    qint64 sum = 0;
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            sum += qGray(image.pixel(x, y));
    return int(sum / (qint64(box.width()) * box.height()));
}

QString ffmpegCodecs(const QString& restoredExtension, QStringList* args)
{
    const QString ext = restoredExtension.toUpper();
    if (ext == QLatin1String(".MPG"))
        *args << QStringLiteral("-c:v") << QStringLiteral("mpeg1video") << QStringLiteral("-q:v")
              << QStringLiteral("4") << QStringLiteral("-g") << QStringLiteral("12") << QStringLiteral("-bf")
              << QStringLiteral("2") << QStringLiteral("-c:a") << QStringLiteral("mp2") << QStringLiteral("-b:a")
              << QStringLiteral("128k") << QStringLiteral("-f") << QStringLiteral("mpeg");
    else if (ext == QLatin1String(".MP4"))
        *args << QStringLiteral("-c:v") << QStringLiteral("libx264") << QStringLiteral("-preset")
              << QStringLiteral("veryfast") << QStringLiteral("-crf") << QStringLiteral("23")
              << QStringLiteral("-pix_fmt") << QStringLiteral("yuv420p") << QStringLiteral("-g")
              << QStringLiteral("25") << QStringLiteral("-c:a") << QStringLiteral("aac") << QStringLiteral("-b:a")
              << QStringLiteral("96k") << QStringLiteral("-f") << QStringLiteral("mp4");
    else if (ext == QLatin1String(".AVI"))
        *args << QStringLiteral("-c:v") << QStringLiteral("mpeg4") << QStringLiteral("-q:v") << QStringLiteral("4")
              << QStringLiteral("-g") << QStringLiteral("12") << QStringLiteral("-c:a")
              << QStringLiteral("pcm_s16le") << QStringLiteral("-f") << QStringLiteral("avi");
    else
        return QStringLiteral("no film kind has the extension \"%1\"").arg(restoredExtension);
    return {};
}

bool writeAt0(const QString& path, const QByteArray& bytes, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite) || !file.seek(0) || file.write(bytes) != bytes.size() || !file.flush()) {
        *error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), file.errorString());
        return false;
    }
    file.close();
    return file.error() == QFileDevice::NoError;
}

}  // namespace

QImage drawFrame(int index, int frames, Scene scene)
{
    QImage image(kFilmSize, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    switch (scene) {
    case Scene::Road: drawRoad(p, index, frames); break;
    case Scene::Braking: drawBraking(p, index, frames); break;
    case Scene::Roundabout: drawRoundabout(p, index, frames); break;
    }
    drawCells(p, index);
    drawNumber(p, index);
    return image;
}

std::optional<int> readFrameNumber(const QImage& picture)
{
    if (picture.isNull())
        return std::nullopt;
    const qreal scale = std::min(qreal(picture.width()) / kFilmSize.width(),
                                 qreal(picture.height()) / kFilmSize.height());
    const QPointF origin((picture.width() - kFilmSize.width() * scale) / 2,
                         (picture.height() - kFilmSize.height() * scale) / 2);
    // A few pixels in the middle of each cell are enough, and few keep the
    // reading cheap enough to run on every frame a bench paints.
    const qreal half = std::clamp<qreal>(2 * scale, 1, 4);
    int number = 0;
    for (int bit = 0; bit < kBits; ++bit) {
        bool cell[2];
        for (int row = 0; row < 2; ++row) {
            const int y = luminance(picture, origin + QPointF(cellRect(row, bit).center()) * scale, half);
            if (y < 0 || (y > 80 && y < 176))  // neither black nor white
                return std::nullopt;
            cell[row] = y >= 128;
        }
        if (cell[0] == cell[1])
            return std::nullopt;
        number = number * 2 + (cell[0] ? 1 : 0);
    }
    return number;
}

bool maskInPlace(const QString& path, QString* error)
{
    bool masked = false;
    const std::optional<MaskKind> kind = maskKindOf(path, &masked);
    if (!kind || !masked) {
        *error = QStringLiteral("%1: not a masked film name").arg(QDir::toNativeSeparators(path));
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), file.errorString());
        return false;
    }
    const QByteArray head = file.read(kind->restoreBytes.size());
    file.close();
    if (head != kind->restoreBytes) {
        *error = QStringLiteral("%1: does not start as a %2 film").arg(QDir::toNativeSeparators(path),
                                                                      QLatin1String(kind->restored + 1));
        return false;
    }
    return writeAt0(path, kind->maskBytes, error);
}

bool makeFilm(const QString& path, const FilmSpec& spec, QString* error)
{
    QString ignored;
    if (!error)
        error = &ignored;
    if (spec.frames < 1 || spec.frames > kMaxFrames) {
        *error = QStringLiteral("a film of %1 frames cannot be made").arg(spec.frames);
        return false;
    }
    bool masked = false;
    const std::optional<MaskKind> kind = maskKindOf(path, &masked);
    QStringList codecs;
    const QString codecError =
        ffmpegCodecs(kind ? QString::fromLatin1(kind->restored) : QLatin1String(".") + QFileInfo(path).suffix(), &codecs);
    if (!codecError.isEmpty()) {
        *error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), codecError);
        return false;
    }
    const QString ffmpeg = QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
    if (ffmpeg.isEmpty()) {
        *error = QStringLiteral("the ffmpeg program was not found: install the Debian package ffmpeg");
        return false;
    }

    // Written next to the film, under a hidden name with the same extension,
    // and renamed over it once complete.
    const QFileInfo info(path);
    QTemporaryFile part(info.dir().filePath(QLatin1Char('.') + info.completeBaseName() +
                                            QStringLiteral("-XXXXXX.") + info.suffix()));
    // Readable by all, as any other file of an installation; a temporary
    // file is the owner's only.
    if (!part.open() || !part.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                             QFileDevice::ReadGroup | QFileDevice::ReadOther)) {
        *error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), part.errorString());
        return false;
    }
    part.close();

    const QString size = QStringLiteral("%1x%2").arg(kFilmSize.width()).arg(kFilmSize.height());
    const QString seconds = QString::number(double(spec.frames) / kFilmFps, 'f', 3);
    QStringList args{QStringLiteral("-hide_banner"), QStringLiteral("-loglevel"), QStringLiteral("error"),
                     QStringLiteral("-nostdin"), QStringLiteral("-y"),
                     QStringLiteral("-f"), QStringLiteral("rawvideo"), QStringLiteral("-pix_fmt"),
                     QStringLiteral("bgra"), QStringLiteral("-s"), size, QStringLiteral("-r"),
                     QString::number(kFilmFps), QStringLiteral("-i"), QStringLiteral("pipe:0")};
    if (spec.sound)
        args << QStringLiteral("-f") << QStringLiteral("lavfi") << QStringLiteral("-i")
             << QStringLiteral("sine=frequency=440:sample_rate=44100:duration=") + seconds;
    args << QStringLiteral("-map") << QStringLiteral("0:v");
    if (spec.sound)
        args << QStringLiteral("-map") << QStringLiteral("1:a");
    // The same film every time: the demo installation is deterministic.
    args << QStringLiteral("-fflags") << QStringLiteral("+bitexact") << QStringLiteral("-flags:v")
         << QStringLiteral("+bitexact") << QStringLiteral("-flags:a") << QStringLiteral("+bitexact")
         << QStringLiteral("-threads") << QStringLiteral("1");
    args << codecs << part.fileName();

    QProcess process;
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.start(ffmpeg, args);
    if (!process.waitForStarted(10000)) {
        *error = QStringLiteral("ffmpeg could not be started: %1").arg(process.errorString());
        return false;
    }
    bool fed = true;
    for (int i = 0; i < spec.frames && fed; ++i) {
        const QImage frame = drawFrame(i, spec.frames, spec.scene);
        const QByteArray bytes(reinterpret_cast<const char*>(frame.constBits()), int(frame.sizeInBytes()));
        fed = process.write(bytes) == bytes.size();
        // One frame in flight at a time: a long film is never held whole.
        while (fed && process.bytesToWrite() > 0)
            fed = process.waitForBytesWritten(30000);
    }
    process.closeWriteChannel();
    const bool finished = process.waitForFinished(120000);
    if (!finished)
        process.kill();
    if (!fed || !finished || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        process.waitForFinished(5000);
        const QString said = QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
        *error = QStringLiteral("ffmpeg could not write %1: %2")
                     .arg(QDir::toNativeSeparators(path), said.isEmpty() ? QStringLiteral("it stopped") : said);
        return false;
    }

    if (masked && !maskInPlace(part.fileName(), error))
        return false;
    if (QFileInfo(part.fileName()).size() <= 0) {
        *error = QStringLiteral("ffmpeg wrote an empty film for %1").arg(QDir::toNativeSeparators(path));
        return false;
    }
    if (std::rename(QFile::encodeName(part.fileName()).constData(), QFile::encodeName(path).constData()) != 0) {
        *error = QStringLiteral("%1: cannot be replaced").arg(QDir::toNativeSeparators(path));
        return false;
    }
    part.setAutoRemove(false);
    return true;
}

}  // namespace ziro::filmgen
