#pragma once

#include "app/cli/command_line.h"

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace lumivert::testing {

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

// Runs the command line as `lumivert ARGS...` would, in the current working directory,
// which it gives back afterwards.
inline Outcome lumivert(const std::vector<std::string>& args) {
    const auto before = std::filesystem::current_path();
    std::ostringstream out;
    std::ostringstream err;
    const int status = runCommandLine(args, out, err);
    std::filesystem::current_path(before);
    return {status, out.str(), err.str()};
}

} // namespace lumivert::testing
