#include "quiz/quiz_window.h"

#include "controls/kxb.h"
#include "quiz/quiz_speech.h"

#include <QEventLoop>
#include <QActionGroup>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QToolButton>

namespace ziro {

namespace {

constexpr int kGridColumns = 10;
constexpr int kGridRows = 8;
// The statement starts at 28 points and never goes below 8 (pixel sizes at
// 96 dots per inch, so the fit does not depend on the screen's density).
constexpr int kStatementPixels = 37;
constexpr int kStatementMinPixels = 11;

QFont statementFont(int pixels)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixels);
    // Hinting moves glyph advances by the rasteriser's whims; without it the
    // same font file measures the same on every machine.
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::PreferOutline);
    return font;
}

void colourLabel(QWidget* w, const QColor& back, const QColor& fore)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Window, back);
    p.setColor(QPalette::Base, back);
    p.setColor(QPalette::WindowText, fore);
    p.setColor(QPalette::Text, fore);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

}  // namespace

// The 10 x 8 grid of statement numbers.
class QuizGrid : public QWidget {
public:
    QuizGrid(QWidget* parent, TQuiz* quiz) : QWidget(parent), m_quiz(quiz) {}

    QRect cell(int number) const
    {
        const int index = number - 1;
        const int col = index % kGridColumns;
        const int row = index / kGridColumns;
        const int x0 = col * width() / kGridColumns;
        const int x1 = (col + 1) * width() / kGridColumns;
        const int y0 = row * height() / kGridRows;
        const int y1 = (row + 1) * height() / kGridRows;
        return QRect(x0, y0, x1 - x0, y1 - y0);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        const QuizSession* s = m_quiz->session();
        if (!s)
            return;
        QFont font(QStringLiteral("Arial"));
        font.setPixelSize(std::max(8, height() / kGridRows - 2));
        font.setBold(true);
        painter.setFont(font);
        const int numAff = std::min(s->NumAff(), kMaxStatements);
        for (int n = 1; n <= kGridColumns * kGridRows; ++n) {
            const QRect r = cell(n);
            const bool selected = n == s->Terni();
            painter.fillRect(r, selected ? QColor(239, 239, 239) : Qt::white);
            if (n <= numAff) {
                const QuizStatement& st = s->list().at(n);
                QColor colour = selected ? QColor(128, 128, 128) : QColor(192, 192, 192);
                if (s->ModoVF() && !st.isEmpty())
                    colour = answerColour(st.Responso);
                painter.setPen(colour);
                painter.drawText(r, Qt::AlignCenter, QString::number(n));
            }
            painter.setPen(QPen(Qt::white, 2));
            painter.drawRect(r.adjusted(1, 1, -1, -1));
        }
    }
    void mousePressEvent(QMouseEvent* event) override
    {
        // Taken, so that the release comes back here inside the presentation.
        event->accept();
    }
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        QuizSession* s = m_quiz->session();
        if (!s || !rect().contains(event->position().toPoint()))
            return;
        const QPoint p = event->position().toPoint();
        const int col = p.x() * kGridColumns / std::max(1, width());
        const int row = p.y() * kGridRows / std::max(1, height());
        s->gridClick(row * kGridColumns + col + 1);
        update();
    }

private:
    TQuiz* m_quiz;
};

// The statement's picture.
class QuizPicture : public QWidget {
public:
    QuizPicture(QWidget* parent, TQuiz* quiz) : QWidget(parent), m_quiz(quiz) {}
    void setPicture(const QImage& image)
    {
        m_image = image;
        update();
    }
    bool hasPicture() const { return !m_image.isNull(); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        if (m_image.isNull())
            return;
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        QSize size = m_image.size().scaled(rect().size() - QSize(4, 4), Qt::KeepAspectRatio);
        if (m_image.width() <= width() - 4 && m_image.height() <= height() - 4)
            size = m_image.size();
        QRect target(QPoint(0, 0), size);
        target.moveCenter(rect().center());
        painter.drawImage(target, m_image);
    }
    void mousePressEvent(QMouseEvent* event) override { event->accept(); }
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        if (rect().contains(event->position().toPoint()) && m_quiz->session())
            m_quiz->session()->pictureClick();
    }

private:
    TQuiz* m_quiz;
    QImage m_image;
};

// The statement in large type, shrunk until it fits.
class QuizStatementView : public QWidget {
public:
    QuizStatementView(QWidget* parent, TQuiz* quiz) : QWidget(parent), m_quiz(quiz) {}

    void setStatement(const QString& text, const QColor& colour)
    {
        const bool refit = text != m_text;
        m_text = text;
        m_colour = colour;
        if (refit)
            fit();
        update();
    }
    void setBackground(const QColor& colour)
    {
        m_background = colour;
        update();
    }
    const QString& text() const { return m_text; }
    const QColor& colour() const { return m_colour; }
    int pixelSize() const { return m_pixels; }

    void fit()
    {
        const QRect area = textArea();
        m_pixels = fitFontSize(kStatementPixels, kStatementMinPixels, area.height(), [&](int pixels) {
            const QFontMetrics metrics(statementFont(pixels));
            return metrics.boundingRect(QRect(0, 0, area.width(), 100000), Qt::TextWordWrap | Qt::AlignCenter, m_text)
                .height();
        });
    }

protected:
    void resizeEvent(QResizeEvent*) override { fit(); }
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), m_background);
        painter.setClipRect(rect());
        painter.setFont(statementFont(m_pixels));
        painter.setPen(m_colour);
        painter.drawText(textArea(), Qt::TextWordWrap | Qt::AlignCenter, m_text);
    }
    void mousePressEvent(QMouseEvent* event) override { event->accept(); }
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        if (rect().contains(event->position().toPoint()) && m_quiz->session())
            m_quiz->session()->speak();
    }

private:
    QRect textArea() const { return rect().adjusted(10, 6, -10, -6); }

    TQuiz* m_quiz;
    QString m_text;
    QColor m_colour = Qt::black;
    QColor m_background = Qt::white;
    int m_pixels = kStatementPixels;
};

// The difficulty gauge: a bar and its number.
class QuizGauge : public QWidget {
public:
    explicit QuizGauge(QWidget* parent) : QWidget(parent) {}
    void setLook(const GaugeLook& look)
    {
        m_look = look;
        update();
    }
    const GaugeLook& look() const { return m_look; }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), m_look.background);
        const int value = std::clamp(m_look.value, 0, 100);
        painter.fillRect(QRect(0, 0, width() * value / 100, height()), m_look.bar);
        if (m_look.showNumber) {
            painter.setPen(Qt::black);
            QFont font(QStringLiteral("Arial"));
            font.setPixelSize(std::max(8, height() - 4));
            painter.setFont(font);
            painter.drawText(rect(), Qt::AlignCenter, QString::number(value));
        }
    }

private:
    GaugeLook m_look;
};

TQuiz::TQuiz(QWidget* host)
    : OverlayWindow(host, QStringLiteral("TQuiz"), QRect(17, 54, 605, 372))
{
    setWindowTitle(QString::fromUtf8("Quiz"));
    setFrameShape(QFrame::Box);
    colourLabel(this, Qt::white, Qt::black);
    setFocusPolicy(Qt::StrongFocus);

    m_caption = new QLineEdit(this);
    m_caption->setGeometry(5, 6, 595, 26);
    m_caption->setReadOnly(true);
    m_caption->setFrame(false);
    m_caption->setAlignment(Qt::AlignCenter);
    colourLabel(m_caption, kCaptionNeutral, kCaptionNeutralText);
    m_caption->installEventFilter(this);
    connect(m_caption, &QLineEdit::returnPressed, this, [this] { storeCaption(); });
    connect(m_caption, &QLineEdit::editingFinished, this, [this] { storeCaption(); });

    m_picture = new QuizPicture(this, this);
    m_picture->setGeometry(5, 36, 124, 124);

    m_grid = new QuizGrid(this, this);
    m_grid->setGeometry(133, 36, 320, 124);

    const auto button = [this](const QString& text, const QRect& r, const QString& tip) {
        auto* b = new QToolButton(this);
        b->setText(text);
        b->setToolTip(tip);
        b->setGeometry(r);
        b->setFocusPolicy(Qt::NoFocus);
        QFont f(QStringLiteral("Arial"));
        f.setPixelSize(16);
        f.setBold(true);
        b->setFont(f);
        return b;
    };
    m_previous = button(QString::fromUtf8("\u25B2"), QRect(458, 36, 44, 60), QString::fromUtf8("Affermazione precedente"));
    m_next = button(QString::fromUtf8("\u25BC"), QRect(506, 36, 44, 60), QString::fromUtf8("Affermazione successiva"));
    m_vf = button(QStringLiteral("V/F"), QRect(554, 36, 46, 60), QString::fromUtf8("Mostra tutte le risposte"));
    m_vf->setCheckable(true);
    m_audio = button(QString::fromUtf8("\u266A"), QRect(458, 100, 44, 60), QString::fromUtf8("Ascolta l'affermazione"));
    m_film = button(QString::fromUtf8("\u25B6"), QRect(506, 100, 44, 60), QString::fromUtf8("Filmato di spiegazione"));
    m_close = button(QString::fromUtf8("\u2715"), QRect(554, 100, 46, 60), QString::fromUtf8("Chiudi il quiz"));
    m_film->setEnabled(false);
    connect(m_previous, &QToolButton::clicked, this, [this] { if (m_session) m_session->previous(); });
    connect(m_next, &QToolButton::clicked, this, [this] { if (m_session) m_session->next(); });
    connect(m_vf, &QToolButton::toggled, this, [this](bool on) { if (m_session) m_session->setModoVF(on); });
    connect(m_audio, &QToolButton::clicked, this, [this] { if (m_session) m_session->speak(); });
    m_audio->setEnabled(false);
    m_audio->installEventFilter(this);
    // The language pop-up comes with a right press, as on the lesson's
    // other buttons; the press is handled here, so no context menu event
    // opens it a second time.
    m_audio->setContextMenuPolicy(Qt::PreventContextMenu);
    connect(m_film, &QToolButton::clicked, this, [this] { if (m_session) m_session->playExplanation(); });
    connect(m_close, &QToolButton::clicked, this, [this] { if (m_session) m_session->ChiudiQuiz(); });

    m_mono = new QFrame(this);
    m_mono->setGeometry(3, 164, 599, 170);
    colourLabel(m_mono, Qt::white, Qt::black);
    m_statement = new QuizStatementView(m_mono, this);
    m_statement->setGeometry(0, 0, 599, 170);
    m_over = new QFrame(m_mono);
    m_over->setGeometry(6, 6, 587, 158);
    m_over->hide();

    m_info = new QLabel(this);
    m_info->setGeometry(3, 337, 300, 32);
    QFont infoFont(QStringLiteral("Arial"));
    infoFont.setPixelSize(15);
    infoFont.setBold(true);
    m_info->setFont(infoFont);
    colourLabel(m_info, QColor(248, 248, 248), QColor(63, 63, 63));

    m_groupPanel = new QFrame(this);
    m_groupPanel->setGeometry(305, 337, 190, 32);
    colourLabel(m_groupPanel, QColor(248, 248, 248), Qt::black);
    const std::array<GroupMark, 7> marks = groupMarks(QString());
    for (int i = 0; i < 7; ++i) {
        m_groups[i] = new QLabel(marks[static_cast<std::size_t>(i)].label, m_groupPanel);
        m_groups[i]->setGeometry(2 + i * 27, 4, 26, 24);
        m_groups[i]->setAlignment(Qt::AlignCenter);
        QFont f(QStringLiteral("Arial"));
        f.setPixelSize(13);
        f.setBold(true);
        m_groups[i]->setFont(f);
    }
    m_groupPanel->hide();

    m_gauge = new QuizGauge(this);
    m_gauge->setGeometry(498, 341, 102, 24);

    hide();
}

void TQuiz::attach(QuizSession* session)
{
    m_session = session;
    if (m_session)
        m_statement->setBackground(m_session->colours().Spento);
    m_over->setAutoFillBackground(true);
    if (m_session)
        colourLabel(m_over, m_session->colours().Spento, Qt::black);
}

QWidget* TQuiz::grid() const { return m_grid; }
QWidget* TQuiz::statementView() const { return m_statement; }
QWidget* TQuiz::picture() const { return m_picture; }
QString TQuiz::statementText() const { return m_statement->text(); }
QColor TQuiz::statementColour() const { return m_statement->colour(); }
int TQuiz::statementPixelSize() const { return m_statement->pixelSize(); }
QRect TQuiz::cellRect(int number) const { return m_grid->cell(number); }

void TQuiz::showWindow()
{
    // Centred on the main window, a little up and left of the middle.
    if (QWidget* host = parentWidget()) {
        const QRect r(QPoint(0, 0), size());
        QRect placed = r;
        placed.moveCenter(host->rect().center());
        move(std::max(0, placed.left() - 2), std::max(0, placed.top() - 36));
    }
    showModeless();
    raise();
    setFocus();
}

void TQuiz::hideWindow()
{
    done(0);
    hide();
}

void TQuiz::showCover(bool shown)
{
    m_over->setVisible(shown);
    if (shown)
        m_over->raise();
}

void TQuiz::showStatement(const QString& text, const QColor& colour)
{
    m_statement->setStatement(text, colour);
}

void TQuiz::showPicture(const QString& path)
{
    const std::optional<QImage> image = path.isEmpty() ? std::nullopt : loadKxbFile(path);
    m_picture->setPicture(image.value_or(QImage()));
}

void TQuiz::showCaption(const Caption& caption)
{
    m_shownCaption = caption.text;
    m_caption->setVisible(caption.shown);
    if (!m_caption->hasFocus() || m_caption->isReadOnly())
        m_caption->setText(caption.text);
    QFont font(caption.family);
    font.setPixelSize(17);
    font.setBold(true);
    m_caption->setFont(font);
    colourLabel(m_caption, caption.background, caption.foreground);
}

void TQuiz::showInfo(const QString& text)
{
    m_info->setText(text);
}

void TQuiz::setCaptionEditable(bool editable)
{
    m_caption->setReadOnly(!editable);
    m_caption->setFocusPolicy(editable ? Qt::ClickFocus : Qt::NoFocus);
    m_caption->setCursor(editable ? Qt::IBeamCursor : Qt::PointingHandCursor);
}

void TQuiz::refreshGrid()
{
    m_grid->update();
}

void TQuiz::showGroups(bool shown, const QString& groups)
{
    m_groupPanel->setVisible(shown);
    const std::array<GroupMark, 7> marks = groupMarks(groups);
    for (int i = 0; i < 7; ++i) {
        QPalette p = m_groups[i]->palette();
        p.setColor(QPalette::WindowText, marks[static_cast<std::size_t>(i)].colour);
        m_groups[i]->setPalette(p);
    }
}

void TQuiz::showGauge(const GaugeLook& look)
{
    m_gauge->setLook(look);
}

void TQuiz::setFilmEnabled(bool enabled)
{
    m_film->setEnabled(enabled);
}

void TQuiz::wait(double seconds)
{
    QEventLoop loop;
    QTimer::singleShot(static_cast<int>(seconds * 1000), &loop, &QEventLoop::quit);
    loop.exec();
}

void TQuiz::storeCaption()
{
    if (!m_session || m_caption->isReadOnly())
        return;
    if (m_caption->text().trimmed() != m_shownCaption)
        m_session->editCaption(m_caption->text());
}

void TQuiz::attachSpeech(QuizSpeech* speech)
{
    m_speech = speech;
    if (!m_speech)
        return;
    QuizAudio& audio = m_speech->audio();
    connect(&audio, &QuizAudio::buttonPlaying, this, [this](AudioButton button, bool playing) {
        if (button == AudioButton::Statement)
            showAudioPlaying(playing);
    });
}

QMenu* TQuiz::languageMenu()
{
    auto* menu = new QMenu(this);
    if (!m_speech)
        return menu;
    QuizAudio& audio = m_speech->audio();
    const LanguageMenu model = audio.menu();
    auto* group = new QActionGroup(menu);
    for (const LanguageMenuItem& item : model.languages) {
        QAction* a = menu->addAction(item.caption);
        a->setCheckable(true);
        a->setChecked(item.checked);
        a->setEnabled(item.enabled);
        group->addAction(a);
        const int tag = item.tag;
        connect(a, &QAction::triggered, this, [this, tag] {
            if (m_speech)
                m_speech->audio().chooseLanguage(tag);
        });
    }
    menu->addSeparator();
    const auto toggle = [&](const QString& text, bool on, void (QuizAudio::*slot)()) {
        QAction* a = menu->addAction(text);
        a->setCheckable(true);
        a->setChecked(on);
        connect(a, &QAction::triggered, this, [this, slot] {
            if (m_speech)
                (m_speech->audio().*slot)();
        });
    };
    toggle(QStringLiteral("Ricorda"), model.ricorda, &QuizAudio::toggleRicorda);
    toggle(QStringLiteral("Autoplay"), model.autoplay, &QuizAudio::toggleAutoplay);
    if (model.hasTestoInLingua)
        toggle(QStringLiteral("Testo in lingua"), model.testoInLingua, &QuizAudio::toggleTestoInLingua);
    return menu;
}

void TQuiz::showAudioPlaying(bool playing)
{
    m_audioPlaying = playing;
    m_audio->setText(playing ? QString::fromUtf8("\u266B") : QString::fromUtf8("\u266A"));
    QPalette p = palette();
    if (playing) {
        p.setColor(QPalette::Button, QColor(0, 128, 0));
        p.setColor(QPalette::ButtonText, Qt::white);
    }
    m_audio->setPalette(p);
}

void TQuiz::setAudioEnabled(bool enabled)
{
    m_audio->setEnabled(enabled);
}

bool TQuiz::eventFilter(QObject* watched, QEvent* event)
{
    // Any press on the audio button makes it the one a language choice
    // plays for.
    if (watched == m_audio && m_speech && event->type() == QEvent::MouseButtonPress) {
        m_speech->audio().setLastButton(AudioButton::Statement);
        if (static_cast<QMouseEvent*>(event)->button() == Qt::RightButton)
            return true;
    }
    // The pop-up opens when the right button is let go: opened on the press,
    // it would take the release, and the presentation would go on sending
    // the next clicks to this button.
    if (watched == m_audio && m_speech && event->type() == QEvent::MouseButtonRelease) {
        const auto* release = static_cast<QMouseEvent*>(event);
        if (release->button() == Qt::RightButton) {
            if (m_audio->isEnabled() && m_audio->rect().contains(release->position().toPoint())) {
                QMenu* menu = languageMenu();
                menu->setAttribute(Qt::WA_DeleteOnClose);
                menu->popup(m_audio->mapToGlobal(release->position().toPoint()));
            }
            return true;
        }
    }
    if (watched == m_caption && event->type() == QEvent::MouseButtonPress) {
        if (m_caption->isReadOnly() && m_session) {
            m_session->toggleCaption();
            return true;
        }
    }
    return OverlayWindow::eventFilter(watched, event);
}

void TQuiz::keyPressEvent(QKeyEvent* event)
{
    // Keys act on release; the press is taken so it goes nowhere else.
    event->accept();
}

void TQuiz::keyReleaseEvent(QKeyEvent* event)
{
    if (event->isAutoRepeat() || (m_caption->hasFocus() && !m_caption->isReadOnly()))
        return;
    if (!m_session || !m_session->key(event->key(), event->modifiers()))
        Q_EMIT keyPassed(event->key(), event->modifiers());
    m_grid->update();
    m_vf->setChecked(m_session && m_session->ModoVF());
}

}  // namespace ziro
