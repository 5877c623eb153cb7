#include "app/cli/command_line.h"

#include "app/cli/font_verbs.h"
#include "app/cli/glyph_verb.h"
#include "app/cli/image_verbs.h"
#include "app/cli/picture_verbs.h"
#include "app/cli/port_verbs.h"
#include "app/cli/transfer_verbs.h"
#include "common/file_error.h"

#include <cerrno>
#include <exception>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string_view>
#include <unistd.h>

namespace lumivert {
namespace {

std::vector<DeclaredVerb> declareVerbs(CLI::App& app) {
    std::vector<DeclaredVerb> verbs = declareImageVerbs(app);
    verbs.push_back(declareGlyphVerb(app));
    for (const auto declareGroup : {declareFontVerbs, declarePictureVerbs, declarePortVerbs}) {
        for (auto& verb : declareGroup(app)) {
            verbs.push_back(std::move(verb));
        }
    }
    for (auto& verb : declareTransferVerbs(app)) {
        verbs.push_back(std::move(verb));
    }
    return verbs;
}

// "image export FILE": the subcommand path of a verb with its positional arguments.
std::string verbUsage(const CLI::App& root, const CLI::App& command) {
    std::string usage = command.get_name();
    for (const CLI::App* parent = command.get_parent(); parent != &root && parent != nullptr;
         parent = parent->get_parent()) {
        usage.insert(0, parent->get_name() + " ");
    }
    for (const CLI::Option* option : command.get_options()) {
        if (option->get_positional()) {
            usage += " " + option->get_name();
        }
    }
    return usage;
}

std::string verbList(const CLI::App& root, const std::vector<DeclaredVerb>& verbs) {
    std::string list = "Verbs:\n";
    for (const auto& declared : verbs) {
        std::string usage = verbUsage(root, *declared.command);
        usage.resize(std::max<std::size_t>(usage.size() + 2, 28), ' ');
        list += "  " + usage + declared.command->get_description() + "\n";
    }
    return list;
}

// The words of a mistyped verb ("picturs", "image infoo"): the word left over where a verb
// was expected, behind the verbs that did parse.
std::optional<std::string> unknownVerb(const CLI::App& root) {
    const CLI::App* command = &root;
    std::string words;
    for (bool deeper = true; deeper;) {
        deeper = false;
        for (const CLI::App* sub : command->get_subcommands([](const CLI::App*) { return true; })) {
            if (sub->parsed()) {
                words += sub->get_name() + " ";
                command = sub;
                deeper = true;
                break;
            }
        }
    }
    const std::vector<std::string> left = command->remaining();
    if (command->get_subcommands({}).empty() || left.empty() || left.front().starts_with('-')) {
        return std::nullopt;
    }
    return words + left.front();
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
    app.footer(verbList(app, verbs));

    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::ParseError& error) {
        if (const auto verb = unknownVerb(app)) {
            err << "lumivert: unknown verb \"" << *verb
                << "\"\nRun with --help for the list of verbs.\n";
            return 2;
        }
        const int status = app.exit(error, out, err);
        return status == 0 ? 0 : 2;
    }
    VerbStreams streams{out, err};
    return runParsed(verbs, folder, streams);
}

bool wantsCommandLine(int argc, char** argv) {
    if (argc < 2) {
        return false;
    }
    const std::string_view first = argv[1];
    return !first.starts_with('-') || first.starts_with("-C") || first == "-h" || first == "--help";
}

int runCommandLine(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return runCommandLine(args, std::cout, std::cerr);
}

} // namespace lumivert
