#include "pages/page_region.h"

#include "common/gbk_chars.h"
#include "common/trim.h"
#include "pages/line_marker.h"

#include <span>
#include <vector>

namespace lumivert {

std::string pageText(const std::string& content) {
    return replaceLineMarkers(trim(content), "");
}

std::vector<std::string> buildPageRegion(FlashImage& image, const RegionMap& map,
                                         const std::vector<PageRow>& rows) {
    std::vector<std::string> warnings;
    const std::vector<std::uint8_t> erased(kPageSlotSize, kErased);
    for (int page = 1; page <= kPageCount; ++page) {
        const std::int64_t slot = map.offset(RegionMap::PageRegionBase) +
                                  static_cast<std::int64_t>(page - 1) * kPageSlotSize;
        const std::size_t index = static_cast<std::size_t>(page - 1);
        std::string text = index < rows.size() ? pageText(rows[index][2]) : std::string();
        if (text.empty()) {
            image.store(slot, erased);
            continue;
        }
        if (text.size() > kLongestPageText) {
            const std::size_t length = text.size();
            text = std::string(cutAtCharacter(text, kLongestPageText));
            warnings.push_back("页面 " + std::to_string(page) + " 的内容有 " +
                               std::to_string(length) + " 字节，超出 1023 字节，只存入前 " +
                               std::to_string(text.size()) + " 字节");
        }
        text.push_back('\0');
        image.store(slot,
                    std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    }
    return warnings;
}

} // namespace lumivert
