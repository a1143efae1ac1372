#include "annotate/tools_window.h"

#include "annotate/caption_colour_box.h"
#include "annotate/caption_styles.h"
#include "base/reports.h"
#include "viewers/photo_render.h"
#include "viewers/photo_viewer.h"

#include <QApplication>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QSlider>
#include <QStyledItemDelegate>
#include <QToolButton>
#include <QWidgetAction>

namespace ziro {

namespace {

constexpr int kButton = 21;

// IconeList: 0-2 place the box left, centre, right; 3-5 align the text;
// 6 single line; 7 multiple lines.
QIcon glyph(int index)
{
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 2.5));
    if (index <= 2) {
        p.drawRect(QRectF(3, 6, 26, 20));
        p.setBrush(Qt::black);
        p.drawRect(QRectF(6 + index * 8, 12, 8, 8));
    } else if (index <= 5) {
        const int a = index - 3;
        for (int row = 0; row < 4; ++row) {
            const int len = row % 2 ? 16 : 24;
            const int x = a == 0 ? 4 : a == 1 ? 16 - len / 2 : 28 - len;
            p.drawLine(x, 7 + row * 6, x + len, 7 + row * 6);
        }
    } else {
        const int rows = index == 6 ? 1 : 3;
        for (int row = 0; row < rows; ++row)
            p.drawLine(4, (index == 6 ? 16 : 9 + row * 7), 28, (index == 6 ? 16 : 9 + row * 7));
    }
    return QIcon(pm);
}

QIcon swatch(const QColor& colour)
{
    QPixmap pm(20, 12);
    pm.fill(colour);
    QPainter p(&pm);
    p.setPen(Qt::black);
    p.drawRect(0, 0, 19, 11);
    return QIcon(pm);
}

CaptionStyle styleOf(const PhotoCaption& c)
{
    CaptionStyle s;
    s.fontName = c.fontName;
    s.fontColour = c.fontColour;
    s.fontSize = c.fontSize;
    s.alignment = c.alignment;
    s.italic = c.italic;
    s.bold = c.bold;
    s.FondinoON = c.background;
    s.captionColour = c.captionColour;
    s.effect = c.effect;
    s.shadeColour = c.shadowColour;
    return s;
}

void applyStyle(PhotoCaption& c, const CaptionStyle& s)
{
    c.fontName = s.fontName;
    c.fontColour = s.fontColour;
    c.fontSize = s.fontSize;
    c.alignment = s.alignment;
    c.italic = s.italic;
    c.bold = s.bold;
    c.background = s.FondinoON;
    c.captionColour = s.captionColour;
    c.effect = s.effect;
    c.shadowColour = s.shadeColour;
}

// The font list: each name in its own face, and under the fonts chosen
// lately two lines that part them from the rest.
class FontListDelegate : public QStyledItemDelegate {
public:
    FontListDelegate(const int* usedFonts, QObject* parent) : QStyledItemDelegate(parent), m_used(usedFonts) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem face = option;
        face.font = QFont(index.data().toString(), option.font.pointSize());
        QStyledItemDelegate::paint(painter, face, index);
        if (index.row() == *m_used) {
            painter->save();
            painter->setPen(option.palette.color(QPalette::Text));
            const QRect r = option.rect;
            painter->drawLine(r.left(), r.bottom() - 3, r.right(), r.bottom() - 3);
            painter->drawLine(r.left(), r.bottom() - 1, r.right(), r.bottom() - 1);
            painter->restore();
        }
    }

private:
    const int* m_used;
};

}  // namespace

TTools::TTools(QWidget* host)
    : OverlayWindow(host, QStringLiteral("TTools"), QRect(89, 395, kToolBarWidth, kToolBarHeight))
{
    setWindowTitle(QString::fromUtf8("Strumenti"));
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(192, 192, 192));
    setPalette(pal);
    // Down buttons must read as down from the back of a classroom.
    setStyleSheet(QStringLiteral("QToolButton:checked { background-color: #8c8c8c; border: 1px solid #303030;"
                                 " border-radius: 2px; }"));

    m_fold = new QToolButton(this);
    m_fold->setObjectName(QStringLiteral("st_DimCtlr"));
    m_fold->setToolTip(QStringLiteral("Riduce barra strumenti"));
    m_fold->setFocusPolicy(Qt::NoFocus);
    connect(m_fold, &QToolButton::clicked, this, [this] {
        m_state.st_DimCtlrClick();
        layoutControls();
    });

    m_font = new QComboBox(this);
    m_font->setObjectName(QStringLiteral("FontBox"));
    m_font->setToolTip(QStringLiteral("Elenco caratteri"));
    m_font->setGeometry(16, 4, 118, kButton);
    m_font->setItemDelegate(new FontListDelegate(&m_usedFonts, m_font));
    connect(m_font, &QComboBox::activated, this, &TTools::fontChosen);

    m_colour = new QComboBox(this);
    m_colour->setObjectName(QStringLiteral("ColorBox"));
    m_colour->setGeometry(137, 4, 104, kButton);
    for (int i = 0; i < colour_box::kTextCount; ++i) {
        const std::optional<QColor> c = colour_box::entryColour(i);
        m_colour->addItem(c ? swatch(*c) : QIcon(), colour_box::entryText(i));
    }
    connect(m_colour, &QComboBox::activated, this, &TTools::colourChosen);

    int x = 244;
    auto next = [&x](int gap = 0) {
        const QRect r(x, 4, kButton, kButton);
        x += kButton + 1 + gap;
        return r;
    };
    QToolButton* it = makeButton("Sb_It", QStringLiteral("Italico"), next(), true);
    it->setText(QStringLiteral("I"));
    QFont f = it->font();
    f.setItalic(true);
    f.setBold(true);
    it->setFont(f);
    connect(it, &QToolButton::clicked, this, [this](bool on) {
        selectFirst();
        change([on](PhotoCaption& c) { c.italic = on; });
    });
    QToolButton* bold = makeButton("Sb_Bld", QStringLiteral("Grassetto"), next(3), true);
    bold->setText(QStringLiteral("G"));
    f.setItalic(false);
    bold->setFont(f);
    connect(bold, &QToolButton::clicked, this, [this](bool on) {
        selectFirst();
        change([on](PhotoCaption& c) { c.bold = on; });
    });
    makeButton("Sb_Predef1", QStringLiteral("Ripristina carattere"), next(), false)->setText(QStringLiteral("R"));
    connect(button(QStringLiteral("Sb_Predef1")), &QToolButton::clicked, this, [this] { Sb_Predef1Click(true); });
    for (const CaptionPreset preset : {CaptionPreset::A, CaptionPreset::B}) {
        const bool a = preset == CaptionPreset::A;
        QToolButton* b = makeButton(a ? "Sb_Predef2" : "Sb_Predef3",
                                    a ? QStringLiteral("Stile personalizzato A") : QStringLiteral("Stile personalizzato B"),
                                    next(a ? 0 : 3), false);
        b->setText(a ? QStringLiteral("A") : QStringLiteral("B"));
        b->installEventFilter(this);
    }

    m_size = new QSlider(Qt::Horizontal, this);
    m_size->setObjectName(QStringLiteral("Ts_CharSize"));
    m_size->setToolTip(QStringLiteral("Dimensione carattere"));
    m_size->setRange(kSizeBarMinimum, kSizeBarMaximum);
    m_size->setSingleStep(kSizeBarLargeStep);
    m_size->setPageStep(kSizeBarPage);
    m_size->setGeometry(x, 4, kToolBarWidth - x - 4, kButton);
    connect(m_size, &QSlider::valueChanged, this, [this](int value) {
        if (m_updating || m_state.ResizeBusy || !usable())
            return;
        applySize(value);
    });

    // The second row.
    x = 16;
    auto row2 = [&x](int gap = 0) {
        const QRect r(x, 30, kButton, kButton);
        x += kButton + 1 + gap;
        return r;
    };
    makeButton("Sb_Fit", QStringLiteral("Normalizza area testo"), row2(3), false)->setText(QStringLiteral("[ ]"));
    connect(button(QStringLiteral("Sb_Fit")), &QToolButton::clicked, this, [this] {
        if (!usable())
            return;
        selectFirst();
        m_viewer->BoundSync(PhotoViewer::safeArea());
        change([](PhotoCaption& c) { c.fontSize = FontSizeMinimo(c.fontSize); });
    });
    const struct {
        const char* name;
        const char* hint;
        CaptionAlignment alignment;
    } aligns[] = {{"Sb_Jl", "Allineamento a sinistra", CaptionAlignment::Left},
                  {"Sb_Jm", "Allineamento al centro", CaptionAlignment::Centre},
                  {"Sb_Jr", "Allineamento a destra", CaptionAlignment::Right}};
    for (const auto& a : aligns) {
        QToolButton* b = makeButton(a.name, QString::fromUtf8(a.hint), row2(a.alignment == CaptionAlignment::Right ? 3 : 0), true);
        const CaptionAlignment alignment = a.alignment;
        connect(b, &QToolButton::clicked, this, [this, alignment] { alignmentClick(alignment); });
    }
    makeButton("Sb_Trasparente", QStringLiteral("Fondino"), row2(), true)->setText(QStringLiteral("F"));
    connect(button(QStringLiteral("Sb_Trasparente")), &QToolButton::clicked, this, [this](bool down) {
        change([down](PhotoCaption& c) { c.background = !down; });
    });
    makeButton("Sb_BackColor", QStringLiteral("Colore fondino"), row2(3), false)->setIcon(swatch(QColor(0xC6, 0xCD, 0xD9)));
    connect(button(QStringLiteral("Sb_BackColor")), &QToolButton::clicked, this,
            [this] { pickColour(&PhotoCaption::captionColour); });
    makeButton("Sb_3d", QStringLiteral("Effetto spessore"), row2(), true)->setText(QStringLiteral("3D"));
    connect(button(QStringLiteral("Sb_3d")), &QToolButton::clicked, this, [this](bool down) {
        selectFirst();
        const CaptionEffect effect = m_state.clickRaised(down);
        change([effect](PhotoCaption& c) { c.effect = effect; });
    });
    makeButton("Sb_Shade", QStringLiteral("Effetto ombra"), row2(), true)->setText(QStringLiteral("O"));
    connect(button(QStringLiteral("Sb_Shade")), &QToolButton::clicked, this, [this](bool down) {
        selectFirst();
        const CaptionEffect effect = m_state.clickShadow(down);
        change([effect](PhotoCaption& c) { c.effect = effect; });
    });
    makeButton("Sb_ShadeColor", QStringLiteral("Colore ombra"), row2(3), false)->setIcon(swatch(QColor(128, 128, 128)));
    connect(button(QStringLiteral("Sb_ShadeColor")), &QToolButton::clicked, this,
            [this] { pickColour(&PhotoCaption::shadowColour); });
    for (int arrow = 1; arrow <= 2; ++arrow) {
        QToolButton* b = makeButton(arrow == 1 ? "Sb_ArrowOn1" : "Sb_ArrowOn2",
                                    arrow == 1 ? QStringLiteral("Strumento freccia 1") : QStringLiteral("Strumento freccia 2"),
                                    row2(), true);
        b->setText(arrow == 1 ? QStringLiteral("↗1") : QStringLiteral("↗2"));
        connect(b, &QToolButton::clicked, this, [this, arrow] { arrowClick(arrow); });
    }
    makeButton("Sb_ColorArrow", QStringLiteral("Colore frecce"), row2(3), false)->setIcon(swatch(QColor(128, 0, 128)));
    connect(button(QStringLiteral("Sb_ColorArrow")), &QToolButton::clicked, this,
            [this] { pickColour(&PhotoCaption::arrowColour); });
    makeButton("Sb_SafeArea", QStringLiteral("Area utile"), row2(), true)->setText(QStringLiteral("U"));
    connect(button(QStringLiteral("Sb_SafeArea")), &QToolButton::clicked, this, [this](bool down) {
        m_state.clickSafeArea(down);
        Q_EMIT safeAreaShown(down);
        if (usable())
            m_viewer->DeselezionaTitolo();
        refreshButtons();
    });
    button(QStringLiteral("Sb_SafeArea"))->installEventFilter(this);
    makeButton("Sb_RigheMultiple", QStringLiteral("Riga singola o multipla"), row2(), true)->setIcon(glyph(6));
    connect(button(QStringLiteral("Sb_RigheMultiple")), &QToolButton::clicked, this,
            [this](bool down) { setViewMode(down); });
    makeButton("Sb_DeleteText", QStringLiteral("Cancella testo"), row2(), false)->setText(QStringLiteral("X"));
    connect(button(QStringLiteral("Sb_DeleteText")), &QToolButton::clicked, this, [this] {
        if (!usable())
            return;
        m_edit->clear();
        change([](PhotoCaption& c) { c.background = false; });
        if (m_viewer->editMode())
            m_viewer->DeselezionaTitolo();
    });

    m_edit = new QPlainTextEdit(this);
    m_edit->setObjectName(QStringLiteral("EditText"));
    m_edit->setToolTip(QStringLiteral("Area di scrittura"));
    m_edit->setGeometry(16, 55, kToolBarWidth - 20, 26);
    m_edit->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_edit->setTabChangesFocus(true);
    m_edit->installEventFilter(this);
    connect(m_edit, &QPlainTextEdit::textChanged, this, &TTools::editTextChanged);

    m_hideFocus = new QLineEdit(this);
    m_hideFocus->setObjectName(QStringLiteral("HideFocus"));
    m_hideFocus->setGeometry(0, 0, 1, 1);
    m_hideFocus->hide();

    layoutControls();
    hide();
}

TTools::~TTools() = default;

void TTools::attach(PhotoViewer* viewer, CaptionStyleStore* styles, Reports* reports)
{
    m_viewer = viewer;
    m_styles = styles;
    m_reports = reports;
}

QToolButton* TTools::makeButton(const char* name, const QString& hint, const QRect& place, bool checkable)
{
    auto* b = new QToolButton(this);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(hint);
    b->setGeometry(place);
    b->setCheckable(checkable);
    b->setAutoRaise(false);
    // The focus stays where the teacher types.
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

QToolButton* TTools::button(const QString& name) const
{
    return findChild<QToolButton*>(name, Qt::FindDirectChildrenOnly);
}

void TTools::layoutControls()
{
    const bool folded = m_state.folded();
    resize(m_state.width(), kToolBarHeight);
    m_fold->setGeometry(0, 0, kFoldedToolBarWidth, kToolBarHeight);
    m_fold->setText(m_state.foldButtonText());
    for (QWidget* w : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        if (w != m_fold && w != m_hideFocus)
            w->setVisible(!folded);
}

bool TTools::usable() const
{
    return m_viewer && m_open && m_viewer->isOpen() && !m_viewer->isEnlarged();
}

const PhotoCaption& TTools::caption() const
{
    return m_viewer->caption();
}

void TTools::change(const std::function<void(PhotoCaption&)>& edit)
{
    if (usable())
        m_viewer->changeCaption(edit);
}

void TTools::selectFirst()
{
    if (!usable() || m_viewer->editMode())
        return;
    // Selecting hands the focus to the viewer; a teacher who was typing
    // goes on typing.
    QWidget* focus = QApplication::focusWidget();
    const bool typing = focus && isAncestorOf(focus);
    m_viewer->SelezionaTitolo();
    if (typing)
        focus->setFocus(Qt::OtherFocusReason);
}

void TTools::openAt(const QPoint& viewerTopLeft)
{
    if (m_font->count() == 0) {
        // The system's fonts, read once: the list is long and never changes
        // while a lesson runs.
        QSignalBlocker block(m_font);
        m_font->addItems(QFontDatabase::families());
    }
    const QRect g = toolBarGeometry(viewerTopLeft);
    const QRect host = parentWidget() ? parentWidget()->rect() : g;
    // Kept inside the lesson: a bar below the screen's edge could not be
    // reached.
    QPoint at = g.topLeft();
    at.setX(std::clamp(at.x(), 0, std::max(0, host.width() - kToolBarWidth)));
    at.setY(std::clamp(at.y(), 0, std::max(0, host.height() - kToolBarHeight)));
    move(at);
    layoutControls();
    m_open = true;
    const bool editing = m_viewer && m_viewer->editMode();
    m_state.FormShow(editing, m_viewer ? caption().alignment : CaptionAlignment::Centre);
    showModeless();
    raise();
    if (!usable())
        return;
    showCaption(caption(), editing);
    if (!m_viewer->hasStoredCaption() && caption().text == QString::fromUtf16(kCaptionPlaceholder)) {
        // A new caption: its first style, size and place, centred, the
        // placeholder selected for typing over.
        Sb_Predef1Click(false);
        Sb_JmClick();
        m_edit->selectAll();
        m_edit->setFocus(Qt::OtherFocusReason);
    }
}

void TTools::park()
{
    if (m_state.safeAreaDown()) {
        m_state.clickSafeArea(false);
        Q_EMIT safeAreaShown(false);
    }
    m_open = false;
    m_state.FormShow(false, CaptionAlignment::Centre);
    refreshButtons();
    hide();
}

void TTools::arrowDrawn(int arrow)
{
    m_state.arrowDrawn(arrow);
    refreshButtons();
}

void TTools::showCaption(const PhotoCaption& c, bool selected)
{
    m_updating = true;
    const QString shown = QString(c.text).replace(u'\r', u'\n');
    const QString inField = m_edit->toPlainText();
    if (inField != shown && !(shown == QLatin1String(" ") && inField.trimmed().isEmpty()))
        m_edit->setPlainText(shown);
    int font = m_font->findText(c.fontName, Qt::MatchFixedString);
    if (font < 0) {
        m_font->insertItem(0, c.fontName);
        font = 0;
    }
    m_font->setCurrentIndex(font);
    const int colour = colour_box::indexForColour(c.fontColour);
    m_colour->setCurrentIndex(colour < colour_box::kTextCount ? colour : -1);
    m_size->setValue(c.fontSize);
    m_state.SettaViewMode(c.multiLine, QStringLiteral("x"));
    m_state.showEffect(c.effect);
    m_state.showArrows(c.arrows[0].present(), c.arrows[1].present());
    m_state.Justify(selected && c.multiLine, c.alignment);
    button(QStringLiteral("Sb_It"))->setChecked(c.italic);
    button(QStringLiteral("Sb_Bld"))->setChecked(c.bold);
    button(QStringLiteral("Sb_Trasparente"))->setChecked(!c.background);
    button(QStringLiteral("Sb_BackColor"))->setIcon(swatch(c.captionColour));
    button(QStringLiteral("Sb_ShadeColor"))->setIcon(swatch(c.shadowColour));
    button(QStringLiteral("Sb_ColorArrow"))->setIcon(swatch(c.arrowColour));
    refreshButtons();
    m_updating = false;
}

void TTools::refreshButtons()
{
    button(QStringLiteral("Sb_3d"))->setChecked(m_state.raisedDown());
    button(QStringLiteral("Sb_Shade"))->setChecked(m_state.shadowDown());
    button(QStringLiteral("Sb_ArrowOn1"))->setChecked(m_state.arrowButtonDown(1));
    button(QStringLiteral("Sb_ArrowOn2"))->setChecked(m_state.arrowButtonDown(2));
    button(QStringLiteral("Sb_SafeArea"))->setChecked(m_state.safeAreaDown());
    QToolButton* lines = button(QStringLiteral("Sb_RigheMultiple"));
    lines->setChecked(m_state.ViewMode());
    lines->setIcon(glyph(m_state.viewModeGlyph()));
    const AlignmentButtons& a = m_state.alignmentButtons();
    const CaptionAlignment order[] = {CaptionAlignment::Left, CaptionAlignment::Centre, CaptionAlignment::Right};
    const char* names[] = {"Sb_Jl", "Sb_Jm", "Sb_Jr"};
    for (int i = 0; i < 3; ++i) {
        QToolButton* b = button(QString::fromLatin1(names[i]));
        b->setIcon(glyph(a.firstGlyph + i));
        b->setCheckable(a.grouped);
        b->setChecked(a.grouped && a.down == order[i]);
    }
}

void TTools::editTextChanged()
{
    if (m_updating || !usable())
        return;
    const bool multi = caption().multiLine;
    CleanedText clean = cleanCaptionText(m_edit->toPlainText(), multi);
    if (clean.altered) {
        // Pasted or dropped text loses what a caption cannot hold.
        m_updating = true;
        m_edit->setPlainText(clean.text);
        m_edit->moveCursor(QTextCursor::End);
        m_updating = false;
        Q_EMIT beepRequested();
    }
    QString text = clean.text;
    text.replace(u'\n', u'\r');
    change([&text](PhotoCaption& c) {
        c.text = text.trimmed().isEmpty() ? QStringLiteral(" ") : text;
        QRect box = c.box();
        if (c.multiLine)
            box.setHeight(captionTextSize(c, c.fontSize, box.width()).height());
        box = keepEditedCaptionInView(box, PhotoViewer::safeArea().width());
        box = Corrector(box, PhotoViewer::frameSize());
        c.left = box.x();
        c.top = box.y();
        c.height = box.height();
        c.fontSize = FontSizeMinimo(c.fontSize);
    });
}

void TTools::applySize(int value)
{
    if (!usable())
        return;
    m_state.ResizeBusy = true;
    const PhotoCaption& now = caption();
    const SizeChange sc =
        ApplicaDimensione(now.multiLine, value, now.fontSize, Corrector(now.box(), PhotoViewer::frameSize()),
                          PhotoViewer::frameSize().width());
    change([&sc](PhotoCaption& c) {
        c.fontSize = sc.fontSize;
        QRect box = sc.caption;
        if (c.multiLine) {
            box.setHeight(captionTextSize(c, c.fontSize, box.width()).height());
        } else {
            // A single line takes the size of its text at the new font.
            box.setWidth(captionTextSize(c, c.fontSize).width());
            box.setHeight(singleLineHeight(c.fontSize));
        }
        box = Corrector(box, PhotoViewer::frameSize());
        c.left = box.x();
        c.top = box.y();
        c.width = box.width();
        c.height = box.height();
    });
    m_state.ResizeBusy = false;
}

void TTools::alignmentClick(CaptionAlignment alignment)
{
    if (!usable()) {
        refreshButtons();
        return;
    }
    if (alignmentAction(m_viewer->editMode(), caption().multiLine) == AlignmentAction::AlignText) {
        m_state.showAlignment(alignment);
        change([alignment](PhotoCaption& c) { c.alignment = alignment; });
    } else {
        // The handle sits a pixel outside the caption: one more to the right
        // centres the caption itself in the usable area.
        const QRect safe = PhotoViewer::safeArea();
        const int left = alignmentBoxLeft(alignment, safe.width(), caption().width) + 1;
        change([left](PhotoCaption& c) { c.left = left; });
    }
    refreshButtons();
}

void TTools::Sb_JmClick()
{
    alignmentClick(CaptionAlignment::Centre);
}

void TTools::Sb_Predef1Click(bool fromButton)
{
    if (!usable())
        return;
    const CaptionReset reset =
        resetCaption(styleOf(caption()), fromButton, caption().multiLine, PhotoViewer::safeArea());
    change([&reset](PhotoCaption& c) {
        applyStyle(c, reset.style);
        if (reset.caption) {
            c.left = reset.caption->x();
            c.top = reset.caption->y();
            c.width = reset.caption->width();
            c.height = reset.caption->height();
        }
    });
    if (!caption().multiLine)
        change([](PhotoCaption& c) { c.height = singleLineHeight(c.fontSize); });
    selectFirst();
}

void TTools::presetClick(CaptionPreset preset, Qt::MouseButton mouseButton)
{
    if (!usable() || !m_styles)
        return;
    if (mouseButton == Qt::RightButton) {
        if (m_reports && m_reports->Conferma(presetQuestion(preset), QString()))
            m_styles->store(preset, styleOf(caption()));
        return;
    }
    CaptionStyle style = styleOf(caption());
    if (!m_styles->load(preset, caption().multiLine, style))
        return;
    change([&style](PhotoCaption& c) {
        applyStyle(c, style);
        c.fontSize = FontSizeMinimo(c.fontSize);
        if (!c.multiLine)
            c.height = singleLineHeight(c.fontSize);
    });
    selectFirst();
}

void TTools::arrowClick(int arrow)
{
    if (!usable()) {
        refreshButtons();
        return;
    }
    const bool down = button(arrow == 1 ? QStringLiteral("Sb_ArrowOn1") : QStringLiteral("Sb_ArrowOn2"))->isChecked();
    const CaptionToolBarState::ArrowAction action = m_state.clickArrow(arrow, down);
    if (action == CaptionToolBarState::ArrowAction::Arm) {
        m_viewer->DeselezionaTitolo();
        m_hideFocus->setFocus(Qt::OtherFocusReason);
    }
    if (action != CaptionToolBarState::ArrowAction::None)
        m_viewer->clearArrow(arrow);
    // Arrow 1 and the usable area share a group: the frame follows.
    Q_EMIT safeAreaShown(m_state.safeAreaDown());
    refreshButtons();
}

std::optional<QColor> TTools::chooseColour(const QColor& current)
{
    if (m_chooseColour)
        return m_chooseColour(current);
    // A grid of colours drawn inside the lesson, like every other window.
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("ColorDialog"));
    auto* grid = new QWidget(&menu);
    auto* layout = new QGridLayout(grid);
    layout->setSpacing(2);
    layout->setContentsMargins(4, 4, 4, 4);
    std::optional<QColor> chosen;
    const int hues[] = {0, 30, 60, 120, 180, 210, 240, 300};
    const int rows = 5;
    for (int col = 0; col < 8; ++col) {
        for (int row = 0; row < rows; ++row) {
            const QColor colour = QColor::fromHsv(hues[col], row == 0 ? 90 : 255, 255 - std::max(0, row - 1) * 60);
            auto* b = new QToolButton(grid);
            b->setIcon(swatch(colour));
            b->setAutoRaise(true);
            if (colour == current)
                b->setDown(true);
            connect(b, &QToolButton::clicked, &menu, [&chosen, &menu, colour] {
                chosen = colour;
                menu.close();
            });
            layout->addWidget(b, row, col);
        }
    }
    for (int i = 0; i < 8; ++i) {
        const QColor grey = QColor::fromRgb(255 * i / 7, 255 * i / 7, 255 * i / 7);
        auto* b = new QToolButton(grid);
        b->setIcon(swatch(grey));
        b->setAutoRaise(true);
        connect(b, &QToolButton::clicked, &menu, [&chosen, &menu, grey] {
            chosen = grey;
            menu.close();
        });
        layout->addWidget(b, rows, i);
    }
    auto* action = new QWidgetAction(&menu);
    action->setDefaultWidget(grid);
    menu.addAction(action);
    menu.exec(mapToGlobal(QPoint(width() / 3, 0)));
    return chosen;
}

void TTools::pickColour(QColor PhotoCaption::*member)
{
    if (!usable())
        return;
    const std::optional<QColor> colour = chooseColour(caption().*member);
    if (!colour || !colour->isValid())
        return;
    const QColor c = *colour;
    change([member, c](PhotoCaption& cap) { cap.*member = c; });
}

void TTools::fontChosen(int index)
{
    if (!usable() || index < 0)
        return;
    const QString name = m_font->itemText(index);
    if (index != 0) {
        // The fonts chosen lately come first.
        QSignalBlocker block(m_font);
        m_font->removeItem(index);
        m_font->insertItem(0, name);
        m_font->setCurrentIndex(0);
        if (index > m_usedFonts)
            ++m_usedFonts;
    }
    change([&name](PhotoCaption& c) { c.fontName = name; });
    applySize(m_size->value());
}

void TTools::colourChosen(int index)
{
    if (!usable())
        return;
    std::optional<QColor> colour = colour_box::entryColour(index);
    if (colour_box::opensColourDialog(index))
        colour = chooseColour(caption().fontColour);
    if (!colour) {
        showCaption(caption(), m_viewer->editMode());
        return;
    }
    const QColor c = *colour;
    change([c](PhotoCaption& cap) { cap.fontColour = c; });
}

void TTools::setViewMode(bool multiLine)
{
    if (!usable()) {
        refreshButtons();
        return;
    }
    selectFirst();
    if (!m_state.SettaViewMode(multiLine, caption().text)) {
        refreshButtons();
        return;
    }
    change([multiLine](PhotoCaption& c) {
        c.multiLine = multiLine;
        if (!multiLine)
            c.alignment = CaptionAlignment::Centre;
    });
    m_state.Justify(m_viewer->editMode() && multiLine, caption().alignment);
    if (!multiLine) {
        if (const std::optional<int> restart = CaptionToolBarState::singleLineRestartSize(caption().fontSize))
            applySize(*restart);
        else
            m_viewer->BoundSync(caption().box());
    } else {
        applySize(caption().fontSize);
    }
    refreshButtons();
}

ToolFocus TTools::focusArea() const
{
    const QWidget* f = focusWidget();
    if (f == m_edit || (f && m_edit->isAncestorOf(f)))
        return ToolFocus::EditText;
    if (f == m_font)
        return ToolFocus::FontBox;
    if (f == m_colour)
        return ToolFocus::ColorBox;
    if (f == m_size)
        return ToolFocus::SizeBar;
    return ToolFocus::Other;
}

bool TTools::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_edit && (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool ctrl = key->modifiers().testFlag(Qt::ControlModifier);
        const bool copyPaste = ctrl && (key->key() == Qt::Key_C || key->key() == Qt::Key_V);
        if (event->type() == QEvent::KeyRelease) {
            if (!usable() || key->isAutoRepeat())
                return false;
            if (copyPaste) {
                key->key() == Qt::Key_C ? m_viewer->CopiaTxt() : m_viewer->IncollaTxt();
                return true;
            }
            if (forwardKeyRelease(ToolFocus::EditText, key->key(), key->modifiers())) {
                m_viewer->FormKey(key->key(), key->modifiers());
                return true;
            }
            return false;
        }
        // Copy and paste work on whole captions, on the key's release.
        if (copyPaste)
            return true;
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
            return usable() && !caption().multiLine;
        if (key->key() == Qt::Key_Escape)
            return true;
        const QString text = key->text();
        if (!text.isEmpty() && !ctrl) {
            const KeyDecision d = EditTextKeyPress(text.at(0), m_edit->toPlainText().size(),
                                                   usable() && caption().multiLine);
            if (d == KeyDecision::RefuseWithBeep) {
                Q_EMIT beepRequested();
                return true;
            }
            if (d == KeyDecision::Refuse)
                return true;
        }
        return false;
    }
    if (event->type() == QEvent::MouseButtonRelease && usable()) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        auto* b = qobject_cast<QToolButton*>(watched);
        if (b && b->rect().contains(mouse->position().toPoint())) {
            if (b->objectName() == QLatin1String("Sb_Predef2") || b->objectName() == QLatin1String("Sb_Predef3")) {
                presetClick(b->objectName() == QLatin1String("Sb_Predef2") ? CaptionPreset::A : CaptionPreset::B,
                            mouse->button());
                b->setDown(false);
                return true;
            }
            if (b->objectName() == QLatin1String("Sb_SafeArea") && mouse->button() == Qt::RightButton) {
                m_viewer->editMode() ? m_viewer->DeselezionaTitolo() : m_viewer->SelezionaTitolo();
                return true;
            }
        }
    }
    if (event->type() == QEvent::MouseButtonPress) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        auto* b = qobject_cast<QToolButton*>(watched);
        if (b && mouse->button() == Qt::RightButton)
            return true;  // the release decides
    }
    return OverlayWindow::eventFilter(watched, event);
}

void TTools::keyReleaseEvent(QKeyEvent* event)
{
    if (usable() && !event->isAutoRepeat() && forwardKeyRelease(focusArea(), event->key(), event->modifiers()))
        m_viewer->FormKey(event->key(), event->modifiers());
    event->accept();
}

void TTools::keyPressEvent(QKeyEvent* event)
{
    event->accept();
}

void TTools::mousePressEvent(QMouseEvent* event)
{
    // The bar's background drags it.
    m_dragFrom = event->position().toPoint();
    event->accept();
}

void TTools::mouseMoveEvent(QMouseEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return;
    QPoint to = pos() + event->position().toPoint() - m_dragFrom;
    if (const QWidget* host = parentWidget()) {
        to.setX(std::clamp(to.x(), -width() + 20, host->width() - 20));
        to.setY(std::clamp(to.y(), 0, host->height() - 20));
    }
    move(to);
    event->accept();
}

}  // namespace ziro
