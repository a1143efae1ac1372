#include "platform/system/process.h"

#include <QProcess>

namespace ziro {

int runAndWait(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    // Forwarded, so a chatty program cannot pile its output up in our memory.
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.setStandardInputFile(QProcess::nullDevice());
    process.start();
    if (!process.waitForStarted(-1))
        return -1;
    process.waitForFinished(-1);
    if (process.exitStatus() != QProcess::NormalExit)
        return -1;
    return process.exitCode();
}

}  // namespace ziro
