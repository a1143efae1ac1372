#include "authoring/select_window.h"

#include "authoring/custom_lessons.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace ziro {

namespace {

// 371 x 358, centred on the main window, then 32 up and 102 to the left.
constexpr int kWidth = 371;
constexpr int kHeight = 358;
const QRect kGeometry((640 - kWidth) / 2 - 102, (480 - kHeight) / 2 - 32, kWidth, kHeight);

}  // namespace

TSelect::TSelect(QWidget* host) : OverlayWindow(host, QStringLiteral("TSelect"), kGeometry)
{
    setWindowTitle(QString::fromUtf8("Lezioni personalizzate"));
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);
    setLineWidth(2);
    setAutoFillBackground(true);

    titolo = new QLabel(QStringLiteral("Lezione Personalizzata"), this);
    titolo->setObjectName(QStringLiteral("titolo"));
    titolo->setAlignment(Qt::AlignCenter);
    titolo->setStyleSheet(QStringLiteral("background:#000080;color:white;font-weight:bold;padding:4px;"));

    ListaDB = new QListWidget(this);
    ListaDB->setObjectName(QStringLiteral("ListaDB"));
    ListaDB->setToolTip(QStringLiteral("Lista delle lezioni disponibili"));

    const auto button = [this](const char* name, const char* caption) {
        auto* b = new QPushButton(QString::fromUtf8(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        return b;
    };
    SBNuova = button("SBNuova", "&Nuova");
    SBCopia = button("SBCopia", "&Copia");
    SBModifica = button("SBModifica", "&Modifica");
    SBRinomina = button("SBRinomina", "&Rinomina");
    SBCancella = button("SBCancella", "&Cancella");
    SBOk = button("SBOk", "&Ok");
    SBAnnulla = button("SBAnnulla", "&Chiudi");

    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {SBNuova, SBCopia, SBModifica, SBRinomina, SBCancella})
        buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(SBOk);
    buttons->addWidget(SBAnnulla);

    auto* body = new QGridLayout;
    body->addWidget(ListaDB, 0, 0);
    body->addLayout(buttons, 0, 1);
    body->setColumnStretch(0, 1);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(4, 4, 4, 4);
    outer->addWidget(titolo);
    outer->addLayout(body, 1);

    connect(ListaDB, &QListWidget::currentRowChanged, this, [this](int row) {
        if (m_lessons && row >= 0) {
            m_lessons->select(row);
            setButtons();
        }
    });
    connect(ListaDB, &QListWidget::itemDoubleClicked, this, [this] { okClicked(); });
    connect(SBOk, &QPushButton::clicked, this, &TSelect::okClicked);
    connect(SBAnnulla, &QPushButton::clicked, this, [this] {
        if (m_lessons)
            m_lessons->close();
        done(0);
    });
    connect(SBNuova, &QPushButton::clicked, this, [this] { run(&CustomLessons::nuova); });
    connect(SBCopia, &QPushButton::clicked, this, [this] { run(&CustomLessons::copia); });
    connect(SBModifica, &QPushButton::clicked, this, [this] { run(&CustomLessons::modifica); });
    connect(SBRinomina, &QPushButton::clicked, this, [this] { run(&CustomLessons::rinomina); });
    connect(SBCancella, &QPushButton::clicked, this, [this] { run(&CustomLessons::cancella); });
}

void TSelect::showList()
{
    fill();
    showModeless();
    raise();
    // Focusing the list would make its first row current: with no lesson
    // chosen the keyboard waits on "Chiudi".
    if (m_lessons && m_lessons->currentRow() >= 0)
        ListaDB->setFocus();
    else
        SBAnnulla->setFocus();
}

void TSelect::fill()
{
    const QSignalBlocker block(ListaDB);
    ListaDB->clear();
    if (!m_lessons)
        return;
    m_lessons->refresh();
    for (const LessonEntry& e : m_lessons->entries())
        ListaDB->addItem(e.display);
    ListaDB->setCurrentRow(m_lessons->currentRow());
    setButtons();
}

void TSelect::setButtons()
{
    const int on = m_lessons ? m_lessons->enabledActions() : 0;
    SBNuova->setEnabled(on & CustomLessons::Nuova);
    SBCopia->setEnabled(on & CustomLessons::Copia);
    SBModifica->setEnabled(on & CustomLessons::Modifica);
    SBRinomina->setEnabled(on & CustomLessons::Rinomina);
    SBCancella->setEnabled(on & CustomLessons::Cancella);
    SBOk->setEnabled(on & CustomLessons::Ok);
    SBAnnulla->setEnabled(on & CustomLessons::Chiudi);
    if (!(on & CustomLessons::Ok))
        SBAnnulla->setFocus();
}

void TSelect::run(void (CustomLessons::*action)())
{
    if (!m_lessons)
        return;
    (m_lessons->*action)();
    if (isVisible())
        fill();
}

void TSelect::okClicked()
{
    if (!m_lessons || m_lessons->currentRow() < 0)
        return;
    done(1);
    // A lesson that cannot be presented brings the list back.
    if (!m_lessons->ok())
        showList();
}

void TSelect::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        okClicked();
        return;
    }
    if (event->key() == Qt::Key_Escape) {
        SBAnnulla->click();
        return;
    }
    OverlayWindow::keyPressEvent(event);
}

}  // namespace ziro
