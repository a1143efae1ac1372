#include "shell/message_dialog.h"

#include <QApplication>
#include <QMessageBox>

namespace ziro {

namespace {
// Messages keep the classic carriage returns in their text; the box shows
// them as line breaks.
QString forDisplay(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}
}  // namespace

void MessageBoxDialogs::message(const QString& text)
{
    QMessageBox box(QMessageBox::Information, QApplication::applicationName(), forDisplay(text),
                    QMessageBox::Ok, m_parent);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.exec();
}

Dialogs::Answer MessageBoxDialogs::askYesNo(const QString& text)
{
    QMessageBox box(QMessageBox::Warning, QApplication::applicationName(), forDisplay(text),
                    QMessageBox::Yes | QMessageBox::No, m_parent);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.setButtonText(QMessageBox::Yes, QStringLiteral("Sì"));
    return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

Dialogs::Answer MessageBoxDialogs::askYesNoIgnore(const QString& text)
{
    QMessageBox box(QMessageBox::Question, QApplication::applicationName(), forDisplay(text),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Ignore, m_parent);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.setButtonText(QMessageBox::Yes, QStringLiteral("Sì"));
    box.setButtonText(QMessageBox::Ignore, QStringLiteral("Ignora"));
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::Ignore:
        return Answer::Ignore;
    default:
        return Answer::No;
    }
}

}  // namespace ziro
