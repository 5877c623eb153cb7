#include "font/ascii_font.h"

#include "common/fd_io.h"
#include "common/file_error.h"
#include "common/input_file.h"
#include "common/unique_fd.h"

#include <array>
#include <cerrno>
#include <cstdint>
#include <fcntl.h>

namespace lumivert {

// Each copy reads into zeros of its own, so that a short file never carries the bytes of a
// longer one copied before it into the font.
void copyAsciiFont(Workbench& workbench, const std::filesystem::path& file) {
    std::array<std::uint8_t, kAsciiFontSize> font{};
    const UniqueFd input = openInputFile(file);
    if (readFully(input.get(), font.data(), font.size()) < 0) {
        throw cannotOpenFile(file, errno);
    }
    workbench.image.store(workbench.regionMap.offset(RegionMap::AsciiFontBase), font);
}

} // namespace lumivert
