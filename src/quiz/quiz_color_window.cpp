#include "quiz/quiz_color_window.h"

#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>

namespace ziro {

namespace {

constexpr QRect kGeometry(170, 130, 300, 220);
constexpr QRect kTitle(0, 0, 300, 20);
constexpr QRect kInfo(8, 24, 284, 18);
// Background samples (roles 1 to 3), then the text samples (4 to 6).
constexpr std::array<QRect, kQuizColourRoles> kSampleRects{{
    {10, 48, 170, 26}, {10, 78, 170, 26}, {10, 108, 170, 26},
    {10, 140, 170, 18}, {10, 160, 170, 18}, {10, 180, 170, 18},
}};
constexpr std::array<const char*, kQuizColourRoles> kSampleNames{
    "Fond1", "Fond2", "Fond3", "Char1", "Char2", "Char3"};
constexpr std::array<const char*, 3> kSampleTexts{"Domande", "Affermazioni off", "Affermazioni on"};
constexpr std::array<const char*, 3> kBarNames{"R", "G", "B"};
constexpr int kBarLeft = 196;
constexpr int kBarGap = 30;
constexpr QRect kBarArea(0, 62, 18, 130);  // left is per bar
constexpr QRect kOk(196, 194, 44, 22);
constexpr QRect kCancel(244, 194, 50, 22);

}  // namespace

TQuizColor::TQuizColor(QWidget* host)
    : OverlayWindow(host, QStringLiteral("TQuizColor"), kGeometry)
{
    setWindowTitle(QStringLiteral("Impostazione colori"));
    setFrameShape(QFrame::Box);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(236, 236, 236));
    setPalette(pal);

    auto* title = new QLabel(windowTitle(), this);
    title->setGeometry(kTitle);
    title->setAutoFillBackground(true);
    QPalette tp = title->palette();
    tp.setColor(QPalette::Window, QColor(0, 0, 128));
    tp.setColor(QPalette::WindowText, Qt::white);
    title->setPalette(tp);
    title->setIndent(6);
    QFont tf = title->font();
    tf.setBold(true);
    title->setFont(tf);

    m_info = new QLabel(m_editor.info(), this);
    m_info->setObjectName(QStringLiteral("Info"));
    m_info->setGeometry(kInfo);

    for (int i = 0; i < kQuizColourRoles; ++i) {
        QWidget* sample = nullptr;
        if (i < 3) {
            auto* panel = new QFrame(this);
            panel->setFrameShape(QFrame::Panel);
            panel->setFrameShadow(QFrame::Sunken);
            panel->setAutoFillBackground(true);
            panel->setToolTip(QString::fromUtf8(quizColourRole(i + 1)->caption));
            sample = panel;
        } else {
            auto* label = new QLabel(QString::fromLatin1(kSampleTexts[std::size_t(i - 3)]), this);
            QFont f = label->font();
            f.setBold(true);
            label->setFont(f);
            sample = label;
        }
        sample->setObjectName(QLatin1String(kSampleNames[std::size_t(i)]));
        sample->setProperty("tag", i + 1);
        sample->setGeometry(kSampleRects[std::size_t(i)]);
        sample->setCursor(Qt::PointingHandCursor);
        sample->installEventFilter(this);
        m_samples[std::size_t(i)] = sample;
        paintSample(i + 1);
    }

    for (int i = 0; i < 3; ++i) {
        auto* letter = new QLabel(QLatin1String(kBarNames[std::size_t(i)]), this);
        letter->setAlignment(Qt::AlignCenter);
        letter->setGeometry(kBarLeft + i * kBarGap, kBarArea.top() - 18, kBarArea.width(), 16);
        auto* bar = new QScrollBar(Qt::Vertical, this);
        bar->setObjectName(QLatin1String(kBarNames[std::size_t(i)]));
        bar->setRange(0, 255);
        bar->setValue(QuizColourEditor::kStart);
        bar->setSingleStep(5);
        bar->setPageStep(20);
        bar->setGeometry(kBarArea.translated(kBarLeft + i * kBarGap, 0));
        connect(bar, &QScrollBar::valueChanged, this, &TQuizColor::barsMoved);
        m_bars[std::size_t(i)] = bar;
    }

    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("BtOK"));
    m_ok->setGeometry(kOk);
    connect(m_ok, &QPushButton::clicked, this, &TQuizColor::OKClick);
    m_cancel = new QPushButton(QStringLiteral("Annulla"), this);
    m_cancel->setObjectName(QStringLiteral("BtChiude"));
    m_cancel->setGeometry(kCancel);
    connect(m_cancel, &QPushButton::clicked, this, &TQuizColor::Chiude);
    hide();
}

QWidget* TQuizColor::sampleWidget(int role) const
{
    return quizColourRole(role) ? m_samples[std::size_t(role - 1)] : nullptr;
}

void TQuizColor::open()
{
    showModeless();
    raise();
}

void TQuizColor::showEvent(QShowEvent* event)
{
    OverlayWindow::showEvent(event);
    Q_EMIT quizDefaultsRequested();
}

bool TQuizColor::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        const int role = watched->property("tag").toInt();
        if (quizColourRole(role)) {
            m_editor.select(role);
            m_info->setText(m_editor.info());
            // Taken, so that its release comes back here too.
            event->accept();
            return true;
        }
    }
    if (event->type() == QEvent::MouseButtonRelease && watched->property("tag").isValid())
        return true;
    return OverlayWindow::eventFilter(watched, event);
}

void TQuizColor::barsMoved()
{
    m_editor.setRgb(m_bars[0]->value(), m_bars[1]->value(), m_bars[2]->value());
    paintSample(m_editor.GeneralTag());
}

void TQuizColor::paintSample(int role)
{
    QWidget* sample = sampleWidget(role);
    if (!sample)
        return;
    QPalette pal = sample->palette();
    pal.setColor(role <= 3 ? QPalette::Window : QPalette::WindowText, m_editor.sample(role));
    sample->setPalette(pal);
}

void TQuizColor::OKClick()
{
    Q_EMIT coloursAccepted(m_editor.texts());
    done(1);
}

void TQuizColor::Chiude()
{
    done(0);
}

}  // namespace ziro
