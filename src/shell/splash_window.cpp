#include "shell/splash_window.h"

#include "controls/kx_image_widget.h"
#include "platform/system/system_services.h"
#include "shell/startup.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QGraphicsOpacityEffect>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

#include <algorithm>

namespace ziro {

namespace {
constexpr int kSteps = 256;
constexpr int kStepMs = 4;
}  // namespace

int fadeInOpacity(int step)
{
    return std::min(255, 3 * step);
}

int dissolveOpacity(int step)
{
    return std::max(0, 255 - 4 * step);
}

QPoint splashPosition(QSize screen, QSize splash)
{
    return {screen.width() / 2 - splash.width() / 2,
            screen.height() / 2 - (splash.height() - 30)};
}

TSplash::TSplash(const QString& dirProgram, SystemServices& system)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_dirProgram(dirProgram),
      m_system(system)
{
    setObjectName(QStringLiteral("TSplash"));
    setFixedSize(410, 130);
    setAttribute(Qt::WA_DeleteOnClose, false);
    // The splash fades by painting its picture more or less strongly over a
    // see-through window, not by window opacity, which some platforms
    // (Wayland among them) do not have: it looks the same everywhere.
    setAttribute(Qt::WA_TranslucentBackground);
    m_body = new QWidget(this);
    m_body->setGeometry(0, 0, 410, 130);
    m_effect = new QGraphicsOpacityEffect(m_body);
    m_body->setGraphicsEffect(m_effect);
    setLevel(0);
    m_picture = new TKXImage(m_body, QRect(0, 0, 410, 130));
    m_ver3 = new QLabel(QStringLiteral("v. 0.00"), m_body);
    m_ver3->setObjectName(QStringLiteral("Ver3"));
    m_ver3->setGeometry(330, 106, 74, 18);
    m_ver3->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_ver3->setStyleSheet(QStringLiteral("color: #1a2a5a; font-weight: bold;"));
    m_ver3->hide();
    m_fade.setInterval(kStepMs);
    connect(&m_fade, &QTimer::timeout, this, &TSplash::fadeInStep);
}

void TSplash::showSplash()
{
    QSize screen(1024, 768);
    if (QScreen* s = QGuiApplication::primaryScreen())
        screen = s->geometry().size();
    if (QGuiApplication::platformName() == QLatin1String("wayland")) {
        // Wayland places a window where the compositor likes: the splash
        // takes the whole desktop, see-through but for its picture, which
        // keeps to the middle of whatever the compositor grants.
        setMinimumSize(m_body->size());
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        resize(screen);
        setWindowState(Qt::WindowMaximized);
    } else {
        move(splashPosition(screen, size()));
    }
    const QString logo = m_dirProgram + QStringLiteral("LOGO.BMP");
    if (QFileInfo::exists(logo))
        m_picture->setNomeKXB(logo);  // a bad picture leaves the splash plain
    const QString sound = m_dirProgram + QStringLiteral("LOGO.WAV");
    if (QFileInfo::exists(sound))
        m_system.playSound(sound);
    show();
    repaint();
}

void TSplash::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (size() != m_body->size())
        m_body->move(splashPosition(size(), m_body->size()));
}

void TSplash::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (m_fadeInDone)
        return;
    m_fadeInDone = true;
    // The short pause lets the window reach the screen before it fades in.
    QTimer::singleShot(100, this, [this] { m_fade.start(); });
}

void TSplash::fadeInStep()
{
    ++m_fadeStep;
    const int opacity = fadeInOpacity(m_fadeStep);
    setLevel(opacity);
    if (opacity >= 255 || m_fadeStep >= kSteps)
        m_fade.stop();
}

void TSplash::setLevel(int level)
{
    m_level = std::clamp(level, 0, 255);
    m_effect->setOpacity(m_level / 255.0);
}

void TSplash::showVersion(const QString& text)
{
    m_ver3->setText(text);
    if (isVisible())
        m_ver3->show();
}

void TSplash::dissolve()
{
    if (m_dissolved || !isVisible())
        return;
    m_dissolved = true;
    m_fade.stop();
    // Start from what the fade-in reached, so a splash that had no time to
    // fade in does not flash to full strength.
    const int start = m_level;
    QEventLoop loop;
    QTimer timer;
    int step = 0;
    timer.setInterval(kStepMs);
    connect(&timer, &QTimer::timeout, &loop, [&] {
        ++step;
        const int opacity = std::min(start, dissolveOpacity(step));
        setLevel(opacity);
        if (opacity <= 0 || step >= kSteps)
            loop.quit();
    });
    timer.start();
    loop.exec();
    m_ver3->hide();
    close();
}

}  // namespace ziro
