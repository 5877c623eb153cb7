#include "common/gbk.h"
#include "font/face_coverage.h"

#include <gtest/gtest.h>

namespace lumivert {
namespace {

TEST(FaceCoverageTest, TellsWhetherTheFacesDrawACharacter) {
    struct Case {
        const char* what;
        std::string character; // GBK
        const char* height;
        bool ink;
    };
    const Case cases[] = {
        {"a hanzi", utf8ToGbk("中"), "24", true},
        {"a letter", "A", "24", true},
        {"a space", " ", "24", false},
        {"the ideographic space", "\xA1\xA1", "16", false},
        {"a character from a fallback face", "\x84\x5A", "24", true},
        {"an unassigned code", "\xD7\xFA", "16", false},
        {"a height that is no number", utf8ToGbk("中"), "x", false},
    };
    FaceCoverage coverage;
    for (const auto& c : cases) {
        GlyphParameters parameters;
        parameters.fontHeight = c.height;
        EXPECT_EQ(coverage.drawsInk(parameters, c.character), c.ink) << c.what;
    }
}

} // namespace
} // namespace lumivert
