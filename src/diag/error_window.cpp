#include "diag/error_window.h"

#include "diag/book_position.h"

#include "base/dialogs.h"
#include "base/globals.h"
#include "controls/key_gate_ui.h"

#include <QApplication>
#include <QEventLoop>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace ziro {

namespace {
QPixmap noticeIcon()
{
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath triangle;
    triangle.moveTo(16, 2);
    triangle.lineTo(30, 29);
    triangle.lineTo(2, 29);
    triangle.closeSubpath();
    p.setPen(QPen(QColor(120, 90, 0), 1.5));
    p.setBrush(QColor(255, 205, 40));
    p.drawPath(triangle);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawRoundedRect(QRectF(14.5, 10, 3, 11), 1.5, 1.5);
    p.drawEllipse(QRectF(14.5, 23, 3, 3));
    return pm;
}

// Watches the whole application for a press outside the notice: clicking the
// main window is where a separate window would have lost the focus.
class OutsideClickWatcher : public QObject {
public:
    OutsideClickWatcher(QWidget* owner, std::function<void()> onOutside)
        : QObject(owner), m_owner(owner), m_onOutside(std::move(onOutside))
    {
    }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonPress && watched->isWidgetType()) {
            auto* w = static_cast<QWidget*>(watched);
            if (w != m_owner && !m_owner->isAncestorOf(w))
                m_onOutside();
        }
        return false;
    }

private:
    QWidget* m_owner;
    std::function<void()> m_onOutside;
};

QPushButton* makeButton(const QString& name, const QString& caption, QWidget* parent)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    // The window itself keeps the keyboard so that its key rules apply.
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

QLabel* makeLabel(const QString& name, const QString& text, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}
}  // namespace

TFError::TFError(QWidget* mainWindow, Reporter& reporter, Globals& globals, Dialogs& dialogs,
                 ReportHost& host)
    : OverlayWindow(mainWindow, QStringLiteral("TFError"), QRect(0, 0, 460, Hgh)),
      m_reporter(reporter),
      m_globals(globals),
      m_dialogs(dialogs),
      m_host(host)
{
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);
    setLineWidth(2);

    m_title = makeLabel(QStringLiteral("Caption"), QStringLiteral("Utility diagnostica"), this);
    m_title->setAutoFillBackground(true);
    m_title->setStyleSheet(QStringLiteral("background:#000080;color:white;padding:1px 4px;"));

    m_image = makeLabel(QStringLiteral("Image1"), QString(), this);
    m_image->setPixmap(noticeIcon());
    m_image->setFixedSize(32, 32);
    m_animate = makeLabel(QStringLiteral("Animate1"), QStringLiteral("DEBUG"), this);
    m_animate->setFixedSize(40, 32);
    m_animate->setAlignment(Qt::AlignCenter);
    m_animate->setFrameShape(QFrame::Box);

    m_riga1 = makeLabel(QStringLiteral("Riga1"), QString(), this);
    QFont big = m_riga1->font();
    big.setPointSizeF(big.pointSizeF() * 1.3);
    big.setBold(true);
    m_riga1->setFont(big);
    m_riga2 = makeLabel(QStringLiteral("Riga2"), QString(), this);
    m_riga2->setWordWrap(true);

    m_ok = makeButton(QStringLiteral("BtOK"), QStringLiteral("OK"), this);
    m_ok->setDefault(true);
    m_eski = makeButton(QStringLiteral("Eski"), QStringLiteral("Annulla"), this);

    m_grid = new QFrame(this);
    m_grid->setObjectName(QStringLiteral("Griglia"));
    m_grid->setFrameShape(QFrame::StyledPanel);
    m_model = new DataTableModel(this);
    m_view = new QTableView(m_grid);
    m_view->setObjectName(QStringLiteral("GrigliaDati"));
    m_view->setModel(m_model);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->verticalHeader()->setDefaultSectionSize(18);
    m_view->horizontalHeader()->setDefaultSectionSize(70);
    auto* gridLayout = new QVBoxLayout(m_grid);
    gridLayout->setContentsMargins(0, 0, 0, 0);
    gridLayout->addWidget(m_view);
    connect(m_view, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid())
            Q_EMIT recordChosen(index.row() + 1);
    });

    m_bottomBar = new QWidget(this);
    m_bottomBar->setObjectName(QStringLiteral("BottomBar"));
    auto* info1 = makeLabel(QStringLiteral("InfoDebugMsg1"), QStringLiteral("info:"), m_bottomBar);
    m_infoMsg2 = makeLabel(QStringLiteral("InfoDebugMsg2"), QString(), m_bottomBar);
    m_fixPages = makeButton(QStringLiteral("SB_FixPages"), QString(), m_bottomBar);
    m_fixPages->setFlat(true);
    m_fixPages->hide();
    auto* filterOffBtn = makeButton(QStringLiteral("FillroOFF"), QStringLiteral("Filtro OFF"), m_bottomBar);
    auto* infoBtn = makeButton(QStringLiteral("Info"), QStringLiteral("DataBase"), m_bottomBar);
    auto* filterDefBtn = makeButton(QStringLiteral("BTFiltroDefault"), QStringLiteral("Filtro DEF"), m_bottomBar);
    auto* testBtn = makeButton(QStringLiteral("Test"), QStringLiteral("Var. Glob."), m_bottomBar);
    auto* navigator = new QWidget(m_bottomBar);
    navigator->setObjectName(QStringLiteral("DBNavigator1"));

    auto* bar = new QHBoxLayout(m_bottomBar);
    bar->setContentsMargins(0, 0, 0, 0);
    bar->setSpacing(3);
    bar->addWidget(info1);
    bar->addWidget(m_infoMsg2, 1);
    bar->addWidget(m_fixPages);
    bar->addWidget(filterOffBtn);
    bar->addWidget(infoBtn);
    bar->addWidget(filterDefBtn);
    bar->addWidget(testBtn);
    bar->addWidget(navigator);

    auto* lines = new QVBoxLayout;
    lines->setSpacing(2);
    lines->addWidget(m_riga1);
    lines->addWidget(m_riga2);
    lines->addStretch(1);
    auto* buttons = new QVBoxLayout;
    buttons->setSpacing(2);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_eski);
    buttons->addStretch(1);
    auto* top = new QHBoxLayout;
    top->setSpacing(8);
    top->addWidget(m_image, 0, Qt::AlignTop);
    top->addWidget(m_animate, 0, Qt::AlignTop);
    top->addLayout(lines, 1);
    top->addLayout(buttons);

    auto* outer = new QVBoxLayout(this);
    outer->setSizeConstraint(QLayout::SetNoConstraint);
    outer->setContentsMargins(6, 4, 6, 4);
    outer->setSpacing(4);
    outer->addWidget(m_title);
    outer->addLayout(top);
    outer->addWidget(m_grid, 1);
    outer->addWidget(m_bottomBar);

    connect(m_ok, &QPushButton::clicked, this, &TFError::okClicked);
    connect(m_eski, &QPushButton::clicked, this, [this] { answer(false); });
    connect(infoBtn, &QPushButton::clicked, this, &TFError::refreshCount);
    connect(filterOffBtn, &QPushButton::clicked, this, [this] {
        Q_EMIT filterOffRequested();
        refreshCount();
    });
    connect(filterDefBtn, &QPushButton::clicked, this, [this] {
        Q_EMIT filterDefaultRequested();
        refreshCount();
    });
    connect(testBtn, &QPushButton::clicked, this,
            [this] { m_dialogs.message(globalVariablesText(m_globals)); });
    connect(m_fixPages, &QPushButton::clicked, this, &TFError::bookPositionRequested);
    connect(this, &OverlayWindow::hidden, this, [this] {
        m_mode = Mode::Hidden;
        qApp->removeEventFilter(m_outsideClicks);
        if (m_confirmLoop)  // hidden from outside: the question stays unanswered
            m_confirmLoop->exit();
    });
    connect(qApp, &QApplication::focusChanged, this, &TFError::onFocusChanged);
    m_outsideClicks = new OutsideClickWatcher(this, [this] {
        if (closesOnUserInput())
            closeReport();
    });

    enterMode(Mode::Hidden, QString(), QString(), QSize(460, Hgh));
    m_reporter.setView(this);
}

TFError::~TFError()
{
    // The widget's own destructor moves the focus out of it, which
    // announces a focus change; by then this class is gone and must not
    // hear it.
    disconnect(qApp, &QApplication::focusChanged, this, &TFError::onFocusChanged);
    if (m_reporter.view() == this)
        m_reporter.setView(nullptr);
}

QString TFError::riga1() const
{
    return m_riga1->text();
}

QString TFError::riga2() const
{
    return m_riga2->text();
}

void TFError::beep()
{
    QApplication::beep();
}

void TFError::enterMode(Mode mode, const QString& riga1, const QString& riga2, QSize size)
{
    m_mode = mode;
    const bool debug = mode == Mode::Debug;
    m_riga1->setText(riga1);
    m_riga2->setText(riga2);
    m_image->setVisible(!debug);
    m_animate->setVisible(debug);
    m_eski->setVisible(mode == Mode::Confirmation);
    m_title->setVisible(debug);
    m_grid->setVisible(debug);
    m_bottomBar->setVisible(debug);
    m_fixPages->setVisible(debug && m_host.bookViewerVisible());
    if (m_fixPages->isVisible())
        m_fixPages->setText(bookPositionCaption(m_bookPage, m_bookScroll));
    resize(size);
    placeOverMain();
}

void TFError::placeOverMain()
{
    if (!parentWidget())
        return;
    move(reportPosition(parentWidget()->size(), size(), m_host.menuOrConfigVisible()));
}

void TFError::showReport(const ReportLines& lines)
{
    if (m_mode == Mode::Confirmation)
        return;  // a pending question keeps the window; the report is in the log if wanted
    if (parentWidget() && !parentWidget()->isVisible()) {
        // Reported while the program is still being built: a modal run over
        // a window nobody can see would wait for ever. It shows as soon as
        // the main window is up.
        QTimer::singleShot(0, this, [this, lines] { showReport(lines); });
        return;
    }
    // The focus within the window the report covers: on the filled screen
    // the application's focus widget is the presentation's view.
    if (m_mode == Mode::Hidden)
        m_focusBefore = window()->focusWidget();
    enterMode(lines.modal ? Mode::Report : Mode::Notice, lines.riga1, lines.riga2,
              QSize(lines.width, Hgh));
    if (lines.modal) {
        execModal();
    } else {
        showModeless();
        setFocus(Qt::OtherFocusReason);
        qApp->installEventFilter(m_outsideClicks);
    }
}

bool TFError::askConfirmation(const ReportLines& lines)
{
    if (m_mode == Mode::Confirmation)
        return false;  // one question at a time; a nested one is refused
    enterMode(Mode::Confirmation, lines.riga1, lines.riga2, QSize(lines.width, Hgh));
    m_answer = false;
    if (isModalRunning()) {
        // Asked from inside our own modal run (a report was up): wait here,
        // then end that run as well.
        QEventLoop loop;
        m_confirmLoop = &loop;
        setFocus(Qt::OtherFocusReason);
        loop.exec(QEventLoop::DialogExec);
        m_confirmLoop = nullptr;
        done(0);
    } else {
        execModal();
    }
    return m_answer;
}

void TFError::showDebug(const QString& riga1, const QString& riga2)
{
    if (m_mode == Mode::Confirmation)
        return;
    enterMode(Mode::Debug, riga1, riga2, QSize(kDebugWidth, kDebugHeight));
    refreshCount();
    showModeless();
}

void TFError::showBookTool(bool shown)
{
    m_fixPages->setVisible(shown && m_mode == Mode::Debug);
    if (m_fixPages->isVisible())
        m_fixPages->setText(bookPositionCaption(m_bookPage, m_bookScroll));
}

void TFError::showBookPosition(const QString& page, int scroll)
{
    m_bookPage = page;
    m_bookScroll = scroll;
    if (m_fixPages->isVisible())
        m_fixPages->setText(bookPositionCaption(page, scroll));
}

void TFError::flashBookPosition()
{
    m_fixPages->setStyleSheet(QStringLiteral("color: red;"));
    beep();
    QTimer::singleShot(600, m_fixPages, [button = m_fixPages] { button->setStyleSheet(QString()); });
}

void TFError::setGridTable(DataTable* table)
{
    m_model->setTable(table);
}

void TFError::refreshCount()
{
    m_model->refresh();
    m_infoMsg2->setText(m_host.databaseInfo());
}

void TFError::closeReport()
{
    m_mode = Mode::Hidden;
    done(0);
    // Back where the keyboard was, so that the release of the key that
    // closed the report reaches that window.
    if (QWidget* w = m_focusBefore.data(); w && w->isVisible() && w->isEnabled())
        w->setFocus(Qt::OtherFocusReason);
    m_focusBefore.clear();
}

void TFError::answer(bool ok)
{
    if (m_mode != Mode::Confirmation)
        return;
    m_answer = ok;
    m_mode = Mode::Hidden;
    if (m_confirmLoop)
        m_confirmLoop->exit();
    else
        done(ok ? 1 : 0);
}

void TFError::okClicked()
{
    switch (m_mode) {
    case Mode::Confirmation:
        answer(true);
        break;
    case Mode::Debug:
        closeReport();
        m_reporter.leaveDebugMode();
        break;
    default:
        closeReport();
        break;
    }
}

void TFError::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (m_mode == Mode::Confirmation && key == Qt::Key_Escape) {
        answer(false);
        return;
    }
    if (m_mode == Mode::Debug && key == Qt::Key_F12 && m_fixPages->isVisible()) {
        Q_EMIT bookPositionRequested();
        return;
    }
    event->accept();
    // A report goes at the press of any key but Enter, which closes it on
    // its release. The key itself is not spent: its release reaches the
    // window the report covered, which acts on it once.
    if (!enter && !event->isAutoRepeat() && closesOnUserInput()) {
        KeyGate::passOn(key);
        closeReport();
    }
}

void TFError::keyReleaseEvent(QKeyEvent* event)
{
    event->accept();
    if (event->isAutoRepeat())
        return;
    const int key = event->key();
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return;
    if (m_mode == Mode::Confirmation)
        answer(true);
    else if (closesOnUserInput())
        closeReport();
}

void TFError::mousePressEvent(QMouseEvent* event)
{
    if (closesOnUserInput()
        && (event->button() == Qt::LeftButton || event->button() == Qt::RightButton)) {
        closeReport();
        return;
    }
    OverlayWindow::mousePressEvent(event);
}

void TFError::onFocusChanged(QWidget* /*old*/, QWidget* now)
{
    if (!closesOnUserInput() || !QWidget::isVisible())
        return;
    if (now == this || (now && isAncestorOf(now)))
        return;
    closeReport();
}

}  // namespace ziro
