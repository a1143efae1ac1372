#pragma once

#include <QString>
#include <QUrl>

#include <optional>

namespace ziro {

// Decisions of the desktop services that need no display, kept here so they
// can be tested.

// Whether the machine can play sound: a playback device in the kernel's sound
// card list (`alsaPcmList`, normally /proc/asound/pcm), or a PulseAudio or
// PipeWire server socket in the user's runtime folder (`runtimeDir`, normally
// $XDG_RUNTIME_DIR; empty skips that check).
bool hasPlaybackDevice(const QString& alsaPcmList, const QString& runtimeDir);
// The same with the system's own locations.
bool hasPlaybackDevice();

// The address a link may open: only web pages (http, https, with a host) and
// mail links (mailto, with an address). Anything else, local files and
// programs included, is refused.
std::optional<QUrl> openableDocumentUrl(const QString& target);

}  // namespace ziro
