#pragma once

#include <filesystem>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace lumivert {

// The folder the menu entry's window works in, below the user's home folder.
inline constexpr const char* kUserFolderName = "Lumivert";

// How the program was asked to run, read from its arguments.
struct ProgramStart {
    bool window = false;                 // else a verb (or help, or a mistake) for the command line
    std::string folder;                  // -C DIR: the working folder; empty: the current one
    bool userFolder = false;             // --user-folder: ~/Lumivert
    std::vector<char*> toolkitArguments; // for the window: the program's name and the
                                         // toolkit's options, as argv
};

// The window opens when nothing is left after the program's own folder options (-C DIR,
// -CDIR, --user-folder), or when what is left begins with an option of the window's toolkit
// (`-platform offscreen`, `-style`, `-session ...`, with one dash or two). Anything else is
// the command line's, which names what it does not know.
ProgramStart chooseProgramStart(int argc, char** argv);

// Whether an argument is an option of the window's toolkit.
bool isToolkitOption(std::string_view argument);

// ~/Lumivert, from $HOME or, without it, the user's entry in the password database.
std::filesystem::path userFolder();

// Makes the start's folder the working directory: `folder` when given; the user folder,
// created with its work, src and pic folders where they are missing, for `userFolder`;
// else the current one stays. Throws WorkbenchError naming the folder when it cannot.
void enterStartFolder(const std::string& folder, bool userFolder);

} // namespace lumivert
