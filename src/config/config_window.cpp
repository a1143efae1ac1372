#include "config/config_window.h"

#include "base/attesa.h"
#include "base/globals.h"
#include "config/password_dialog.h"
#include "config/picker_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <numeric>

namespace ziro {

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
const QString kCredits = QStringLiteral("Ziro - lezioni di teoria in aula  Programma e grafica di Studio Ziro");

QGroupBox* group(const QString& title, QWidget* parent)
{
    auto* box = new QGroupBox(title, parent);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(6, 2, 6, 4);
    layout->setSpacing(1);
    return box;
}

QHBoxLayout* row(QWidget* box)
{
    auto* r = new QHBoxLayout;
    r->setSpacing(4);
    static_cast<QBoxLayout*>(box->layout())->addLayout(r);
    return r;
}

QLineEdit* edit(QWidget* parent, const char* name)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    return e;
}

QPushButton* button(QWidget* parent, const char* name, const QString& text)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

}  // namespace

TConfig::TConfig(QWidget* host)
    : OverlayWindow(host, QStringLiteral("TConfig"), QRect(0, 0, kWidth, kHeight))
{
    setWindowTitle(QString::fromUtf8("Configurazione"));
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);
    QFont small = font();
    small.setPointSizeF(8);
    setFont(small);

    PC = new QTabWidget(this);
    PC->setObjectName(QStringLiteral("PC"));
    PC->setGeometry(2, 2, kWidth - 4, kHeight - 42);
    m_lessonHolder = new QWidget;
    m_lessonHolder->setObjectName(QStringLiteral("TabSheet1"));
    auto* holderLayout = new QVBoxLayout(m_lessonHolder);
    holderLayout->setContentsMargins(0, 0, 0, 0);
    PC->addTab(m_lessonHolder, QStringLiteral(" Lezioni personalizzate "));
    PC->addTab(buildStartPage(), QStringLiteral(" Avvio e Menu "));
    PC->addTab(buildMediaPage(), QStringLiteral("  Multimedia  "));
    PC->addTab(buildReservedPage(), QStringLiteral(" Programma "));
    PC->addTab(buildInfoPage(), QStringLiteral("  Informazioni  "));
    connect(PC, &QTabWidget::currentChanged, this, [this](int index) {
        if (m_syncing || !m_c || index < 0)
            return;
        m_c->pageChosen(ConfigPage(index));
        if (ConfigPage(index) == ConfigPage::Reserved)
            loadMemo(m_c->loadMemo());
        refresh();
    });

    Panel2 = new QLabel(kCredits, this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setFrameShape(QFrame::Panel);
    Panel2->setFrameShadow(QFrame::Sunken);
    Panel2->setGeometry(4, kHeight - 36, 520, 30);
    Panel2->setAlignment(Qt::AlignCenter);
    Panel2->installEventFilter(this);
    KeyIndex = new QLabel(this);
    KeyIndex->setObjectName(QStringLiteral("KeyIndex"));
    KeyIndex->setGeometry(4, kHeight - 36, 450, 30);
    KeyIndex->setAutoFillBackground(true);
    KeyIndex->hide();
    OK = button(this, "OK", QStringLiteral("&OK"));
    OK->setToolTip(QStringLiteral("Conferma"));
    OK->setGeometry(kWidth - 108, kHeight - 37, 100, 32);
    connect(OK, &QPushButton::clicked, this, &TConfig::OKClick);

    m_password = new TPasswordDlg(host);

    m_wait = new OverlayWindow(host, QStringLiteral("TWaitModule"), QRect(170, 200, 300, 80));
    m_wait->setFrameShape(QFrame::Panel);
    m_wait->setFrameShadow(QFrame::Raised);
    auto* waitLayout = new QVBoxLayout(m_wait);
    waitLayout->addWidget(new QLabel(QStringLiteral("Modulo esterno in esecuzione, attendere..."), m_wait));
    auto* bar = new QProgressBar(m_wait);
    bar->setRange(0, 0);
    waitLayout->addWidget(bar);
}

TConfig::~TConfig()
{
    if (m_module)
        m_module->kill();
}

QCheckBox* TConfig::option(QWidget* parent, const char* name, const QString& text, SettingId id)
{
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(QString::fromLatin1(name));
    m_options[id] = box;
    connect(box, &QCheckBox::clicked, this, [this, id](bool on) {
        if (!m_c)
            return;
        m_c->setOption(id, on);
        refresh();
    });
    return box;
}

QCheckBox* TConfig::check(SettingId id) const
{
    const auto it = m_options.find(id);
    return it == m_options.end() ? nullptr : it->second;
}

QWidget* TConfig::buildStartPage()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet2"));
    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->setSpacing(4);

    QGroupBox* avvio = group(QStringLiteral(" AVVIO "), page);
    {
        QHBoxLayout* r = row(avvio);
        r->addWidget(new QLabel(QStringLiteral("Menu"), avvio));
        r->addWidget(option(avvio, "CBonlySegn", QStringLiteral("Solo &Segnali"), SettingId::CBonlySegn));
        r->addWidget(option(avvio, "CBonlyDom", QStringLiteral("Solo &Domande"), SettingId::CBonlyDom));
        avvio->layout()->addWidget(option(avvio, "CBJumpMark2",
                                          QStringLiteral("Abilita il salvataggio e il &Recupero del punto di uscita"),
                                          SettingId::CBJumpMark2));
        avvio->layout()->addWidget(new QLabel(QStringLiteral("Risoluzione automatica:"), avvio));
        QHBoxLayout* r2 = row(avvio);
        r2->addSpacing(12);
        r2->addWidget(option(avvio, "CB_Autores", QStringLiteral("Cambio all'&Avvio"), SettingId::CB_Autores));
        r2->addWidget(option(avvio, "CB_Ripristino", QStringLiteral("Ripristino all'&Uscita"),
                             SettingId::CB_Ripristino));
        QHBoxLayout* r3 = row(avvio);
        r3->addWidget(new QLabel(QStringLiteral("Argomenti da"), avvio));
        EFAda = edit(avvio, "EFAda");
        EFAda->setText(QStringLiteral("B00"));
        EFAda->setMaxLength(3);
        EFAa = edit(avvio, "EFAa");
        EFAa->setText(QStringLiteral("H17"));
        EFAa->setMaxLength(3);
        r3->addWidget(EFAda);
        r3->addWidget(new QLabel(QStringLiteral("a"), avvio));
        r3->addWidget(EFAa);
        r3->addStretch();
        const auto range = [this](const QString&) {
            if (m_c)
                m_c->setTopicRange(EFAda->text(), EFAa->text());
        };
        connect(EFAda, &QLineEdit::textEdited, this, range);
        connect(EFAa, &QLineEdit::textEdited, this, range);
        avvio->layout()->addWidget(option(avvio, "CBSubArg", QStringLiteral("&Elimina sottoargomento all'avvio"),
                                          SettingId::CBSubArg));
    }
    grid->addWidget(avvio, 0, 0, 2, 1);

    QGroupBox* icone = group(QStringLiteral(" MENU ICONE "), page);
    {
        iconMenuPosition = new QButtonGroup(icone);
        const std::pair<const char*, QString> radios[] = {
            {"RBInitPos", QStringLiteral("&Posiziona all'inizio")},
            {"RBOldPos", QStringLiteral("&Memorizza ultima selezione")},
            {"RBAutoPos", QStringLiteral("Allinea al segnale &Corrente")}};
        int tag = 1;
        for (const auto& [name, text] : radios) {
            auto* radio = new QRadioButton(text, icone);
            radio->setObjectName(QString::fromLatin1(name));
            iconMenuPosition->addButton(radio, tag++);
            icone->layout()->addWidget(radio);
        }
        iconMenuPosition->button(1)->setChecked(true);
        connect(iconMenuPosition, &QButtonGroup::idClicked, this, [this](int id) {
            if (m_c)
                m_c->setIconMenuPosition(id);
        });
        CheckColorBox = new QCheckBox(QStringLiteral("Colore &Box di selezione"), icone);
        CheckColorBox->setObjectName(QStringLiteral("CheckColorBox"));
        icone->layout()->addWidget(CheckColorBox);
        connect(CheckColorBox, &QCheckBox::clicked, this, [this](bool on) {
            if (!m_c || !on)
                return;
            m_c->chooseSelectorColour(TPickerDialog::chooseColour(this, m_c->config().ColoreSelettore));
            CheckColorBox->setChecked(false);
        });
    }
    grid->addWidget(icone, 0, 1);

    QGroupBox* segnali = group(QStringLiteral(" SEGNALI "), page);
    segnali->layout()->addWidget(option(segnali, "CBicone", QStringLiteral("&Conferma icone"), SettingId::CBicone));
    segnali->layout()->addWidget(
        option(segnali, "CBnoSsD", QStringLiteral("Ignora figure senza &Quiz"), SettingId::CBnoSsD));
    segnali->layout()->addWidget(
        option(segnali, "CBesame", QStringLiteral("Domande in &Ordine misto"), SettingId::CBesame));
    segnali->layout()->addWidget(
        option(segnali, "CBNomeSegnali", QStringLiteral("Abilita &Nome segnali"), SettingId::CBNomeSegnali));
    grid->addWidget(segnali, 1, 1);

    QGroupBox* scuola = group(QStringLiteral(" NOME AUTOSCUOLA "), page);
    ENA = edit(scuola, "ENA");
    ENA->setText(QStringLiteral("Autoscuola"));
    scuola->layout()->addWidget(ENA);
    connect(ENA, &QLineEdit::editingFinished, this, [this] {
        if (m_c && !m_syncing)
            m_c->setSchoolName(ENA->text());
    });
    grid->addWidget(scuola, 2, 0);

    QGroupBox* accesso = group(QStringLiteral(" ACCESSO "), page);
    {
        QHBoxLayout* r = row(accesso);
        InfoLabel = new QLabel(QStringLiteral("Accesso corrente:"), accesso);
        InfoAccess = new QLabel(accesso);
        InfoAccess->setObjectName(QStringLiteral("InfoAccess"));
        r->addWidget(InfoLabel);
        r->addWidget(InfoAccess, 1);
        accesso->layout()->addWidget(option(accesso, "CBAccessoMultiplo",
                                            QStringLiteral("Abilita accesso personalizzato a più &Insegnanti"),
                                            SettingId::CBAccessoMultiplo));
        BtGestAccess = button(accesso, "BtGestAccess", QStringLiteral("&Gestione insegnanti"));
        accesso->layout()->addWidget(BtGestAccess);
        connect(BtGestAccess, &QPushButton::clicked, this, [this] {
            if (m_c)
                m_c->manageAccesses();
        });
    }
    grid->addWidget(accesso, 2, 1, 2, 1);

    auto* other = new QWidget(page);
    auto* otherLayout = new QVBoxLayout(other);
    otherLayout->setContentsMargins(4, 0, 4, 0);
    QCheckBox* velarium = option(other, "CBVelarium", QStringLiteral("Funzioni Lumetra: disattivate"),
                                 SettingId::CBVelarium);
    velarium->setEnabled(false);
    otherLayout->addWidget(velarium);
    otherLayout->addWidget(option(other, "CBhint", QStringLiteral("&E&limina suggerimenti"), SettingId::CBhint));
    Ver1 = new QLabel(other);
    Ver1->setObjectName(QStringLiteral("Ver1"));
    otherLayout->addWidget(Ver1);
    grid->addWidget(other, 3, 0);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 2);
    grid->setRowStretch(4, 1);
    return page;
}

QWidget* TConfig::buildMediaPage()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet3"));
    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->setSpacing(4);

    QGroupBox* video = group(QStringLiteral(" VIDEO  "), page);
    {
        QHBoxLayout* r = row(video);
        auto* sizeLabel = new QLabel(QStringLiteral("Dimensione displa&y"), video);
        r->addWidget(sizeLabel);
        CBVideoSize = new QComboBox(video);
        sizeLabel->setBuddy(CBVideoSize);
        CBVideoSize->setObjectName(QStringLiteral("CBVideoSize"));
        for (const QString& item : videoSizeItems())
            CBVideoSize->addItem(item);
        CBVideoSize->setCurrentIndex(2);
        r->addWidget(CBVideoSize, 1);
        connect(CBVideoSize, &QComboBox::textActivated, this, [this](const QString& text) {
            if (m_c)
                m_c->setVideoSize(text);
        });
        video->layout()->addWidget(option(video, "CBVautoOff", QStringLiteral("Auto chiusura a fine &Riproduzione"),
                                          SettingId::CBVautoOff));
    }
    grid->addWidget(video, 0, 0);

    QGroupBox* audio = group(QStringLiteral("  AUDIO "), page);
    audio->layout()->addWidget(
        option(audio, "CBaudioOn", QStringLiteral("Suoni di &Programma"), SettingId::CBaudioOn));
    audio->layout()->addWidget(
        option(audio, "CBAudioFoto", QStringLiteral("Suono associato alle &Foto"), SettingId::CBAudioFoto));
    grid->addWidget(audio, 1, 0);

    QGroupBox* foto = group(QStringLiteral(" FOTO "), page);
    option(foto, "CBfotoFull", QStringLiteral("&Visione foto a schermo pieno "), SettingId::CBfotoFull)->hide();
    CBfotoWizzard = new QCheckBox(QStringLiteral("&Importazione foto ziro - (lezioni personalizzate)"), foto);
    CBfotoWizzard->setObjectName(QStringLiteral("CBfotoWizzard"));
    foto->layout()->addWidget(CBfotoWizzard);
    connect(CBfotoWizzard, &QCheckBox::clicked, this, [this] {
        // A button that looks like a tick box: it never stays ticked.
        CBfotoWizzard->setChecked(false);
        runModule(ConfigController::photoImportModuleName(), {QStringLiteral("-ziro")}, false);
    });
    foto->layout()->addWidget(
        option(foto, "Cb_AutoText", QStringLiteral("Visualizza &Testo al caricamento"), SettingId::Cb_AutoText));
    grid->addWidget(foto, 2, 0);

    QGroupBox* libro = group(QStringLiteral(" LIBRO "), page);
    CBnaviga = new QCheckBox(QStringLiteral("&Consenti navigazione pagine"), libro);
    CBnaviga->setObjectName(QStringLiteral("CBnaviga"));
    CBnaviga->setChecked(true);
    CBnaviga->setEnabled(false);
    libro->layout()->addWidget(CBnaviga);
    grid->addWidget(libro, 3, 0);

    QGroupBox* quiz = group(QStringLiteral(" QUIZ "), page);
    {
        QHBoxLayout* r = row(quiz);
        r->addWidget(new QLabel(QStringLiteral("Delay"), quiz));
        ASdelay = new QSpinBox(quiz);
        ASdelay->setObjectName(QStringLiteral("ASdelay"));
        ASdelay->setRange(1, 100);
        ASdelay->setValue(15);
        r->addWidget(ASdelay);
        r->addStretch();
        connect(ASdelay, &QSpinBox::valueChanged, this, [this](int value) {
            if (m_c && !m_syncing)
                m_c->setDelay(value);
        });
        const std::tuple<const char*, QString, SettingId> boxes[] = {
            {"CBautoscan", QStringLiteral("&Autoscroll affermazioni"), SettingId::CBautoscan},
            {"CBscanFalse", QStringLiteral("Autoscroll su risposte &Esatte  - "), SettingId::CBscanFalse},
            {"CBmono", QStringLiteral("Visualizza &Una affermazione"), SettingId::CBmono},
            {"CB1Vuota", QStringLiteral("Avvio &Senza affermazione attiva"), SettingId::CB1Vuota},
            {"CBAvanza", QStringLiteral("Avan&zamento automatico di domanda"), SettingId::CBAvanza},
            {"CBmischia", QStringLiteral("&Mischia sempre (memoria quiz disattivata)"), SettingId::CBmischia},
            {"CBQuizColor", QStringLiteral("Colori &Box domanda e affermazioni"), SettingId::CBQuizColor},
            {"CBExEscluse", QStringLiteral("Estendi esclusioni personali alle &Lezioni normali"),
             SettingId::CBExEscluse},
            {"CB_DidascaStart", QStringLiteral("Avvio senza &Didascalia attiva"), SettingId::CB_DidascaStart},
            {"CB_DidascaColor", QStringLiteral("Colorazione didascalie da &Relativo argomento"),
             SettingId::CB_DidascaColor},
        };
        for (const auto& [name, text, id] : boxes)
            quiz->layout()->addWidget(option(quiz, name, text, id));
    }
    grid->addWidget(quiz, 0, 1, 4, 1);
    grid->setRowStretch(4, 1);
    return page;
}

QWidget* TConfig::buildReservedPage()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet4"));
    auto* pageLayout = new QVBoxLayout(page);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    m_reservedContent = new QWidget(page);
    pageLayout->addWidget(m_reservedContent);
    auto* grid = new QGridLayout(m_reservedContent);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->setSpacing(4);

    QGroupBox* debug = group(QStringLiteral(" Modo debug "), m_reservedContent);
    const auto debugBox = [this, debug](const char* name, const QString& text,
                                        ConfigController::DebugSwitch which) {
        auto* box = new QCheckBox(text, debug);
        box->setObjectName(QString::fromLatin1(name));
        debug->layout()->addWidget(box);
        connect(box, &QCheckBox::clicked, this, [this, which](bool on) {
            if (!m_c)
                return;
            m_c->setDebugSwitch(which, on);
            refresh();
        });
        return box;
    };
    CBNoError = debugBox("CBNoError", QStringLiteral("&Nascondi errori"), ConfigController::DebugSwitch::NoError);
    CBMDebug = debugBox("CBMDebug", QStringLiteral("Modo &Debug (Ctrl+Alt+D)"), ConfigController::DebugSwitch::MDebug);
    CBlog = debugBox("CBlog", QStringLiteral("Scrivi &Error.LOG"), ConfigController::DebugSwitch::Log);
    CBHideFotoError = debugBox("CBHideFotoError", QStringLiteral("&Nascondi errori &Foto...libro"),
                               ConfigController::DebugSwitch::HideFotoError);
    CBHideFotoError->setChecked(true);
    grid->addWidget(debug, 0, 0);

    QGroupBox* percorsi = group(QStringLiteral(" Percorsi "), m_reservedContent);
    {
        auto* form = new QGridLayout;
        form->setSpacing(2);
        static_cast<QBoxLayout*>(percorsi->layout())->addLayout(form);
        int r = 0;
        const auto rootRow = [&](const char* name, const QString& label, SettingId id) {
            auto* e = edit(percorsi, name);
            e->setReadOnly(true);
            auto* b = button(percorsi, "SBroot", QStringLiteral("..."));
            b->setFixedWidth(24);
            connect(b, &QPushButton::clicked, this, [this, id] { chooseRootFor(id); });
            form->addWidget(new QLabel(label, percorsi), r, 0);
            form->addWidget(e, r, 1);
            form->addWidget(b, r, 2);
            ++r;
            return e;
        };
        DriveComboBox1 = rootRow("DriveComboBox1", QStringLiteral("Radice Program"), SettingId::UnitaProgram);
        DriveComboBox2 = rootRow("DriveComboBox2", QStringLiteral("Radice Dati"), SettingId::UnitaDati);
        const auto pathRow = [&](const char* name, const char* buttonName, const QString& label, SettingId id) {
            auto* e = edit(percorsi, name);
            auto* b = button(percorsi, buttonName, QStringLiteral("..."));
            b->setFixedWidth(24);
            connect(e, &QLineEdit::textEdited, this, [this, id](const QString& text) {
                if (m_c)
                    m_c->setFolder(id, text);
            });
            connect(b, &QPushButton::clicked, this, [this, e, id] { chooseFolderFor(e, id); });
            form->addWidget(new QLabel(label, percorsi), r, 0);
            form->addWidget(e, r, 1);
            form->addWidget(b, r, 2);
            ++r;
            return e;
        };
        EPvideo = pathRow("EPvideo", "SBfileVideo", QStringLiteral("Path Video"), SettingId::PathVideo);
        EPfoto = pathRow("EPfoto", "SBfileFoto", QStringLiteral("Path Foto"), SettingId::PathFoto);
        EPaudio = pathRow("EPaudio", "SBfileAudio", QStringLiteral("Path Audio"), SettingId::PathAudioAB);
        EPvl = pathRow("EPvl", "SBfileVL", QStringLiteral("Path Velarium"), SettingId::PathVL);
    }
    grid->addWidget(percorsi, 0, 1);

    GBini = new QGroupBox(QStringLiteral(" File .INI "), m_reservedContent);
    GBini->setObjectName(QStringLiteral("GBini"));
    {
        auto* layout = new QHBoxLayout(GBini);
        layout->setContentsMargins(4, 2, 4, 4);
        MemoIni = new QPlainTextEdit(GBini);
        MemoIni->setObjectName(QStringLiteral("MemoIni"));
        MemoIni->setLineWrapMode(QPlainTextEdit::NoWrap);
        layout->addWidget(MemoIni, 1);
        auto* buttons = new QVBoxLayout;
        layout->addLayout(buttons);
        SaveIni = button(GBini, "SaveIni", QStringLiteral("&Save .INI"));
        BTLoadIni = button(GBini, "BTLoadIni", QStringLiteral("&Load .INI"));
        BTLoadfile = button(GBini, "BTLoadfile", QStringLiteral("Load *.*"));
        BTsalvaFile = button(GBini, "BTsalvaFile", QStringLiteral("Save *.*"));
        SetAul = button(GBini, "SetAul", QStringLiteral("Setta Ziro"));
        for (QPushButton* b : {SaveIni, BTLoadIni, BTLoadfile, BTsalvaFile, SetAul})
            buttons->addWidget(b);
        buttons->addStretch();
        connect(SaveIni, &QPushButton::clicked, this, [this] {
            if (!m_c)
                return;
            if (const auto text = m_c->saveMemo(MemoIni->toPlainText()))
                loadMemo(*text);
            refresh();
        });
        connect(BTLoadIni, &QPushButton::clicked, this, [this] {
            if (!m_c)
                return;
            loadMemo(m_c->reloadMemo());
            refresh();
        });
        connect(BTLoadfile, &QPushButton::clicked, this, [this] {
            if (!m_c)
                return;
            const QString path = TPickerDialog::chooseOpenFile(this, QStringLiteral("Load *.*"),
                                                               m_c->config().NomeFile.isEmpty()
                                                                   ? QDir::homePath()
                                                                   : m_c->memoPath());
            if (path.isEmpty())
                return;
            if (const auto text = m_c->loadMemoFrom(path))
                loadMemo(*text);
        });
        connect(BTsalvaFile, &QPushButton::clicked, this, [this] {
            if (!m_c)
                return;
            const QString path = TPickerDialog::chooseSaveFile(this, QStringLiteral("Save *.*"), m_c->memoPath());
            if (!path.isEmpty())
                m_c->saveMemoAs(MemoIni->toPlainText(), path);
        });
        connect(SetAul, &QPushButton::clicked, this,
                [this] { runModule(ConfigController::setupModuleName(), {}, true); });
        MemoIni->viewport()->installEventFilter(this);
    }
    grid->addWidget(GBini, 1, 0, 1, 2);

    auto* versions = new QHBoxLayout;
    PVersion = new QLabel(m_reservedContent);
    PVersion->setObjectName(QStringLiteral("PVersion"));
    PVersion->setFrameShape(QFrame::Panel);
    PVersion->setFrameShadow(QFrame::Sunken);
    BtAllineaVer = button(m_reservedContent, "BtAllineaVer", QStringLiteral("Versione EXE"));
    connect(BtAllineaVer, &QPushButton::clicked, this, [this] {
        if (!m_c)
            return;
        m_c->alignVersions();
        loadMemo(m_c->loadMemo());
        refresh();
    });
    versions->addWidget(PVersion, 1);
    versions->addWidget(BtAllineaVer);
    grid->addLayout(versions, 2, 0, 1, 2);
    grid->setRowStretch(1, 1);
    return page;
}

QWidget* TConfig::buildInfoPage()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet5"));
    auto* layout = new QVBoxLayout(page);
    auto* title = new QLabel(QStringLiteral("Ziro"), page);
    QFont big = title->font();
    big.setPointSizeF(24);
    big.setBold(true);
    title->setFont(big);
    title->setAlignment(Qt::AlignCenter);
    layout->addStretch();
    layout->addWidget(title);
    auto* about = new QLabel(QStringLiteral("Lezioni di teoria in aula per autoscuole\n"
                                            "segnali, fotografie, filmati, quiz e incroci\n\n"
                                            "Studio Ziro"),
                             page);
    about->setAlignment(Qt::AlignCenter);
    layout->addWidget(about);
    Ver4 = new QLabel(page);
    Ver4->setObjectName(QStringLiteral("Ver4"));
    Ver4->setAlignment(Qt::AlignCenter);
    layout->addWidget(Ver4);
    layout->addStretch();
    return page;
}

void TConfig::attach(ConfigController* controller)
{
    m_c = controller;
    refresh();
}

void TConfig::setLessonPage(QWidget* page)
{
    if (!page)
        return;
    m_lessonHolder->layout()->addWidget(page);
}

void TConfig::showSettings()
{
    if (!m_c)
        return;
    m_c->openSettings();
    refresh();
    showModeless();
}

void TConfig::showStartPage()
{
    if (!m_c)
        return;
    m_c->openStartPage();
    refresh();
    showModeless();
}

void TConfig::showLessonEditor()
{
    if (!m_c)
        return;
    m_c->openLessonEditor();
    refresh();
    showModeless();
}

void TConfig::refresh()
{
    if (!m_c)
        return;
    m_syncing = true;
    const Config& cfg = m_c->config();
    const ConfigPages& pages = m_c->pages();
    for (const auto& [id, box] : m_options) {
        const SettingDef& def = settingDef(id);
        if (auto member = std::get_if<bool Config::*>(&def.member))
            box->setChecked(cfg.**member);
    }
    check(SettingId::CB_Ripristino)->setEnabled(cfg.ripristinoEnabled());
    check(SettingId::CBSubArg)->setEnabled(cfg.subArgEnabled());
    BtGestAccess->setEnabled(cfg.CBAccessoMultiplo);
    QPalette access = InfoLabel->palette();
    access.setColor(QPalette::WindowText, cfg.CBAccessoMultiplo ? QColor(Qt::black) : QColor(128, 128, 128));
    InfoLabel->setPalette(access);
    InfoAccess->setPalette(access);
    InfoAccess->setText(m_c->currentAccess());
    CBNoError->setChecked(cfg.CBNoError);
    CBMDebug->setChecked(cfg.CBMDebug);
    CBlog->setChecked(cfg.CBlog);
    CBHideFotoError->setChecked(cfg.CBHideFotoError);
    if (QAbstractButton* b = iconMenuPosition->button(cfg.MenuIconeSetting)) {
        b->setChecked(true);
    } else {
        iconMenuPosition->setExclusive(false);
        for (QAbstractButton* radio : iconMenuPosition->buttons())
            radio->setChecked(false);
        iconMenuPosition->setExclusive(true);
    }
    {
        const QSignalBlocker block(CBVideoSize);
        const int index = CBVideoSize->findText(cfg.VideoSize);
        CBVideoSize->setCurrentIndex(index >= 0 ? index : 2);
    }
    {
        const QSignalBlocker block(ASdelay);
        ASdelay->setValue(cfg.ASdelay);
    }
    const auto setText = [](QLineEdit* e, const QString& text) {
        if (!e->hasFocus() && e->text() != text)
            e->setText(text);
    };
    setText(ENA, cfg.NomeAutoscuola);
    setText(EFAda, cfg.EFAda);
    setText(EFAa, cfg.EFAa);
    setText(DriveComboBox1, cfg.UnitaProgram);
    setText(DriveComboBox2, cfg.UnitaDati);
    setText(EPvideo, cfg.PathVideo);
    setText(EPfoto, cfg.PathFoto);
    setText(EPaudio, cfg.PathAudioAB);
    setText(EPvl, cfg.PathVL);
    if (!cfg.GBini.isEmpty())
        GBini->setTitle(cfg.GBini);
    PVersion->setText(cfg.PVersion);
    Ver1->setText(cfg.Ver1);
    Ver4->setText(cfg.Ver4);
    setWindowTitle(pages.title);
    PC->setTabText(int(ConfigPage::Start), pages.startCaption);
    for (int i = 0; i < kConfigPages; ++i)
        PC->setTabVisible(i, pages.tabVisible[size_t(i)]);
    PC->setCurrentIndex(int(pages.active));
    // The editor needs the whole form: its one page needs no tab, and the
    // credit line gives way to it (OK stays in its corner).
    const bool lesson = pages.mode == ConfigMode::LessonEditor;
    PC->tabBar()->setVisible(!lesson);
    PC->setDocumentMode(lesson);
    PC->setGeometry(lesson ? QRect(0, 0, kWidth, kHeight - 2) : QRect(2, 2, kWidth - 4, kHeight - 42));
    Panel2->setVisible(!lesson);
    OK->setGeometry(lesson ? QRect(kWidth - 84, kHeight - 30, 76, 24) : QRect(kWidth - 108, kHeight - 37, 100, 32));
    OK->raise();
    m_reservedContent->setVisible(pages.reservedContent);
    m_syncing = false;
}

void TConfig::loadMemo(const QString& text)
{
    MemoIni->setPlainText(text);
}

void TConfig::OKClick()
{
    if (!m_c)
        return;
    if (m_c->pages().active != ConfigPage::Lesson)
        m_c->reloadAndApply();
    closeForm();
}

void TConfig::closeForm()
{
    const bool lesson = m_c && m_c->pages().mode == ConfigMode::LessonEditor;
    if (lesson && m_lessonPort && !m_lessonPort->mayClose())
        return;
    done(0);
    hide();
    if (lesson)
        Q_EMIT lessonEditorClosed();
    else
        Q_EMIT settingsClosed();
}

void TConfig::Panel2DblClick()
{
    if (!m_c || !m_c->lockAvailable())
        return;
    const std::optional<AccessWord> word = m_password->ask();
    if (!word) {
        m_c->cancelUnlock();
    } else {
        if (*word == AccessWord::Credits)
            runCredits();
        else if (*word == AccessWord::Wrong)
            m_c->beep();
        m_c->unlock(*word);
    }
    if (m_c->pages().active == ConfigPage::Reserved)
        loadMemo(m_c->loadMemo());
    refresh();
}

void TConfig::reveal(const QString& text, bool random)
{
    std::vector<int> order(size_t(text.size()));
    std::iota(order.begin(), order.end(), 0);
    if (random)
        std::shuffle(order.begin(), order.end(), *QRandomGenerator::global());
    QString shownText(text.size(), QLatin1Char(' '));
    for (int i : order) {
        shownText[i] = text[i];
        KeyIndex->setText(shownText);
        Attesa(0.02, true);
    }
}

void TConfig::runCredits()
{
    for (const bool random : {false, true}) {
        KeyIndex->setText(QStringLiteral(" Program by "));
        KeyIndex->raise();
        KeyIndex->show();
        Attesa(0.5, true);
        reveal(kCredits.mid(0, 20), random);
        Attesa(0.8, true);
        reveal(kCredits.mid(20, 15), random);
        Attesa(0.8, true);
        reveal(kCredits.mid(35, 20), random);
        Attesa(1.0, true);
        KeyIndex->hide();
        Attesa(0.5, true);
    }
}

void TConfig::chooseFolderFor(QLineEdit* editor, SettingId id)
{
    if (!m_c)
        return;
    const QString folder = TPickerDialog::chooseFolder(this, QStringLiteral("Scegli la cartella"),
                                                       QFileInfo(editor->text()).isDir() ? editor->text()
                                                                                         : m_c->programRoot());
    if (!folder.isEmpty() && m_c->chooseFolder(id, folder))
        refresh();
}

void TConfig::chooseRootFor(SettingId id)
{
    if (!m_c)
        return;
    const QString root = TPickerDialog::chooseFolder(this, QStringLiteral("Scegli la cartella che contiene ziro"),
                                                     m_c->programRoot());
    if (!root.isEmpty() && m_c->chooseRoot(id, root))
        refresh();
}

void TConfig::runModule(const QString& fileName, const QStringList& arguments, bool reloadAfter)
{
    if (!m_c || m_module)
        return;
    const std::optional<QString> path = m_c->externalModule(fileName);
    if (!path) {
        if (reloadAfter) {
            loadMemo(m_c->reloadMemo());
            refresh();
        }
        return;
    }
    // Run without freezing the form: a wait notice blocks the input until
    // the module ends.
    auto* process = new QProcess(this);
    m_module = process;
    process->setWorkingDirectory(QFileInfo(*path).absolutePath());
    connect(process, &QProcess::errorOccurred, this, [this, process, path](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            m_c->moduleFailedToStart(*path);
            m_wait->done(1);
        }
        Q_UNUSED(process);
    });
    connect(process, &QProcess::finished, m_wait, [this] { m_wait->done(0); });
    process->start(*path, arguments);
    if (process->state() != QProcess::NotRunning || process->error() != QProcess::FailedToStart)
        m_wait->execModal();
    process->deleteLater();
    m_module = nullptr;
    if (reloadAfter && m_c) {
        loadMemo(m_c->reloadMemo());
        refresh();
    }
}

bool TConfig::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonDblClick) {
        if (watched == Panel2) {
            Panel2DblClick();
            return true;
        }
        if (MemoIni && watched == MemoIni->viewport() && m_c) {
            loadMemo(m_c->reloadMemo());
            refresh();
            return true;
        }
    }
    return OverlayWindow::eventFilter(watched, event);
}

void TConfig::keyPressEvent(QKeyEvent* event)
{
    const auto ctrlAlt = Qt::ControlModifier | Qt::AltModifier;
    if (event->key() == Qt::Key_D && (event->modifiers() & ctrlAlt) == ctrlAlt && m_c) {
        m_c->AttivaDebug();
        refresh();
    }
    event->accept();
}

void TConfig::keyReleaseEvent(QKeyEvent* event)
{
    // The form takes every key: none goes on to the lesson under it.
    event->accept();
}

}  // namespace ziro
