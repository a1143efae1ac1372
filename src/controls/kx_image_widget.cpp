#include "controls/kx_image_widget.h"

#include "controls/kxb.h"

#include <QPainter>

namespace ziro {

TKXImage::TKXImage(QWidget* parent)
    : QWidget(parent)
    , m_frame(geometry())
{
}

TKXImage::TKXImage(QWidget* parent, QRect bounds)
    : QWidget(parent)
    , m_frame(bounds)
{
    setGeometry(bounds);
}

bool TKXImage::setNomeKXB(const QString& nomeFile)
{
    m_nomeKXB = nomeFile;
    return LoadKXB(nomeFile);
}

void TKXImage::setKeepRatio(bool keepRatio)
{
    m_keepRatio = keepRatio;
    fit();
}

bool TKXImage::LoadKXB(const QString& NomeFile)
{
    std::optional<QImage> picture = loadKxbFile(NomeFile);
    if (!picture)
        return false;
    setPicture(*picture);
    return true;
}

void TKXImage::setPicture(const QImage& picture)
{
    if (picture.isNull()) {
        clear();
        return;
    }
    m_picture = picture;
    fit();
    update();
}

void TKXImage::clear()
{
    if (m_picture.isNull())
        return;
    m_picture = QImage();
    update();
}

void TKXImage::fit()
{
    if (m_picture.isNull())
        return;
    setGeometry(fitRect(m_frame, m_frameBorder, m_adjRatio, m_keepRatio, m_picture.size()));
}

void TKXImage::setStretch(bool stretch)
{
    if (m_stretch != stretch) {
        m_stretch = stretch;
        update();
    }
}

void TKXImage::setCenter(bool center)
{
    if (m_center != center) {
        m_center = center;
        update();
    }
}

void TKXImage::paintEvent(QPaintEvent*)
{
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    if (m_stretch) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(rect(), m_picture);
        return;
    }
    QPoint origin(0, 0);
    if (m_center)
        origin = QPoint((width() - m_picture.width()) / 2, (height() - m_picture.height()) / 2);
    painter.drawImage(origin, m_picture);
}

} // namespace ziro
