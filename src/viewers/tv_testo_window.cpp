#include "viewers/tv_testo_window.h"

#include "viewers/note_viewer.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>

namespace ziro {

namespace {

constexpr QSize kSize{498, 223};
const QColor kNavy(0, 0, 128);

QFont arial(int pixels, bool italic = false)
{
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(pixels);
    f.setBold(true);
    f.setItalic(italic);
    return f;
}

// The bottom strip with its engraved title "Note".
class NoteTitle : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), QColor(192, 192, 192));
        p.setFont(arial(22, true));
        const struct {
            int x;
            QColor colour;
        } passes[] = {{9, QColor(128, 128, 128)}, {11, Qt::white}, {10, QColor(192, 192, 192)}};
        for (const auto& pass : passes) {
            p.setPen(pass.colour);
            p.drawText(QRect(pass.x, 0, 120, height()), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("Note"));
        }
    }
};

}  // namespace

TTVtesto::TTVtesto(QWidget* host)
    : OverlayWindow(host, QStringLiteral("TTVtesto"), QRect(QPoint(71, 95), kSize))
{
    setWindowTitle(QString::fromUtf8("Note"));
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setFocusPolicy(Qt::StrongFocus);

    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("ScrollBox1"));
    m_scroll->setGeometry(2, 2, kSize.width() - 4, 187);
    m_scroll->setFrameStyle(QFrame::NoFrame);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setWidgetResizable(true);
    QPalette silver = m_scroll->palette();
    silver.setColor(QPalette::Window, QColor(192, 192, 192));
    m_scroll->setPalette(silver);

    m_label = new QLabel;
    m_label->setObjectName(QStringLiteral("Testo"));
    m_label->setFont(arial(21));
    m_label->setWordWrap(true);
    m_label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_label->setMargin(6);
    m_label->setToolTip(QStringLiteral("Area note / doppio click per inserire eo correggere"));
    QPalette navy = m_label->palette();
    navy.setColor(QPalette::WindowText, kNavy);
    navy.setColor(QPalette::Window, Qt::white);
    m_label->setPalette(navy);
    m_label->setAutoFillBackground(true);
    m_label->installEventFilter(this);
    m_scroll->setWidget(m_label);

    m_box = new QPlainTextEdit(this);
    m_box->setObjectName(QStringLiteral("Box"));
    m_box->setToolTip(QStringLiteral("Area note"));
    m_box->setFont(arial(19));
    m_box->setGeometry(8, 30, kSize.width() - 16, 119);
    m_box->setTabChangesFocus(true);
    m_box->installEventFilter(this);
    m_box->hide();
    connect(m_box, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_editor || !m_editor->editing())
            return;
        const QString typed = m_box->toPlainText();
        const QString kept = m_editor->setDraft(typed);
        if (kept != typed) {
            // The box holds so many characters and no more.
            const QSignalBlocker block(m_box);
            m_box->setPlainText(kept);
            m_box->moveCursor(QTextCursor::End);
            Q_EMIT beepRequested();
        }
    });

    m_avviso = new QLabel(QStringLiteral("Modo Inserimento/correzione"), this);
    m_avviso->setObjectName(QStringLiteral("Avviso"));
    m_avviso->setFont(arial(15, true));
    QPalette grey = m_avviso->palette();
    grey.setColor(QPalette::WindowText, QColor(128, 128, 128));
    m_avviso->setPalette(grey);
    m_avviso->setGeometry(10, 6, 300, 20);
    m_avviso->hide();

    auto* bottom = new NoteTitle(this);
    bottom->setObjectName(QStringLiteral("Panel2"));
    bottom->setGeometry(2, 189, kSize.width() - 4, 32);

    m_ok = new QLabel(QStringLiteral("Ok"), bottom);
    m_ok->setObjectName(QStringLiteral("Ok"));
    m_ok->setToolTip(QStringLiteral("Conferma / uscita"));
    m_ok->setFont(arial(18));
    m_ok->setGeometry(bottom->width() - 130, 4, 40, 24);
    m_ok->setAlignment(Qt::AlignCenter);
    m_ok->setCursor(Qt::PointingHandCursor);
    m_ok->installEventFilter(this);

    m_okButton = new QPushButton(QStringLiteral("&Ok"), bottom);
    m_okButton->setObjectName(QStringLiteral("BitBtn1"));
    m_okButton->setToolTip(QStringLiteral("Uscita"));
    m_okButton->setGeometry(bottom->width() - 82, 3, 76, 26);
    m_okButton->setFocusPolicy(Qt::NoFocus);
    connect(m_okButton, &QPushButton::clicked, this, &TTVtesto::OkClick);
}

void TTVtesto::showNote(bool hints)
{
    if (!m_editor)
        return;
    m_editor->show();
    for (QWidget* w : {static_cast<QWidget*>(m_label), static_cast<QWidget*>(m_box), static_cast<QWidget*>(m_ok),
                       static_cast<QWidget*>(m_okButton)})
        w->setToolTipDuration(hints ? -1 : 0);
    if (const QWidget* main = parentWidget())
        move((main->width() - width()) / 2, (main->height() - height()) / 2 - 33);
    refresh();
    setFocus(Qt::OtherFocusReason);
    execModal();
}

void TTVtesto::refresh()
{
    const bool editing = m_editor && m_editor->editing();
    m_avviso->setVisible(editing);
    m_box->setVisible(editing);
    m_label->setText(m_editor ? m_editor->label() : QString());
    if (editing) {
        const QSignalBlocker block(m_box);
        if (m_box->toPlainText() != m_editor->draft())
            m_box->setPlainText(m_editor->draft());
        m_box->moveCursor(QTextCursor::End);
        m_box->setFocus(Qt::OtherFocusReason);
    }
}

void TTVtesto::startEditing()
{
    if (!m_editor)
        return;
    if (!m_editor->startEditing()) {
        Q_EMIT beepRequested();
        return;
    }
    refresh();
}

void TTVtesto::OkClick()
{
    if (!m_editor)
        return;
    switch (m_editor->OkClick()) {
    case NoteEditor::Ok::Stored:
        refresh();
        setFocus(Qt::OtherFocusReason);
        break;
    case NoteEditor::Ok::Failed:
        // Reported; the correction stays in the box.
        break;
    case NoteEditor::Ok::Close:
        done(0);
        Q_EMIT closedNote();
        break;
    }
}

bool TTVtesto::eventFilter(QObject* watched, QEvent* event)
{
    // Presses are taken, or inside the presentation the double-click
    // never reaches the note.
    if (watched == m_label && event->type() == QEvent::MouseButtonPress)
        return true;
    if (watched == m_label && event->type() == QEvent::MouseButtonDblClick) {
        startEditing();
        return true;
    }
    if (watched == m_ok && event->type() == QEvent::MouseButtonRelease) {
        OkClick();
        return true;
    }
    if (watched == m_ok && event->type() == QEvent::MouseButtonPress)
        return true;
    if (watched == m_box && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape)
            return true;  // the release stores the correction
    }
    if (watched == m_box && event->type() == QEvent::KeyRelease) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape && !key->isAutoRepeat()) {
            OkClick();
            return true;
        }
        // Keys typed into the note stay there: nothing moves the lesson
        // under a correction.
        return true;
    }
    return OverlayWindow::eventFilter(watched, event);
}

void TTVtesto::keyPressEvent(QKeyEvent* event)
{
    // Keys act on their release.
    event->accept();
}

void TTVtesto::keyReleaseEvent(QKeyEvent* event)
{
    event->accept();
    if (event->isAutoRepeat())
        return;
    if (event->key() == Qt::Key_Escape) {
        OkClick();
        return;
    }
    if (!m_editor || !m_editor->editing())
        Q_EMIT keyPassed(event->key(), event->modifiers());
}

void TTVtesto::hideEvent(QHideEvent* event)
{
    // Whatever closes the window, a correction under way is stored first.
    if (m_editor && m_editor->editing())
        m_editor->OkClick();
    OverlayWindow::hideEvent(event);
}

}  // namespace ziro
