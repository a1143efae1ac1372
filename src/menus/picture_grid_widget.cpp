#include "menus/picture_grid_widget.h"

#include "menus/sign_menu.h"
#include "menus/vehicle_menu.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>

#include <algorithm>
#include <array>

namespace ziro {

PictureGridWidget::PictureGridWidget(QSize size, QWidget* parent) : QWidget(parent)
{
    setFixedSize(size);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureGridWidget::setPicture(const QImage& picture)
{
    // Drawn in the screen's own layout, so a paint copies instead of
    // converting the tall page again.
    m_picture = picture.isNull() || picture.format() == QImage::Format_RGB32
        ? picture
        : picture.convertToFormat(QImage::Format_RGB32);
    update();
}

void PictureGridWidget::setSelected(int hotspot)
{
    if (m_selected == hotspot)
        return;
    if (m_selected)
        update(selectorRect(m_selected).adjusted(-3, -3, 3, 3));
    m_selected = hotspot;
    if (m_selected)
        update(selectorRect(m_selected).adjusted(-3, -3, 3, 3));
}

void PictureGridWidget::setSelectorColour(const QColor& colour)
{
    m_colour = colour;
    update();
}

void PictureGridWidget::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    p.fillRect(event->rect(), Qt::white);
    if (!m_picture.isNull())
        p.drawImage(event->rect().topLeft(), m_picture, event->rect());
    if (m_selected) {
        // A 4-pixel pen drawn inside the frame's rectangle.
        const QRect r = selectorRect(m_selected);
        p.setPen(QPen(m_colour, 4, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(r).adjusted(2, 2, -2, -2));
    }
}

void PictureGridWidget::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (m_selected && selectorRect(m_selected).contains(pos)) {
        Q_EMIT hovered(m_selected);
        return;
    }
    if (const int k = hotspotAt(pos))
        Q_EMIT hovered(k);
}

void PictureGridWidget::mousePressEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (m_selected && selectorRect(m_selected).contains(pos)) {
        Q_EMIT selectorPressed();
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    if (const int k = hotspotAt(pos))
        Q_EMIT clicked(k);
}

void PictureGridWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The second press of a double click is a press like the first: on the
    // frame it confirms; elsewhere it does nothing more.
    const QPoint pos = event->position().toPoint();
    if (m_selected && selectorRect(m_selected).contains(pos))
        Q_EMIT selectorPressed();
}

SignGridWidget::SignGridWidget(QWidget* parent)
    : PictureGridWidget(QSize(kSignPictureWidth, kSignPictureHeight), parent)
{
    setObjectName(QStringLiteral("MenuViewer1"));
}

int SignGridWidget::hotspotAt(QPoint p) const
{
    return signHotspotAt(p);
}

QRect SignGridWidget::selectorRect(int hotspot) const
{
    return signSelectorRect(hotspot);
}

VehicleGridWidget::VehicleGridWidget(QWidget* parent)
    : PictureGridWidget(QSize(kVehiclePictureWidth, kVehiclePictureHeight), parent)
{
    setObjectName(QStringLiteral("BigBitmapViewer1"));
}

int VehicleGridWidget::hotspotAt(QPoint p) const
{
    return vehicleHotspotAt(p);
}

QRect VehicleGridWidget::selectorRect(int hotspot) const
{
    return vehicleSelectorRect(hotspot);
}

// --- MenuTabStrip ----------------------------------------------------------------

MenuTabStrip::MenuTabStrip(std::vector<QImage> pictures, int tabWidth, int tabHeight, TabFromX rule,
                           QWidget* parent)
    : QWidget(parent), m_pictures(std::move(pictures)), m_tabWidth(tabWidth), m_tabHeight(tabHeight), m_rule(rule)
{
    setMouseTracking(true);
    setFixedSize(tabWidth * int(m_pictures.size()) + 16, tabHeight);
}

void MenuTabStrip::setActiveTab(int tab)
{
    tab = std::clamp(tab, 0, count() - 1);
    if (tab == m_active)
        return;
    m_active = tab;
    update();
    Q_EMIT activeTabChanged(tab);
}

QRect MenuTabStrip::tabRect(int tab) const
{
    return QRect(tab * m_tabWidth, 0, m_tabWidth, m_tabHeight);
}

void MenuTabStrip::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    for (int t = 0; t < count(); ++t) {
        const QRect r = tabRect(t).adjusted(1, t == m_active ? 0 : 3, -1, 0);
        p.setPen(QPen(QColor(90, 90, 90), 1));
        p.setBrush(t == m_active ? QColor(250, 250, 250) : QColor(200, 204, 208));
        p.drawRoundedRect(QRectF(r).adjusted(0.5, 0.5, -0.5, 4), 4, 4);
        const QImage& pic = m_pictures[size_t(t)];
        const int dx = t == m_active ? 5 : 1;
        p.drawImage(QPoint(r.left() + dx + (m_tabWidth - pic.width() - 2 * dx) / 2, r.top() + (r.height() - pic.height()) / 2),
                    pic);
    }
}

void MenuTabStrip::mouseMoveEvent(QMouseEvent* event)
{
    if (const std::optional<int> tab = m_rule(event->position().toPoint().x(), width()))
        setActiveTab(*tab);
}

void MenuTabStrip::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    if (const std::optional<int> tab = m_rule(event->position().toPoint().x(), width()))
        setActiveTab(*tab);
    Q_EMIT tabPressed(m_active);
}

// --- pictures --------------------------------------------------------------------

QImage signTabPicture(int category)
{
    QImage img(35, 28, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box(4.5, 1.5, 26, 25);
    const QColor red(200, 30, 30), blue(20, 70, 180), white(Qt::white);
    switch (category) {
    case 0: case 5: {  // danger and temporary: a triangle, red or yellow inside
        QPainterPath t;
        t.moveTo(17.5, 2);
        t.lineTo(31, 26);
        t.lineTo(4, 26);
        t.closeSubpath();
        p.setPen(QPen(red, 3));
        p.setBrush(category == 0 ? white : QColor(250, 210, 0));
        p.drawPath(t);
        break;
    }
    case 1:  // precedence: an upside-down triangle
        p.setPen(QPen(red, 3));
        p.setBrush(white);
        p.drawPolygon(QPolygonF({QPointF(4, 3), QPointF(31, 3), QPointF(17.5, 26)}));
        break;
    case 2:
        p.setPen(QPen(red, 4));
        p.setBrush(white);
        p.drawEllipse(box.adjusted(1, 1, -1, -1));
        break;
    case 3:
        p.setPen(Qt::NoPen);
        p.setBrush(blue);
        p.drawEllipse(box);
        p.setPen(QPen(white, 3));
        p.drawLine(QPointF(17.5, 21), QPointF(17.5, 7));
        break;
    case 8: // traffic lights
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(40, 40, 40));
        p.drawRoundedRect(QRectF(11, 1, 13, 26), 3, 3);
        p.setBrush(red);  p.drawEllipse(QPointF(17.5, 6), 3, 3);
        p.setBrush(QColor(250, 190, 0)); p.drawEllipse(QPointF(17.5, 14), 3, 3);
        p.setBrush(QColor(30, 170, 60)); p.drawEllipse(QPointF(17.5, 22), 3, 3);
        break;
    default: {
        const std::array<QColor, kSignCategories> fills = {
            red, red, red, blue, blue, QColor(250, 210, 0), QColor(240, 240, 240), white,
            QColor(40, 40, 40), QColor(30, 30, 30), white, QColor(80, 80, 80), QColor(20, 120, 60), QColor(240, 150, 0)};
        p.setPen(QPen(QColor(40, 40, 40), 1.5));
        p.setBrush(fills[size_t(std::clamp(category, 0, kSignCategories - 1))]);
        p.drawRoundedRect(box, 3, 3);
        const char* marks[kSignCategories] = {"", "", "", "", "", "", "C", "P", "", "V", "=", "?", "X", "!"};
        p.setPen(category == 10 || category == 7 ? QColor(30, 30, 30) : white);
        QFont f = p.font();
        f.setBold(true);
        f.setPixelSize(16);
        p.setFont(f);
        p.drawText(box, Qt::AlignCenter, QString::fromLatin1(marks[std::clamp(category, 0, kSignCategories - 1)]));
        break;
    }
    }
    return img;
}

QImage vehicleTabPicture(int category)
{
    QImage img(55, 30, QImage::Format_RGB32);
    img.fill(QColor(192, 192, 192));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    // A side view of a vehicle, longer and taller as the categories grow.
    const int len = 16 + category * 4;
    const int h = 8 + (category % 4) * 2;
    const QColor body = QColor::fromHsv((category * 40) % 360, 160, 200);
    p.setPen(QPen(QColor(40, 40, 40), 1));
    p.setBrush(body);
    const qreal x = (55 - len) / 2.0;
    p.drawRoundedRect(QRectF(x, 22 - h, len, h), 2, 2);
    p.setBrush(QColor(30, 30, 30));
    p.drawEllipse(QPointF(x + 4, 23), 3, 3);
    p.drawEllipse(QPointF(x + len - 4, 23), 3, 3);
    return img;
}

void paintMenuButton(QPainter& p, const QRect& r, const QString& text, bool hover)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(20, 40, 50), 1.5));
    p.setBrush(hover ? QColor(255, 200, 40) : QColor(230, 236, 240));
    p.drawRoundedRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
    QFont f = p.font();
    f.setBold(true);
    f.setPixelSize(18);
    p.setFont(f);
    p.setPen(QColor(20, 40, 50));
    p.drawText(r, Qt::AlignCenter, text);
    p.restore();
}

int menuButtonAt(const QPoint& pos)
{
    return kMenuOkRect.contains(pos) ? 1 : kMenuExitRect.contains(pos) ? 2 : 0;
}

void paintMenuButtons(QPainter& p, int hover)
{
    paintMenuButton(p, kMenuExitRect, QStringLiteral("ESCI"), hover == 2);
    paintMenuButton(p, kMenuOkRect, QStringLiteral("OK"), hover == 1);
}

void showMenuButtonHint(QWidget* menu, const QPoint& pos, const QPoint& globalPos, bool hints)
{
    const int button = hints ? menuButtonAt(pos) : 0;
    if (button == 1)
        QToolTip::showText(globalPos, QStringLiteral("Conferma"), menu, kMenuOkRect);
    else if (button == 2)
        QToolTip::showText(globalPos, QStringLiteral("Uscita"), menu, kMenuExitRect);
    else
        QToolTip::hideText();
}

}  // namespace ziro
