// The picture menus' artwork, drawn from the very tables the program hit-tests
// with (sign tags per layout, the vehicle grid), so every icon lies under the
// hot spot that names it: the road layout "RUZUDOR3.ODE" (a masked bitmap),
// the CQC layout "ZIROMNU1.JPG" (a JPEG), the vehicle picture "Rarezid2" (a
// plain bitmap) and one photograph per vehicle.

#include "demo_content.h"
#include "sign_art.h"

#include "content/photo_files.h"
#include "controls/jpeg_loader.h"
#include "menus/sign_menu.h"
#include "menus/vehicle_menu.h"
#include "platform/files/atomic_save.h"

#include <QDir>
#include <QPainter>
#include <QPainterPath>

#include <set>

namespace ziro::demo {

namespace {

QFont boldFont(int px)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setBold(true);
    f.setPixelSize(px);
    return f;
}

// A sign the demo has no artwork for, drawn in its category's shape with its
// number inside, so the teacher still recognises what kind of sign it is.
void paintGenericSign(QPainter& p, const QRectF& r, int category, int number)
{
    const QColor red(200, 30, 30), blue(20, 70, 180);
    const QPointF c = r.center();
    const qreal s = std::min(r.width(), r.height());
    const QRectF box(c.x() - s / 2, c.y() - s / 2, s, s);
    QColor text = Qt::black;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    switch (category) {
    case 0: case 5: {
        QPainterPath t;
        t.moveTo(c.x(), box.top() + 2);
        t.lineTo(box.right() - 2, box.bottom() - 4);
        t.lineTo(box.left() + 2, box.bottom() - 4);
        t.closeSubpath();
        p.setPen(QPen(red, 4));
        p.setBrush(category == 0 ? QColor(Qt::white) : QColor(250, 210, 0));
        p.drawPath(t);
        break;
    }
    case 1:
        p.setPen(QPen(red, 4));
        p.setBrush(Qt::white);
        p.drawPolygon(QPolygonF({QPointF(box.left() + 2, box.top() + 4), QPointF(box.right() - 2, box.top() + 4),
                                 QPointF(c.x(), box.bottom() - 2)}));
        break;
    case 2:
        p.setPen(QPen(red, 6));
        p.setBrush(Qt::white);
        p.drawEllipse(box.adjusted(4, 4, -4, -4));
        break;
    case 3:
        p.setPen(Qt::NoPen);
        p.setBrush(blue);
        p.drawEllipse(box.adjusted(2, 2, -2, -2));
        text = Qt::white;
        break;
    case 4:
        p.setPen(Qt::NoPen);
        p.setBrush(blue);
        p.drawRoundedRect(r.adjusted(2, 6, -2, -6), 4, 4);
        text = Qt::white;
        break;
    case 8:
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(40, 40, 40));
        p.drawRoundedRect(QRectF(c.x() - s / 5, box.top(), 2 * s / 5, s), 4, 4);
        for (int i = 0; i < 3; ++i) {
            p.setBrush(i == 0 ? red : i == 1 ? QColor(250, 190, 0) : QColor(30, 170, 60));
            p.drawEllipse(QPointF(c.x(), box.top() + s * (i + 0.5) / 3), s / 8, s / 8);
        }
        p.restore();
        return;
    case 10:
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(90, 90, 90));
        p.drawRect(r.adjusted(4, 2, -4, -2));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(c.x() - 3, r.top() + 6, 6, r.height() - 12));
        text = QColor(250, 210, 0);
        break;
    default:
        p.setPen(QPen(Qt::black, 2));
        p.setBrush(category == 12 ? QColor(220, 240, 220) : category == 13 ? QColor(255, 236, 200) : QColor(Qt::white));
        p.drawRoundedRect(r.adjusted(4, 4, -4, -4), 6, 6);
        break;
    }
    p.setPen(text);
    p.setFont(boldFont(number >= 100 ? 17 : 20));
    p.drawText(box, Qt::AlignCenter, QString::number(number));
    p.restore();
}

QImage drawSignMenu(SignLayout layout)
{
    QImage img(kSignPictureWidth, kSignPictureHeight, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    for (int k = 1; k <= kSignHotspots; ++k) {
        const int tag = signTag(layout, k);
        if (tag == 0)
            continue;
        const QRect cell = signHotspotRect(k);
        const int category = signCategoryOfHotspot(layout, k);
        if (tag < 0) {
            // The category's heading: its name on the tab's grey.
            p.fillRect(cell, QColor(128, 128, 128));
            p.setPen(Qt::white);
            const QString caption = QString::fromUtf8(signCategories()[size_t(category)].caption).trimmed();
            p.setFont(boldFont(caption.size() > 24 ? 8 : 10));
            p.drawText(cell.adjusted(2, 3, -2, -3), Qt::AlignCenter | Qt::TextWordWrap, caption);
            continue;
        }
        p.fillRect(cell, QColor(246, 246, 246));
        const QRect art = cell.adjusted(4, 2, -4, -18);
        const QString code = QString::number(tag);
        if (const std::optional<SignSpec> known = findDemoSign(code))
            p.drawImage(art, drawIcon(*known, art.size()));
        else
            paintGenericSign(p, art, category, tag);
        p.setPen(QColor(30, 30, 30));
        p.setFont(boldFont(13));
        p.drawText(QRect(cell.left(), cell.bottom() - 16, cell.width(), 16), Qt::AlignCenter, code);
    }
    return img;
}

// A vehicle's side view: the demo's silhouettes by kind.
QString silhouetteFor(int n)
{
    if (n <= 4)
        return QStringLiteral("bicicletta");
    if (n <= 14)
        return QStringLiteral("moto");
    if (n == 18 || n == 19 || n == 28 || n == 29)
        return QStringLiteral("autobus");
    if (n >= 15 && n <= 17)
        return QStringLiteral("auto");
    return QStringLiteral("autocarro");
}

QImage drawVehicleMenu()
{
    QImage img(kVehiclePictureWidth, kVehiclePictureHeight, QImage::Format_RGB32);
    img.fill(QColor(236, 240, 242));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    for (int n = 1; n <= kVehicles; ++n) {
        const QRect cell = vehicleHotspotRect(n);
        const QColor band = QColor::fromHsv((vehicleTabOf(n) * 40) % 360, 40, 255);
        p.fillRect(cell, band);
        const QRect art = cell.adjusted(8, 2, -8, -26);
        if (const std::optional<SignSpec> known = findDemoSign(silhouetteFor(n)))
            p.drawImage(art, drawIcon(*known, art.size()));
        p.setPen(Qt::black);
        const QString name = QString::fromUtf8(vehicle(n).name);
        p.setFont(boldFont(name.size() > 36 ? 7 : name.size() > 24 ? 8 : 9));
        p.drawText(QRect(cell.left() + 1, cell.bottom() - 25, cell.width() - 2, 25),
                   Qt::AlignCenter | Qt::TextWordWrap, name);
    }
    return img;
}

QImage drawVehiclePhoto(int n)
{
    QImage img(480, 360, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    // Flat sky and road: the masked pictures keep 256 colours, and a
    // gradient would show as bands.
    p.fillRect(QRect(0, 0, 480, 236), QColor(170, 210, 240));
    p.fillRect(QRect(0, 236, 480, 124), QColor(80, 80, 86));
    if (const std::optional<SignSpec> known = findDemoSign(silhouetteFor(n)))
        p.drawImage(QRect(90, 70, 300, 190), drawIcon(*known, QSize(300, 190)));
    p.setPen(Qt::white);
    p.setFont(boldFont(24));
    p.drawText(QRect(10, 280, 460, 70), Qt::AlignCenter | Qt::TextWordWrap, QString::fromUtf8(vehicle(n).name));
    return img;
}

bool save(const QString& path, const QByteArray& bytes, QString* error)
{
    if (bytes.isEmpty()) {
        if (error)
            *error = QStringLiteral("cannot encode ") + path;
        return false;
    }
    QDir().mkpath(QFileInfo(path).absolutePath());
    return saveFileAtomically(path, bytes, error);
}

}  // namespace

bool writeIconMenus(const QString& programDir, const QString& ziroDir, QString* error)
{
    if (!save(programDir + signMenuPictureName(SignLayout::Road), maskedBytes(drawSignMenu(SignLayout::Road)), error))
        return false;
    if (!save(programDir + signMenuPictureName(SignLayout::Cqc), encodeJpeg(drawSignMenu(SignLayout::Cqc), 85), error))
        return false;
    // The vehicle picture is a plain bitmap: its viewer insists on "BM".
    QByteArray vehicles = maskedBytes(drawVehicleMenu());
    if (vehicles.size() >= 2) {
        vehicles[0] = 'B';
        vehicles[1] = 'M';
    }
    if (!save(programDir + QStringLiteral("Rarezid2"), vehicles, error))
        return false;
    // One photograph per vehicle photograph number. 9903 is the school's
    // own; 9904 stands in the installation's folder, which the resolver
    // falls back to.
    std::set<int> done;
    for (int n = 1; n <= kVehicles; ++n) {
        const int photo = vehicle(n).photo;
        if (!done.insert(photo).second)
            continue;
        const QImage picture = drawVehiclePhoto(n);
        bool ok = false;
        if (photo == 9903) {
            QImage plain = picture.convertToFormat(QImage::Format_RGB888);
            QByteArray bmp = maskedBytes(plain);
            if (bmp.size() >= 2) {
                bmp[0] = 'B';
                bmp[1] = 'M';
            }
            ok = save(ziroDir + QStringLiteral("Utente/Foto/%1.BMP").arg(photo), bmp, error);
        } else {
            ok = save(ziroDir + QStringLiteral("Foto/%1.KXB").arg(photo), maskedBytes(picture), error);
        }
        if (!ok)
            return false;
    }
    return true;
}

}  // namespace ziro::demo
