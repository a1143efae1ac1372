#include "controls/auto_button.h"

#include "controls/art_scale.h"

namespace ziro {

namespace {

constexpr QRgb kRgbMask = 0x00FFFFFF;

AutoButtonEffects merge(AutoButtonEffects a, const AutoButtonEffects& b)
{
    a.repaint |= b.repaint;
    a.resized |= b.resized;
    a.locked |= b.locked;
    a.unlocked |= b.unlocked;
    a.clicked |= b.clicked;
    a.shapeChanged |= b.shapeChanged;
    return a;
}

QImage greyed(const QImage& img)
{
    if (img.isNull())
        return img;
    QImage out = img.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            // Lightened grey, so the button reads as unavailable rather than dark.
            const int g = 128 + qGray(line[x]) / 2;
            line[x] = qRgba(g, g, g, qAlpha(line[x]));
        }
    }
    return out;
}

}  // namespace

bool autoButtonShapeAt(const QImage& mask, QSize buttonSize, QPoint p)
{
    if (p.x() < 0 || p.y() < 0 || p.x() >= buttonSize.width() || p.y() >= buttonSize.height())
        return false;
    if (mask.isNull())
        return true;
    // A mask drawn at a finer art scale is read at the middle of the point.
    const qreal s = mask.devicePixelRatio();
    const QPoint q(int((p.x() + 0.5) * s), int((p.y() + 0.5) * s));
    if (!mask.valid(q))
        return false;
    return (mask.pixel(q) & kRgbMask) != 0;
}

AutoButtonState::AutoButtonState() = default;

const QImage& AutoButtonState::picture(int frame) const
{
    static const QImage empty;
    if (frame < FrameUp || frame > FrameSpare)
        return empty;
    return m_pictures[static_cast<size_t>(frame)];
}

void AutoButtonState::setPicture(int frame, const QImage& img)
{
    m_pictures[static_cast<size_t>(frame)] = img.copy();
    m_composedValid = false;
}

AutoButtonEffects AutoButtonState::setBitMapUp(const QImage& img)
{
    setPicture(FrameUp, img);
    AutoButtonEffects fx;
    fx.repaint = true;
    QSize wanted = m_size;
    if (img.isNull())
        wanted = QSize(kDefaultWidth, kDefaultHeight);
    else if (m_autoSize)
        wanted = artSize(img);
    if (wanted != m_size)
        fx = merge(fx, setSize(wanted));
    return fx;
}

AutoButtonEffects AutoButtonState::setBitMapDown(const QImage& img)
{
    setPicture(FrameDown, img);
    return {.repaint = true};
}

AutoButtonEffects AutoButtonState::setBitMapAlt(const QImage& img)
{
    setPicture(FrameAlt, img);
    AutoButtonEffects fx{.repaint = true};
    if (img.isNull()) {
        m_displayAlt = false;
        // Only the highlighted look depends on the alternate picture; a locked
        // or pressed button keeps its look.
        if (m_frame == FrameAlt)
            fx = merge(fx, setFrame(restingFrame()));
    }
    return fx;
}

AutoButtonEffects AutoButtonState::setBitMapMask(const QImage& img)
{
    setPicture(FrameMask, img);
    return {.repaint = true, .shapeChanged = true};
}

AutoButtonEffects AutoButtonState::setBitMapLocking(const QImage& img)
{
    setPicture(FrameLocking, img);
    return {.repaint = true};
}

AutoButtonEffects AutoButtonState::setBitMapLocked(const QImage& img)
{
    setPicture(FrameLocked, img);
    return {.repaint = true};
}

AutoButtonEffects AutoButtonState::setBitMapSpare(const QImage& img)
{
    setPicture(FrameSpare, img);
    return {.repaint = true};
}

AutoButtonEffects AutoButtonState::setSize(QSize size)
{
    if (size == m_size)
        return {};
    m_size = size;
    m_composedValid = false;
    return {.repaint = true, .resized = true, .shapeChanged = true};
}

int AutoButtonState::restingFrame() const
{
    if (m_toggleMode && m_lockedDown)
        return FrameLocked;
    return m_displayAlt ? FrameAlt : FrameUp;
}

AutoButtonEffects AutoButtonState::setFrame(int frame)
{
    if (m_disabledLook)
        frame = FrameLocked;
    if (frame == m_frame)
        return {};
    m_frame = frame;
    m_composedValid = false;
    return {.repaint = true};
}

AutoButtonEffects AutoButtonState::setDisplayAlt(bool on)
{
    if (m_disabledLook || picture(FrameAlt).isNull() || on == m_displayAlt)
        return {};
    m_displayAlt = on;
    // While the left button is held the pressed look stays; release picks the
    // resting look up again.
    if (m_mouseButtonDown)
        return {};
    return setFrame(restingFrame());
}

AutoButtonEffects AutoButtonState::lockButton()
{
    m_lockedDown = true;
    return setFrame(FrameLocked);
}

AutoButtonEffects AutoButtonState::unLockButton()
{
    m_lockedDown = false;
    return setFrame(FrameUp);
}

AutoButtonEffects AutoButtonState::displaySpare()
{
    m_lockedDown = false;
    return setFrame(FrameSpare);
}

AutoButtonEffects AutoButtonState::setDisabledLook(bool on)
{
    if (on == m_disabledLook)
        return {};
    if (on) {
        m_displayAlt = false;
        m_mouseButtonDown = false;
        m_disabledLook = true;
        m_frame = FrameLocked;
        m_composedValid = false;
        return {.repaint = true};
    }
    m_disabledLook = false;
    m_composedValid = false;
    AutoButtonEffects fx{.repaint = true};
    return merge(fx, setFrame(restingFrame()));
}

AutoButtonEffects AutoButtonState::showPressed()
{
    m_displayAlt = false;
    const QImage current = shownPicture();
    setPicture(FrameSpare, current);
    AutoButtonEffects fx{.repaint = true};
    return merge(fx, setFrame(m_toggleMode ? FrameLocking : FrameDown));
}

AutoButtonEffects AutoButtonState::showReleased()
{
    return setFrame(restingFrame());
}

AutoButtonEffects AutoButtonState::press(QPoint p)
{
    if (m_disabledLook || !hitTest(p))
        return {};
    m_mouseButtonDown = true;
    AutoButtonEffects fx = setFrame(m_toggleMode ? FrameLocking : FrameDown);
    fx.repaint = true;
    return fx;
}

AutoButtonEffects AutoButtonState::move(QPoint p)
{
    if (!m_mouseButtonDown)
        return {};
    if (hitTest(p))
        return setFrame(m_toggleMode ? FrameLocking : FrameDown);
    return setFrame(restingFrame());
}

AutoButtonEffects AutoButtonState::release(QPoint p)
{
    // A release whose press did not land on the shape is not a click.
    if (!m_mouseButtonDown)
        return {};
    m_mouseButtonDown = false;
    if (!hitTest(p))
        return setFrame(restingFrame());

    AutoButtonEffects fx;
    if (m_toggleMode) {
        if (m_lockedDown) {
            m_lockedDown = false;
            fx = setFrame(restingFrame());
            fx.unlocked = true;
        } else {
            m_lockedDown = true;
            fx = setFrame(FrameLocked);
            fx.locked = true;
        }
    } else {
        fx = setFrame(restingFrame());
    }
    fx.repaint = true;
    fx.clicked = true;
    return fx;
}

QImage AutoButtonState::shownPicture() const
{
    if (m_disabledLook && picture(FrameLocked).isNull())
        return greyed(picture(FrameUp));
    const QImage& pic = picture(m_frame);
    return pic.isNull() ? picture(FrameUp) : pic;
}

const QImage& AutoButtonState::composed() const
{
    if (m_composedValid)
        return m_composed;
    m_composedValid = true;

    const QImage pic = shownPicture().convertToFormat(QImage::Format_ARGB32);
    // Composed at the picture's own scale, so that artwork drawn finer than
    // the window keeps its detail when the presentation is scaled up.
    const qreal scale = pic.isNull() ? 1.0 : pic.devicePixelRatio();
    QImage out(QSize(qRound(m_size.width() * scale), qRound(m_size.height() * scale)),
               QImage::Format_ARGB32);
    out.setDevicePixelRatio(scale);
    out.fill(Qt::transparent);
    const QImage& maskSrc = picture(FrameMask);
    const QImage mask = maskSrc.isNull() ? QImage() : maskSrc.convertToFormat(QImage::Format_RGB32);
    const qreal toMask = mask.isNull() ? 1.0 : mask.devicePixelRatio() / scale;

    const int w = qMin(out.width(), pic.width());
    const int h = qMin(out.height(), pic.height());
    for (int y = 0; y < h; ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(pic.constScanLine(y));
        auto* dst = reinterpret_cast<QRgb*>(out.scanLine(y));
        const int my = int((y + 0.5) * toMask);
        const QRgb* m = (!mask.isNull() && my < mask.height())
                            ? reinterpret_cast<const QRgb*>(mask.constScanLine(my))
                            : nullptr;
        for (int x = 0; x < w; ++x) {
            if (mask.isNull()) {
                dst[x] = src[x];
                continue;
            }
            // Same rule as autoButtonShapeAt: beyond the mask is outside the shape.
            const int mx = int((x + 0.5) * toMask);
            const QRgb mp = (m && mx < mask.width()) ? (m[mx] & kRgbMask) : 0;
            dst[x] = mp ? ((src[x] & mp & kRgbMask) | 0xFF000000u) : 0u;
        }
    }
    m_composed = out;
    return m_composed;
}

}  // namespace ziro
