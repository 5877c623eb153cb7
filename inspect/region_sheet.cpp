#include "inspect/region_sheet.h"

#include "font/ascii_font.h"
#include "font/full_set_font.h"
#include "inspect/image_listing.h"
#include "inspect/listing_format.h"
#include "inspect/picture_index.h"

#include <algorithm>
#include <set>
#include <string>

namespace lumivert {
namespace {

constexpr int kGlyphColumns = 16;
constexpr GlyphCell kAsciiCell{8, 16};

class CharacterFilter {
public:
    explicit CharacterFilter(std::string_view characters) {
        for (std::string& character : gbkCharacters(characters)) {
            wanted_.insert(std::move(character));
        }
    }
    bool keeps(const std::string& character) const {
        return wanted_.empty() || wanted_.contains(character);
    }

private:
    std::set<std::string> wanted_;
};

std::vector<SheetSection> extractedSheet(const FlashImage& image, const RegionMap& regions,
                                         const ExtractedRows& rows, const CharacterFilter& filter) {
    const std::vector<ExtractedEntry> entries = readExtractedIndex(image, regions, rows);
    std::vector<SheetSection> sections;
    for (const ExtractedRow& row : rows) {
        if (!row.cell) {
            continue;
        }
        SheetSection section{"ROW " + std::to_string(row.row) + "  " +
                                 std::to_string(row.cell->width) + "X" +
                                 std::to_string(row.cell->height),
                             {},
                             kGlyphColumns};
        for (const ExtractedEntry& entry : entries) {
            if (entry.row == row.row && filter.keeps(entry.character())) {
                section.items.push_back(SheetItem::glyph(
                    hexCode(entry.character()), glyphAt(image, entry.glyphOffset, *row.cell)));
            }
        }
        if (!section.items.empty()) {
            sections.push_back(std::move(section));
        }
    }
    return sections;
}

std::vector<SheetSection> fullSetSheet(const FlashImage& image, const RegionMap& regions,
                                       FullSetFont font, const CharacterFilter& filter) {
    const int perLead = kGb2312LastTrail - kGb2312FirstTrail + 1;
    SheetSection section{{}, {}, perLead};
    std::string character(2, '\0');
    for (int lead = kGb2312FirstLead; lead <= kGb2312LastLead; ++lead) {
        for (int trail = kGb2312FirstTrail; trail <= kGb2312LastTrail; ++trail) {
            character[0] = static_cast<char>(lead);
            character[1] = static_cast<char>(trail);
            if (filter.keeps(character)) {
                section.items.push_back(
                    SheetItem::glyph(hexCode(character),
                                     glyphAt(image, fullSetGlyphOffset(regions, font, lead, trail),
                                             fullSetCell(font))));
            }
        }
    }
    if (section.items.size() != static_cast<std::size_t>(kGb2312Codes)) {
        section.columns = kGlyphColumns;
    }
    return {section};
}

std::vector<SheetSection> asciiSheet(const FlashImage& image, const RegionMap& regions,
                                     const CharacterFilter& filter) {
    SheetSection section{{}, {}, kGlyphColumns};
    const std::int64_t base = regions.offset(RegionMap::AsciiFontBase);
    const auto glyphs = static_cast<int>(kAsciiFontSize / kAsciiCell.byteCount());
    for (int k = 0; k < glyphs; ++k) {
        const std::string character(1, static_cast<char>(kAsciiFirstCode + k));
        if (filter.keeps(character)) {
            section.items.push_back(SheetItem::glyph(
                hexCode(character), glyphAt(image, base + k * kAsciiCell.byteCount(), kAsciiCell)));
        }
    }
    return {section};
}

std::vector<SheetSection> pictureSheet(const FlashImage& image, const RegionMap& regions) {
    SheetSection section;
    for (const PictureEntry& picture : readPictureIndex(image, regions)) {
        if (picture.insideFlash && picture.byteCount() > 0) {
            section.items.push_back(SheetItem::picture(std::to_string(picture.number),
                                                       picture.width, picture.height,
                                                       pictureColours(image, picture)));
        }
    }
    return {section};
}

} // namespace

std::optional<SheetRegion> sheetRegionNamed(std::string_view name) {
    if (name == "extracted") {
        return SheetRegion::Extracted;
    }
    if (name == "gb12") {
        return SheetRegion::Gb12;
    }
    if (name == "gb16") {
        return SheetRegion::Gb16;
    }
    if (name == "ascii") {
        return SheetRegion::Ascii;
    }
    if (name == "pictures") {
        return SheetRegion::Pictures;
    }
    return std::nullopt;
}

std::vector<SheetSection> regionSheet(const FlashImage& image, const RegionMap& regions,
                                      SheetRegion region, const ExtractedRows& rows,
                                      std::string_view characters) {
    const CharacterFilter filter(characters);
    switch (region) {
    case SheetRegion::Extracted:
        return extractedSheet(image, regions, rows, filter);
    case SheetRegion::Gb12:
        return fullSetSheet(image, regions, FullSetFont::Dots12, filter);
    case SheetRegion::Gb16:
        return fullSetSheet(image, regions, FullSetFont::Dots16, filter);
    case SheetRegion::Ascii:
        return asciiSheet(image, regions, filter);
    case SheetRegion::Pictures:
        return pictureSheet(image, regions);
    }
    return {};
}

} // namespace lumivert
