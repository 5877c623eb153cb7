#pragma once

#include "image/flash_image.h"
#include "image/region_map.h"
#include "inspect/contact_sheet.h"
#include "inspect/extracted_index.h"

#include <optional>
#include <string_view>
#include <vector>

namespace lumivert {

// The regions a contact sheet shows: "extracted", "gb12", "gb16", "ascii", "pictures".
enum class SheetRegion { Extracted, Gb12, Gb16, Ascii, Pictures };

std::optional<SheetRegion> sheetRegionNamed(std::string_view name);

// The ASCII font as the sheet reads it: glyphs of 8 x 16 dots, 16 bytes each, from code 0x20.
inline constexpr int kAsciiFirstCode = 0x20;

// The sections of a region's contact sheet, drawn from the image's bytes, each glyph labelled
// with its code in hexadecimal and each picture with its number: the extracted fonts row by
// row (an entry whose size no row tells is left out); the full sets' 8,178 codes, one first
// byte a line; the ASCII font's whole glyphs; the pictures whose pixels lie inside the flash.
// `characters` (GBK), when not empty, keeps only the glyphs of those characters.
std::vector<SheetSection> regionSheet(const FlashImage& image, const RegionMap& regions,
                                      SheetRegion region, const ExtractedRows& rows,
                                      std::string_view characters);

} // namespace lumivert
