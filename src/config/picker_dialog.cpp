#include "config/picker_dialog.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QPointer>
#include <QVBoxLayout>

namespace ziro {

namespace {
QPointer<TPickerDialog> g_current;

QWidget* topHost(QWidget* w)
{
    // The main window: an overlay's host, or the widget itself.
    while (w && w->parentWidget() && qobject_cast<OverlayWindow*>(w))
        w = w->parentWidget();
    return w;
}
}  // namespace

TPickerDialog::TPickerDialog(QWidget* host)
    : OverlayWindow(host, QStringLiteral("TPickerDialog"), host ? host->rect() : QRect(0, 0, 640, 480))
{
    setFrameShape(QFrame::Box);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
}

TPickerDialog* TPickerDialog::current()
{
    return g_current.data();
}

int TPickerDialog::run(QDialog& dialog)
{
    m_dialog = &dialog;
    QPointer<TPickerDialog> previous = g_current;
    g_current = this;
    dialog.setParent(this, Qt::Widget);
    layout()->addWidget(&dialog);
    connect(&dialog, &QDialog::finished, this, [this](int result) { done(result); });
    dialog.show();
    const int result = execModal();
    layout()->removeWidget(&dialog);
    dialog.hide();
    dialog.setParent(nullptr);
    m_dialog = nullptr;
    g_current = previous;
    return result;
}

std::optional<QColor> TPickerDialog::chooseColour(QWidget* host, const QColor& initial)
{
    TPickerDialog picker(topHost(host));
    QColorDialog dialog(initial);
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    dialog.setWindowTitle(QStringLiteral("Colore"));
    if (picker.run(dialog) != QDialog::Accepted)
        return std::nullopt;
    return dialog.selectedColor();
}

namespace {
QString runFileDialog(QWidget* host, QFileDialog& dialog)
{
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    TPickerDialog picker(topHost(host));
    if (picker.run(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}
}  // namespace

QString TPickerDialog::chooseFolder(QWidget* host, const QString& title, const QString& start)
{
    QFileDialog dialog(nullptr, title, start);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    return runFileDialog(host, dialog);
}

QString TPickerDialog::chooseOpenFile(QWidget* host, const QString& title, const QString& start)
{
    QFileDialog dialog(nullptr, title, start);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return runFileDialog(host, dialog);
}

QString TPickerDialog::chooseSaveFile(QWidget* host, const QString& title, const QString& start)
{
    QFileDialog dialog(nullptr, title, start);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    return runFileDialog(host, dialog);
}

}  // namespace ziro
