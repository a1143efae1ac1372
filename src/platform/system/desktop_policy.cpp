#include "platform/system/desktop_policy.h"

namespace ziro {

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
