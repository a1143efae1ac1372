#include "authoring/step_panel_widget.h"

#include "base/globals.h"
#include "base/reports.h"
#include "content/photo_files.h"
#include "content/sign_viewer.h"
#include "controls/kxb.h"

#include <QApplication>
#include <QComboBox>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QTimer>
#include <QToolButton>

namespace ziro {

namespace {

constexpr int kSlotW = 80;
constexpr int kSlotH = 60;
constexpr int kGap = 4;

QPixmap crossPicture(QSize size)
{
    QPixmap pm(size);
    pm.fill(Qt::white);
    QPainter p(&pm);
    p.setPen(QPen(Qt::red, 2));
    p.drawLine(0, 0, size.width(), size.height());
    p.drawLine(size.width(), 0, 0, size.height());
    return pm;
}

std::optional<EditorDrag> dragOf(const QMimeData* mime)
{
    return decodeEditorDrag(mime);
}

}  // namespace

StepPanelWidget::StepPanelWidget(LessonEditorModel& model, const Folders& dirs, Reports& reports, QWidget* parent)
    : QWidget(parent), m_model(model), m_dirs(dirs), m_reports(reports)
{
    setObjectName(QStringLiteral("PanelDst"));
    resize(630, 240);

    m_insertType = new QToolButton(this);
    m_insertType->setObjectName(QStringLiteral("SbInsertType"));
    m_insertType->setCheckable(true);
    m_insertType->setGeometry(0, 0, 24, 24);
    m_insertType->setText(QStringLiteral("+"));
    m_insertType->setToolTip(QStringLiteral("Menu delle operazioni di trascinamento"));
    connect(m_insertType, &QToolButton::toggled, this,
            [this](bool on) { m_insertType->setText(on ? QStringLiteral("?") : QStringLiteral("+")); });

    m_sign = new QLabel(this);
    m_sign->setObjectName(QStringLiteral("DisplayDestinazione"));
    m_sign->setGeometry(28, 0, 100, 100);
    m_sign->setAlignment(Qt::AlignCenter);
    m_sign->setFrameShape(QFrame::Box);
    m_sign->setToolTip(QStringLiteral("Segnale nel blocco corrente"));

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("LBDestinazione"));
    m_list->setGeometry(132, 0, 360, 130);
    m_list->setFont(QFont(QStringLiteral("Monospace"), 8));

    m_marker = new QFrame(m_list->viewport());
    m_marker->setObjectName(QStringLiteral("MoveMarker"));
    m_marker->setAutoFillBackground(true);
    QPalette mp = m_marker->palette();
    mp.setColor(QPalette::Window, m_list->palette().color(QPalette::Highlight));
    m_marker->setPalette(mp);
    m_marker->hide();

    m_scroll = new QTimer(this);
    m_scroll->setObjectName(QStringLiteral("scrollList"));
    connect(m_scroll, &QTimer::timeout, this, [this] {
        m_scroll->setInterval(200);
        QScrollBar* bar = m_list->verticalScrollBar();
        bar->setValue(bar->value() + m_scrollStep);
        updateMoveMarker(m_list->viewport()->mapFromGlobal(QCursor::pos()));
    });

    m_name = new QComboBox(this);
    m_name->setObjectName(QStringLiteral("CBLezioni"));
    m_name->setGeometry(496, 0, 134, 22);
    m_name->setToolTip(QStringLiteral("Nome della lezione corrente"));

    m_counter = new QLabel(this);
    m_counter->setObjectName(QStringLiteral("Counter"));
    m_counter->setGeometry(496, 26, 134, 20);
    m_counter->setAlignment(Qt::AlignCenter);

    static const char* const glyphs[6] = {"|<", "<", ">", ">|", "+", "x"};
    static const char* const hints[6] = {"Inizio lezione", "Indietro di un blocco", "Avanti di un blocco",
                                         "Fine lezione", "Inserisce un blocco vuoto", "Cancella il blocco corrente"};
    for (int i = 0; i < 6; ++i) {
        auto* b = new QToolButton(this);
        b->setObjectName(QStringLiteral("NavigaDestinazione%1").arg(i));
        b->setGeometry(496 + i * 22, 50, 21, 21);
        b->setText(QString::fromLatin1(glyphs[i]));
        b->setToolTip(QString::fromLatin1(hints[i]));
        connect(b, &QToolButton::clicked, this, [this, i] { onNav(i); });
        m_nav[std::size_t(i)] = b;
    }

    m_info = new QLabel(this);
    m_info->setObjectName(QStringLiteral("PnInfo"));
    m_info->setGeometry(496, 76, 134, 22);
    m_info->setFrameShape(QFrame::Panel);
    m_info->setToolTip(QStringLiteral("Informazioni elemento corrente"));
    QPalette ip = m_info->palette();
    ip.setColor(QPalette::WindowText, Qt::gray);
    m_info->setPalette(ip);

    m_track = new QSlider(Qt::Horizontal, this);
    m_track->setObjectName(QStringLiteral("TBDestinazione"));
    m_track->setGeometry(0, 134, 630, 20);
    m_track->setMinimum(1);
    m_track->setToolTip(QStringLiteral("Scorrimento della lezione"));
    connect(m_track, &QSlider::valueChanged, this, [this](int v) {
        if (!m_refreshing && m_model.moveTo(v))
            refresh();
    });

    m_strip = new QScrollArea(this);
    m_strip->setObjectName(QStringLiteral("ScrollBox2"));
    m_strip->setGeometry(0, 156, 630, 84);
    m_strip->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* strip = new QWidget;
    strip->resize(kStepPhotos * (kSlotW + kGap) + kGap, kSlotH);
    for (int i = 0; i < kStepPhotos; ++i) {
        auto* marker = new QFrame(strip);
        marker->setObjectName(QStringLiteral("Insert%1").arg(i));
        marker->setGeometry(i * (kSlotW + kGap), 0, kGap, kSlotH);
        marker->setAcceptDrops(true);
        marker->installEventFilter(this);
        m_markers[std::size_t(i)] = marker;
        auto* slot = new QLabel(strip);
        slot->setObjectName(QStringLiteral("Postview%1").arg(i + 1));
        slot->setGeometry(i * (kSlotW + kGap) + kGap, 0, kSlotW, kSlotH);
        slot->setFrameShape(QFrame::Box);
        slot->setAlignment(Qt::AlignCenter);
        slot->setToolTip(QStringLiteral("Immagini fotografiche per il blocco corrente"));
        slot->setAcceptDrops(true);
        slot->installEventFilter(this);
        m_slots[std::size_t(i)] = slot;
    }
    m_strip->setWidget(strip);

    m_menu = new QMenu(this);
    m_menu->setObjectName(QStringLiteral("DDpopup"));
    struct Item { const char* name; const char* text; MenuChoice choice; };
    for (const Item& it : {Item{"PAggiungiInCoda", "  Aggiungi in un nuovo passo in fondo alla lezione", MenuChoice::Append},
                           Item{"PInserisciPrima", "  Inserisci in un nuovo passo prima di quello corrente",
                                MenuChoice::InsertBefore},
                           Item{"PModificaSelezionato", "  Modifica o aggiungi l'elemento nel passo corrente",
                                MenuChoice::Current}}) {
        QAction* a = m_menu->addAction(QString::fromUtf8(it.text));
        a->setObjectName(QString::fromLatin1(it.name));
        const MenuChoice choice = it.choice;
        connect(a, &QAction::triggered, this, [this, choice] { applyPending(choice); });
    }

    for (QWidget* w : std::initializer_list<QWidget*>{m_sign, m_list->viewport(), m_name, m_info, this}) {
        w->setAcceptDrops(w != this && w != m_info);
        w->installEventFilter(this);
    }
    m_list->installEventFilter(this);
    refresh();
}

QWidget* StepPanelWidget::signTarget() const
{
    return m_sign;
}

QWidget* StepPanelWidget::photoSlot(int slot) const
{
    return m_slots[std::size_t(slot - 1)];
}

QWidget* StepPanelWidget::insertMarker(int marker) const
{
    return m_markers[std::size_t(marker)];
}

// ------------------------------------------------------------------ view

void StepPanelWidget::refresh()
{
    m_refreshing = true;
    const int count = m_model.count();
    const int pos = m_model.position();
    m_counter->setText(QStringLiteral("%1 / %2").arg(std::min(pos, std::max(count, 1))).arg(count));
    m_track->setMaximum(std::max(count, 1));
    m_track->setValue(std::min(pos, std::max(count, 1)));

    const QString sign = m_model.field(QStringLiteral("Nome segnale"));
    m_sign->clear();
    if (!sign.isEmpty()) {
        const PictureName file = recordSignFile(m_dirs, false, sign);
        const std::optional<QImage> img = file.plain ? loadKxbFile(file.path()) : std::nullopt;
        if (img)
            m_sign->setPixmap(QPixmap::fromImage(img->scaled(96, 96, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
        else
            m_reports.Emsg(ReportKind::OtherTopic, QStringLiteral("Errore segnale Destinazione"), file.path());
    }
    m_info->setText(sign.isEmpty() ? QString() : QStringLiteral("s ") + sign);
    m_infoSlot = 0;

    const int row = m_list->currentRow();
    m_list->clear();
    // The class reads the statements: the code stays with the line, the
    // list shows its text (the code itself when the bank has no text).
    for (const QString& line : m_model.statementLines(m_bank)) {
        auto* item = new QListWidgetItem(line.size() > 16 ? line.mid(16) : line, m_list);
        item->setData(Qt::UserRole, line);
        item->setForeground(line.mid(7, 1) == QLatin1String("V") ? QColor(Qt::darkGreen) : QColor(128, 0, 0));
        // Long statements are read whole in their hint.
        if (line.size() > 16)
            item->setToolTip(line.mid(16));
    }
    if (row >= 0 && row < m_list->count()) {
        m_list->setCurrentRow(row);
        m_info->setText(m_list->item(row)->data(Qt::UserRole).toString().left(7).trimmed());
    }

    const std::vector<StepPhoto> photos = m_model.photos();
    for (int i = 0; i < kStepPhotos; ++i) {
        QLabel* slot = m_slots[std::size_t(i)];
        slot->clear();
        const QString v = photos[std::size_t(i)].value;
        if (v.isEmpty())
            continue;
        const std::optional<PhotoFile> file = photoFile(m_dirs, v);
        const std::optional<QImage> img = file ? loadPhoto(*file) : std::nullopt;
        slot->setPixmap(img ? QPixmap::fromImage(img->scaled(kSlotW - 2, kSlotH - 2, Qt::KeepAspectRatio,
                                                              Qt::SmoothTransformation))
                            : crossPicture(QSize(kSlotW - 2, kSlotH - 2)));
    }
    m_refreshing = false;
}

void StepPanelWidget::changed(bool didChange)
{
    refresh();
    if (didChange)
        Q_EMIT lessonChanged();
}

void StepPanelWidget::onNav(int which)
{
    using Nav = LessonEditorModel::Nav;
    switch (which) {
    case 0: m_model.navigate(Nav::First); break;
    case 1: m_model.navigate(Nav::Back); break;
    case 2: m_model.navigate(Nav::Forward); break;
    case 3: m_model.navigate(Nav::Last); break;
    case 4: changed(m_model.insertStep()); return;
    case 5: changed(m_model.deleteStep()); return;
    default: break;
    }
    refresh();
}

// ------------------------------------------------------------------ drops

int StepPanelWidget::slotOf(QObject* o) const
{
    for (int i = 0; i < kStepPhotos; ++i)
        if (m_slots[std::size_t(i)] == o)
            return i + 1;
    return 0;
}

int StepPanelWidget::markerOf(QObject* o) const
{
    for (int i = 0; i < kStepPhotos; ++i)
        if (m_markers[std::size_t(i)] == o)
            return i;
    return -1;
}

bool StepPanelWidget::acceptsHere(QObject* target, const EditorDrag& drag) const
{
    using T = LessonEditorModel::Target;
    if (target == m_sign)
        return LessonEditorModel::accepts(T::Sign, drag);
    if (target == m_list->viewport())
        return LessonEditorModel::accepts(T::Statements, drag);
    if (target == m_name)
        return LessonEditorModel::accepts(T::LessonName, drag);
    if (slotOf(target) > 0)
        return LessonEditorModel::slotAccepts(drag);
    const int marker = markerOf(target);
    if (marker >= 0)
        return m_model.insertMarkerAccepts(marker, drag);
    return false;
}

bool StepPanelWidget::apply(const Pending& p)
{
    if (p.slot > 0)
        return m_model.dropPhoto(p.drag, p.slot);
    return m_model.applyDrop(p.target, p.drag);
}

bool StepPanelWidget::dropHere(QObject* target, const EditorDrag& drag, const QPoint& globalPos)
{
    using T = LessonEditorModel::Target;
    if (!acceptsHere(target, drag))
        return false;
    if (target == m_name) {
        changed(m_model.dropOnLessonName(drag, m_source));
        return true;
    }
    const int marker = markerOf(target);
    if (marker >= 0) {
        changed(m_model.insertPhoto(drag, marker));
        if (marker == 7)
            m_strip->horizontalScrollBar()->setValue(m_strip->horizontalScrollBar()->maximum());
        return true;
    }
    Pending p;
    p.drag = drag;
    p.slot = slotOf(target);
    p.target = target == m_sign ? T::Sign : T::Statements;
    if (m_insertType->isChecked()) {
        // Step photographs are only rearranged in place; the menu is for
        // what comes from the source.
        if (p.slot > 0 && drag.origin != DragOrigin::SourcePhoto) {
            changed(apply(p));
            return true;
        }
        m_pending = p;
        m_menu->popup(globalPos);
        return true;
    }
    const bool done = apply(p);
    if (done && p.slot == 8 && m_model.field(QStringLiteral("Foto8")) == drag.photoValue.trimmed())
        m_strip->horizontalScrollBar()->setValue(m_strip->horizontalScrollBar()->maximum());
    changed(done);
    return true;
}

void StepPanelWidget::applyPending(MenuChoice choice)
{
    if (!m_pending)
        return;
    const Pending p = *m_pending;
    m_pending.reset();
    bool done = false;
    switch (choice) {
    case MenuChoice::Append:
        if (m_model.appendStep())
            done = true, apply(p);
        break;
    case MenuChoice::InsertBefore:
        if (m_model.insertStep())
            done = true, apply(p);
        break;
    case MenuChoice::Current: done = apply(p); break;
    }
    changed(done);
}

// ------------------------------------------------------------------ events

void StepPanelWidget::startDragFrom(QWidget* w, const EditorDrag& drag)
{
    auto* qd = new QDrag(w);
    qd->setMimeData(encodeEditorDrag(drag));
    qd->exec(Qt::CopyAction | Qt::MoveAction);
}

void StepPanelWidget::showPhotoInfo(int slot)
{
    const QString v = m_model.field(QStringLiteral("Foto%1").arg(slot));
    if (v.isEmpty())
        return;
    m_info->setText(QStringLiteral("f ") + v);
    m_infoSlot = slot;
}

void StepPanelWidget::requestPreview(int slot)
{
    const QString v = m_model.field(QStringLiteral("Foto%1").arg(slot));
    if (v.isEmpty())
        return;
    const std::optional<PhotoFile> file = photoFile(m_dirs, v);
    if (!file || !QFileInfo::exists(file->path)) {
        m_reports.Emsg(ReportKind::Message,
                       QStringLiteral("la foto \"%1\" non esiste!").arg(file ? file->path : v), QString());
        return;
    }
    Q_EMIT previewRequested({m_model.path(), m_model.numRecAt(m_model.position()), slot, v,
                             m_model.field(QStringLiteral("TxtF%1").arg(slot))});
}

bool StepPanelWidget::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* e = static_cast<QDragMoveEvent*>(event);
        const std::optional<EditorDrag> d = dragOf(e->mimeData());
        if (d && acceptsHere(watched, *d))
            e->acceptProposedAction();
        else
            e->ignore();
        return true;
    }
    case QEvent::Drop: {
        auto* e = static_cast<QDropEvent*>(event);
        const std::optional<EditorDrag> d = dragOf(e->mimeData());
        auto* w = qobject_cast<QWidget*>(watched);
        if (d && w && dropHere(watched, *d, w->mapToGlobal(e->position().toPoint())))
            e->acceptProposedAction();
        else
            e->ignore();
        return true;
    }
    default: break;
    }

    if (watched == m_list->viewport() || watched == m_list)
        return listEvent(event);

    const int slot = slotOf(watched);
    if (slot > 0 || watched == m_sign) {
        auto* w = static_cast<QWidget*>(watched);
        if (event->type() == QEvent::MouseButtonPress) {
            auto* me = static_cast<QMouseEvent*>(event);
            if (me->button() == Qt::RightButton) {
                if (slot > 0 && !m_model.field(QStringLiteral("Foto%1").arg(slot)).isEmpty()) {
                    if (m_reports.Conferma(QStringLiteral("Si desidera eliminare la foto?"),
                                           QStringLiteral("Premere OK per procedere")))
                        changed(m_model.deletePhoto(slot));
                } else if (slot == 0 && !m_model.field(QStringLiteral("Nome segnale")).isEmpty() &&
                           !m_sign->pixmap().isNull()) {
                    if (m_reports.Conferma(QStringLiteral("Si vuole eliminare il segnale?"),
                                           QStringLiteral("Premere OK per procedere")))
                        changed(m_model.deleteSign());
                }
                return true;
            }
            if (me->button() == Qt::LeftButton) {
                if (slot > 0)
                    showPhotoInfo(slot);
                else if (!m_model.field(QStringLiteral("Nome segnale")).isEmpty())
                    m_info->setText(QStringLiteral("s ") + m_model.field(QStringLiteral("Nome segnale")));
                m_pressPos = me->position().toPoint();
                m_pressed = w;
                // Taken here, so the moves that may start a drag come here
                // too (inside the presentation as on a plain desktop).
                return true;
            }
            return false;
        }
        if (event->type() == QEvent::MouseMove && slot > 0 && m_pressed == w) {
            auto* me = static_cast<QMouseEvent*>(event);
            if ((me->buttons() & Qt::LeftButton) &&
                (me->position().toPoint() - m_pressPos).manhattanLength() >= QApplication::startDragDistance() &&
                !m_model.field(QStringLiteral("Foto%1").arg(slot)).isEmpty()) {
                m_pressed = nullptr;
                EditorDrag d;
                d.origin = DragOrigin::StepPhoto;
                d.tag = slot;
                startDragFrom(w, d);
                return true;
            }
        }
        if (event->type() == QEvent::MouseButtonRelease) {
            m_pressed = nullptr;
            // The viewer opens once the button is up: opened under a held
            // button, it would leave the press with this picture, and the
            // next click on the page would land here again.
            if (slot > 0 && m_previewOnRelease == slot) {
                m_previewOnRelease = 0;
                requestPreview(slot);
                return true;
            }
        }
        if (event->type() == QEvent::MouseButtonDblClick) {
            if (slot > 0)
                m_previewOnRelease = slot;
            else
                Q_EMIT toggleSourceRequested();
            return true;
        }
    }
    if (watched == m_info && m_infoSlot > 0) {
        if (event->type() == QEvent::MouseButtonPress)
            return true;
        if (event->type() == QEvent::MouseButtonRelease) {
            requestPreview(m_infoSlot);
            return true;
        }
    }
    if (watched == this && event->type() == QEvent::MouseButtonDblClick) {
        Q_EMIT toggleSourceRequested();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

// ------------------------------------------------------------------ statement moves

void StepPanelWidget::updateMoveMarker(const QPoint& pos)
{
    if (m_dragged < 0)
        return;
    QWidget* vp = m_list->viewport();
    m_scrollStep = pos.y() < 0 ? -1 : pos.y() >= vp->height() ? 1 : 0;
    if (m_scrollStep != 0 && !m_scroll->isActive()) {
        m_scroll->setInterval(500);
        m_scroll->start();
    } else if (m_scrollStep == 0) {
        m_scroll->stop();
    }
    const QPoint inside(qBound(0, pos.x(), vp->width() - 1), qBound(0, pos.y(), vp->height() - 1));
    QListWidgetItem* item = m_list->itemAt(inside);
    if (!item) {
        m_dropAt = m_list->count() - 1;
        item = m_list->item(m_dropAt);
    } else {
        m_dropAt = m_list->row(item);
    }
    if (!item || m_dropAt == m_dragged) {
        m_marker->hide();
        return;
    }
    const QRect r = m_list->visualItemRect(item);
    // Under the target line when moving down, over it when moving up.
    const int y = m_dropAt > m_dragged ? r.bottom() - 1 : r.top();
    m_marker->setGeometry(0, y, vp->width(), 2);
    m_marker->show();
    m_marker->raise();
}

void StepPanelWidget::endMove(bool applyIt)
{
    const int from = m_dragged, to = m_dropAt;
    m_dragged = m_dropAt = -1;
    m_scroll->stop();
    m_marker->hide();
    if (m_list->viewport()->mouseGrabber() == m_list->viewport())
        m_list->viewport()->releaseMouse();
    if (applyIt && from >= 0 && to >= 0 && from != to)
        changed(m_model.reorderStatements(from, to));
}

bool StepPanelWidget::listEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* me = static_cast<QMouseEvent*>(event);
        QListWidgetItem* item = m_list->itemAt(me->position().toPoint());
        if (!item)
            return false;
        const int row = m_list->row(item);
        m_list->setCurrentRow(row);
        const QString code = item->data(Qt::UserRole).toString().left(16);
        if (me->button() == Qt::RightButton) {
            if (m_reports.Conferma(QStringLiteral("Si vuole eliminare il quesito selezionato?"),
                                   QStringLiteral("Premere OK per rimuoverlo")))
                changed(m_model.deleteStatement(row));
            return true;
        }
        if (me->button() == Qt::LeftButton) {
            m_info->setText(code.left(7).trimmed());
            // The statement's own figure, when it is not the step's sign.
            const int figura = code.mid(13, 3).toInt();
            const QString sign = m_model.field(QStringLiteral("Nome segnale"));
            if (figura == 0) {
                m_sign->clear();
            } else if (QString::number(figura) != sign) {
                const PictureName file = recordSignFile(m_dirs, false, QString::number(figura));
                if (const std::optional<QImage> img = loadKxbFile(file.path()))
                    m_sign->setPixmap(
                        QPixmap::fromImage(img->scaled(96, 96, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
            }
            m_dragged = row;
            m_dropAt = row;
            m_list->viewport()->grabMouse();
            return true;
        }
        return false;
    }
    case QEvent::MouseMove:
        if (m_dragged >= 0) {
            updateMoveMarker(static_cast<QMouseEvent*>(event)->position().toPoint());
            return true;
        }
        return false;
    case QEvent::MouseButtonRelease:
        if (m_dragged >= 0) {
            endMove(true);
            return true;
        }
        return false;
    case QEvent::KeyPress: {
        auto* ke = static_cast<QKeyEvent*>(event);
        if (ke->key() == Qt::Key_Escape && m_dragged >= 0) {
            endMove(false);
            return true;
        }
        if (ke->key() == Qt::Key_Period && m_list->currentRow() >= 0) {
            changed(m_model.deleteStatement(m_list->currentRow()));
            return true;
        }
        return false;
    }
    default: return false;
    }
}

}  // namespace ziro
