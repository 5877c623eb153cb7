#pragma once

#include "font/font_table.h"
#include "image/region_map.h"

#include <cstdint>

namespace lumivert {

// The extracted-character fonts: one index table of 2,048 bytes (512 entries of 4 bytes) per
// pair of font definition rows (1 and 2, 3 and 4, ...) from the start of the index region,
// and the glyphs of all eight rows one after another in the glyph region, each from a
// multiple of 8. An entry holds the two code bytes and the glyph's distance from the glyph
// region's start in units of 8 bytes, high byte first.
inline constexpr std::int32_t kExtractedIndexEntrySize = 4;
inline constexpr std::int32_t kExtractedIndexEntries = 512;
inline constexpr std::int32_t kExtractedIndexTableSize =
    kExtractedIndexEntrySize * kExtractedIndexEntries;
inline constexpr std::int32_t kExtractedGlyphAlignment = 8;

// Where the index entries of the pair that row `row` (1 to 8) belongs to start.
inline std::int32_t extractedIndexTable(const RegionMap& regions, int row) {
    return regions.offset(RegionMap::ExtractedIndexBase) +
           kExtractedIndexTableSize * ((row - 1) / 2);
}

// The WriteCursor moved up to the next multiple of 8, where it is not one already.
inline std::int64_t alignedGlyphCursor(std::int64_t cursor) {
    return cursor % kExtractedGlyphAlignment == 0
               ? cursor
               : (cursor / kExtractedGlyphAlignment + 1) * kExtractedGlyphAlignment;
}

// Counts what the generation of rows 1 to 8 would write: the entries of each pair of rows and
// the glyph bytes of all rows, alignment included, each row's cell from its dot size
// converted as the render converts it. A row whose dot size does not convert ends the count
// with its first entry: the generation fails there, at that character's render. Throws
// WorkbenchError, naming the pair or the byte count, when a pair would have more entries
// than its index table holds or the glyphs would run past the glyph region.
//
// Returns the number of content positions the generation walks.
std::int64_t checkExtractedSpace(const FontTable& table, const RegionMap& regions);

} // namespace lumivert
