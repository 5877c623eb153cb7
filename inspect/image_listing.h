#pragma once

#include "font/full_set_font.h"
#include "image/flash_image.h"
#include "image/region_map.h"
#include "inspect/dot_matrix.h"
#include "inspect/extracted_index.h"
#include "inspect/page_slots.h"
#include "inspect/picture_index.h"

#include <string>
#include <string_view>
#include <vector>

namespace lumivert {

// The decoded tables of the flash image as lines of GBK text, one an entry.
std::vector<std::string> listExtracted(const std::vector<ExtractedEntry>& entries);
std::vector<std::string> listPictures(const std::vector<PictureEntry>& pictures);
std::vector<std::string> listPages(const std::vector<PageSlot>& slots);
// Every code of a full set: its place and whether its cell holds dots, is blank or erased.
std::vector<std::string> listFullSet(const FlashImage& image, const RegionMap& regions,
                                     FullSetFont font);

// A glyph as rows of dots, '#' ink and '.' paper.
std::vector<std::string> dotRows(const DotMatrix& dots);

// The glyphs of the characters of `text` (GBK) as the image holds them, each a heading line
// and its dot rows: from every extracted font that has the character, or from a full set.
// A character the fonts do not hold gets a line that says so.
std::vector<std::string> showExtractedGlyphs(const FlashImage& image,
                                             const std::vector<ExtractedEntry>& entries,
                                             std::string_view text);
std::vector<std::string> showFullSetGlyphs(const FlashImage& image, const RegionMap& regions,
                                           FullSetFont font, std::string_view text);

// The characters of GBK text, one or two bytes each.
std::vector<std::string> gbkCharacters(std::string_view text);

} // namespace lumivert
