#include "fuzz/scratch_folder.h"

#include "common/binary_file.h"
#include "tests/support/temp_folder.h"

#include <cstdint>
#include <span>

namespace lumivert::fuzz {

std::filesystem::path emptyScratchFolder(std::string_view name) {
    static const testing::TempFolder root;
    auto folder = root / name;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

void writeScratchFile(const std::filesystem::path& path, std::string_view bytes) {
    std::filesystem::create_directories(path.parent_path());
    writeBinaryFile(path,
                    std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

} // namespace lumivert::fuzz
