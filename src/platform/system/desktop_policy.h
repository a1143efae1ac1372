#pragma once

#include <QString>
#include <QUrl>

#include <optional>

namespace ziro {

// Decisions of the desktop services that need no display, kept here so they
// can be tested.

// The address a link may open: only web pages (http, https, with a host) and
// mail links (mailto, with an address). Anything else, local files and
// programs included, is refused.
std::optional<QUrl> openableDocumentUrl(const QString& target);

}  // namespace ziro
