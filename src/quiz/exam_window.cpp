#include "quiz/exam_window.h"

#include "controls/kxb.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QTimer>
#include <QToolButton>

namespace ziro {

namespace {

QFont examFont(int pixels, bool bold)
{
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

void paintLabel(QWidget* w, const QColor& back, const QColor& fore)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Window, back);
    p.setColor(QPalette::WindowText, fore);
    p.setColor(QPalette::Base, back);
    p.setColor(QPalette::Text, fore);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

const QColor kTrueColour(0, 140, 60);
const QColor kFalseColour(200, 30, 30);

}  // namespace

TExam::TExam(QWidget* host)
    : OverlayWindow(host, QStringLiteral("TExam"), QRect(10, 10, 620, 460))
{
    setWindowTitle(QString::fromUtf8("Simulazione d'esame"));
    setFrameShape(QFrame::Box);
    paintLabel(this, Qt::white, Qt::black);
    setFocusPolicy(Qt::StrongFocus);

    const auto label = [this](const QRect& r, int pixels, bool bold, Qt::Alignment align) {
        auto* l = new QLabel(this);
        l->setGeometry(r);
        l->setFont(examFont(pixels, bold));
        l->setAlignment(align);
        return l;
    };
    m_title = label(QRect(10, 6, 470, 30), 18, true, Qt::AlignLeft | Qt::AlignVCenter);
    m_clock = label(QRect(490, 6, 120, 30), 24, true, Qt::AlignRight | Qt::AlignVCenter);
    m_number = label(QRect(10, 40, 200, 30), 22, true, Qt::AlignLeft | Qt::AlignVCenter);
    m_typed = label(QRect(300, 40, 310, 30), 18, true, Qt::AlignRight | Qt::AlignVCenter);
    m_typed->hide();
    m_picture = label(QRect(10, 80, 180, 180), 12, false, Qt::AlignCenter);
    m_statement = label(QRect(200, 80, 410, 240), 22, false, Qt::AlignLeft | Qt::AlignTop);
    m_statement->setWordWrap(true);
    m_answer = label(QRect(200, 330, 410, 56), 30, true, Qt::AlignCenter);
    m_summary = label(QRect(10, 40, 600, 360), 17, false, Qt::AlignLeft | Qt::AlignTop);
    m_summary->setFont(QFont(QStringLiteral("Courier New"), 13, QFont::Bold));
    m_summary->setWordWrap(true);
    m_summary->hide();

    const auto button = [this](const QString& text, int x, int w, const QString& tip) {
        auto* b = new QToolButton(this);
        b->setText(text);
        b->setToolTip(tip);
        b->setGeometry(x, 408, w, 44);
        b->setFont(examFont(16, true));
        // The keys stay with the window, where the clicker's go.
        b->setFocusPolicy(Qt::NoFocus);
        return b;
    };
    m_back = button(QString::fromUtf8("\u25C0 Indietro"), 10, 114, QString::fromUtf8("Affermazione precedente"));
    m_forward = button(QString::fromUtf8("Avanti \u25B6"), 132, 114, QString::fromUtf8("Affermazione successiva"));
    m_finish = button(QStringLiteral("Correggi"), 254, 114, QString::fromUtf8("Termina l'esame e mostra le risposte"));
    m_print = button(QStringLiteral("Stampa"), 376, 114, QString::fromUtf8("Scrive il foglio d'esame e le soluzioni in PDF"));
    m_close = button(QStringLiteral("Chiudi"), 498, 112, QString::fromUtf8("Chiudi la simulazione"));
    connect(m_print, &QToolButton::clicked, this, [this] { if (m_session) m_session->print(); });
    connect(m_back, &QToolButton::clicked, this, [this] { if (m_session) m_session->back(); });
    connect(m_forward, &QToolButton::clicked, this, [this] { if (m_session) m_session->forward(); });
    connect(m_finish, &QToolButton::clicked, this, [this] { if (m_session) m_session->finish(); });
    connect(m_close, &QToolButton::clicked, this, [this] { if (m_session) m_session->close(); });
    // Beside the answer, under the picture: the statement read out.
    m_speak = button(QString::fromUtf8("\u266A"), 10, 56, QString::fromUtf8("Ascolta l'affermazione (Ins)"));
    m_speak->setObjectName(QStringLiteral("ExamSpeak"));
    m_speak->setGeometry(10, 330, 56, 56);
    m_speak->setFont(examFont(26, true));
    m_speak->hide();
    connect(m_speak, &QToolButton::clicked, this, [this] { if (m_session) m_session->speak(); });

    m_timer = new QTimer(this);
    m_timer->setInterval(1000);
    connect(m_timer, &QTimer::timeout, this, [this] { if (m_session) m_session->tick(); });
    hide();
}

void TExam::showWindow()
{
    showModeless();
    raise();
    setFocus(Qt::OtherFocusReason);
}

void TExam::hideWindow()
{
    m_timer->stop();
    done(0);
    hide();
}

void TExam::showPageWidgets(bool shown)
{
    for (QWidget* w : {static_cast<QWidget*>(m_number), static_cast<QWidget*>(m_picture),
                       static_cast<QWidget*>(m_statement), static_cast<QWidget*>(m_answer)})
        w->setVisible(shown);
    m_summary->setVisible(!shown);
    if (!shown)
        m_speak->hide();
}

void TExam::showPage(const ExamPage& page)
{
    showPageWidgets(true);
    m_title->setText(page.title);
    m_number->setText(QStringLiteral("%1/%2").arg(page.number).arg(page.total));
    m_statement->setText(page.text);
    const std::optional<QImage> image = page.picturePath.isEmpty() ? std::nullopt : loadKxbFile(page.picturePath);
    if (image && !image->isNull())
        m_picture->setPixmap(QPixmap::fromImage(
            image->scaled(m_picture->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    else
        m_picture->clear();
    if (page.answer) {
        m_answer->setText(*page.answer ? QStringLiteral("VERO") : QStringLiteral("FALSO"));
        paintLabel(m_answer, *page.answer ? kTrueColour : kFalseColour, Qt::white);
        m_answer->show();
    } else {
        m_answer->clear();
        m_answer->hide();
    }
    m_finish->setEnabled(!page.answer);
    m_speak->setVisible(page.spoken);
}

void TExam::showClock(const QString& text, bool running)
{
    m_clock->setText(text);
    if (running && !m_timer->isActive())
        m_timer->start();
    else if (!running)
        m_timer->stop();
}

void TExam::showSummary(const QString& text)
{
    showPageWidgets(false);
    m_title->setText(QStringLiteral("Riepilogo dell'esame"));
    m_summary->setText(text);
    m_finish->setEnabled(false);
}

void TExam::showTypedNumber(const QString& digits)
{
    m_typed->setText(QStringLiteral("Esame n. %1 (Invio)").arg(digits));
    m_typed->setVisible(!digits.isEmpty());
    m_typed->raise();
}

QString TExam::typedNumberText() const { return m_typed->isVisibleTo(this) ? m_typed->text() : QString(); }
QString TExam::titleText() const { return m_title->text(); }
QString TExam::numberText() const { return m_number->text(); }
QString TExam::statementText() const { return m_statement->text(); }
QString TExam::answerText() const { return m_answer->isVisibleTo(this) ? m_answer->text() : QString(); }
QString TExam::clockText() const { return m_clock->text(); }
QString TExam::summaryText() const { return m_summary->text(); }
bool TExam::summaryShown() const { return m_summary->isVisibleTo(this); }
bool TExam::clockRunning() const { return m_timer->isActive(); }

void TExam::keyPressEvent(QKeyEvent* event)
{
    // Keys act on release, as in the quiz; the press goes nowhere else.
    event->accept();
}

void TExam::keyReleaseEvent(QKeyEvent* event)
{
    if (event->isAutoRepeat())
        return;
    if (!m_session || !m_session->key(event->key(), event->modifiers()))
        Q_EMIT keyPassed(event->key(), event->modifiers());
}

}  // namespace ziro
