// The lesson editor's loose pictures: the list of new photographs with their
// masked pictures, the list of extra signs with their sign pictures, and a
// few photographs of the school's own in the user photo folder (plus one
// badly named file the editor must not offer). Every list has more than one
// page of fifteen, so the editor's page buttons have something to do.

#include "demo_content.h"

#include "controls/kxb.h"
#include "platform/files/atomic_save.h"
#include "platform/files/text_codec.h"
#include "sign_art.h"

#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPolygonF>

namespace ziro::demo {

namespace {

constexpr int kNewPhotos = 18;
constexpr int kFirstNewPhoto = 7001;
constexpr int kExtraSigns = 17;
constexpr int kFirstUserShot = 9100;
constexpr int kUserShots = 5;

// A country road seen from the driver's seat with one sign at its side; the
// sky's colour and the bend change with `n`, so no two look alike.
QImage drawRoadPhoto(int n, const SignSpec& sign)
{
    QImage img(640, 480, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const int hue = (n * 37) % 360;
    QLinearGradient sky(0, 0, 0, 220);
    sky.setColorAt(0, QColor::fromHsv(205 + hue % 20, 120 + (n * 13) % 60, 235));
    sky.setColorAt(1, QColor(232, 238, 244));
    p.fillRect(0, 0, 640, 220, sky);
    p.fillRect(0, 220, 640, 260, QColor(96 + (n * 7) % 40, 150, 80));
    // Hills on the horizon.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(70, 118, 74));
    p.drawEllipse(QPointF(120 + (n * 53) % 400, 235), 180, 40);
    // The road narrowing to a vanishing point that moves with the bend.
    const qreal vx = 260 + (n * 41) % 120;
    p.setBrush(QColor(88, 88, 92));
    p.drawPolygon(QPolygonF({QPointF(40, 480), QPointF(600, 480), QPointF(vx + 8, 220), QPointF(vx - 8, 220)}));
    p.setPen(QPen(QColor(245, 245, 245), 6, Qt::DashLine));
    p.drawLine(QPointF(320, 480), QPointF(vx, 224));
    p.setPen(QPen(QColor(245, 245, 245), 4));
    p.drawLine(QPointF(60, 480), QPointF(vx - 7, 222));
    p.drawLine(QPointF(580, 480), QPointF(vx + 7, 222));
    // The sign on its pole at the right.
    p.setPen(QPen(QColor(120, 120, 124), 8));
    p.drawLine(QPointF(540, 420), QPointF(540, 250));
    paintSignInto(p, sign, QRectF(480, 150, 120, 120));
    // The photograph's number in a corner, as a school marks its slides.
    p.setPen(Qt::white);
    QFont f(QStringLiteral("Sans"));
    f.setPixelSize(22);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRectF(12, 440, 200, 30), Qt::AlignLeft | Qt::AlignVCenter, QString::number(n));
    return img;
}

// A car of the school in front of a building, for the user photographs.
QImage drawSchoolShot(int n)
{
    QImage img(640, 480, QImage::Format_RGB888);
    img.fill(QColor(210, 225, 240));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(0, 300, 640, 180, QColor(120, 120, 126));
    p.fillRect(60, 80, 520, 220, QColor(230, 205, 160 + n * 10));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(90, 130, 170));
    for (int i = 0; i < 5; ++i)
        p.drawRect(90 + i * 100, 120, 60, 70);
    p.setBrush(QColor::fromHsv((n * 70) % 360, 180, 200));
    p.drawRoundedRect(QRectF(150 + n * 20, 300, 260, 90), 30, 30);
    p.setBrush(QColor(30, 30, 30));
    p.drawEllipse(QPointF(200 + n * 20, 395), 28, 28);
    p.drawEllipse(QPointF(360 + n * 20, 395), 28, 28);
    p.setBrush(QColor(250, 250, 250));
    p.drawRect(QRectF(250 + n * 20, 255, 60, 45));
    p.setPen(QColor(200, 20, 20));
    QFont f(QStringLiteral("Sans"));
    f.setPixelSize(30);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRectF(250 + n * 20, 255, 60, 45), Qt::AlignCenter, QStringLiteral("S"));
    p.setPen(QColor(40, 40, 40));
    f.setPixelSize(26);
    p.setFont(f);
    p.drawText(QRectF(60, 30, 520, 40), Qt::AlignCenter, QStringLiteral("Autoscuola - foto %1").arg(n + 1));
    return img;
}

QByteArray plainBmp(const QImage& image)
{
    return encodeKxb(image.convertToFormat(QImage::Format_RGB888), "BM");
}

// A list as the installation keeps it: Windows lines in its code page.
QByteArray listBytes(const QStringList& lines)
{
    return encodeText(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"), TextEncoding::Windows1252);
}

}  // namespace

bool writeEditorSources(const QString& ziroDir, const QString& programDir, QString* error)
{
    const QList<SignSpec> signs = demoSigns();
    if (signs.size() < kExtraSigns) {
        if (error)
            *error = QStringLiteral("too few demo signs for the extra signs");
        return false;
    }

    QStringList fresh;
    for (int i = 0; i < kNewPhotos; ++i) {
        const int number = kFirstNewPhoto + i;
        const QString name = QStringLiteral("%1.KXB").arg(number);
        const SignSpec& sign = signs[(i * 7) % signs.size()];
        if (!saveFileAtomically(ziroDir + QStringLiteral("Foto/") + name, maskedBytes(drawRoadPhoto(number, sign)),
                                error))
            return false;
        fresh << name;
    }
    if (!saveFileAtomically(programDir + QStringLiteral("FOTO NUOVE.TXT"), listBytes(fresh), error))
        return false;

    // Extra signs are the demo's signs drawn again under names of their own,
    // so that a lesson can show them without a record of an edition.
    QStringList extra;
    for (int i = 0; i < kExtraSigns; ++i) {
        const SignSpec& sign = signs[(i * 5 + 3) % signs.size()];
        const QString name = QStringLiteral("X%1.BMP").arg(sign.code);
        if (extra.contains(name))
            continue;
        if (!saveFileAtomically(ziroDir + QStringLiteral("PicSgn/") + name, plainBmp(drawSign(sign)), error))
            return false;
        extra << name;
    }
    if (!saveFileAtomically(programDir + QStringLiteral("SEGN EXTRA.TXT"), listBytes(extra), error))
        return false;

    for (int i = 0; i < kUserShots; ++i) {
        if (!saveFileAtomically(ziroDir + QStringLiteral("Utente/Foto/%1.BMP").arg(kFirstUserShot + i),
                                plainBmp(drawSchoolShot(i)), error))
            return false;
    }
    // A copy named by hand: its number would be read as stock photograph 42.
    return saveFileAtomically(ziroDir + QStringLiteral("Utente/Foto/0042 x.BMP"), plainBmp(drawSchoolShot(0)),
                              error);
}

}  // namespace ziro::demo
