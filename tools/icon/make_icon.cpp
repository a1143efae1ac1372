// Draws the program's icon: a blue rounded square with a road running
// into the distance and a give-way sign in front. The same shapes are
// written as SVG (the scalable icon) and painted into PNGs of the usual
// sizes, so that every size is ours and matches the others.

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QSaveFile>

#include <cstdio>

namespace {

// Geometry on a 256 x 256 canvas.
const QRectF kTile(8, 8, 240, 240);
const qreal kTileRadius = 44;
const QColor kSky(38, 84, 160);
const QColor kGround(30, 120, 70);
const QColor kRoad(70, 74, 82);
const QColor kRed(204, 28, 36);
const QPointF kRoadShape[4] = {{112, 120}, {144, 120}, {212, 248}, {44, 248}};
const QPointF kSign[3] = {{64, 40}, {192, 40}, {128, 150}};
const qreal kSignBorder = 16;

void paint(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath tile;
    tile.addRoundedRect(kTile, kTileRadius, kTileRadius);
    p.setClipPath(tile);
    p.fillRect(QRectF(0, 0, 256, 120), kSky);
    p.fillRect(QRectF(0, 120, 256, 136), kGround);
    p.setPen(Qt::NoPen);
    p.setBrush(kRoad);
    p.drawPolygon(kRoadShape, 4);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(124, 170, 8, 20));
    p.drawRect(QRectF(123, 206, 10, 26));
    p.setClipping(false);
    p.setPen(QPen(kRed, kSignBorder, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::white);
    p.drawPolygon(kSign, 3);
}

QString svg()
{
    auto points = [](const QPointF* pts, int n) {
        QString s;
        for (int i = 0; i < n; ++i)
            s += QStringLiteral("%1,%2 ").arg(pts[i].x()).arg(pts[i].y());
        return s.trimmed();
    };
    return QStringLiteral(
               "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
               "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" viewBox=\"0 0 256 256\">\n"
               "  <defs><clipPath id=\"tile\"><rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" rx=\"%5\"/></clipPath></defs>\n"
               "  <g clip-path=\"url(#tile)\">\n"
               "    <rect x=\"0\" y=\"0\" width=\"256\" height=\"120\" fill=\"%6\"/>\n"
               "    <rect x=\"0\" y=\"120\" width=\"256\" height=\"136\" fill=\"%7\"/>\n"
               "    <polygon points=\"%8\" fill=\"%9\"/>\n"
               "    <rect x=\"124\" y=\"170\" width=\"8\" height=\"20\" fill=\"#ffffff\"/>\n"
               "    <rect x=\"123\" y=\"206\" width=\"10\" height=\"26\" fill=\"#ffffff\"/>\n"
               "  </g>\n"
               "  <polygon points=\"%10\" fill=\"#ffffff\" stroke=\"%11\" stroke-width=\"%12\" stroke-linejoin=\"round\"/>\n"
               "</svg>\n")
        .arg(kTile.x()).arg(kTile.y()).arg(kTile.width()).arg(kTile.height()).arg(kTileRadius)
        .arg(kSky.name(), kGround.name(), points(kRoadShape, 4), kRoad.name(), points(kSign, 3), kRed.name())
        .arg(kSignBorder);
}

bool save(const QString& path, const QByteArray& bytes)
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit()) {
        std::fprintf(stderr, "ziro-icon: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: ziro-icon OUTPUT_DIR NAME\n"
                             "writes OUTPUT_DIR/hicolor/<size>/apps/NAME.png and scalable/apps/NAME.svg\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]) + QStringLiteral("/hicolor/");
    const QString name = QString::fromLocal8Bit(argv[2]);
    bool ok = true;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString folder = out + QStringLiteral("%1x%1/apps/").arg(size);
        QDir().mkpath(folder);
        QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
        img.fill(Qt::transparent);
        {
            QPainter p(&img);
            p.scale(size / 256.0, size / 256.0);
            paint(p);
        }
        QByteArray png;
        {
            QBuffer buffer(&png);
            buffer.open(QIODevice::WriteOnly);
            ok &= img.save(&buffer, "PNG");
        }
        ok &= save(folder + name + QStringLiteral(".png"), png);
    }
    QDir().mkpath(out + QStringLiteral("scalable/apps"));
    ok &= save(out + QStringLiteral("scalable/apps/") + name + QStringLiteral(".svg"), svg().toUtf8());
    return ok ? 0 : 1;
}
