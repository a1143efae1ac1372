#include "menus/menu_vcl_window.h"

#include "base/reports.h"
#include "config/settings.h"
#include "menus/picture_grid_widget.h"

#include <QDir>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>

namespace ziro {

namespace {

constexpr QRect kScrollRect(5, 90, 630, 317);
constexpr QRect kNameRect(28, 430, 423, 30);

QImage background()
{
    QImage img(640, 480, QImage::Format_RGB32);
    QPainter p(&img);
    QLinearGradient g(0, 0, 0, 480);
    g.setColorAt(0, QColor(22, 74, 86));
    g.setColorAt(1, QColor(10, 42, 52));
    p.fillRect(img.rect(), g);
    p.fillRect(QRect(6, 6, 629, 79), QColor(192, 192, 192));
    return img;
}

}  // namespace

TMenuVcl::TMenuVcl(QWidget* host)
    : OverlayWindow(host, QStringLiteral("TMenuVcl"), QRect(0, 0, 640, 480))
{
    setWindowTitle(QString::fromUtf8("Menu icone"));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    m_background = background();
    m_ownGlobals = std::make_unique<Globals>();
    m_nullHost = std::make_unique<VehicleMenuHost>();
    m_g = m_ownGlobals.get();
    m_logic = std::make_unique<VehicleMenu>(*m_g, *m_nullHost);

    std::vector<QImage> pictures;
    for (int c = 0; c < kVehicleCategories; ++c)
        pictures.push_back(vehicleTabPicture(c));
    m_tabs = new MenuTabStrip(std::move(pictures), kVehicleTabWidth, 40, &vehicleTabFromX, this);
    m_tabs->setObjectName(QStringLiteral("PageControl1"));
    m_tabs->move(8, 8);
    m_caption = new QLabel(this);
    m_caption->setObjectName(QStringLiteral("PanArgIc"));
    m_caption->setGeometry(8, 50, 625, 31);
    m_caption->setAlignment(Qt::AlignCenter);
    m_caption->setStyleSheet(QStringLiteral("background: rgb(128,128,128); color: white; font: bold 15px;"));
    m_caption->setText(QString::fromUtf8(vehicleCategories()[0].caption));
    connect(m_tabs, &MenuTabStrip::activeTabChanged, this,
            [this](int t) { m_caption->setText(QString::fromUtf8(vehicleCategories()[size_t(t)].caption)); });
    connect(m_tabs, &MenuTabStrip::tabPressed, this, [this](int tab) {
        m_logic->tabPressed(tab);
        showSelection();
        setFocus(Qt::MouseFocusReason);
    });

    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("ScrollBox1"));
    m_scroll->setGeometry(kScrollRect);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setFocusPolicy(Qt::NoFocus);
    m_scroll->verticalScrollBar()->setSingleStep(6);
    m_scroll->verticalScrollBar()->setFocusPolicy(Qt::NoFocus);
    m_grid = new VehicleGridWidget;
    m_scroll->setWidget(m_grid);
    connect(m_grid, &PictureGridWidget::hovered, this, [this](int n) {
        m_logic->hover(n);
        showName(QString::fromUtf8(vehicle(n).name), n == m_grid->selected());
    });
    connect(m_grid, &PictureGridWidget::clicked, this, [this](int n) {
        m_logic->selectHotspot(n);
        m_grid->setSelected(n);
        showName(QString::fromUtf8(vehicle(n).name), false);
        setFocus(Qt::MouseFocusReason);
    });
    connect(m_grid, &PictureGridWidget::selectorPressed, this, &TMenuVcl::BtOKClick);

    m_name = new QLabel(this);
    m_name->setObjectName(QStringLiteral("PNnome"));
    m_name->setGeometry(kNameRect);
    m_name->setAlignment(Qt::AlignCenter);
    m_name->setToolTip(QStringLiteral("Veicolo puntato dal mouse"));
    m_name->setAutoFillBackground(true);
    QPalette pal = m_name->palette();
    pal.setColor(QPalette::Window, QColor(245, 245, 245));
    m_name->setPalette(pal);
    QFont f = m_name->font();
    f.setBold(true);
    f.setPixelSize(16);
    m_name->setFont(f);
    m_name->installEventFilter(this);

    m_logic->selectHotspot(1);
    m_grid->setSelected(1);
}

TMenuVcl::~TMenuVcl() = default;

void TMenuVcl::attach(Globals& g, Config& config, Reports& reporter, VehicleMenuHost& host)
{
    m_g = &g;
    m_config = &config;
    m_reporter = &reporter;
    m_logic = std::make_unique<VehicleMenu>(g, host);
    m_bitmap.close();
    m_grid->setPicture(QImage());
    m_pictureReported = false;
    m_logic->selectHotspot(1);
    m_grid->setSelected(1);
    m_scroll->verticalScrollBar()->setValue(0);
}

void TMenuVcl::openPicture()
{
    // Opened when first needed, not at start: a class that never uses the
    // vehicles is not told about their picture. A failure is said once; the
    // hot spots work over an empty area, and the next showing tries again.
    if (m_bitmap.active() || !m_g)
        return;
    m_bitmap.setFileName(QDir(m_g->dirs.DirProgram).filePath(QStringLiteral("Rarezid2")));
    QString error;
    if (m_bitmap.open(&error)) {
        m_grid->setPicture(m_bitmap.picture());
        return;
    }
    if (!m_pictureReported && m_reporter)
        m_reporter->Emsg(ReportKind::Message, error, m_bitmap.fileName());
    m_pictureReported = true;
}

void TMenuVcl::showMenu(bool quick)
{
    openPicture();
    m_logic->setQuick(quick);
    m_grid->setSelectorColour(m_g->ColoreSelettore);
    m_name->setToolTip(!m_config || m_config->hintsShown() ? QStringLiteral("Veicolo puntato dal mouse") : QString());
    m_logic->start(menuStartFor(m_config ? m_config->MenuIconeSetting : 1));
    showSelection();
    showModeless();
    raise();
    setFocus(Qt::OtherFocusReason);
}

void TMenuVcl::BtOKClick()
{
    m_logic->confirm();
    if (isVisible())
        done(1);
}

void TMenuVcl::BtEsciClick()
{
    // The window goes first: the way back redraws the lesson under it.
    if (isVisible())
        done(0);
    m_logic->exit();
}

QString TMenuVcl::nameShown() const
{
    return m_name->text();
}

QRect TMenuVcl::okButtonRect() const
{
    return kMenuOkRect;
}

QRect TMenuVcl::exitButtonRect() const
{
    return kMenuExitRect;
}

bool TMenuVcl::pictureLoaded() const
{
    return !m_grid->picture().isNull();
}

int TMenuVcl::scrollPosition() const
{
    return m_scroll->verticalScrollBar()->value();
}

void TMenuVcl::showSelection()
{
    const int n = m_logic->current();
    m_grid->setSelected(n);
    showName(QString::fromUtf8(vehicle(n).name), true);
    m_scroll->verticalScrollBar()->setValue(vehicleBandScroll(n));
    m_tabs->setActiveTab(vehicleTabOf(n));
}

void TMenuVcl::showName(const QString& name, bool selected)
{
    QPalette pal = m_name->palette();
    pal.setColor(QPalette::WindowText, selected ? m_g->ColoreSelettore : QColor(Qt::black));
    m_name->setPalette(pal);
    m_name->setText(name);
}

void TMenuVcl::scrollBy(int dy)
{
    QScrollBar* bar = m_scroll->verticalScrollBar();
    bar->setValue(bar->value() + dy);
}

bool TMenuVcl::event(QEvent* event)
{
    // The two painted buttons have their hints, shown unless the settings
    // turn hints off.
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        showMenuButtonHint(this, help->pos(), help->globalPos(), !m_config || m_config->hintsShown());
        return true;
    }
    return OverlayWindow::event(event);
}

void TMenuVcl::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawImage(0, 0, m_background);
    paintMenuButtons(p, m_hoverButton);
}

void TMenuVcl::keyPressEvent(QKeyEvent* event)
{
    event->accept();
    std::optional<MenuKey> key;
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        BtOKClick();
        return;
    case Qt::Key_Escape:
        BtEsciClick();
        return;
    case Qt::Key_PageUp:
        scrollBy(-kVehiclePageStep);
        return;
    case Qt::Key_PageDown:
        scrollBy(kVehiclePageStep);
        return;
    case Qt::Key_Left: key = MenuKey::Left; break;
    case Qt::Key_Right: key = MenuKey::Right; break;
    case Qt::Key_Up: key = MenuKey::Up; break;
    case Qt::Key_Down: key = MenuKey::Down; break;
    default: return;
    }
    if (m_logic->key(*key))
        showSelection();
}

void TMenuVcl::keyReleaseEvent(QKeyEvent* event)
{
    event->accept();
}

void TMenuVcl::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        const QPoint pos = event->position().toPoint();
        if (kMenuOkRect.contains(pos)) {
            BtOKClick();
            return;
        }
        if (kMenuExitRect.contains(pos)) {
            BtEsciClick();
            return;
        }
    }
    setFocus(Qt::MouseFocusReason);
}

void TMenuVcl::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    const int hover = menuButtonAt(pos);
    if (hover != m_hoverButton) {
        m_hoverButton = hover;
        update(kMenuOkRect);
        update(kMenuExitRect);
    }
    // Over the buttons and the background the name panel is empty.
    m_name->clear();
}

bool TMenuVcl::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_name && event->type() == QEvent::MouseMove)
        m_name->clear();
    return OverlayWindow::eventFilter(watched, event);
}

bool TMenuVcl::focusNextPrevChild(bool next)
{
    Q_UNUSED(next);
    return false;
}

}  // namespace ziro
