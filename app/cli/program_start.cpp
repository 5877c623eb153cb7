#include "app/cli/program_start.h"

#include "common/file_error.h"
#include "common/folders.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <iterator>
#include <pwd.h>
#include <unistd.h>

namespace lumivert {
namespace {

// Takes the program's own folder options off the front of the arguments; returns the index
// of the first argument that is none of them.
int takeFolderOptions(int argc, char** argv, ProgramStart& start) {
    int next = 1;
    while (next < argc) {
        const std::string_view argument = argv[next];
        if (argument == "--user-folder") {
            start.userFolder = true;
            ++next;
        } else if (argument == "-C" && next + 1 < argc) {
            start.folder = argv[next + 1];
            next += 2;
        } else if (argument.starts_with("-C") && argument.size() > 2) {
            start.folder = std::string(argument.substr(2));
            ++next;
        } else {
            break;
        }
    }
    return next;
}

void enterFolder(const std::filesystem::path& folder) {
    if (::chdir(folder.c_str()) != 0) {
        throw WorkbenchError("Cannot use the working directory \"" +
                             std::filesystem::absolute(folder).string() + "\". " +
                             systemReason(errno));
    }
}

} // namespace

bool isToolkitOption(std::string_view argument) {
    static constexpr std::string_view kToolkitOptions[] = {
        "platform",      "platformpluginpath",
        "platformtheme", "plugin",
        "qmljsdebugger", "qwindowgeometry",
        "qwindowicon",   "qwindowtitle",
        "reverse",       "session",
        "display",       "geometry",
        "name",          "title",
        "visual",        "style",
        "stylesheet",    "widgetcount",
        "nograb",        "dograb",
        "sync",
    };
    if (!argument.starts_with('-')) {
        return false;
    }
    argument.remove_prefix(argument.starts_with("--") ? 2 : 1);
    argument = argument.substr(0, argument.find('='));
    return std::find(std::begin(kToolkitOptions), std::end(kToolkitOptions), argument) !=
           std::end(kToolkitOptions);
}

ProgramStart chooseProgramStart(int argc, char** argv) {
    ProgramStart start;
    const int rest = takeFolderOptions(argc, argv, start);
    start.window = rest == argc || isToolkitOption(argv[rest]);
    if (start.window) {
        start.toolkitArguments.push_back(argv[0]);
        start.toolkitArguments.insert(start.toolkitArguments.end(), argv + rest, argv + argc);
    }
    return start;
}

std::filesystem::path userFolder() {
    const char* home = std::getenv("HOME");
    if (home == nullptr || *home == '\0') {
        const passwd* user = ::getpwuid(::getuid());
        home = user != nullptr ? user->pw_dir : "/";
    }
    return std::filesystem::path(home) / kUserFolderName;
}

void enterStartFolder(const std::string& folder, bool userFolderWanted) {
    if (!folder.empty()) {
        enterFolder(folder);
    } else if (userFolderWanted) {
        const auto folderOfUser = userFolder();
        for (const char* below : {"work", "src", "pic"}) {
            createFolderIfMissing(folderOfUser / below);
        }
        enterFolder(folderOfUser);
    }
}

} // namespace lumivert
