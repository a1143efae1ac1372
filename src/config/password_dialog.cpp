#include "config/password_dialog.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace ziro {

namespace {
constexpr QRect kGeometry(170, 180, 300, 120);
}

TPasswordDlg::TPasswordDlg(QWidget* host)
    : OverlayWindow(host, QStringLiteral("TPasswordDlg"), kGeometry)
{
    setWindowTitle(QString::fromUtf8("Pagina riservata"));
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);
    auto* caption = new QLabel(QStringLiteral("Pagina riservata"), this);
    caption->setGeometry(8, 4, 284, 18);
    QFont bold = caption->font();
    bold.setBold(true);
    caption->setFont(bold);
    auto* label = new QLabel(QStringLiteral("Inserisci la password:"), this);
    label->setGeometry(60, 26, 200, 18);
    Password = new QLineEdit(this);
    Password->setObjectName(QStringLiteral("Password"));
    Password->setEchoMode(QLineEdit::Password);
    Password->setGeometry(60, 46, 180, 22);
    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    OKBtn->setGeometry(70, 82, 75, 25);
    CancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    CancelBtn->setGeometry(155, 82, 75, 25);
    CancelBtn->setShortcut(Qt::Key_Escape);
    // Drawn like nothing at all: only a double click finds it.
    bypass = new QWidget(this);
    bypass->setObjectName(QStringLiteral("bypass"));
    bypass->setGeometry(0, height() - 41, 49, 41);
    bypass->installEventFilter(this);
    connect(OKBtn, &QPushButton::clicked, this, &TPasswordDlg::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &TPasswordDlg::CancelBtnClick);
    // Return confirms here and goes no further: a key the edit leaves
    // unused travels on and would come back as a second, empty answer.
    Password->installEventFilter(this);
}

std::optional<AccessWord> TPasswordDlg::ask()
{
    m_outcome.reset();
    m_answered = false;
    Password->clear();
    // The run gives the focus to the dialog itself; the typing belongs in
    // the edit.
    QTimer::singleShot(0, Password, [this] { Password->setFocus(Qt::OtherFocusReason); });
    execModal();
    Password->clear();
    return m_outcome;
}

void TPasswordDlg::OKBtnClick()
{
    if (m_answered)
        return;
    m_answered = true;
    m_outcome = checkAccessWord(Password->text());
    Password->clear();
    done(1);
}

void TPasswordDlg::CancelBtnClick()
{
    if (m_answered)
        return;
    m_answered = true;
    m_outcome.reset();
    Password->clear();
    done(0);
}

void TPasswordDlg::bypassDblClick()
{
    Password->setText(QStringLiteral("zu"));
    OKBtnClick();
}

bool TPasswordDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Password && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            OKBtnClick();
            return true;
        }
    }
    if (watched == bypass && event->type() == QEvent::MouseButtonDblClick) {
        bypassDblClick();
        return true;
    }
    return OverlayWindow::eventFilter(watched, event);
}

}  // namespace ziro
