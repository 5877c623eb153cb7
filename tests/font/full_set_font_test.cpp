#include "common/gbk.h"
#include "font/full_set_font.h"
#include "tests/font/font_generation_fixtures.h"

#include <gtest/gtest.h>

namespace lumivert::testing {
namespace {

std::string code(int lead, int trail) {
    return {static_cast<char>(lead), static_cast<char>(trail)};
}

class FullSetFontTest : public ::testing::Test {
protected:
    FullSetFontTest() { workbench->reset(); }

    void generate(FullSetFont font, const GlyphParameters& parameters) {
        generateFullSetFont(*workbench, rasterizer, font, parameters, shown, host);
    }

    std::unique_ptr<Workbench> workbench = std::make_unique<Workbench>();
    GlyphRasterizer rasterizer;
    RecordingSink shown;
    CountingHost host;
};

// Each set fills its region from the base in code order, the unassigned codes included and
// blank, and leaves the bytes after its data as they were.
TEST_F(FullSetFontTest, EveryCodeAtItsPlace) {
    struct Case {
        FullSetFont font;
        bool halfWidth;
        std::int64_t base;
        std::int64_t glyphSize;
        std::int64_t ah;     // 啊, B0 A1
        std::int64_t middle; // 中, D6 D0
        std::int64_t last;   // F7 FE
        std::int64_t regionEnd;
    };
    const Case cases[] = {
        {FullSetFont::Dots12, false, 20480, 24, 54320, 141176, 216728, 217088},
        {FullSetFont::Dots16, false, 217088, 32, 262208, 378016, 478752, 479232},
        {FullSetFont::Dots16, true, 217088, 16, 217088 + 1410 * 16, 217088 + 5029 * 16,
         217088 + 8177 * 16, 479232},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(fullSetDotSize(c.font)) + (c.halfWidth ? " half" : " full"));
        workbench->reset();
        const std::int64_t end = c.base + kGb2312Codes * c.glyphSize;
        for (std::int64_t offset = end; offset < c.regionEnd; ++offset) {
            workbench->image.store(offset, 0x5A); // not 0xFF, so that a write shows
        }
        GlyphParameters parameters;
        parameters.dotSize = "24"; // replaced by the set's own
        parameters.fontHeight = fullSetDotSize(c.font);
        parameters.fontWidth = "8";
        parameters.halfWidth = c.halfWidth;
        RecordingSink sink;
        generateFullSetFont(*workbench, rasterizer, c.font, parameters, sink, host);

        parameters.dotSize = fullSetDotSize(c.font);
        EXPECT_EQ(imageBytes(*workbench, c.base, c.glyphSize),
                  glyphBytes(parameters, code(0xA1, 0xA1)));
        EXPECT_EQ(imageBytes(*workbench, c.ah, c.glyphSize), glyphBytes(parameters, "\xB0\xA1"));
        EXPECT_EQ(imageBytes(*workbench, c.middle, c.glyphSize),
                  glyphBytes(parameters, "\xD6\xD0"));
        EXPECT_EQ(imageBytes(*workbench, c.last, c.glyphSize), glyphBytes(parameters, "\xF7\xFE"));
        EXPECT_NE(glyphBytes(parameters, "\xD6\xD0"), glyphBytes(parameters, code(0xA1, 0xA1)));
        const std::int64_t unassigned = c.base + ((0xD7 - 0xA1) * 94 + (0xFA - 0xA1)) * c.glyphSize;
        EXPECT_EQ(imageBytes(*workbench, unassigned, c.glyphSize),
                  std::vector<std::uint8_t>(static_cast<std::size_t>(c.glyphSize), 0));
        EXPECT_EQ(workbench->image.load(c.base - 1), 0xFF);
        for (std::int64_t offset = end; offset < c.regionEnd; ++offset) {
            ASSERT_EQ(workbench->image.load(offset), 0x5A) << offset;
        }
        EXPECT_EQ(workbench->writeCursor, end);
        EXPECT_EQ(workbench->generateMode, 0);

        ASSERT_EQ(sink.characters.size(), std::size_t{kGb2312Codes});
        EXPECT_EQ(sink.characters.front(), code(0xA1, 0xA1));
        EXPECT_EQ(sink.characters[94], code(0xA2, 0xA1));
        EXPECT_EQ(sink.characters.back(), code(0xF7, 0xFE));
        EXPECT_EQ(sink.widths.size(), std::size_t{kGb2312Codes});
        EXPECT_EQ(sink.previews, kGb2312Codes);
    }
    EXPECT_EQ(host.lastDone, kGb2312Codes);
    EXPECT_EQ(host.lastTotal, kGb2312Codes);
    EXPECT_EQ(host.pumps, 3 * kGb2312Codes);

    // A test render afterwards stores nothing.
    const auto before = imageCopy(*workbench);
    workbench->writeCursor = 0;
    rasterizer.render(*workbench, GlyphParameters{}, "\xD6\xD0");
    EXPECT_EQ(imageCopy(*workbench), before);
}

TEST_F(FullSetFontTest, AFailingRenderEndsTheSetWithGenerationOff) {
    GlyphParameters parameters;
    parameters.fontHeight = "x";
    EXPECT_EQ(errorOf([&] { generate(FullSetFont::Dots12, parameters); }),
              "'x' is not a valid integer value");
    EXPECT_EQ(workbench->generateMode, 0);
    EXPECT_TRUE(workbench->image.isErased(0, kImageSize));
    EXPECT_EQ(workbench->writeCursor, 20480);
    EXPECT_EQ(shown.characters, std::vector<std::string>{code(0xA1, 0xA1)});
    EXPECT_EQ(host.pumps, 0);
}

TEST_F(FullSetFontTest, ACancelledSetStopsAfterTheStepInHand) {
    host.cancelAfter = 100;
    GlyphParameters parameters;
    parameters.fontHeight = "16";
    generate(FullSetFont::Dots16, parameters);
    EXPECT_EQ(shown.characters.size(), 100u);
    EXPECT_EQ(workbench->writeCursor, 217088 + 100 * 32);
    EXPECT_EQ(workbench->generateMode, 0);
    EXPECT_TRUE(workbench->image.isErased(217088 + 100 * 32, 32));
}

} // namespace
} // namespace lumivert::testing
