#include "fuzz/scratch_folder.h"

#include <exception>
#include <fcntl.h>
#include <fstream>
#include <stdexcept>
#include <string>
#include <unistd.h>

namespace lumivert::fuzz {
namespace {

class ScratchRoot {
public:
    ScratchRoot() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "lumivert-fuzz-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("cannot make a scratch folder in " + pattern);
        }
        path_ = pattern;
    }
    ~ScratchRoot() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchRoot(const ScratchRoot&) = delete;
    ScratchRoot& operator=(const ScratchRoot&) = delete;

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

} // namespace

std::filesystem::path emptyScratchFolder(std::string_view name) {
    static const ScratchRoot root;
    auto folder = root.path() / name;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

void writeScratchFile(const std::filesystem::path& path, std::string_view bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!file.flush()) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

InFolder::InFolder(const std::filesystem::path& folder)
    : previous_(::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    if (!previous_) {
        throw std::runtime_error("cannot open the working directory");
    }
    std::filesystem::current_path(folder);
}

InFolder::~InFolder() {
    if (::fchdir(previous_.get()) != 0) {
        std::terminate();
    }
}

} // namespace lumivert::fuzz
