#include "menus/menu_img_window.h"

#include "base/reports.h"
#include "config/settings.h"
#include "controls/jpeg_loader.h"
#include "menus/picture_grid_widget.h"

#include <QDir>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QRegularExpressionValidator>
#include <QScrollArea>
#include <QScrollBar>

#include <future>

namespace ziro {

namespace {

const QColor kMarked(128, 0, 0);
constexpr QRect kScrollRect(5, 80, 630, 324);
constexpr QRect kNumberRect(150, 420, 80, 46);

QImage background()
{
    QImage img(640, 480, QImage::Format_RGB32);
    QPainter p(&img);
    QLinearGradient g(0, 0, 0, 480);
    g.setColorAt(0, QColor(22, 74, 86));
    g.setColorAt(1, QColor(10, 42, 52));
    p.fillRect(img.rect(), g);
    p.setPen(QColor(255, 255, 255, 60));
    p.drawRect(img.rect().adjusted(0, 0, -1, -1));
    p.setPen(Qt::white);
    QFont f = p.font();
    f.setBold(true);
    f.setPixelSize(20);
    p.setFont(f);
    p.drawText(QRect(20, 420, 126, 46), Qt::AlignVCenter | Qt::AlignLeft, QString::fromUtf8("Segnale N°"));
    return img;
}

}  // namespace

TMenuImg::TMenuImg(QWidget* host)
    : OverlayWindow(host, QStringLiteral("TMenuImg"), QRect(0, 0, 640, 480))
{
    setWindowTitle(QString::fromUtf8("Menu icone"));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    m_background = background();

    // A menu that is not attached yet still shows and moves its frame.
    m_ownGlobals = std::make_unique<Globals>();
    m_nullHost = std::make_unique<SignMenuHost>();
    m_g = m_ownGlobals.get();
    m_logic = std::make_unique<SignMenu>(*m_g, *m_nullHost);

    std::vector<QImage> pictures;
    for (int c = 0; c < kSignCategories; ++c)
        pictures.push_back(signTabPicture(c));
    m_tabs = new MenuTabStrip(std::move(pictures), kSignTabWidth, kSignTabHeight, &signTabFromX, this);
    m_tabs->setObjectName(QStringLiteral("PageControl1"));
    m_tabs->move(7, 6);
    m_caption = new QLabel(this);
    m_caption->setObjectName(QStringLiteral("PanArgIc"));
    m_caption->setGeometry(7, 46, 626, 30);
    m_caption->setAlignment(Qt::AlignCenter);
    m_caption->setStyleSheet(QStringLiteral(
        "background: rgb(128,128,128); color: white; font: bold 17px; border-radius: 3px;"));
    m_caption->setText(QString::fromUtf8(signCategories()[0].caption));
    connect(m_tabs, &MenuTabStrip::activeTabChanged, this,
            [this](int t) { m_caption->setText(QString::fromUtf8(signCategories()[size_t(t)].caption)); });
    connect(m_tabs, &MenuTabStrip::tabPressed, this, &TMenuImg::tabPressed);

    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("ScrollBox1"));
    m_scroll->setGeometry(kScrollRect);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setFocusPolicy(Qt::NoFocus);
    m_scroll->verticalScrollBar()->setSingleStep(kSignRowStep);
    m_scroll->verticalScrollBar()->setPageStep(kSignPageStep);
    m_scroll->verticalScrollBar()->setFocusPolicy(Qt::NoFocus);
    m_grid = new SignGridWidget;
    m_scroll->setWidget(m_grid);
    m_scroll->viewport()->installEventFilter(this);
    connect(m_grid, &PictureGridWidget::hovered, this, &TMenuImg::hovered);
    connect(m_grid, &PictureGridWidget::clicked, this, &TMenuImg::clicked);
    connect(m_grid, &PictureGridWidget::selectorPressed, this, &TMenuImg::BtOKClick);

    m_number = new QLineEdit(this);
    m_number->setObjectName(QStringLiteral("MENumSegn"));
    m_number->setGeometry(kNumberRect);
    m_number->setMaxLength(4);
    m_number->setAlignment(Qt::AlignCenter);
    m_number->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("-?\\d{0,3}")), m_number));
    m_number->setToolTip(QStringLiteral("Segnale puntato dal mouse / Inserimento segnale desiderato"));
    m_number->installEventFilter(this);

    m_logic->findAndSelect(QStringLiteral("1"));
    showSelection(false);
}

TMenuImg::~TMenuImg() = default;

void TMenuImg::attach(Globals& g, Config& config, Reports& reporter, SignMenuHost& host)
{
    const SignLayout layout = m_logic->layout();
    m_g = &g;
    m_config = &config;
    m_reporter = &reporter;
    m_logic = std::make_unique<SignMenu>(g, host);
    m_logic->setLayout(layout);
    m_logic->findAndSelect(QStringLiteral("1"));
    showSelection(false);
}

void TMenuImg::CaricaMenuIcone(int edition, const QString& contentFile)
{
    const SignLayout layout = signLayoutFor(edition);
    m_logic->setLayout(layout);
    const QString dir = m_g && !m_g->dirs.DirProgram.isEmpty() ? m_g->dirs.DirProgram : QString();
    const QString path = QDir(dir).filePath(signMenuPictureName(layout));
    // The page is decoded on a thread of its own while the content file is
    // read here: the teacher waits for the longer of the two, not both.
    std::future<std::optional<QImage>> picture =
        std::async(std::launch::async, [path] { return loadPictureFile(path); });
    IdentifyDaQuiz(edition, contentFile);
    // A missing or broken picture leaves the grid empty; the hot spots
    // still work, so the menu stays usable by number and position.
    m_grid->setPicture(picture.get().value_or(QImage()));
}

void TMenuImg::IdentifyDaQuiz(int edition, const QString& contentFile)
{
    m_flags = QuestionFlags();
    if (contentFile.isEmpty())
        return;
    // Read apart from the main window's table: its cursor and range stay
    // untouched.
    QString error;
    m_flags = readQuestionFlags(contentFile, edition, &error);
    if (m_flags.failed) {
        if (m_reporter)
            m_reporter->Emsg(ReportKind::Message, QStringLiteral("Errore su MenuImg.IdentifyDaQuiz()\r\n") + error,
                             QString());
        return;
    }
    const QString message = questionFlagsMessage(m_flags);
    if (!message.isEmpty() && m_reporter)
        m_reporter->Emsg(ReportKind::Message, message, QString());
}

void TMenuImg::showMenu(bool fromPopup, const QString& currentSign)
{
    m_fromPopup = fromPopup;
    m_grid->setSelectorColour(m_g ? m_g->ColoreSelettore : QColor(0, 0, 255));
    const MenuStart start = menuStartFor(m_config ? m_config->MenuIconeSetting : 1);
    const QString text = signStartText(start, m_number->text(), currentSign);
    m_logic->findAndSelect(text);
    showSelection(true);
    m_number->setToolTip(!m_config || m_config->hintsShown()
                             ? QStringLiteral("Segnale puntato dal mouse / Inserimento segnale desiderato")
                             : QString());
    showModeless();
    raise();
    setFocus(Qt::OtherFocusReason);
}

void TMenuImg::RicercaMain(const QString& number)
{
    m_logic->setSelect(number.trimmed());
    BtOKClick();
}

void TMenuImg::BtOKClick()
{
    const SignConfirmOutcome outcome = m_logic->confirm(m_fromPopup);
    if (outcome == SignConfirmOutcome::Record || outcome == SignConfirmOutcome::PictureAlone) {
        m_fromPopup = false;
        if (isVisible())
            done(1);
    }
}

void TMenuImg::BtEsciClick()
{
    m_fromPopup = false;
    if (isVisible())
        done(0);
    m_logic->exit();
}

int TMenuImg::activeTab() const
{
    return m_tabs->activeTab();
}

QRect TMenuImg::okButtonRect() const
{
    return kMenuOkRect;
}

QRect TMenuImg::exitButtonRect() const
{
    return kMenuExitRect;
}

bool TMenuImg::pictureLoaded() const
{
    return !m_grid->picture().isNull();
}

int TMenuImg::scrollPosition() const
{
    return m_scroll->verticalScrollBar()->value();
}

void TMenuImg::showSelection(bool scrollToBand)
{
    const int k = m_logic->current();
    m_grid->setSelected(k);
    const int tag = signTag(m_logic->layout(), k);
    showNumber(m_logic->select(), m_flags.has(std::abs(tag)));
    if (scrollToBand)
        scrollTo(signBandScroll(k + kComponentOffset));
    m_tabs->setActiveTab(signCategoryOfHotspot(m_logic->layout(), k));
}

void TMenuImg::showNumber(const QString& text, bool marked)
{
    QPalette pal = m_number->palette();
    pal.setColor(QPalette::Text, marked ? kMarked : QColor(Qt::black));
    m_number->setPalette(pal);
    QFont f = m_number->font();
    f.setBold(true);
    f.setPixelSize(26);
    m_number->setFont(f);
    m_number->setText(text);
}

void TMenuImg::numberEntered()
{
    // An unknown number lands on sign 1, as the start position does.
    m_logic->findAndSelect(m_number->text());
    showSelection(true);
    setFocus(Qt::OtherFocusReason);
}

void TMenuImg::hovered(int k)
{
    const int tag = signTag(m_logic->layout(), k);
    if (tag == 0)
        return;
    showNumber(QString::number(std::abs(tag)), m_flags.has(std::abs(tag)));
}

void TMenuImg::clicked(int k)
{
    if (m_logic->selectHotspot(k))
        showSelection(false);
    setFocus(Qt::MouseFocusReason);
}

void TMenuImg::tabPressed(int tab)
{
    if (m_logic->tabPressed(tab)) {
        BtOKClick();
        return;
    }
    const int k = m_logic->current();
    m_grid->setSelected(k);
    showNumber(m_logic->select(), m_flags.has(std::abs(signTag(m_logic->layout(), k))));
    const int c = k + kComponentOffset;
    scrollTo(signHeadingScroll(c).value_or(signBandScroll(c)));
    setFocus(Qt::MouseFocusReason);
}

void TMenuImg::scrollTo(int y)
{
    m_scroll->verticalScrollBar()->setValue(y);
}

void TMenuImg::scrollBy(int dy)
{
    QScrollBar* bar = m_scroll->verticalScrollBar();
    bar->setValue(bar->value() + dy);
}

bool TMenuImg::event(QEvent* event)
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

void TMenuImg::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawImage(0, 0, m_background);
    paintMenuButtons(p, m_hoverButton);
}

void TMenuImg::keyPressEvent(QKeyEvent* event)
{
    // The menu holds the keyboard: keys it has no use for never reach the
    // lesson behind it.
    event->accept();
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        BtOKClick();
        return;
    case Qt::Key_Escape:
        BtEsciClick();
        return;
    case Qt::Key_PageUp:
        scrollBy(-kSignPageStep);
        return;
    case Qt::Key_PageDown:
        scrollBy(kSignPageStep);
        return;
    case Qt::Key_S:
        showNumber(QString(), false);
        m_number->setFocus(Qt::OtherFocusReason);
        {
            QPalette pal = m_number->palette();
            pal.setColor(QPalette::Text, m_g ? m_g->ColoreSelettore : QColor(0, 0, 255));
            m_number->setPalette(pal);
        }
        return;
    default:
        break;
    }
    std::optional<MenuKey> key;
    switch (event->key()) {
    case Qt::Key_Left: key = MenuKey::Left; break;
    case Qt::Key_Right: key = MenuKey::Right; break;
    case Qt::Key_Up: key = MenuKey::Up; break;
    case Qt::Key_Down: key = MenuKey::Down; break;
    default: break;
    }
    if (key && m_logic->key(*key))
        showSelection(true);
}

void TMenuImg::keyReleaseEvent(QKeyEvent* event)
{
    event->accept();
}

void TMenuImg::wheelEvent(QWheelEvent* event)
{
    event->accept();
    const int steps = event->angleDelta().y();
    if (steps != 0)
        scrollBy(steps > 0 ? -kSignRowStep : kSignRowStep);
}

void TMenuImg::mousePressEvent(QMouseEvent* event)
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

void TMenuImg::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    const int hover = menuButtonAt(pos);
    if (hover != m_hoverButton) {
        m_hoverButton = hover;
        update(kMenuOkRect);
        update(kMenuExitRect);
    }
}

bool TMenuImg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_scroll->viewport() && event->type() == QEvent::Wheel) {
        // One row per wheel step, as over the rest of the window.
        wheelEvent(static_cast<QWheelEvent*>(event));
        return true;
    }
    if (watched == m_number) {
        if (event->type() == QEvent::MouseButtonPress)
            m_number->clear();
        if (event->type() == QEvent::KeyPress) {
            auto* ke = static_cast<QKeyEvent*>(event);
            if (ke->key() == Qt::Key_Escape) {
                BtEsciClick();
                return true;
            }
            // Enter in the field looks the number up; it must not go on to
            // the window, where it would confirm as well.
            if (ke->key() == Qt::Key_Return || ke->key() == Qt::Key_Enter) {
                numberEntered();
                return true;
            }
        }
    }
    return OverlayWindow::eventFilter(watched, event);
}

bool TMenuImg::focusNextPrevChild(bool next)
{
    Q_UNUSED(next);
    return false;
}

}  // namespace ziro
