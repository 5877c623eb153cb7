#pragma once

namespace lumivert {

// Makes SIGINT, SIGTERM and SIGHUP end the event loop as closing the window does, so that
// the window's destruction still writes the flash image and the lists back.
void quitOnTerminationSignals();

} // namespace lumivert
