#include "controls/film_surface_widget.h"

#include "controls/art_scale.h"
#include "platform/media/film_backend.h"

#include <QPainter>

namespace ziro {

FilmSurfaceWidget::FilmSurfaceWidget(QWidget* parent) : QWidget(parent)
{
    // Every pixel is painted, black where there is no picture.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

FilmSurfaceWidget::~FilmSurfaceWidget()
{
    setBackend(nullptr);
}

void FilmSurfaceWidget::setBackend(FilmBackend* backend)
{
    if (m_backend == backend)
        return;
    if (m_backend)
        m_backend->onFrame = nullptr;
    m_backend = backend;
    if (m_backend) {
        m_backend->onFrame = [this] { update(); };
        askForSize();
    }
    update();
}

QSize FilmSurfaceWidget::renderSize() const
{
    const qreal scale = artScale();
    return QSize(qRound(width() * scale), qRound(height() * scale));
}

void FilmSurfaceWidget::askForSize()
{
    if (m_backend)
        m_backend->setRenderSize(renderSize());
}

void FilmSurfaceWidget::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    askForSize();
}

void FilmSurfaceWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QImage picture = m_backend ? m_backend->frame() : QImage();
    if (picture.isNull()) {
        painter.fillRect(rect(), Qt::black);
        return;
    }
    if (picture.size() == renderSize()) {
        // Drawn at the art scale: one picture pixel per device pixel.
        picture.setDevicePixelRatio(artScale());
        painter.drawImage(QPointF(0, 0), picture);
    } else {
        // A picture of the size before a resize, until the next one comes.
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRectF(rect()), picture);
    }
}

}  // namespace ziro
