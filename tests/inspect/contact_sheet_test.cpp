#include "common/workbench_error.h"
#include "inspect/png_file.h"
#include "inspect/region_sheet.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>
#include <memory>
#include <png.h>
#include <random>

namespace lumivert {
namespace {

struct ReadPng {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;

    Rgb at(int x, int y) const {
        const std::size_t i = (static_cast<std::size_t>(y) * width + x) * 3;
        return {rgb[i], rgb[i + 1], rgb[i + 2]};
    }
};

ReadPng readPng(const std::filesystem::path& path) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ReadPng read;
    if (png_image_begin_read_from_file(&image, path.c_str()) == 0) {
        ADD_FAILURE() << image.message;
        return read;
    }
    image.format = PNG_FORMAT_RGB;
    read.width = static_cast<int>(image.width);
    read.height = static_cast<int>(image.height);
    read.rgb.resize(PNG_IMAGE_SIZE(image));
    if (png_image_finish_read(&image, nullptr, read.rgb.data(), 0, nullptr) == 0) {
        ADD_FAILURE() << image.message;
    }
    return read;
}

// The sheet of the 16-dot set: 94 glyphs a line, one line a first byte, each glyph's dots
// black on white where the bytes have their bits set.
TEST(ContactSheetTest, TheSheetOfThe16DotSetShowsTheDotsOfItsBytes) {
    auto image = std::make_unique<FlashImage>();
    image->fill();
    std::mt19937 random(7);
    constexpr std::int64_t kBase = 0x35000;
    constexpr int kGlyphs = 5;
    std::vector<std::uint8_t> bytes(std::size_t{32} * kGlyphs);
    for (auto& byte : bytes) {
        byte = static_cast<std::uint8_t>(random());
    }
    image->store(kBase, std::span<const std::uint8_t>(bytes));

    struct Case {
        int scale;
        int width;
        int height;
    };
    for (const Case c : {Case{1, 1880, 2262}, Case{2, 3760, 4524}}) {
        SCOPED_TRACE(c.scale);
        const ContactSheet sheet = drawContactSheet(
            regionSheet(*image, RegionMap::standard(), SheetRegion::Gb16, {}, ""), c.scale);
        ASSERT_EQ(sheet.origins.size(), 8178u);
        testing::TempFolder folder;
        writePngFile(folder / "gb16.png", sheet.raster);
        const ReadPng png = readPng(folder / "gb16.png");
        EXPECT_EQ(png.width, c.width);
        EXPECT_EQ(png.height, c.height);
        EXPECT_EQ(sheet.origins[94].y, sheet.origins[0].y + c.height / 87) << "a line a first byte";
        for (int glyph = 0; glyph < kGlyphs; ++glyph) {
            const Point origin = sheet.origins[static_cast<std::size_t>(glyph)];
            for (int x = 0; x < 16; ++x) {
                for (int y = 0; y < 16; ++y) {
                    const std::uint8_t byte = bytes[32 * glyph + 2 * x + y / 8];
                    const Rgb expected =
                        (byte >> (y % 8) & 1) != 0 ? Rgb{0, 0, 0} : Rgb{255, 255, 255};
                    for (int k = 0; k < c.scale * c.scale; ++k) {
                        ASSERT_EQ(png.at(origin.x + x * c.scale + k % c.scale,
                                         origin.y + y * c.scale + k / c.scale),
                                  expected)
                            << glyph << ": " << x << "," << y;
                    }
                }
            }
        }
    }
}

TEST(ContactSheetTest, CharactersChooseTheGlyphsOfASheet) {
    auto image = std::make_unique<FlashImage>();
    image->fill();
    const RegionMap regions = RegionMap::standard();
    struct Case {
        SheetRegion region;
        std::string characters;
        std::size_t glyphs;
    };
    const Case cases[] = {
        {SheetRegion::Gb12, "", 8178},
        {SheetRegion::Gb12,
         "\xB0\xA1\xD6\xD0"
         "A",
         2}, // a letter is in no GB2312 set
        {SheetRegion::Ascii, "", 97},
        {SheetRegion::Ascii, "AB\xB0\xA1", 2},
        {SheetRegion::Extracted, "", 0},
        {SheetRegion::Pictures, "", 0},
    };
    for (const auto& c : cases) {
        std::size_t glyphs = 0;
        for (const SheetSection& section :
             regionSheet(*image, regions, c.region, {}, c.characters)) {
            glyphs += section.items.size();
        }
        EXPECT_EQ(glyphs, c.glyphs) << ::testing::PrintToString(c.characters);
    }
}

TEST(ContactSheetTest, PicturesShowTheirColoursAtTheirPlaces) {
    auto image = std::make_unique<FlashImage>();
    image->fill();
    const std::vector<std::uint8_t> entry{0, 2, 0, 1, 0, 0x10, 0x00, 0x00};
    const std::vector<std::uint8_t> pixels{0xF8, 0x00, 0x00, 0x1F}; // red, then blue
    image->store(0x4000 + 8 * 3, std::span(entry));
    image->store(0x100000, std::span(pixels));
    const auto sections = regionSheet(*image, RegionMap::standard(), SheetRegion::Pictures, {}, "");
    ASSERT_EQ(sections.size(), 1u);
    ASSERT_EQ(sections[0].items.size(), 1u);
    EXPECT_EQ(sections[0].items[0].label, "3");
    const ContactSheet sheet = drawContactSheet(sections, 3);
    const Point origin = sheet.origins[0];
    EXPECT_EQ(sheet.raster.at(origin.x + 2, origin.y + 2), (Rgb{255, 0, 0}));
    EXPECT_EQ(sheet.raster.at(origin.x + 3, origin.y + 2), (Rgb{0, 0, 255}));
}

TEST(ContactSheetTest, ASheetTooLargeToDrawIsRefused) {
    auto image = std::make_unique<FlashImage>();
    image->fill();
    const auto sections = regionSheet(*image, RegionMap::standard(), SheetRegion::Gb16, {}, "");
    EXPECT_THROW(drawContactSheet(sections, 20), WorkbenchError);
}

} // namespace
} // namespace lumivert
