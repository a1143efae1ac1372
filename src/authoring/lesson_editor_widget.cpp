#include "authoring/lesson_editor_widget.h"

#include "authoring/custom_lessons.h"
#include "base/globals.h"
#include "base/reports.h"

#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QToolButton>

namespace ziro {

namespace {
constexpr int kSourceHeight = 200;
}

LessonEditorWidget::LessonEditorWidget(const Folders& dirs, Reports& reports, CustomLessonPort& names,
                                       QWidget* parent, LessonFileOps& ops)
    : QWidget(parent), m_dirs(dirs), m_reports(reports), m_names(names), m_model(reports, ops)
{
    setObjectName(QStringLiteral("LessonEditor"));
    resize(632, 446);
    m_steps = new StepPanelWidget(m_model, dirs, reports, this);
    m_steps->move(0, kSourceHeight + 4);

    // While the viewer shows a photograph the page lies dimmed under it; a
    // click anywhere on it closes the photograph.
    m_preview = new QWidget(this);
    m_preview->setObjectName(QStringLiteral("PBackClose"));
    m_preview->setAttribute(Qt::WA_StyledBackground);
    m_preview->setStyleSheet(QStringLiteral("#PBackClose { background: rgba(0, 0, 0, 110); }"));
    m_preview->setGeometry(rect());
    m_preview->hide();
    m_closePreview = new QToolButton(this);
    m_closePreview->setObjectName(QStringLiteral("BtClosePw"));
    m_closePreview->setText(QStringLiteral("X"));
    m_closePreview->setGeometry(604, 4, 24, 22);
    m_closePreview->hide();
    connect(m_closePreview, &QToolButton::clicked, this, [this] {
        if (m_previewOpen)
            closePreview();
        else
            toggleSource();
    });
    m_preview->installEventFilter(this);

    connect(m_steps, &StepPanelWidget::previewRequested, this, &LessonEditorWidget::showPreview);
    connect(m_steps, &StepPanelWidget::toggleSourceRequested, this, &LessonEditorWidget::toggleSource);
}

void LessonEditorWidget::setSourcePanel(QWidget* panel)
{
    m_sourcePanel = panel;
    if (!panel)
        return;
    panel->setParent(this);
    panel->setGeometry(0, 0, width(), kSourceHeight);
    panel->show();
    m_closePreview->raise();
}

bool LessonEditorWidget::open(const QString& lessonPath, int tipo, bool copy)
{
    // A lesson whose last write failed is not dropped for another.
    if (m_model.isOpen() && !m_model.flush())
        return false;
    closePreview();
    QString error;
    if (!m_model.open(lessonPath, &error)) {
        m_reports.Emsg(ReportKind::FileIo, QStringLiteral("Apertura lezione: ") + error, lessonPath);
        return false;
    }
    // A lesson keeps the edition of its steps; a new one takes the current.
    if (m_model.count() == 0)
        m_model.setEditionTipo(tipo);
    QComboBox* name = m_steps->lessonName();
    name->clear();
    name->addItem(m_model.lessonName().isEmpty() ? kDraftLesson : m_model.lessonName());
    name->setEnabled(!copy);
    if (m_sourcePanel)
        m_sourcePanel->show();
    m_steps->refresh();
    return true;
}

QString LessonEditorWidget::askName(bool again)
{
    if (again)
        return m_names.askName(QString::fromUtf8("Nome della lezione già esistente"),
                               QStringLiteral("Digitare un'altro nome per la lezione"), QString());
    return m_names.askName(QStringLiteral("Salvataggio lezione"), QStringLiteral("Digitare il nome della nuova lezione"),
                           QString());
}

bool LessonEditorWidget::tryClose()
{
    if (!m_model.isOpen())
        return true;
    // Nothing is left behind unsaved: a write that failed is tried again,
    // and the page stays while it still fails.
    if (!m_model.flush())
        return false;
    if (m_model.isDraft() && m_model.count() > 0) {
        if (m_reports.Conferma(QStringLiteral("Si desidera conservare la lezione?"),
                               QStringLiteral("Premere OK per salvare o Annulla per uscire."))) {
            QString name = askName(false);
            for (;;) {
                if (name.isEmpty())
                    return false;
                const LessonEditorModel::NamingResult r = m_model.closeNaming(name);
                if (r == LessonEditorModel::NamingResult::Saved)
                    break;
                if (r == LessonEditorModel::NamingResult::WriteFailed)
                    return false;
                m_names.beep();
                name = askName(true);
            }
        }
    }
    const QString path = m_model.path();
    closePreview();
    m_model.close();
    Q_EMIT closed(path);
    return true;
}

void LessonEditorWidget::hideEvent(QHideEvent* event)
{
    // The viewer never outlives the page it was lent to.
    closePreview();
    QWidget::hideEvent(event);
}

bool LessonEditorWidget::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_preview && event->type() == QEvent::MouseButtonPress) {
        closePreview();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void LessonEditorWidget::showPreview(const StepPhotoBinding& photo)
{
    // Bound to the step by its number now: the viewer keeps writing this
    // step's caption whatever step the page shows meanwhile.
    if (openInViewer(std::make_unique<StepCaptions>(m_model, photo.numRec), photo.slot, kStepPhotos, QString(), 0))
        m_binding = photo;
}

void LessonEditorWidget::showSourcePicture(const QString& path, int number, std::unique_ptr<CaptionTable> captions,
                                           int slot, int count)
{
    if (path.isEmpty())
        return;
    if (!QFileInfo::exists(path)) {
        m_reports.Emsg(ReportKind::Message, QStringLiteral("la foto \"") + QFileInfo(path).fileName()
                                                 + QStringLiteral("\" non esiste!"), QString());
        return;
    }
    openInViewer(std::move(captions), slot, count, path, number);
}

bool LessonEditorWidget::openInViewer(std::unique_ptr<CaptionTable> captions, int slot, int count,
                                      const QString& path, int number)
{
    if (!m_photoPort)
        return false;
    // The viewer lets go of an earlier photograph (and tells previewClosed)
    // before it takes this one, so the old store is released only after.
    const bool shown = captions ? m_photoPort->showPhoto(*captions, slot, count)
                                : m_photoPort->showPicture(path, number);
    if (!shown) {
        previewClosed();
        return false;
    }
    m_previewTable = std::move(captions);
    m_binding = {};
    m_previewOpen = true;
    m_preview->setGeometry(rect());
    m_preview->show();
    m_preview->raise();
    m_closePreview->show();
    m_closePreview->raise();
    return true;
}

void LessonEditorWidget::previewClosed()
{
    m_previewOpen = false;
    m_previewTable.reset();
    m_binding = {};
    m_preview->hide();
    m_closePreview->setVisible(m_sourcePanel && !m_sourcePanel->isVisible());
}

void LessonEditorWidget::closePreview()
{
    if (m_previewOpen && m_photoPort)
        m_photoPort->closePhoto();
    previewClosed();
}

void LessonEditorWidget::toggleSource()
{
    if (!m_sourcePanel)
        return;
    m_sourcePanel->setVisible(!m_sourcePanel->isVisible());
    m_closePreview->setVisible(!m_sourcePanel->isVisible() || m_previewOpen);
    m_closePreview->raise();
}

}  // namespace ziro
