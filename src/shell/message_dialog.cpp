#include "shell/message_dialog.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QTimer>

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

// The window a box belongs to: the one given, else the largest window on
// the screen (the splash while starting, the presentation after). A box with
// a parent is centred on it and kept above it on every platform, including
// those where a program cannot place its own windows.
QWidget* dialogParent(QWidget* given)
{
    if (given && given->isVisible())
        return given;
    QWidget* best = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        const Qt::WindowType type = w->windowType();
        if (!w->isVisible() || type == Qt::Popup || type == Qt::ToolTip || qobject_cast<QMessageBox*>(w))
            continue;
        if (!best || w->width() * w->height() > best->width() * best->height())
            best = w;
    }
    return best;
}

int run(QMessageBox& box)
{
    QWidget* parent = box.parentWidget();
    if (parent && QGuiApplication::platformName() == QLatin1String("wayland")) {
        // Wayland lets the compositor place a window of its own wherever it
        // likes; the box is drawn inside its parent instead, centred, over a
        // cover that keeps the clicks from what lies under it.
        QWidget cover(parent);
        cover.setGeometry(parent->rect());
        cover.setAttribute(Qt::WA_NoSystemBackground);
        box.setParent(&cover, Qt::Widget);
        // A window of its own would have the desktop's background and frame.
        box.setPalette(QApplication::palette(&box));
        box.setAutoFillBackground(true);
        box.setStyleSheet(QStringLiteral("QMessageBox { background: palette(window); border: 1px solid palette(dark); }"));
        box.adjustSize();
        box.move(parent->rect().center() - QPoint(box.width() / 2, box.height() / 2));
        cover.show();
        cover.raise();
        box.setFocus();
        QTimer::singleShot(0, &box, [&box] { box.setFocus(); });
        const int result = box.exec();
        box.setParent(nullptr);
        return result;
    }
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.setWindowModality(Qt::ApplicationModal);
    // The keys go to the box: without a window manager nothing else would
    // give it the focus.
    QTimer::singleShot(0, &box, [&box] { box.activateWindow(); });
    return box.exec();
}
}  // namespace

void MessageBoxDialogs::message(const QString& text)
{
    QMessageBox box(QMessageBox::Information, QApplication::applicationName(), forDisplay(text),
                    QMessageBox::Ok, dialogParent(m_parent));
    run(box);
}

Dialogs::Answer MessageBoxDialogs::askYesNo(const QString& text)
{
    QMessageBox box(QMessageBox::Warning, QApplication::applicationName(), forDisplay(text),
                    QMessageBox::Yes | QMessageBox::No, dialogParent(m_parent));
    box.setButtonText(QMessageBox::Yes, QStringLiteral("Sì"));
    return run(box) == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

Dialogs::Answer MessageBoxDialogs::askYesNoIgnore(const QString& text)
{
    QMessageBox box(QMessageBox::Question, QApplication::applicationName(), forDisplay(text),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Ignore, dialogParent(m_parent));
    box.setButtonText(QMessageBox::Yes, QStringLiteral("Sì"));
    box.setButtonText(QMessageBox::Ignore, QStringLiteral("Ignora"));
    switch (run(box)) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::Ignore:
        return Answer::Ignore;
    default:
        return Answer::No;
    }
}

}  // namespace ziro
