#include "fuzz/bodies.h"

#include <algorithm>
#include <array>

namespace lumivert::fuzz {
namespace {

constexpr std::array<Harness, 9> kHarnesses{{
    {"jpeg_conversion", convertPictureFile},
    {"page_file", readPageFile},
    {"font_file", readFontFile},
    {"image_store", loadImageStore},
    {"gbk_text", convertGbkText},
    {"page_region", buildPages},
    {"command_line", runArguments},
    {"serial_receive", receiveModuleBytes},
    {"upload_journal", readUploadJournal},
}};

} // namespace

std::span<const Harness> harnesses() {
    return kHarnesses;
}

const Harness* findHarness(std::string_view name) {
    const auto found = std::find_if(kHarnesses.begin(), kHarnesses.end(),
                                    [&](const Harness& harness) { return harness.name == name; });
    return found == kHarnesses.end() ? nullptr : &*found;
}

void expect(bool holds, std::string_view rule) {
    if (!holds) {
        throw HarnessFault(std::string(rule));
    }
}

} // namespace lumivert::fuzz
