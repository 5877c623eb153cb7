#include "app/cli/command_line.h"

#include "app/cli/image_verbs.h"
#include "common/file_error.h"

#include <cerrno>
#include <exception>
#include <filesystem>
#include <iostream>
#include <unistd.h>

namespace lumivert {
namespace {

std::vector<DeclaredVerb> declareVerbs(CLI::App& app) {
    std::vector<DeclaredVerb> verbs = declareImageVerbs(app);
    return verbs;
}

void enterWorkingDirectory(const std::string& folder) {
    if (!folder.empty() && ::chdir(folder.c_str()) != 0) {
        throw WorkbenchError("Cannot use the working directory \"" +
                             std::filesystem::absolute(folder).string() + "\". " +
                             systemReason(errno));
    }
}

int runParsed(std::vector<DeclaredVerb>& verbs, const std::string& folder, VerbStreams& streams) {
    try {
        enterWorkingDirectory(folder);
        for (auto& [command, verb] : verbs) {
            if (command->parsed()) {
                verb->run(streams);
            }
        }
        return 0;
    } catch (const std::exception& error) {
        streams.err << "lumivert: " << error.what() << '\n';
        return 1;
    }
}

} // namespace

int runCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CLI::App app{"Lumivert: prepares and uploads the flash of a serial graphics display module.\n"
                 "Without arguments the window opens; with a verb it runs headless.",
                 "lumivert"};
    std::string folder;
    app.add_option("-C", folder, "Working directory (default: the current one)");
    app.require_subcommand(1);
    std::vector<DeclaredVerb> verbs = declareVerbs(app);

    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::ParseError& error) {
        const int status = app.exit(error, out, err);
        return status == 0 ? 0 : 2;
    }
    VerbStreams streams{out, err};
    return runParsed(verbs, folder, streams);
}

int runCommandLine(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return runCommandLine(args, std::cout, std::cerr);
}

} // namespace lumivert
