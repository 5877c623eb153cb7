#pragma once

namespace lumivert {

// Runs the calling thread `steps` nice levels above the rest of the program: the reader two,
// the writer one, so that received bytes leave the driver before the window redraws. Only a
// privileged program may raise a priority; for any other the thread keeps the program's.
void raiseThreadPriority(int steps);

} // namespace lumivert
