// ziro-bench --photo: what enlarging a photograph costs.
//
// The photograph: generated, 1024 x 768, drawn like a street scene (sky,
// road, buildings, trees) with a grain over it, written as a masked ".KXB"
// file. "enlarge" is what the viewer does when the photograph is enlarged,
// from the file: decode it, burn in a single-line caption with its
// background box and two arrows, resample it to 640 x 480 and sharpen it.
// The reference, "qt_smooth", decodes the same file and scales it to
// 640 x 480 with Qt's smooth transformation. Both are timed alternately so
// that a noisy moment hurts both alike; the medians are printed.

#include "photo_bench.h"

#include "bench_util.h"

#include "controls/kxb.h"
#include "controls/photo_filters.h"
#include "platform/files/atomic_save.h"
#include "viewers/photo_render.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

namespace ziro::bench {

namespace {

constexpr QSize kPhotoSize{1024, 768};
constexpr QSize kTarget{640, 480};

QImage streetScene()
{
    QImage picture(kPhotoSize, QImage::Format_RGB32);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 400);
    sky.setColorAt(0, QColor(70, 120, 200));
    sky.setColorAt(1, QColor(200, 220, 240));
    p.fillRect(picture.rect(), sky);
    std::mt19937 random(2016);
    for (int i = 0; i < 14; ++i) {
        const int w = 50 + int(random() % 90), h = 120 + int(random() % 220);
        const int x = i * 75 - 20;
        p.fillRect(x, 420 - h, w, h, QColor(int(random() % 200), int(random() % 200), int(random() % 200)));
        for (int wy = 420 - h + 10; wy < 400; wy += 24)
            for (int wx = x + 8; wx < x + w - 10; wx += 18)
                p.fillRect(wx, wy, 10, 14, QColor(230, 230, 160));
    }
    p.setBrush(QColor(60, 60, 64));
    p.setPen(Qt::NoPen);
    p.drawPolygon(QPolygon({{0, 768}, {420, 400}, {600, 400}, {1024, 768}}));
    p.setBrush(QColor(250, 250, 250));
    for (int i = 0; i < 6; ++i)
        p.drawRect(505, 420 + i * 55, 12, 30);
    for (int i = 0; i < 8; ++i) {
        p.setBrush(QColor(30, 110 + int(random() % 60), 40));
        p.drawEllipse(QPoint(60 + i * 130, 450 + int(random() % 60)), 45, 60);
    }
    p.end();
    // Grain, as a camera leaves it.
    for (int y = 0; y < picture.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            const int n = int(random() % 17) - 8;
            const QRgb c = row[x];
            row[x] = qRgb(std::clamp(qRed(c) + n, 0, 255), std::clamp(qGreen(c) + n, 0, 255),
                          std::clamp(qBlue(c) + n, 0, 255));
        }
    }
    return picture;
}

PhotoCaption benchCaption()
{
    PhotoCaption c;
    c.text = QStringLiteral("Dare la precedenza");
    c.left = 64;
    c.top = 260;
    c.width = 360;
    c.height = 56;
    c.fontName = QStringLiteral("Arial");
    c.fontColour = QColor(0, 0, 0);
    c.bold = true;
    c.background = true;
    c.effect = CaptionEffect::Shadowed3d;
    c.arrows[0] = {QPoint(120, 80), QPoint(240, 200)};
    c.arrows[1] = {QPoint(400, 300), QPoint(330, 180)};
    return c;
}

QImage decode(const QString& path)
{
    std::optional<QImage> picture = loadKxbFile(path);
    if (!picture)
        fail(QStringLiteral("cannot decode %1").arg(path));
    return *std::move(picture);
}

volatile QRgb g_sink;

}  // namespace

int runPhoto(const char* argv0, int runs)
{
    runs = std::max(1, runs);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char* argv[] = {const_cast<char*>(argv0), nullptr};
    QGuiApplication app(argc, argv);

    QTemporaryDir folder;
    if (!folder.isValid())
        fail(QStringLiteral("cannot make a temporary folder"));
    const QString path = folder.filePath(QStringLiteral("1234.KXB"));
    QString error;
    if (!saveFileAtomically(path, encodeKxb(streetScene(), "KX"), &error))
        fail(error);

    const PhotoCaption caption = benchCaption();
    // The caption is laid out on the 480 x 360 frame the photograph fills.
    BurnOptions options;
    options.pictureInAlbum = QRectF(QPointF(0, 0), QSizeF(kAlbumSize));

    auto enlarge = [&] {
        const auto start = Clock::now();
        const QImage out = enlargePhoto(decode(path), &caption, options, kTarget);
        const double ms = msSince(start);
        g_sink = out.pixel(320, 240);
        return ms;
    };
    auto qtSmooth = [&] {
        const auto start = Clock::now();
        const QImage out = decode(path).scaled(kTarget, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        const double ms = msSince(start);
        g_sink = out.pixel(320, 240);
        return ms;
    };

    // The parts of the enlargement, timed apart on the decoded picture.
    const QImage decoded = decode(path);
    auto part = [&](int which) {
        QImage picture = decoded.copy();
        const auto start = Clock::now();
        if (which == 0) {
            burnCaption(picture, caption, options);
        } else if (which == 1) {
            picture = RidimensionaLiscio(picture, kTarget);
        } else if (which == 2) {
            picture = RidimensionaLiscio(picture, kTarget);
            const auto sharpenStart = Clock::now();
            Nitidezza(picture, kNitidezzaEnlarged);
            g_sink = picture.pixel(1, 1);
            return msSince(sharpenStart);
        } else {
            picture = decode(path);
        }
        const double ms = msSince(start);
        g_sink = picture.pixel(1, 1);
        return ms;
    };

    enlarge();  // fonts, glyph caches, page cache
    qtSmooth();
    std::vector<double> enlargeMs, qtMs, parts[4];
    for (int i = 0; i < runs; ++i) {
        enlargeMs.push_back(enlarge());
        qtMs.push_back(qtSmooth());
        for (int p = 0; p < 4; ++p)
            parts[p].push_back(part(p));
    }
    const double e = median(enlargeMs);
    const double q = median(qtMs);
    std::printf("enlarge_ms %.3f\nqt_smooth_ms %.3f\nratio %.2f\n", e, q, e / q);
    std::printf("decode_ms %.3f\nburn_ms %.3f\nresample_ms %.3f\nsharpen_ms %.3f\n", median(parts[3]),
                median(parts[0]), median(parts[1]), median(parts[2]));
    return 0;
}

}  // namespace ziro::bench
