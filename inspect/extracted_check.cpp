#include "inspect/check_rules.h"
#include "inspect/dot_matrix.h"
#include "inspect/listing_format.h"
#include "inspect/overlaps.h"

#include <map>

namespace lumivert {
namespace {

// "rows 1-2, entry 5, 中 (D6D0)"
std::string entryName(const ExtractedEntry& entry) {
    return pairName(entry.pair) + ", entry " + std::to_string(entry.position) + ", " +
           describeCharacter(entry.character());
}

std::string glyphSpan(const ExtractedEntry& entry) {
    return hexOffset(entry.glyphOffset) + " to " + hexOffset(entry.glyphEnd() - 1);
}

void checkInsideRegion(const ExtractedEntry& entry, std::int64_t regionEnd, Problems& problems) {
    if (entry.glyphEnd() > regionEnd) {
        problems.push_back(entryName(entry) + ": its glyph at " + glyphSpan(entry) +
                           " runs past the glyph region's end " + hexOffset(regionEnd - 1));
    }
}

void checkNotBlank(const FlashImage& image, const ExtractedEntry& entry, const ExtractedRows& rows,
                   FaceCoverage& faces, Problems& problems) {
    const ExtractedRow& row = rows[static_cast<std::size_t>(entry.row - 1)];
    if (glyphAt(image, entry.glyphOffset, *entry.cell).blank() &&
        faces.drawsInk(row.parameters, entry.character())) {
        problems.push_back(entryName(entry) + ": its glyph at " + hexOffset(entry.glyphOffset) +
                           " is blank, but the face of row " + std::to_string(entry.row) +
                           " draws the character");
    }
}

} // namespace

void checkExtractedGlyphs(const FlashImage& image, const RegionMap& regions,
                          const std::vector<ExtractedEntry>& entries, const ExtractedRows& rows,
                          FaceCoverage& faces, Problems& problems) {
    const std::int64_t regionEnd = regions.offset(RegionMap::PageRegionBase);
    std::vector<const ExtractedEntry*> sized;
    for (const ExtractedEntry& entry : entries) {
        if (!entry.cell) {
            continue; // no row tells the size of its glyph
        }
        checkInsideRegion(entry, regionEnd, problems);
        checkNotBlank(image, entry, rows, faces, problems);
        sized.push_back(&entry);
    }
    findOverlaps(
        std::move(sized), [](const ExtractedEntry& e) { return e.glyphOffset; },
        [](const ExtractedEntry& e) { return e.glyphEnd(); },
        [&](const ExtractedEntry& entry, const ExtractedEntry& earlier) {
            problems.push_back(entryName(entry) + ": its glyph at " + glyphSpan(entry) +
                               " overlaps the glyph of " + entryName(earlier));
        });
}

void checkExtractedDuplicates(const std::vector<ExtractedEntry>& entries, Problems& problems) {
    std::map<std::pair<int, std::uint16_t>, const ExtractedEntry*> first;
    for (const ExtractedEntry& entry : entries) {
        const auto [known, inserted] = first.emplace(std::pair(entry.pair, entry.code()), &entry);
        if (!inserted) {
            problems.push_back(pairName(entry.pair) + ": " + describeCharacter(entry.character()) +
                               " has entries " + std::to_string(known->second->position) + " and " +
                               std::to_string(entry.position) +
                               "; the module finds only the first");
        }
    }
}

} // namespace lumivert
