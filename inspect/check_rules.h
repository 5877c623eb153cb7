#pragma once

#include "font/face_coverage.h"
#include "font/full_set_font.h"
#include "image/flash_image.h"
#include "image/region_map.h"
#include "inspect/extracted_index.h"
#include "inspect/page_slots.h"
#include "inspect/picture_index.h"

#include <string>
#include <vector>

namespace lumivert {

// The rules of the image check (see checkImage), each adding one line per problem it finds.
using Problems = std::vector<std::string>;

void checkExtractedGlyphs(const FlashImage& image, const RegionMap& regions,
                          const std::vector<ExtractedEntry>& entries, const ExtractedRows& rows,
                          FaceCoverage& faces, Problems& problems);

void checkExtractedDuplicates(const std::vector<ExtractedEntry>& entries, Problems& problems);

void checkPictures(const std::vector<PictureEntry>& pictures, const RegionMap& regions,
                   Problems& problems);

void checkPageSlots(const std::vector<PageSlot>& slots, Problems& problems);

void checkPageCharacters(const std::vector<PageSlot>& slots,
                         const std::vector<ExtractedEntry>& entries, Problems& problems);

// `face`: the face name (GBK) the set was generated with, at the set's dot size.
void checkFullSet(const FlashImage& image, const RegionMap& regions, FullSetFont font,
                  const std::string& face, FaceCoverage& faces, Problems& problems);

} // namespace lumivert
