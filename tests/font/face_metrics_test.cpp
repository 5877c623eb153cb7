#include "font/face_metrics.h"

#include <gtest/gtest.h>

namespace lumivert {
namespace {

// AR PL UMing: 1024 units to the em, Windows ascent 917 and descent 155, average width 512,
// monospaced.
constexpr FaceUnits kUming{1024, 917, 155, 512, true};
// A proportional face of 2048 units.
constexpr FaceUnits kProportional{2048, 1901, 483, 1038, false};

TEST(FaceSize, HeightAsksForTheCellOrTheEm) {
    struct Case {
        std::int32_t height;
        std::int32_t ppem;
        std::int32_t ascent;
        std::int32_t descent;
    };
    const Case cases[] = {
        {16, 15, 13, 2},   {12, 11, 10, 2},
        {24, 23, 21, 3},   {-16, 16, 14, 2},
        {-12, 12, 11, 2},  {0, 16, 14, 2},
        {1, 1, 1, 0},      {64, 61, 55, 9},
        {-64, 64, 57, 10}, {-2'000'000'000, kLargestPpem, 7336, 1240},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.height);
        const FaceSize size = faceSize(kUming, c.height, 0);
        EXPECT_EQ(size.ppem, c.ppem);
        EXPECT_EQ(size.ascent, c.ascent);
        EXPECT_EQ(size.descent, c.descent);
        EXPECT_FALSE(size.scaled());
    }
    // The cell never comes out above the height asked for.
    for (std::int32_t height = 1; height <= 200; ++height) {
        const FaceSize size = faceSize(kProportional, height, 0);
        EXPECT_LE((1901 + 483) * size.ppem / 2048, height) << height;
    }
}

TEST(FaceSize, WidthScalesTheAverageCharacterWidth) {
    struct Case {
        std::int32_t height;
        std::int32_t width;
        std::int32_t numerator;
        std::int32_t denominator;
    };
    const Case cases[] = {
        {24, 12, 1, 1}, // 23 pixels to the em: an average of 11.5, rounded 12
        {24, 0, 1, 1},  // no width: natural proportions
        {24, 6, 6, 12}, {24, -6, 6, 12}, {32, 16, 1, 1}, {32, 20, 20, 16},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.height << " / " << c.width);
        const FaceSize size = faceSize(kUming, c.height, c.width);
        EXPECT_EQ(size.scaled(), c.numerator != c.denominator);
        if (size.scaled()) {
            EXPECT_EQ(size.scaleNumerator, c.numerator);
            EXPECT_EQ(size.scaleDenominator, c.denominator);
        }
    }
}

TEST(Advance, RoundsUpAndGivesFullWidthCharactersTwiceTheAverage) {
    struct Case {
        const FaceUnits* units;
        std::int32_t height;
        std::int64_t advance; // 1/64 pixels
        std::int32_t pixels;
    };
    const Case cases[] = {
        {&kUming, 16, 960, 16},  // 15 pixels, twice the average of 7.5: twice 8
        {&kUming, 16, 480, 8},   // a half-width character: rounded up
        {&kUming, 24, 1472, 24}, // 23 pixels, twice 11.5
        {&kUming, -24, 1536, 24},      {&kUming, -24, 768, 12},       {&kUming, 16, 1000, 16},
        {&kProportional, 16, 960, 15}, {&kProportional, 16, 961, 16}, {&kUming, 16, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.height << " / " << c.advance);
        EXPECT_EQ(advancePixels(*c.units, faceSize(*c.units, c.height, 0), c.advance), c.pixels);
    }
}

} // namespace
} // namespace lumivert
