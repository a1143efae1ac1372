#include "authoring/accessi_window.h"

#include "authoring/accesses.h"
#include "base/reports.h"
#include "menus/in_text_dialog.h"
#include "platform/system/system_services.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace ziro {

namespace {

constexpr int kWidth = 330;
constexpr int kChoiceHeight = 123;
constexpr int kManagementHeight = 255;

}  // namespace

TAccessi::TAccessi(QWidget* host)
    : OverlayWindow(host, QStringLiteral("TAccessi"),
                    QRect((640 - kWidth) / 2, (480 - kChoiceHeight) / 2, kWidth, kChoiceHeight))
{
    setWindowTitle(QString::fromUtf8("Accesso personalizzato a più insegnanti"));
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);
    setLineWidth(2);
    setAutoFillBackground(true);

    auto* caption = new QLabel(windowTitle(), this);
    caption->setObjectName(QStringLiteral("Caption"));
    caption->setGeometry(2, 2, kWidth - 4, 20);
    caption->setStyleSheet(QStringLiteral("background:#000080;color:white;padding:0px 4px;"));

    Bevel1 = new QFrame(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameShape(QFrame::Box);
    Bevel1->setFrameShadow(QFrame::Sunken);

    InfoAccess = new QLabel(QStringLiteral("Nome insegnante"), this);
    InfoAccess->setObjectName(QStringLiteral("InfoAccess"));
    InfoAccess->setGeometry(16, 30, 200, 18);

    CBXInsegnanti = new QComboBox(this);
    CBXInsegnanti->setObjectName(QStringLiteral("CBXInsegnanti"));
    CBXInsegnanti->setGeometry(16, 50, 200, 24);

    LBInsegnanti = new QListWidget(this);
    LBInsegnanti->setObjectName(QStringLiteral("LBInsegnanti"));
    LBInsegnanti->setGeometry(16, 50, 200, 174);

    const auto button = [this](const char* name, const char* caption) {
        auto* b = new QPushButton(QString::fromUtf8(caption).trimmed(), this);
        b->setObjectName(QString::fromLatin1(name));
        return b;
    };
    BtOK = button("BtOK", "OK");
    BTinserisci = button("BTinserisci", "     &Inserisci");
    BTrinomina = button("BTrinomina", "    &Rinomina");
    BTcancella = button("BTcancella", "     &Cancella");
    BtRipristina = button("BtRipristina", "    Ripristin&a");

    connect(BtOK, &QPushButton::clicked, this, &TAccessi::okClicked);
    connect(BTinserisci, &QPushButton::clicked, this, &TAccessi::insertClicked);
    connect(BTrinomina, &QPushButton::clicked, this, &TAccessi::renameClicked);
    connect(BTcancella, &QPushButton::clicked, this, &TAccessi::deleteClicked);
    connect(BtRipristina, &QPushButton::clicked, this, &TAccessi::rebuildClicked);
    connect(LBInsegnanti, &QListWidget::currentRowChanged, this, [this] { setButtons(); });
    setAccessMode(false);
}

void TAccessi::attach(AccessList* list, TInText* names, Reports* reports, SystemServices* system)
{
    m_list = list;
    m_names = names;
    m_reports = reports;
    m_system = system;
}

void TAccessi::setAccessMode(bool management)
{
    m_management = management;
    const int height = management ? kManagementHeight : kChoiceHeight;
    setGeometry((640 - kWidth) / 2, (480 - height) / 2, kWidth, height);
    Bevel1->setGeometry(8, 26, kWidth - 16, management ? 213 : 80);
    CBXInsegnanti->setVisible(!management);
    LBInsegnanti->setVisible(management);
    // The arrow keys pick a name as soon as the window is up.
    setFocusProxy(management ? static_cast<QWidget*>(LBInsegnanti) : CBXInsegnanti);
    for (QPushButton* b : {BTinserisci, BTrinomina, BTcancella, BtRipristina})
        b->setVisible(management);
    if (management) {
        int y = 50;
        for (QPushButton* b : {BTinserisci, BTrinomina, BTcancella, BtRipristina}) {
            b->setGeometry(228, y, 88, 26);
            y += 32;
        }
        BtOK->setGeometry(228, 198, 88, 26);
    } else {
        BtOK->setGeometry(228, 49, 88, 26);
    }
}

void TAccessi::CaricaAccessi()
{
    const QSignalBlocker b1(CBXInsegnanti);
    const QSignalBlocker b2(LBInsegnanti);
    CBXInsegnanti->clear();
    LBInsegnanti->clear();
    CBXInsegnanti->addItem(kGenericAccess);
    if (m_list) {
        m_list->load();
        const QStringList names = m_list->names();
        CBXInsegnanti->addItems(names);
        LBInsegnanti->addItems(names);
        CBXInsegnanti->setMaxVisibleItems(std::max(1, int(names.size()) + 1));
    }
    CBXInsegnanti->setCurrentIndex(0);
    setButtons();
}

void TAccessi::execChoice()
{
    setAccessMode(false);
    CaricaAccessi();
    m_chosen = false;
    // The presentation can hide its windows for a moment while it settles
    // at start, which ends a modal run; the question stands until answered.
    for (int tries = 0; tries < 5 && !m_chosen; ++tries) {
        execModal();
    }
}

int TAccessi::selectedRow() const
{
    if (m_management)
        return LBInsegnanti->currentRow();
    return CBXInsegnanti->currentIndex() - 1;
}

void TAccessi::selectRow(int row)
{
    LBInsegnanti->setCurrentRow(row);
    CBXInsegnanti->setCurrentIndex(row + 1);
}

void TAccessi::setButtons()
{
    const int count = m_list ? m_list->teacherCount() : 0;
    BTinserisci->setEnabled(count < kMaxTeachers);
    BTcancella->setEnabled(count > 0 && LBInsegnanti->currentRow() >= 0);
    BTrinomina->setEnabled(LBInsegnanti->currentRow() >= 0);
}

void TAccessi::okClicked()
{
    // The access is chosen once, at start; managing the list leaves it.
    if (m_list && !m_management)
        m_list->choose(selectedRow());
    m_chosen = true;
    done(1);
}

QString TAccessi::askTeacher(const QString& title, const QString& prompt, const QString& initial, int exceptRow)
{
    if (!m_names || !m_list)
        return {};
    QString name = m_names->kxQuery(title, prompt, initial);
    while (!name.isEmpty() && m_list->teacherNameProblem(name, exceptRow) != NameProblem::None) {
        if (m_system)
            m_system->beep();
        name = m_names->kxQuery(QString::fromUtf8("Nominativo errato o già esistente"),
                                QStringLiteral("Digitarne un'altro diverso"));
    }
    return name;
}

void TAccessi::insertClicked()
{
    const QString name = askTeacher(QStringLiteral("Inserimento nuovo accesso insegnante"),
                                    QStringLiteral("Digitare il nominativo"), QStringLiteral("Nuovo insegnante"), -1);
    if (name.isEmpty() || !m_list->insert(name))
        return;
    CaricaAccessi();
    selectRow(m_list->teacherCount() - 1);
    setButtons();
}

void TAccessi::renameClicked()
{
    const int row = LBInsegnanti->currentRow();
    if (row < 0 || !m_list)
        return;
    const QString name = askTeacher(QStringLiteral("Rinomina accesso insegnante"),
                                    QStringLiteral("Digitare il nuovo nominativo"), QStringLiteral("Nuovo insegnante"), row);
    if (name.isEmpty() || !m_list->rename(row, name))
        return;
    CaricaAccessi();
    selectRow(row);
    setButtons();
}

void TAccessi::deleteClicked()
{
    const int row = LBInsegnanti->currentRow();
    if (row < 0 || !m_list || !m_reports)
        return;
    if (!m_reports->Conferma(QStringLiteral("Eliminare l'accesso selezionato?"), QStringLiteral("Premere OK per procedere")))
        return;
    m_list->remove(row);
    CaricaAccessi();
    selectRow(m_list->teacherCount() - 1);
    setButtons();
}

void TAccessi::rebuildClicked()
{
    if (!m_list || !m_reports)
        return;
    if (!m_reports->Conferma(QStringLiteral("Ripristino lista insegnanti."),
                             QStringLiteral("I punti di uscita saranno cancellati. Procedere?")))
        return;
    m_list->rebuild();
    CaricaAccessi();
}

void TAccessi::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        okClicked();
        return;
    }
    OverlayWindow::keyPressEvent(event);
}

}  // namespace ziro
