#pragma once

namespace ziro {

// Waits `seconds` on a monotonic clock. With `handleEvents` the window events
// keep flowing (a local event loop wakes on a timer; nothing spins); without
// it the thread just sleeps.
void Attesa(double seconds, bool handleEvents);

}  // namespace ziro
