#include "controls/film_surface_widget.h"

#include "controls/art_scale.h"
#include "platform/media/film_backend.h"

#include <QPainter>

#include <cmath>

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
    const QSizeF scale = m_paintScale.isEmpty() ? QSizeF(artScale(), artScale()) : m_paintScale;
    return QSize(qRound(width() * scale.width()), qRound(height() * scale.height()));
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
    // The scale this widget really reaches the screen at. Inside the
    // presentation on a 1920 x 1080 screen that is 2.25, where the artwork
    // is drawn at 3: a picture of the art scale would be scaled down again
    // on every frame, which costs more than drawing it.
    const QTransform device = painter.deviceTransform();
    if (device.type() <= QTransform::TxScale) {
        const QSizeF scale(device.m11(), device.m22());
        if (scale != m_paintScale && scale.width() > 0 && scale.height() > 0) {
            m_paintScale = scale;
            askForSize();
        }
    }
    const QImage picture = m_backend ? m_backend->frame() : QImage();
    if (picture.isNull()) {
        painter.fillRect(rect(), Qt::black);
        return;
    }
    if (device.type() <= QTransform::TxScale && picture.size() == renderSize() && !m_paintScale.isEmpty() &&
        m_paintScale.width() == m_paintScale.height()) {
        // One picture pixel per device pixel: drawn through a painter that
        // only moves, the picture is copied row by row. Through the scale
        // the view paints with, it would be resampled at a scale of one,
        // on every pixel of every frame.
        const QPointF origin = device.map(QPointF(0, 0));
        painter.setWorldTransform(QTransform::fromTranslate(std::round(origin.x()), std::round(origin.y())) *
                                  device.inverted() * painter.worldTransform());
        painter.drawImage(QPointF(0, 0), picture);
    } else {
        // A picture of the size before a resize, until the next one comes.
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRectF(rect()), picture);
    }
}
}  // namespace ziro
