#include "common/gbk_chars.h"
#include "font/full_set_font.h"
#include "inspect/check_rules.h"
#include "inspect/listing_format.h"

#include <set>

namespace lumivert {
namespace {

// ASCII the module draws from its ASCII font; a two-byte code from the GB2312 set or an
// extracted font.
bool moduleShows(std::string_view character, const std::set<std::string>& extracted) {
    const auto first = static_cast<unsigned char>(character.front());
    return (character.size() == 1 && first < 0x80) || inGb2312Set(character) ||
           extracted.contains(std::string(character));
}

} // namespace

void checkPageSlots(const std::vector<PageSlot>& slots, Problems& problems) {
    for (const PageSlot& slot : slots) {
        if (slot.state == PageSlot::State::Unterminated) {
            problems.push_back("page " + std::to_string(slot.page) + ": its slot at " +
                               hexOffset(slot.offset) +
                               " has no 0x00 to end its text; the module reads on past the slot");
        }
    }
}

void checkPageCharacters(const std::vector<PageSlot>& slots,
                         const std::vector<ExtractedEntry>& entries, Problems& problems) {
    std::set<std::string> extracted;
    for (const ExtractedEntry& entry : entries) {
        extracted.insert(entry.character());
    }
    for (const PageSlot& slot : slots) {
        std::set<std::string> reported;
        const std::string_view text = slot.text;
        for (std::size_t at = 0; at < text.size();) {
            const std::string_view character = text.substr(at, gbkCharacterLength(text, at));
            at += character.size();
            if (!moduleShows(character, extracted) && reported.emplace(character).second) {
                problems.push_back("page " + std::to_string(slot.page) + ": " +
                                   describeCharacter(character) +
                                   " is neither in the GB2312 set nor in an extracted font, so "
                                   "the module cannot show it");
            }
        }
    }
}

} // namespace lumivert
