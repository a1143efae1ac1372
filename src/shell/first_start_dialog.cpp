#include "shell/first_start_dialog.h"

#include "base/dialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace ziro {

QString FirstStartDialog::questionText(const QString& root, bool sampleAvailable)
{
    QString text = QStringLiteral("Nella cartella '") + QDir::toNativeSeparators(QDir::cleanPath(root)) +
                   QStringLiteral("' non c'è ancora un'installazione di Ziro.\n\n"
                                  "Si desidera crearla ora?");
    if (sampleAvailable)
        text += QStringLiteral("\n\nIl contenuto di esempio comprende lezioni, segnali, fotografie, "
                               "quiz e incroci già pronti; l'installazione vuota contiene soltanto le "
                               "cartelle e le impostazioni.");
    else
        text += QStringLiteral("\n\nVerranno create le cartelle e il file delle impostazioni.");
    return text;
}

FirstStartChoice FirstStartDialog::ask(const QString& root, bool sampleAvailable)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Ziro - prima installazione"),
                    questionText(root, sampleAvailable));
    box.setObjectName(QStringLiteral("FirstStartDialog"));
    QPushButton* sample = nullptr;
    if (sampleAvailable) {
        sample = box.addButton(QStringLiteral("Contenuto di esempio"), QMessageBox::AcceptRole);
        sample->setObjectName(QStringLiteral("sample"));
    }
    QPushButton* empty = box.addButton(QStringLiteral("Installazione vuota"), QMessageBox::AcceptRole);
    empty->setObjectName(QStringLiteral("empty"));
    QPushButton* quit = box.addButton(QStringLiteral("Esci"), QMessageBox::RejectRole);
    quit->setObjectName(QStringLiteral("quit"));
    box.setDefaultButton(sample ? sample : empty);
    box.setEscapeButton(quit);
    box.setWindowModality(Qt::ApplicationModal);
    // Without a window manager nothing else would give the box the keys.
    QTimer::singleShot(0, &box, [&box] { box.activateWindow(); });
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    if (sample && clicked == sample)
        return FirstStartChoice::Sample;
    if (clicked == empty)
        return FirstStartChoice::Empty;
    return FirstStartChoice::Quit;
}

void FirstStartDialog::tell(const QString& text)
{
    m_dialogs.message(text);
}

}  // namespace ziro
