#include "common/gbk_chars.h"
#include "fuzz/bodies.h"
#include "image/workbench.h"
#include "pages/page_region.h"

#include <algorithm>
#include <memory>

namespace lumivert::fuzz {
namespace {

// What the image holds before the build: bytes that differ from one offset to the next.
const std::vector<std::uint8_t>& imageBefore() {
    static const std::vector<std::uint8_t> bytes = [] {
        std::vector<std::uint8_t> made(kImageSize);
        for (std::size_t offset = 0; offset < made.size(); ++offset) {
            made[offset] = static_cast<std::uint8_t>(offset * 7 % 251);
        }
        return made;
    }();
    return bytes;
}

Workbench& sharedWorkbench() {
    static const auto workbench = std::make_unique<Workbench>();
    return *workbench;
}

// One row for each line of the input (ended by a line feed); its content is the line.
std::vector<PageRow> rowsOf(std::string_view text) {
    std::vector<PageRow> rows;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        rows.push_back({std::to_string(rows.size() + 1), " ", std::string(text.substr(0, end))});
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return rows;
}

// Whether a character of `text`, stepping from its start, ends `length` bytes in.
bool endsCharacter(std::string_view text, std::size_t length) {
    std::size_t at = 0;
    while (at < length) {
        at += gbkCharacterLength(text, at);
    }
    return at == length;
}

// A page with text holds it and a 0x00 at the start of its slot, a text too long for its slot
// cut after the last whole character that fits, the rest of the slot as it was; a page
// without text a slot of 0xFF.
void expectSlot(const FlashImage& image, std::int64_t slot, const std::string& text,
                std::size_t& cut) {
    if (text.empty()) {
        expect(image.isErased(slot, kPageSlotSize), "a page without text is erased");
        return;
    }
    const std::size_t longest = std::min(text.size(), kLongestPageText);
    const std::size_t length = endsCharacter(text, longest) ? longest : longest - 1;
    for (std::size_t at = 0; at < kPageSlotSize; ++at) {
        const std::uint8_t byte = image.load(slot + static_cast<std::int64_t>(at));
        if (at < length) {
            expect(byte == static_cast<std::uint8_t>(text[at]), "a page holds its text");
        } else if (at == length) {
            expect(byte == 0x00, "a page's text ends with 0x00");
        } else {
            expect(byte == imageBefore()[static_cast<std::size_t>(slot) + at],
                   "the slot after a page's text keeps its bytes");
        }
    }
    cut += length < text.size() ? 1 : 0;
}

} // namespace

void buildPages(Input input) {
    Workbench& workbench = sharedWorkbench();
    workbench.reset();
    const std::vector<std::uint8_t>& before = imageBefore();
    std::copy(before.begin(), before.end(), workbench.image.image().begin());
    const std::vector<PageRow> rows = rowsOf(asText(input));
    const auto warnings = buildPageRegion(workbench.image, workbench.regionMap, rows);

    const std::int64_t first = workbench.regionMap.offset(RegionMap::PageRegionBase);
    const std::int64_t end = first + static_cast<std::int64_t>(kPageCount) * kPageSlotSize;
    std::size_t cut = 0;
    for (int page = 1; page <= kPageCount; ++page) {
        const auto index = static_cast<std::size_t>(page - 1);
        const std::string text = index < rows.size() ? pageText(rows[index][2]) : std::string();
        expectSlot(workbench.image, first + static_cast<std::int64_t>(index) * kPageSlotSize, text,
                   cut);
    }
    expect(warnings.size() == cut, "every page cut to fit is reported");
    const auto after = workbench.image.image();
    expect(std::equal(after.begin(), after.begin() + first, before.begin()) &&
               std::equal(after.begin() + end, after.end(), before.begin() + end),
           "the pages region's build leaves the rest of the image");
}

} // namespace lumivert::fuzz
