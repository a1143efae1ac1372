#include "authoring/source_panel_widget.h"

#include "base/reports.h"
#include "controls/kxb.h"

#include <QApplication>
#include <QComboBox>
#include <QDrag>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHelpEvent>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>

namespace ziro {

namespace {

const QColor kTrueLine(0, 128, 0);
const QColor kFalseLine(128, 0, 0);
constexpr int kPreviewW = 80;
constexpr int kPreviewH = 60;
constexpr int kPreviewGap = 4;
constexpr int kSignSize = 72;  // the source half is 200 pixels high in the editor
// Statement hints only where the pointer has passed most of the line.
constexpr int kHintFromX = 400;
const char* const kTagProperty = "ziroTag";

std::optional<QImage> loadPicture(const QString& path)
{
    if (path.endsWith(QStringLiteral(".KXB"), Qt::CaseInsensitive))
        return loadKxbFile(path);
    QImage image(path);
    if (image.isNull())
        return std::nullopt;
    return image;
}

// What a picture that should be there but is not looks like.
QPixmap crossPixmap(QSize size)
{
    QPixmap p(size);
    p.fill(Qt::white);
    QPainter painter(&p);
    painter.setPen(QPen(Qt::red, 2));
    painter.drawLine(4, 4, size.width() - 5, size.height() - 5);
    painter.drawLine(size.width() - 5, 4, 4, size.height() - 5);
    return p;
}

QPixmap fitted(const QImage& image, QSize size)
{
    return QPixmap::fromImage(image.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

}  // namespace

SourcePanelWidget::SourcePanelWidget(const Folders& dirs, Reports& reports, QWidget* parent)
    : QWidget(parent), m_reports(reports), m_model(std::make_unique<SourceModel>(dirs, reports))
{
    setObjectName(QStringLiteral("PanelSrc"));

    m_type = new QComboBox(this);
    m_type->setObjectName(QStringLiteral("CBTypeSource"));
    m_type->addItems(sourceTypeCaptions());
    m_type->setFixedWidth(120);
    m_topics = new QComboBox(this);
    m_topics->setObjectName(QStringLiteral("CBArgomenti"));
    m_topics->setToolTip(QStringLiteral("Selezione degli argomenti"));
    m_topics->setMinimumWidth(300);
    m_topics->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_blocks = new QComboBox(this);
    m_blocks->setObjectName(QStringLiteral("CBBlocchi"));
    m_blocks->setFixedWidth(100);

    auto* top = new QHBoxLayout;
    top->setContentsMargins(0, 0, 0, 0);
    top->addWidget(m_type);
    top->addWidget(m_topics, 1);
    top->addWidget(m_blocks);

    const char* names[] = {"SBinizio", "SBindietro", "SBavanti", "SBfine"};
    const char* hints[] = {"Inizio", "Indietro", "Avanti", "Fine"};
    const Qt::ArrowType arrows[] = {Qt::UpArrow, Qt::LeftArrow, Qt::RightArrow, Qt::DownArrow};
    auto* nav = new QHBoxLayout;
    nav->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < 4; ++i) {
        auto* b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(names[i]));
        b->setToolTip(QString::fromLatin1(hints[i]));
        b->setArrowType(arrows[i]);
        b->setFixedSize(24, 22);
        connect(b, &QToolButton::clicked, this, [this, i] {
            m_model->navigate(i + 1);
            refresh();
        });
        m_nav[size_t(i)] = b;
        nav->addWidget(b);
    }
    m_counter = new QLabel(this);
    m_counter->setObjectName(QStringLiteral("CountSrc"));
    m_counter->setToolTip(QStringLiteral("Numero del blocco corrente / blocchi in totale"));
    m_counter->setMinimumWidth(70);
    m_counter->setAlignment(Qt::AlignCenter);
    nav->addWidget(m_counter);
    m_info = new QLabel(this);
    m_info->setObjectName(QStringLiteral("PnInfo"));
    m_info->setToolTip(QStringLiteral("Informazioni elemento corrente"));
    m_info->setFrameShape(QFrame::StyledPanel);
    m_info->setMinimumWidth(120);
    nav->addWidget(m_info, 1);

    m_sign = new QLabel(this);
    m_sign->setObjectName(QStringLiteral("DisplaySorgente"));
    m_sign->setToolTip(QStringLiteral("Segnale da copiare"));
    m_sign->setFixedSize(kSignSize, kSignSize);
    m_sign->setAlignment(Qt::AlignCenter);
    m_sign->setFrameShape(QFrame::StyledPanel);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("LBSorgente"));
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setMinimumHeight(kSignSize);
    auto* middle = new QHBoxLayout;
    middle->setContentsMargins(0, 0, 0, 0);
    middle->addWidget(m_sign, 0, Qt::AlignTop);
    middle->addWidget(m_list, 1);

    m_strip = new QScrollArea(this);
    m_strip->setObjectName(QStringLiteral("ScrollBox1"));
    m_strip->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_strip->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    auto* strip = new QWidget;
    strip->setFixedSize(kSourcePhotos * (kPreviewW + kPreviewGap) + kPreviewGap, kPreviewH + 2 * kPreviewGap);
    for (int i = 0; i < kSourcePhotos; ++i) {
        auto* p = new QLabel(strip);
        p->setObjectName(QStringLiteral("Preview%1").arg(i + 1));
        p->setToolTip(QStringLiteral("Immagini fotografiche da copiare"));
        p->setGeometry(kPreviewGap + i * (kPreviewW + kPreviewGap), kPreviewGap, kPreviewW, kPreviewH);
        p->setAlignment(Qt::AlignCenter);
        p->setProperty(kTagProperty, kFirstSourceTag + i);
        p->installEventFilter(this);
        m_previews[size_t(i)] = p;
    }
    m_strip->setWidget(strip);
    m_strip->setFixedHeight(strip->height() + m_strip->horizontalScrollBar()->sizeHint().height() + 4);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(4, 4, 4, 4);
    column->setSpacing(4);
    column->addLayout(top);
    column->addLayout(nav);
    column->addLayout(middle, 1);
    column->addWidget(m_strip);

    m_sign->installEventFilter(this);
    m_blocks->installEventFilter(this);
    m_topics->installEventFilter(this);
    m_list->viewport()->installEventFilter(this);
    m_list->viewport()->setMouseTracking(true);

    connect(m_type, &QComboBox::activated, this, [this](int index) { applySourceType(index); });
    connect(m_topics, &QComboBox::activated, this, [this](int index) {
        if (m_updating)
            return;
        if (m_model->selectTopic(index) == SourceModel::Outcome::FellBack)
            QApplication::beep();
        refresh();
    });
    connect(m_blocks, &QComboBox::activated, this, [this](int index) {
        if (m_updating)
            return;
        m_model->chooseBlock(m_blocks->itemText(index));
        refresh();
    });
    connect(m_list, &QListWidget::itemPressed, this, [this](QListWidgetItem* item) {
        // The statement's own figure stands in for the sign while it is chosen.
        const QString figure = m_model->figurePath(m_list->row(item));
        if (!figure.isEmpty())
            showSign(figure);
    });
}

SourcePanelWidget::~SourcePanelWidget() = default;

QLabel* SourcePanelWidget::preview(int tag) const
{
    const int i = tag - kFirstSourceTag;
    return i >= 0 && i < kSourcePhotos ? m_previews[size_t(i)] : nullptr;
}

void SourcePanelWidget::open(int sourceIndex, int topicMarker)
{
    if (!m_checked) {
        m_checked = true;
        m_model->checkInstallation();
    }
    m_model->setTopicMarker(topicMarker);
    m_strip->horizontalScrollBar()->setValue(0);
    applySourceType(sourceIndex);
}

void SourcePanelWidget::applySourceType(int index)
{
    if (m_model->applySourceType(index) == SourceModel::Outcome::FellBack)
        QApplication::beep();
    refresh();
}

void SourcePanelWidget::fillTopics()
{
    QStringList texts;
    for (const TopicComboItem& item : m_model->topics())
        texts << item.text;
    QStringList shown;
    for (int i = 0; i < m_topics->count(); ++i)
        shown << m_topics->itemText(i);
    if (texts != shown) {
        m_topics->clear();
        m_topics->addItems(texts);
    }
    m_topics->setCurrentIndex(m_model->topicIndex());
}

void SourcePanelWidget::refresh()
{
    m_updating = true;
    SourceModel& m = *m_model;
    m_type->setCurrentIndex(m.sourceIndex());
    fillTopics();
    const QStringList blocks = m.photoMode() ? QStringList() : m.blocks();
    QStringList shown;
    for (int i = 0; i < m_blocks->count(); ++i)
        shown << m_blocks->itemText(i);
    if (blocks != shown) {
        m_blocks->clear();
        m_blocks->addItems(blocks);
    }
    m_blocks->setCurrentIndex(m.photoMode() ? -1 : m_blocks->findText(m.currentBlock()));
    m_topics->setEnabled(m.combosEnabled());
    m_blocks->setEnabled(m.combosEnabled());
    m_nav[0]->setEnabled(m.canBack());
    m_nav[1]->setEnabled(m.canBack());
    m_nav[2]->setEnabled(m.canForward());
    m_nav[3]->setEnabled(m.canForward());
    m_counter->setText(m.counter());

    showSign(m.signPath());
    m_list->clear();
    for (const SourceStatement& s : m.statements()) {
        auto* item = new QListWidgetItem(s.text(), m_list);
        item->setForeground(s.truth ? kTrueLine : kFalseLine);
        item->setData(Qt::UserRole, s.line);
    }
    m_list->clearSelection();
    showPictures();
    m_updating = false;
    // With Ctrl held the block's statements are listed as the bank has them,
    // for checking a bank against what the editor shows.
    if (QGuiApplication::queryKeyboardModifiers() & Qt::ControlModifier) {
        const QString diagnostic = m.blockDiagnostic();
        if (!diagnostic.isEmpty())
            m_reports.Emsg(ReportKind::Message, QStringLiteral("Affermazioni del blocco"), diagnostic);
    }
    Q_EMIT sourceChanged();
}

void SourcePanelWidget::showSign(const QString& path)
{
    m_sign->clear();
    if (path.isEmpty())
        return;
    const auto image = loadPicture(path);
    if (!image) {
        if (!m_badSigns.contains(path)) {
            m_badSigns.insert(path);
            m_reports.Emsg(ReportKind::OtherTopic, QStringLiteral("Errore segnale Sorgente"), path);
        }
        return;
    }
    m_sign->setPixmap(fitted(*image, m_sign->size() - QSize(6, 6)));
}

void SourcePanelWidget::showPictures()
{
    for (int i = 0; i < kSourcePhotos; ++i) {
        QLabel* p = m_previews[size_t(i)];
        const QString path = m_model->picturePath(kFirstSourceTag + i);
        p->clear();
        p->setFrameShape(path.isEmpty() ? QFrame::NoFrame : QFrame::Box);
        if (path.isEmpty())
            continue;
        const auto image = loadPicture(path);
        p->setPixmap(image ? fitted(*image, p->size()) : crossPixmap(p->size()));
    }
}

void SourcePanelWidget::setInfo(const QString& text)
{
    m_info->setText(text);
    Q_EMIT infoChanged(text);
}

QMimeData* SourcePanelWidget::dragData(DragOrigin origin, int tag) const
{
    std::optional<EditorDrag> drag;
    switch (origin) {
    case DragOrigin::SourceSign: drag = m_model->signDrag(); break;
    case DragOrigin::BlockCombo: drag = m_model->blockDrag(); break;
    case DragOrigin::TopicCombo: drag = m_model->topicDrag(); break;
    case DragOrigin::SourceStatements: {
        QList<int> rows;
        for (const QModelIndex& index : m_list->selectionModel()->selectedRows())
            rows << index.row();
        drag = m_model->statementsDrag(rows);
        break;
    }
    case DragOrigin::SourcePhoto:
    case DragOrigin::ExtraSign: drag = m_model->pictureDrag(tag); break;
    default: break;
    }
    return drag ? encodeEditorDrag(*drag) : nullptr;
}

void SourcePanelWidget::startDrag(QWidget* from, DragOrigin origin, int tag)
{
    QMimeData* mime = dragData(origin, tag);
    if (!mime)
        return;
    auto* drag = new QDrag(from);
    drag->setMimeData(mime);
    if (auto* label = qobject_cast<QLabel*>(from); label && !label->pixmap().isNull())
        drag->setPixmap(label->pixmap().scaled(QSize(64, 48), Qt::KeepAspectRatio));
    drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::CopyAction);
}

bool SourcePanelWidget::listTooltip(QEvent* event)
{
    auto* help = static_cast<QHelpEvent*>(event);
    QListWidgetItem* item = m_list->itemAt(help->pos());
    const QString text = item ? item->text() : QString();
    if (!item || help->pos().x() <= kHintFromX ||
        m_list->fontMetrics().horizontalAdvance(text) <= m_list->viewport()->width()) {
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    QToolTip::showText(help->globalPos(), text, m_list);
    return true;
}

bool SourcePanelWidget::eventFilter(QObject* watched, QEvent* event)
{
    auto* widget = qobject_cast<QWidget*>(watched);
    const QVariant tagValue = watched->property(kTagProperty);
    const int tag = tagValue.isValid() ? tagValue.toInt() : 0;
    const bool isCombo = watched == m_blocks || watched == m_topics;

    switch (event->type()) {
    case QEvent::ToolTip:
        if (watched == m_list->viewport())
            return listTooltip(event);
        break;
    case QEvent::MouseButtonPress: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (e->button() != Qt::LeftButton)
            break;
        m_pressed = widget;
        m_pressPos = e->position().toPoint();
        if (watched == m_sign && (e->modifiers() & Qt::ControlModifier)) {
            m_pressed = nullptr;
            const QString video = m_model->film();
            if (!video.isEmpty())
                Q_EMIT filmRequested(video);
            return true;
        }
        if (tag > 0)
            setInfo(m_model->pictureInfo(tag));
        // A combo opens its list on release, so that pressing it can start a drag.
        m_comboPress = isCombo;
        // The sign and the pictures take the press they would ignore: inside
        // the presentation the widget that takes it gets the moves that
        // start the drag.
        const bool take = isCombo || watched == m_sign || tag > 0;
        if (take)
            e->accept();
        return take;
    }
    case QEvent::MouseMove: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (!m_pressed || m_pressed != widget || !(e->buttons() & Qt::LeftButton) ||
            (e->position().toPoint() - m_pressPos).manhattanLength() < QApplication::startDragDistance())
            break;
        m_pressed = nullptr;
        m_comboPress = false;
        if (watched == m_sign)
            startDrag(m_sign, DragOrigin::SourceSign, 0);
        else if (watched == m_blocks)
            startDrag(m_blocks, DragOrigin::BlockCombo, 0);
        else if (watched == m_topics)
            startDrag(m_topics, DragOrigin::TopicCombo, 0);
        else if (watched == m_list->viewport())
            startDrag(m_list, DragOrigin::SourceStatements, 0);
        else if (tag > 0)
            startDrag(widget, m_model->sourceType() == SourceType::SegnaliExtra ? DragOrigin::ExtraSign
                                                                               : DragOrigin::SourcePhoto,
                      tag);
        return true;
    }
    case QEvent::MouseButtonRelease:
        if (isCombo && m_comboPress && m_pressed == widget) {
            m_pressed = nullptr;
            m_comboPress = false;
            static_cast<QComboBox*>(widget)->showPopup();
            return true;
        }
        m_pressed = nullptr;
        m_comboPress = false;
        // The viewer opens once the button is up, so the press does not
        // stay with this picture under it.
        if (tag > 0 && m_previewOnRelease == tag) {
            m_previewOnRelease = 0;
            Q_EMIT previewRequested(tag);
            return true;
        }
        break;
    case QEvent::MouseButtonDblClick:
        if (tag > 0) {
            if (!m_model->picturePath(tag).isEmpty())
                m_previewOnRelease = tag;
            return true;
        }
        break;
    default: break;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace ziro
