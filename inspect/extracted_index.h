#pragma once

#include "font/font_table.h"
#include "font/glyph_cell.h"
#include "font/glyph_parameters.h"
#include "image/flash_image.h"
#include "image/region_map.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lumivert {

// What reading the extracted-character index needs of a font definition row.
struct ExtractedRow {
    int row = 0; // 1 to 8
    GlyphParameters parameters;
    // The cell of the row's glyphs; none when its dot size is not a number or a glyph of
    // that size would not fit the glyph region.
    std::optional<GlyphCell> cell;
    std::int64_t characters = 0; // how many characters its content extracts
};

using ExtractedRows = std::array<ExtractedRow, kFontDefinitions>;

ExtractedRows extractedRows(const FontTable& table, const RegionMap& regions);

// One entry of an extracted-character index table, as the module reads it.
struct ExtractedEntry {
    int pair = 0;     // 0 to 3: font rows 2 pair + 1 and 2 pair + 2
    int position = 0; // its place in its pair's table, from 0
    std::int64_t entryOffset = 0;
    std::uint8_t firstByte = 0; // 0 for a one-byte character
    std::uint8_t secondByte = 0;
    std::int32_t address = 0;     // the glyph's distance from the glyph region, in 8-byte units
    std::int64_t glyphOffset = 0; // where its glyph starts in the flash image
    // The row whose glyphs the entry's have the size of: the row of the pair that extracts
    // its kind of character (a full-width row two-byte ones, a half-width row one-byte ones);
    // of two such rows the odd one for its own characters' count of entries, then the even
    // one. 0 when neither row extracts that kind.
    int row = 0;
    std::optional<GlyphCell> cell; // the cell of that row

    // The character's GBK code: one byte or two.
    std::string character() const;
    // Its code as the index holds it: first byte * 256 + second byte.
    std::uint16_t code() const { return static_cast<std::uint16_t>(firstByte << 8 | secondByte); }
    // Where its glyph ends; its start when the cell is not known.
    std::int64_t glyphEnd() const { return glyphOffset + (cell ? cell->byteCount() : 0); }
};

// "rows 1-2": the rows of a pair.
std::string pairName(int pair);

// The entries of each pair's index table in order, pair by pair, each table up to its first
// empty entry (four 0xFF bytes) or its 512th entry.
std::vector<ExtractedEntry> readExtractedIndex(const FlashImage& image, const RegionMap& regions,
                                               const ExtractedRows& rows);

} // namespace lumivert
