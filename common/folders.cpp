#include "common/folders.h"

#include "common/file_error.h"

#include <system_error>

namespace lumivert {
namespace {

std::filesystem::path withoutTrailingSeparator(std::filesystem::path path) {
    if (!path.has_filename() && path.has_relative_path()) {
        path = path.parent_path();
    }
    return path;
}

// The nearest of the folder and its parents that exists and is not a folder, if any.
std::filesystem::path blockingFile(const std::filesystem::path& folder) {
    for (auto path = folder; !path.empty(); path = path.parent_path()) {
        std::error_code ignored;
        const auto status = std::filesystem::status(path, ignored);
        if (std::filesystem::exists(status) && !std::filesystem::is_directory(status)) {
            return path;
        }
        if (path == path.parent_path()) {
            break;
        }
    }
    return {};
}

} // namespace

void createFolderIfMissing(const std::filesystem::path& folder) {
    const auto target = withoutTrailingSeparator(folder);
    std::error_code error;
    std::filesystem::create_directories(target, error);
    if (!error) {
        return;
    }
    if (const auto blocker = blockingFile(target); !blocker.empty()) {
        if (blocker == target) {
            throw cannotCreateFile(target, "A file of that name is in the way.");
        }
        std::error_code ignored;
        auto shown = std::filesystem::absolute(blocker, ignored);
        shown = (shown.empty() ? blocker : shown).lexically_normal();
        throw cannotCreateFile(target, "The file \"" + shown.string() + "\" is in the way.");
    }
    if (error.category() == std::generic_category() || error.category() == std::system_category()) {
        throw cannotCreateFile(target, error.value());
    }
    throw cannotCreateFile(target, error.message());
}

} // namespace lumivert
