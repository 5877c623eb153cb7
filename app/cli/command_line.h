#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace lumivert {

// Runs one verb headless. Returns 0 on success, 1 with the message on `err` when the
// operation fails, 2 for a usage error.
int runCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The same with the program's own arguments and standard streams.
int runCommandLine(int argc, char** argv);

} // namespace lumivert
