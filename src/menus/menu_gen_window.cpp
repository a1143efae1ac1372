#include "menus/menu_gen_window.h"

#include "base/attesa.h"
#include "base/reports.h"
#include "controls/auto_button_widget.h"

#include <QApplication>
#include <QFileInfo>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace ziro {

namespace {

struct ButtonInfo {
    MenuButton which;
    const char* name;
    const char* hint;
};

const ButtonInfo kButtons[] = {
    {MenuButton::LNormal, "TastoLNormal", "Tipo di lezione"},
    {MenuButton::LCiclo, "TastoLCiclo", "Modalità di accesso agli argomenti"},
    {MenuButton::LSuperiori, "TastoLSuperiori", "Tipo di lezione"},
    {MenuButton::LCqc, "TastoLCqc", "Tipo di lezione"},
    {MenuButton::LCustom, "TastoLCustom", "Tipo di lezione"},
    {MenuButton::SDom, "TastoSDom", "Modalità di accesso agli argomenti"},
    {MenuButton::Configura, "TastoConfigura",
     "Definizione lezioni personalizzate e impostazioni del programma"},
    {MenuButton::Stampa, "TastoStampa", "Avvio del modulo stampa schede"},
    {MenuButton::OK, "TastoOK", "Conferma - avvio"},
    {MenuButton::ESCI, "TastoESCI", "Uscita dal programma"},
    {MenuButton::Esame, "TastoEsame", "Simulazione d'esame (edizione A-B)"},
};

MenuButton buttonOfEdition(TModoQuiz e)
{
    switch (e) {
    case TModoQuiz::mqAM: return MenuButton::LCiclo;
    case TModoQuiz::mqCD: return MenuButton::LSuperiori;
    case TModoQuiz::mqCQ: return MenuButton::LCqc;
    case TModoQuiz::mqAB:
    case TModoQuiz::mqCustom: break;
    }
    return MenuButton::LNormal;
}

MenuButton buttonOfFunction(MenuFunction f)
{
    switch (f) {
    case MenuFunction::EditionAB: return MenuButton::LNormal;
    case MenuFunction::EditionAM: return MenuButton::LCiclo;
    case MenuFunction::EditionCD: return MenuButton::LSuperiori;
    case MenuFunction::EditionCQ: return MenuButton::LCqc;
    case MenuFunction::Custom: return MenuButton::LCustom;
    case MenuFunction::ViewMode: return MenuButton::SDom;
    case MenuFunction::Configure: return MenuButton::Configura;
    case MenuFunction::Exam: return MenuButton::Esame;
    case MenuFunction::Print: break;
    }
    return MenuButton::Stampa;
}

void setArt(TautoButton* button, const ButtonArt& art, bool pressedLook = false)
{
    const QImage& up = pressedLook ? art.down : art.up;
    button->setBitMapUp(up);
    button->setBitMapDown(art.down);
    button->setBitMapAlt(art.alt);
    button->setBitMapMask(art.mask);
    button->setBitMapLocking(art.locking);
    button->setBitMapLocked(art.locked);
    button->setBitMapSpare(up);
}

constexpr std::array<TModoQuiz, 4> kEditions = {TModoQuiz::mqAB, TModoQuiz::mqAM, TModoQuiz::mqCD,
                                                TModoQuiz::mqCQ};

}  // namespace

TMenuGen::TMenuGen(QWidget* host)
    : OverlayWindow(host, QStringLiteral("TMenuGen"), kMenuWindowRect)
{
    setWindowTitle(QStringLiteral("Menu generale"));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    m_background = menuBackground();
    buildGroupArea();
    buildButtons();
}

TMenuGen::~TMenuGen() = default;

void TMenuGen::buildButtons()
{
    for (const ButtonInfo& info : kButtons) {
        auto* b = new TautoButton(this);
        b->setObjectName(QLatin1String(info.name));
        setArt(b, menuButtonArt(info.which));
        b->move(menuButtonRect(info.which).topLeft());
        b->setToolTip(QString::fromUtf8(info.hint));
        m_buttons[static_cast<size_t>(info.which)] = b;
        connect(b, &TautoButton::onMouseMove, this, [this, b] { highlightOnly(b); });
    }
    const auto on = [this](MenuButton which, auto action) {
        connect(button(which), &TautoButton::onClick, this,
                [this, action] { run([&](GeneralMenu& m) { action(m); }); });
    };
    on(MenuButton::LNormal, [](GeneralMenu& m) { m.editionClicked(TModoQuiz::mqAB); });
    on(MenuButton::LCiclo, [](GeneralMenu& m) { m.editionClicked(TModoQuiz::mqAM); });
    on(MenuButton::LSuperiori, [](GeneralMenu& m) { m.editionClicked(TModoQuiz::mqCD); });
    on(MenuButton::LCqc, [](GeneralMenu& m) { m.editionClicked(TModoQuiz::mqCQ); });
    on(MenuButton::LCustom, [](GeneralMenu& m) { m.customClicked(); });
    on(MenuButton::SDom, [](GeneralMenu& m) { m.viewModeClicked(true); });
    on(MenuButton::Configura, [](GeneralMenu& m) { m.configureClicked(); });
    on(MenuButton::Stampa, [](GeneralMenu& m) { m.printClicked(); });
    on(MenuButton::Esame, [](GeneralMenu& m) { m.examClicked(); });
    on(MenuButton::OK, [this](GeneralMenu& m) { m.TastoOK(m_list->currentRow()); });
    on(MenuButton::ESCI, [this](GeneralMenu&) { m_outside->closeMainWindow(); });
}

void TMenuGen::buildGroupArea()
{
    m_head = new QLabel(this);
    m_head->setObjectName(QStringLiteral("ArgomentoTesta"));
    m_head->setGeometry(groupHeadRect());
    m_head->setToolTip(QStringLiteral("Ritorno al menu argomenti"));
    m_head->setCursor(Qt::PointingHandCursor);
    m_head->installEventFilter(this);

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("MenuList"));
    m_list->setGeometry(menuListRect());
    m_list->setToolTip(QStringLiteral("Menu sottoargomenti"));
    m_list->setFrameShape(QFrame::NoFrame);
    m_list->setUniformItemSizes(true);
    m_list->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setTextElideMode(Qt::ElideRight);
    m_list->setStyleSheet(QStringLiteral(
        "QListWidget#MenuList { background: #fbfcfd; color: #13233a; font-size: 15px;"
        " font-weight: 600; outline: 0; }"
        "QListWidget#MenuList::item { height: %1px; padding-left: 6px;"
        " border-bottom: 1px solid #dde3ea; }"
        "QListWidget#MenuList::item:selected { background: #1d5fa6; color: white; }")
                              .arg(menuListRowHeight() - 1));
    m_list->installEventFilter(this);
    connect(m_list, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        if (!m_syncing)
            run([&](GeneralMenu& m) { m.listClicked(m_list->row(item)); });
    });
    connect(m_list->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { syncIcons(); });

    for (int k = 0; k < kMenuListRows; ++k) {
        auto* film = new QLabel(this);
        film->setObjectName(QStringLiteral("Video%1").arg(k));
        film->setGeometry(filmIconRect(k));
        film->setPixmap(QPixmap::fromImage(filmIcon()));
        film->setToolTip(QStringLiteral("Avvia il filmato corrispondente"));
        film->setCursor(Qt::PointingHandCursor);
        film->installEventFilter(this);
        m_video[static_cast<size_t>(k)] = film;
        auto* html = new QLabel(this);
        html->setObjectName(QStringLiteral("Html%1").arg(k));
        html->setGeometry(htmlIconRect(k));
        html->setPixmap(QPixmap::fromImage(htmlIcon()));
        html->setToolTip(QStringLiteral("Avvia il filmato corrispondente"));
        html->setCursor(Qt::PointingHandCursor);
        html->installEventFilter(this);
        m_html[static_cast<size_t>(k)] = html;
    }

    // Laid over the list: while a group is being chosen the list is hidden.
    m_panel = new QWidget(this);
    m_panel->setObjectName(QStringLiteral("PannelloBandoni"));
    m_panel->setGeometry(groupPanelRect());
    m_panel->setToolTip(QStringLiteral("Menu argomenti"));
    m_panel->setMouseTracking(true);
    m_panel->installEventFilter(this);
    for (int tag = 1; tag <= kGroupCount; ++tag) {
        auto* b = new TautoButton(m_panel);
        b->setObjectName(QStringLiteral("Bandone%1").arg(tag));
        b->move(groupButtonRect(tag).topLeft());
        b->setToolTip(QStringLiteral("Menu argomenti"));
        m_groups[static_cast<size_t>(tag - 1)] = b;
        connect(b, &TautoButton::onMouseMove, this, [this, b] { highlightOnly(b); });
        connect(b, &TautoButton::onClick, this,
                [this, tag] { run([&](GeneralMenu& m) { m.groupClicked(tag); }); });
    }
    syncList();
}

TautoButton* TMenuGen::groupButton(int tag) const
{
    if (tag < 1 || tag > kGroupCount)
        return nullptr;
    return m_groups[static_cast<size_t>(tag - 1)];
}

void TMenuGen::attach(Globals& g, Config& config, Reports& reporter, GeneralMenuPort& outside)
{
    m_g = &g;
    m_outside = &outside;
    GeneralMenuView& view = *this;
    m_logic = std::make_unique<GeneralMenu>(g, config, reporter, view, outside);
    // The menu's lists come from these files: say at start when the
    // edition's are not installed, rather than at the first group press.
    const QString check = topicListPath(g, QStringLiteral("J"));
    if (!QFileInfo::exists(check))
        reporter.Emsg(ReportKind::MissingFile, QString::fromUtf8("Caricamento Items menù"), check);
    refreshMenu();
}

void TMenuGen::showMenu()
{
    if (m_logic)
        m_logic->activate();
    showModeless();
    raise();
    activateWindow();
    syncFocus();
}

void TMenuGen::syncFocus()
{
    if (!isVisible())
        return;
    // Keyboard mode 1 over an open list walks its rows; otherwise the keys
    // belong to the menu itself (the group and function buttons).
    const bool listKeys = m_logic && !m_logic->groupPanelShown() && m_logic->keySelection().SelKeyMode == 1;
    QWidget* target = listKeys ? static_cast<QWidget*>(m_list) : this;
    if (!target->hasFocus())
        target->setFocus(Qt::OtherFocusReason);
}

bool TMenuGen::run(const std::function<void(GeneralMenu&)>& action)
{
    // The pressed look waits with events flowing; a second click or key
    // arriving then is dropped, never run inside the first.
    if (!m_logic || m_busy)
        return false;
    m_busy = true;
    QPointer<TMenuGen> self(this);
    action(*m_logic);
    if (self)
        m_busy = false;
    return true;
}

void TMenuGen::TastoOK()
{
    if (m_logic)
        m_logic->TastoOK(-1);
}

void TMenuGen::ChangeModoTasti()
{
    if (!m_g || !m_logic)
        return;
    // The group pictures carry the edition's titles: redrawn when either
    // changes.
    const QString artKey = QString::number(static_cast<int>(m_g->Edizione)) + QLatin1Char('|') +
                           QStringList(m_g->TitoliGruppi.begin(), m_g->TitoliGruppi.end()).join(QLatin1Char('|'));
    if (artKey != m_artKey) {
        m_artKey = artKey;
        for (int tag = 1; tag <= kGroupCount; ++tag) {
            const QString letter = topicGroupLetter(m_g->Edizione, tag - 1);
            TautoButton* b = groupButton(tag);
            setArt(b, groupButtonArt(tag, letter, m_g->TitoliGruppi[static_cast<size_t>(tag - 1)]));
            b->setDisabledLook(groupIgnored(m_g->Edizione, tag));
        }
        m_headGroup = -1;
    }
    // The edition on show is the pressed one; the custom lessons button
    // stays down while their list holds the menu.
    // Redrawn only when that changes: a refresh runs on every key.
    const bool customOn = !m_logic->Abilita();
    const int pressed = customOn ? -1 : static_cast<int>(m_logic->pressedEdition());
    if (pressed != m_artPressed) {
        m_artPressed = pressed;
        for (TModoQuiz e : kEditions) {
            const MenuButton which = buttonOfEdition(e);
            setArt(button(which), menuButtonArt(which), static_cast<int>(e) == pressed);
        }
        setArt(button(MenuButton::LCustom), menuButtonArt(MenuButton::LCustom), customOn);
    }
    const int view = static_cast<int>(m_logic->viewMode());
    if (view != m_artView) {
        m_artView = view;
        setArt(button(MenuButton::SDom), viewModeArt(m_logic->viewMode()));
    }
}

void TMenuGen::refreshMenu()
{
    if (!m_logic)
        return;
    ChangeModoTasti();
    const bool panel = m_logic->groupPanelShown();
    m_panel->setVisible(panel);
    m_head->setVisible(!panel);
    m_list->setVisible(!panel);
    if (!panel && m_logic->loadedGroup() != m_headGroup) {
        m_headGroup = m_logic->loadedGroup();
        const int tag = m_headGroup;
        m_head->setPixmap(QPixmap::fromImage(groupHeadPicture(
            tag, m_logic->loadedLetter(), m_g->TitoliGruppi[static_cast<size_t>(std::clamp(tag, 1, 10) - 1)])));
    }
    syncList();
    syncSelection();
    syncFocus();
}

void TMenuGen::syncList()
{
    m_syncing = true;
    QStringList texts;
    if (m_logic)
        // The film and HTML markers have icons of their own beside the row;
        // the row itself shows the title.
        for (const TopicLine& line : m_logic->rows())
            texts << topicRowText(line);
    bool same = m_list->count() == texts.size();
    for (int i = 0; same && i < texts.size(); ++i)
        same = m_list->item(i)->text() == texts[i];
    if (!same) {
        m_list->clear();
        m_list->addItems(texts);
        m_list->scrollToTop();
    }
    const int selection = m_logic ? m_logic->listSelection() : -1;
    if (selection >= 0 && selection < m_list->count()) {
        m_list->setCurrentRow(selection);
        m_list->scrollToItem(m_list->item(selection));
    } else {
        m_list->setCurrentRow(-1);
    }
    m_syncing = false;
    syncIcons();
}

int TMenuGen::topRow() const
{
    return m_list->verticalScrollBar()->value();
}

void TMenuGen::syncIcons()
{
    const bool listShown = m_logic && !m_logic->groupPanelShown();
    const int top = topRow();
    for (int k = 0; k < kMenuListRows; ++k) {
        const int row = top + k;
        bool film = false, html = false;
        if (listShown && row < static_cast<int>(m_logic->rows().size())) {
            const TopicLine& line = m_logic->rows()[static_cast<size_t>(row)];
            film = !line.film.isEmpty();
            html = !line.html.isEmpty();
        }
        m_video[static_cast<size_t>(k)]->setVisible(film);
        m_html[static_cast<size_t>(k)]->setVisible(html);
    }
}

void TMenuGen::syncSelection()
{
    const KeySelection& s = m_logic->keySelection();
    if (s.SelKeyMode == 2)
        highlightOnly(button(buttonOfFunction(static_cast<MenuFunction>(s.SelFunction))));
    else if (s.SelectBand > 0 && m_logic->groupPanelShown())
        highlightOnly(groupButton(s.SelectBand));
}

void TMenuGen::highlightOnly(TautoButton* lit)
{
    for (TautoButton* b : m_buttons)
        if (b != lit)
            b->setDisplayAlt(false);
    for (TautoButton* b : m_groups)
        if (b != lit)
            b->setDisplayAlt(false);
    if (lit && !lit->isDisabledLook())
        lit->setDisplayAlt(true);
}

void TMenuGen::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter p(this);
    p.drawImage(0, 0, m_background);
}

void TMenuGen::mouseMoveEvent(QMouseEvent* event)
{
    highlightOnly(nullptr);
    OverlayWindow::mouseMoveEvent(event);
}

void TMenuGen::keyPressEvent(QKeyEvent* event)
{
    // The menu holds the keyboard while it is up: keys it has no use for
    // go nowhere, so they never act on the lesson behind it.
    event->accept();
    run([&](GeneralMenu& m) { m.keyDown(event->key(), event->modifiers()); });
}

void TMenuGen::keyReleaseEvent(QKeyEvent* event)
{
    event->accept();
}

void TMenuGen::contextMenuEvent(QContextMenuEvent* event)
{
    // Not the lesson's topic pop-up: the menu is where topics are chosen.
    event->accept();
}

bool TMenuGen::focusNextPrevChild(bool next)
{
    // Tab walks the menu's own buttons (keyDown), not the widgets behind.
    Q_UNUSED(next);
    return false;
}

bool TMenuGen::eventFilter(QObject* watched, QEvent* event)
{
    const auto type = event->type();
    if (watched == m_panel && type == QEvent::MouseMove) {
        highlightOnly(nullptr);
        return false;
    }
    if (watched == m_list && type == QEvent::KeyPress && m_logic) {
        auto* ke = static_cast<QKeyEvent*>(event);
        switch (ke->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            if (!m_busy)
                return false;  // the list walks its rows
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter: {
            const int row = m_list->currentRow();
            run([&](GeneralMenu& m) { m.listClicked(row); });
            return true;
        }
        default:
            // Everything else is the menu's, as on its buttons.
            run([&](GeneralMenu& m) { m.keyDown(ke->key(), ke->modifiers()); });
            return true;
        }
    }
    if (watched == m_list && type == QEvent::KeyRelease)
        return true;
    const bool clickable = watched == m_head
        || std::find(m_video.begin(), m_video.end(), watched) != m_video.end()
        || std::find(m_html.begin(), m_html.end(), watched) != m_html.end();
    // The header and the icons act on the release; their press is taken
    // here, because the scaled presentation drops the release of a press
    // nobody took.
    if (clickable && type == QEvent::MouseButtonPress
        && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
        return true;
    if (type == QEvent::MouseButtonRelease && m_logic &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == m_head) {
            run([](GeneralMenu& m) { m.ArgomentoTesta(); });
            return true;
        }
        for (int k = 0; k < kMenuListRows; ++k) {
            const int row = topRow() + k;
            if (watched == m_video[static_cast<size_t>(k)]) {
                run([row](GeneralMenu& m) { m.filmClicked(row); });
                return true;
            }
            if (watched == m_html[static_cast<size_t>(k)]) {
                run([row](GeneralMenu& m) { m.htmlClicked(row); });
                return true;
            }
        }
    }
    return OverlayWindow::eventFilter(watched, event);
}

// --- GeneralMenuView ---------------------------------------------------------

void TMenuGen::closeMenu()
{
    highlightOnly(nullptr);
    done(1);
}

void TMenuGen::showFunctionPressed(MenuFunction f)
{
    TautoButton* b = button(buttonOfFunction(f));
    if (f == MenuFunction::Configure || f == MenuFunction::Print) {
        highlightOnly(nullptr);
        b->showPressed();
        Attesa(0.5, true);
        b->showReleased();
        return;
    }
    b->showPressed();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    b->showReleased();
}

}  // namespace ziro
