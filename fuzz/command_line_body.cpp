#include "app/cli/command_line.h"
#include "fuzz/bodies.h"
#include "fuzz/scratch_folder.h"
#include "tests/support/temp_folder.h"

#include <algorithm>
#include <sstream>

namespace lumivert::fuzz {
namespace {

// The arguments separated by zero bytes, as no argument can hold one.
std::vector<std::string> argumentsOf(std::string_view text) {
    std::vector<std::string> arguments;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\0'), text.size());
        arguments.emplace_back(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return arguments;
}

// Arguments that could reach outside the folder the run gets: a path with a folder in it (an
// export to /etc, ../..), another working directory (-C, also inside a group of short options
// such as -hC), and a serial port.
bool reachesOutside(const std::string& argument) {
    const bool shortOptions = argument.starts_with('-') && !argument.starts_with("--");
    return argument.find('/') != std::string::npos || argument.starts_with("--port") ||
           (shortOptions && argument.find('C') != std::string::npos);
}

// Generating a whole GB2312 set renders 8,178 glyphs: seconds for one input, and the fuzzer
// would spend its time there.
bool rendersWholeSet(const std::vector<std::string>& arguments) {
    const auto has = [&](std::string_view word) {
        return std::find(arguments.begin(), arguments.end(), word) != arguments.end();
    };
    return has("fonts") && (has("gb12") || has("gb16"));
}

} // namespace

// Runs the arguments with -C naming an empty folder of their own, and checks what the user is
// promised: exit status 0, 1 with a message, or 2 for a usage error with one too.
void runArguments(Input input) {
    const std::vector<std::string> given = argumentsOf(asText(input));
    if (std::any_of(given.begin(), given.end(), reachesOutside) || rendersWholeSet(given)) {
        return;
    }
    const auto folder = emptyScratchFolder("command_line");
    std::vector<std::string> arguments{"-C", folder.string()};
    arguments.insert(arguments.end(), given.begin(), given.end());

    std::ostringstream out;
    std::ostringstream err;
    int status = 0;
    {
        // The run enters the folder -C names; the fuzzer's own folder is the one to come back to.
        const testing::WorkingDirectory here(std::filesystem::current_path());
        status = runCommandLine(arguments, out, err);
    }
    expect(status >= 0 && status <= 2, "the exit status is 0, 1 or 2");
    expect(status != 1 || err.str().starts_with("lumivert: "),
           "a failed operation says why on standard error");
    expect(status != 2 || !err.str().empty(), "a usage error says what is wrong");
}

} // namespace lumivert::fuzz
