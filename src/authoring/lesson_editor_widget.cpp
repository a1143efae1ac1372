#include "authoring/lesson_editor_widget.h"

#include "authoring/custom_lessons.h"
#include "base/globals.h"
#include "base/reports.h"
#include "content/photo_files.h"
#include "controls/kxb.h"

#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
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

    m_preview = new QLabel(this);
    m_preview->setObjectName(QStringLiteral("PBackClose"));
    m_preview->setAlignment(Qt::AlignCenter);
    m_preview->setStyleSheet(QStringLiteral("background: black;"));
    m_preview->setGeometry(4, 29, 624, 410);
    m_preview->hide();
    m_closePreview = new QToolButton(this);
    m_closePreview->setObjectName(QStringLiteral("BtClosePw"));
    m_closePreview->setText(QStringLiteral("X"));
    m_closePreview->setGeometry(604, 4, 24, 22);
    m_closePreview->hide();
    connect(m_closePreview, &QToolButton::clicked, this, [this] {
        if (m_preview->isVisible())
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

bool LessonEditorWidget::open(const QString& lessonPath, int tipo)
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
    const std::optional<PhotoFile> file = photoFile(m_dirs, photo.value);
    const std::optional<QImage> img = file ? loadPhoto(*file) : std::nullopt;
    if (!img)
        return;
    m_binding = photo;
    m_preview->setPixmap(QPixmap::fromImage(
        img->scaled(m_preview->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    m_preview->setToolTip(photo.caption.section(QLatin1Char('*'), 0, 0));
    m_preview->show();
    m_preview->raise();
    m_closePreview->show();
    m_closePreview->raise();
}

void LessonEditorWidget::showSourcePicture(const QString& path, const QString& caption)
{
    const std::optional<QImage> img = loadKxbFile(path);
    if (!img || img->isNull()) {
        m_reports.Emsg(ReportKind::Message, QStringLiteral("la foto \"") + QFileInfo(path).fileName()
                                                 + QStringLiteral("\" non esiste!"), QString());
        return;
    }
    m_binding = {};
    m_preview->setPixmap(QPixmap::fromImage(
        img->scaled(m_preview->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    m_preview->setToolTip(caption.section(QLatin1Char('*'), 0, 0));
    m_preview->show();
    m_preview->raise();
    m_closePreview->show();
    m_closePreview->raise();
}

void LessonEditorWidget::closePreview()
{
    m_preview->hide();
    m_binding = {};
    m_closePreview->setVisible(m_sourcePanel && !m_sourcePanel->isVisible());
}

void LessonEditorWidget::toggleSource()
{
    if (!m_sourcePanel)
        return;
    m_sourcePanel->setVisible(!m_sourcePanel->isVisible());
    m_closePreview->setVisible(!m_sourcePanel->isVisible() || m_preview->isVisible());
    m_closePreview->raise();
}

}  // namespace ziro
