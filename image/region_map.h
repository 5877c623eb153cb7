#pragma once

#include "image/flash_layout.h"

#include <array>
#include <cstdint>

namespace lumivert {

// Bases of the flash regions, in FlashPages. Each region runs up to the next base.
struct RegionMap {
    enum Entry : std::size_t {
        UnusedBase,         // a region nothing reads or writes
        ExtractedIndexBase, // index of the extracted-character fonts
        PictureIndexBase,   // one 8-byte entry per picture
        Font12Base,         // GB2312 at 12 dots
        Font16Base,         // GB2312 at 16 dots
        AsciiFontBase,      // 8 x 16 ASCII font
        ExtractedGlyphBase, // glyphs of the extracted-character fonts
        PageRegionBase,     // 128 stored command pages
        PictureDataBase,    // RGB565 pixels
        ImageEnd,           // end of the flash image
        EntryCount
    };

    std::array<std::int32_t, EntryCount> pages{};

    static constexpr RegionMap standard() {
        return RegionMap{{16, 32, 64, 80, 848, 1872, 1888, 3584, 4096, 8192}};
    }

    constexpr std::int32_t page(Entry entry) const { return pages[entry]; }
    constexpr std::int32_t offset(Entry entry) const { return pages[entry] * kFlashPageSize; }
};

} // namespace lumivert
