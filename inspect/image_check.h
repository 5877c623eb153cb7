#pragma once

#include "font/face_coverage.h"
#include "font/glyph_parameters.h"
#include "image/flash_image.h"
#include "image/region_map.h"
#include "inspect/extracted_index.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lumivert {

// What the check compares the flash image with: the font definition rows (for the extracted
// fonts' sizes and faces) and the face the full GB2312 sets were generated with.
struct CheckContext {
    ExtractedRows rows;
    std::string fullSetFace = GlyphParameters{}.face; // GBK
};

// How much of a region its content takes.
struct RegionFill {
    std::string_view name;
    std::int64_t used = 0;
    std::int64_t capacity = 0;
};

struct CheckReport {
    std::vector<std::string> problems; // one line each, GBK
    std::vector<RegionFill> regions;   // in address order
    std::string summary;               // one line on what the image holds
};

// Checks the flash image as the module will read it:
// - each extracted-character index entry: its glyph inside the glyph region, not overlapping
//   another entry's glyph, not blank where its row's face draws the character; no character
//   twice in one pair of rows;
// - the picture entries: pixels not overlapping another picture's, inside the picture data
//   region and the flash;
// - each page slot: its text ends with a 0x00 inside the slot;
// - each full GB2312 set that holds data: no blank cell where its face draws the character;
// - the characters of the page texts: each two-byte one in the GB2312 set or in an extracted
//   font, for the module has no other glyphs for them.
CheckReport checkImage(const FlashImage& image, const RegionMap& regions,
                       const CheckContext& context, FaceCoverage& faces);

} // namespace lumivert
