#pragma once

#include <QFont>

namespace lumivert {

// The window's font: Tahoma, 8 points, its Chinese text in WenQuanYi Micro Hei.
QFont applicationFont();

// Runs the workbench's window: opens it, runs the event loop until it is closed, and then
// destroys it, which writes the workbench's state back. Returns the program's exit status.
int runWindow(int argc, char** argv);

// The same inside an application that exists already, under TerminationSignals: creates the
// window (its start-up runs), runs the event loop unless a signal has already ended the run,
// and destroys the window (its shutdown runs). Returns the event loop's exit status.
int runMainWindow();

} // namespace lumivert
