#include "viewers/foto_preview_window.h"

#include "controls/kx_image_widget.h"

#include <QFrame>
#include <QKeyEvent>
#include <QMouseEvent>

namespace ziro {

TFotoPreview::TFotoPreview(QWidget* host)
    : OverlayWindow(host, QStringLiteral("TFotoPreview"), QRect(28, 54, 584, 372))
{
    setWindowTitle(QString::fromUtf8("Anteprime foto disponibili"));
    setFocusPolicy(Qt::StrongFocus);
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setGeometry(0, 0, 584, 372);
    // The grid lies over the lesson's own white: an edge sets it apart.
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setAutoFillBackground(true);
    for (int k = 0; k < kPreviewSlots; ++k) {
        // The bevel is what a click lands on, so a slot left empty still
        // answers (with a beep) instead of letting the click fall through.
        auto* bevel = new QFrame(panel);
        bevel->setObjectName(QStringLiteral("Bevel%1").arg(k + 1));
        bevel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        bevel->setGeometry(QRect(previewSlotPosition(k) - QPoint(1, 1), kPreviewThumbnail + QSize(2, 2)));
        bevel->installEventFilter(this);
        auto* image = new TKXImage(bevel, QRect(QPoint(1, 1), kPreviewThumbnail));
        image->setObjectName(QStringLiteral("Preview%1").arg(k + 1));
        image->setKeepRatio(true);
        image->setCenter(true);
        image->setAttribute(Qt::WA_TransparentForMouseEvents);
        m_slots[size_t(k)] = bevel;
        m_images[size_t(k)] = image;
    }
}

void TFotoPreview::clearSlots()
{
    for (TKXImage* image : m_images)
        image->clear();
}

bool TFotoPreview::loadSlot(int slot, const QString& path)
{
    if (slot < 1 || slot > kPreviewSlots)
        return false;
    TKXImage* image = m_images[size_t(slot - 1)];
    image->setFrame(QRect(QPoint(1, 1), kPreviewThumbnail));
    return image->setNomeKXB(path);
}

void TFotoPreview::setGridSize(QSize size)
{
    const QWidget* main = parentWidget();
    const QRect mainRect = main ? main->rect() : QRect(0, 0, 640, 480);
    setGeometry(previewWindowGeometry(mainRect, size));
}

void TFotoPreview::closeGrid()
{
    done(0);
}

void TFotoPreview::beep()
{
    Q_EMIT beepRequested();
}

void TFotoPreview::openPhoto(int photo)
{
    Q_EMIT photoChosen(photo);
}

void TFotoPreview::openHtml(const QString& page)
{
    Q_EMIT pageChosen(page);
}

void TFotoPreview::passKey(int key, Qt::KeyboardModifiers mods)
{
    Q_EMIT keyPassed(key, mods);
}

void TFotoPreview::keyReleaseEvent(QKeyEvent* event)
{
    if (m_logic && !event->isAutoRepeat())
        m_logic->FormKey(event->key(), event->modifiers());
    event->accept();
}

bool TFotoPreview::eventFilter(QObject* watched, QEvent* event)
{
    // The press is taken, or inside the presentation the release would
    // never come back to the slot.
    if (event->type() == QEvent::MouseButtonPress &&
        std::find(m_slots.begin(), m_slots.end(), watched) != m_slots.end())
        return true;
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        auto* bevel = qobject_cast<QFrame*>(watched);
        const auto it = std::find(m_slots.begin(), m_slots.end(), bevel);
        if (it != m_slots.end() && mouse->button() == Qt::LeftButton &&
            bevel->rect().contains(mouse->position().toPoint())) {
            if (m_logic)
                m_logic->PreviewClick(int(it - m_slots.begin()) + 1);
            return true;
        }
    }
    return OverlayWindow::eventFilter(watched, event);
}

}  // namespace ziro
