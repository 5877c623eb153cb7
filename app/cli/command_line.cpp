#include "app/cli/command_line.h"

#include "app/cli/font_verbs.h"
#include "app/cli/glyph_verb.h"
#include "app/cli/image_verbs.h"
#include "app/cli/picture_verbs.h"
#include "app/cli/port_verbs.h"
#include "app/cli/program_start.h"
#include "app/cli/transfer_verbs.h"
#include "app/version/program_version.h"

#include <algorithm>
#include <exception>
#include <iostream>
#include <optional>
#include <string_view>

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

// What the parser could not place: the first word left over in the deepest verb that did
// parse, behind the words of that verb ("image infoo" leaves "image " and "infoo").
struct LeftOver {
    std::string verbWords;
    std::string word;
    bool verbExpected; // the command it was left in takes verbs
};

std::optional<LeftOver> leftOver(const CLI::App& root) {
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
    if (left.empty()) {
        return std::nullopt;
    }
    return LeftOver{words, left.front(), !command->get_subcommands({}).empty()};
}

// An option nobody declared ("--bogus") or a mistyped verb ("picturs", "image infoo"), named;
// false for any other mistake, which the parser's own message describes.
bool reportLeftOver(const CLI::App& root, std::ostream& err) {
    const auto left = leftOver(root);
    if (!left) {
        return false;
    }
    if (left->word.starts_with('-')) {
        err << "lumivert: unknown option \"" << left->word
            << "\"\nRun with --help for the list of verbs and options.\n";
        return true;
    }
    if (!left->verbExpected) {
        return false;
    }
    err << "lumivert: unknown verb \"" << left->verbWords << left->word
        << "\"\nRun with --help for the list of verbs.\n";
    return true;
}

int runParsed(std::vector<DeclaredVerb>& verbs, const std::string& folder, bool inUserFolder,
              VerbStreams& streams) {
    try {
        enterStartFolder(folder, inUserFolder);
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
    bool inUserFolder = false;
    auto* folderOption =
        app.add_option("-C", folder, "Working directory (default: the current one)");
    app.add_flag("--user-folder", inUserFolder,
                 "Work in ~/Lumivert, creating it with its work, src and pic folders")
        ->excludes(folderOption);
    app.set_version_flag("--version", "lumivert " + programVersion(),
                         "Print the version (and the source revision) and exit");
    app.require_subcommand(1);
    std::vector<DeclaredVerb> verbs = declareVerbs(app);
    app.footer(verbList(app, verbs));

    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::Success& helpOrVersion) {
        return app.exit(helpOrVersion, out, err);
    } catch (const CLI::ParseError& error) {
        if (!reportLeftOver(app, err)) {
            app.exit(error, out, err);
        }
        return 2;
    }
    VerbStreams streams{out, err};
    return runParsed(verbs, folder, inUserFolder, streams);
}

int runCommandLine(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return runCommandLine(args, std::cout, std::cerr);
}

} // namespace lumivert
