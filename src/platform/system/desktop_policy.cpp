#include "platform/system/desktop_policy.h"

#include <QFile>
#include <QFileInfo>

namespace ziro {

bool hasPlaybackDevice(const QString& alsaPcmList, const QString& runtimeDir)
{
    QFile pcm(alsaPcmList);
    // /proc files report size 0, so atEnd() cannot be trusted; readAll()
    // reads until the end.
    if (pcm.open(QIODevice::ReadOnly) && pcm.readAll().contains("playback"))
        return true;
    if (runtimeDir.isEmpty())
        return false;
    const QString dir = runtimeDir.endsWith(QLatin1Char('/')) ? runtimeDir : runtimeDir + QLatin1Char('/');
    return QFileInfo::exists(dir + QLatin1String("pulse/native"))
           || QFileInfo::exists(dir + QLatin1String("pipewire-0"));
}

bool hasPlaybackDevice()
{
    return hasPlaybackDevice(QStringLiteral("/proc/asound/pcm"), qEnvironmentVariable("XDG_RUNTIME_DIR"));
}

std::optional<QUrl> openableDocumentUrl(const QString& target)
{
    const QUrl url(target.trimmed(), QUrl::StrictMode);
    if (!url.isValid())
        return std::nullopt;
    const QString scheme = url.scheme().toLower();
    if ((scheme == QLatin1String("http") || scheme == QLatin1String("https")) && !url.host().isEmpty())
        return url;
    if (scheme == QLatin1String("mailto") && !url.path().isEmpty())
        return url;
    return std::nullopt;
}

}  // namespace ziro
