#pragma once

namespace lumivert {

// Runs the workbench's window: opens it, runs the event loop until it is closed, and then
// destroys it, which writes the workbench's state back. Returns the program's exit status.
int runWindow(int argc, char** argv);

} // namespace lumivert
