#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace lumivert {

// Runs one verb headless. Returns 0 on success, 1 with the message on `err` when the
// operation fails, 2 for a usage error.
int runCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Whether the program's arguments ask for the command line rather than the window: the first
// one is a verb (it does not begin with '-'), the working directory (`-C DIR`, `-CDIR`), or
// `-h` / `--help`. Any other option is left to the window's toolkit (`-platform offscreen`,
// `-style`, `-session ...`).
bool wantsCommandLine(int argc, char** argv);

// The same with the program's own arguments and standard streams.
int runCommandLine(int argc, char** argv);

} // namespace lumivert
