#include "menus/in_text_dialog.h"

#include "menus/text_input.h"
#include "platform/system/system_services.h"

#include <QApplication>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace ziro {

namespace {

constexpr int kWidth = 490;
constexpr int kHeight = 80;

}  // namespace

TInText::TInText(QWidget* host, SystemServices& system)
    : OverlayWindow(host, QStringLiteral("TInText"), QRect(75, 200, kWidth, kHeight)),
      m_system(system)
{
    setWindowTitle(QStringLiteral("Ziro"));
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);
    setLineWidth(2);

    m_caption = new QLabel(windowTitle(), this);
    m_caption->setObjectName(QStringLiteral("Caption"));
    m_caption->setAutoFillBackground(true);
    m_caption->setStyleSheet(QStringLiteral("background:#000080;color:white;padding:0px 4px;"));

    m_prompt = new QLabel(this);
    m_prompt->setObjectName(QStringLiteral("Testo"));

    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("EditIn"));
    // Typing stops one past the kept length (acceptNameKey); a paste gets the
    // same bound, and OK cuts the answer back to kNameLength.
    m_edit->setMaxLength(kNameLength + 1);
    m_edit->installEventFilter(this);
    setFocusProxy(m_edit);

    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("BtOK"));
    m_ok->setDefault(true);
    m_ok->setFocusPolicy(Qt::NoFocus);
    m_cancel = new QPushButton(QStringLiteral("Annulla"), this);
    m_cancel->setObjectName(QStringLiteral("Eski"));
    m_cancel->setFocusPolicy(Qt::NoFocus);

    auto* body = new QGridLayout;
    body->setContentsMargins(6, 2, 6, 4);
    body->setHorizontalSpacing(8);
    body->setVerticalSpacing(2);
    body->addWidget(m_prompt, 0, 0);
    body->addWidget(m_edit, 1, 0);
    body->addWidget(m_ok, 0, 1);
    body->addWidget(m_cancel, 1, 1);
    body->setColumnStretch(0, 1);

    auto* outer = new QVBoxLayout(this);
    outer->setSizeConstraint(QLayout::SetNoConstraint);
    outer->setContentsMargins(2, 2, 2, 2);
    outer->setSpacing(0);
    outer->addWidget(m_caption);
    outer->addLayout(body, 1);

    connect(m_ok, &QPushButton::clicked, this, &TInText::okClicked);
    connect(m_cancel, &QPushButton::clicked, this, [this] {
        m_answer.clear();
        done(0);
    });
}

void TInText::placeOverMain()
{
    if (QWidget* host = parentWidget())
        move((host->width() - width()) / 2, (host->height() - height()) / 2);
}

QString TInText::kxQuery(const QString& titolo, const QString& messaggio,
                         const QString& returnText)
{
    setWindowTitle(titolo);
    return ask(messaggio, returnText);
}

QString TInText::ask(const QString& prompt, const QString& initial)
{
    if (isModalRunning())
        return QString();  // one question at a time
    m_caption->setText(windowTitle());
    m_prompt->setText(prompt);
    m_edit->setText(initial);
    m_edit->selectAll();
    m_answer.clear();
    placeOverMain();
    execModal();
    return m_answer;
}

void TInText::okClicked()
{
    const NameCheck check = confirmName(m_edit->text());
    switch (check.verdict) {
    case NameVerdict::Refused:
        m_system.beep();
        return;  // stays open for a correction
    case NameVerdict::Empty:
        m_answer.clear();
        break;
    case NameVerdict::Accepted:
        m_answer = check.name;
        m_edit->clear();
        break;
    }
    done(1);
}

void TInText::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        m_answer.clear();
        done(0);
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        okClicked();
        return;
    }
    OverlayWindow::keyPressEvent(event);
}

bool TInText::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_edit && event->type() == QEvent::KeyPress) {
        auto* ke = static_cast<QKeyEvent*>(event);
        if (ke->key() == Qt::Key_Return || ke->key() == Qt::Key_Enter) {
            okClicked();  // OK is the default button
            return true;
        }
        if (ke->key() == Qt::Key_Escape) {
            m_answer.clear();
            done(0);
            return true;
        }
        const QString typed = ke->text();
        // Only characters are filtered: navigation and editing keys carry no
        // printable text and keep working. Replacing a selection frees its
        // room first.
        if (!typed.isEmpty() && typed.at(0).isPrint()) {
            const int length =
                static_cast<int>(m_edit->text().size() - m_edit->selectedText().size());
            for (QChar c : typed)
                if (!acceptNameKey(c, length)) {
                    m_system.beep();
                    return true;
                }
        }
    }
    return OverlayWindow::eventFilter(watched, event);
}

}  // namespace ziro
