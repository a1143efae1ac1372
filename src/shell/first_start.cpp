#include "shell/first_start.h"

#include <QDir>

#include <cstdio>

namespace ziro {

void ConsoleFirstStart::tell(const QString& text)
{
    QString line = text;
    line.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    std::fprintf(stderr, "ziro: %s\n", line.toLocal8Bit().constData());
}

std::optional<FirstStartChoice> presetFirstStart(const QStringList& arguments, QString* error)
{
    for (const QString& a : arguments) {
        if (!a.startsWith(QLatin1String("--install=")))
            continue;
        const QString value = a.mid(10);
        if (value == QLatin1String("sample"))
            return FirstStartChoice::Sample;
        if (value == QLatin1String("empty"))
            return FirstStartChoice::Empty;
        if (error)
            *error = QStringLiteral("Valore non valido per --install: '") + value +
                     QStringLiteral("' (ammessi: sample, empty).");
        return std::nullopt;
    }
    return std::nullopt;
}

RootDecision prepareRoot(const RootChoice& choice, const QString& sampleFolder, FirstStartPort& port,
                         std::optional<FirstStartChoice> preset)
{
    RootDecision decision;
    if (!choice.error.isEmpty()) {
        port.tell(choice.error);
        decision.exitCode = 2;
        return decision;
    }
    // An executable inside its own installation runs as it always has,
    // checks and messages included.
    if (choice.source == RootSource::ProgramFolder) {
        decision.proceed = true;
        return decision;
    }

    const RootCheck check = checkRoot(choice.root);
    // The per-user folder is the program's own: it is made on first use.
    // A folder the teacher named must exist, so that a typing error does
    // not quietly start an empty installation somewhere unexpected.
    const bool creatable = check.state == RootState::Empty ||
                           (check.state == RootState::Missing && choice.source == RootSource::UserData);
    if (check.state == RootState::Installed) {
        decision.proceed = true;
        decision.programFile = programFileInRoot(choice.root);
        return decision;
    }
    if (!creatable) {
        port.tell(check.message);
        decision.exitCode = 2;
        return decision;
    }

    const bool sampleAvailable = !sampleFolder.isEmpty();
    FirstStartChoice answer = preset ? *preset : port.ask(choice.root, sampleAvailable);
    if (answer == FirstStartChoice::Quit)
        return decision;
    if (answer == FirstStartChoice::Sample && !sampleAvailable) {
        port.tell(QStringLiteral("Il contenuto di esempio non è installato: impossibile copiarlo."));
        decision.exitCode = 2;
        return decision;
    }
    const InstallReport report = answer == FirstStartChoice::Sample
                                     ? copySampleContent(sampleFolder, choice.root)
                                     : createSkeleton(choice.root, sampleFolder);
    const QString where = QDir::toNativeSeparators(QDir::cleanPath(choice.root));
    if (!report.ok) {
        port.tell(QStringLiteral("Non è stato possibile creare l'installazione in '") + where +
                  QStringLiteral("'.\r") + report.summary());
        decision.exitCode = 1;
        return decision;
    }
    port.tell(QStringLiteral("Installazione creata in '") + where + QStringLiteral("'.\r") +
              report.summary());
    decision.proceed = true;
    decision.programFile = programFileInRoot(choice.root);
    return decision;
}

}  // namespace ziro
