#include "image/workbench.h"
#include "pages/page_region.h"

#include <gtest/gtest.h>
#include <memory>

namespace lumivert {
namespace {

constexpr std::int64_t kPagesOffset = 0xE0000;

class PageRegionTest : public ::testing::Test {
protected:
    void SetUp() override { workbench->reset(); }

    std::int64_t slot(int page) const { return kPagesOffset + std::int64_t{page - 1} * 1024; }

    std::vector<std::uint8_t> slotBytes(int page, std::size_t count = 1024) const {
        std::vector<std::uint8_t> bytes;
        for (std::size_t i = 0; i < count; ++i) {
            bytes.push_back(workbench->image.load(slot(page) + static_cast<std::int64_t>(i)));
        }
        return bytes;
    }

    std::vector<std::string> build(const std::vector<std::string>& contents) {
        std::vector<PageRow> rows;
        rows.reserve(contents.size());
        for (const auto& content : contents) {
            rows.push_back({std::to_string(rows.size() + 1), "", content});
        }
        return buildPageRegion(workbench->image, workbench->regionMap, rows);
    }

    std::unique_ptr<Workbench> workbench = std::make_unique<Workbench>();
};

std::vector<std::uint8_t> bytesOf(const std::string& text) {
    return {text.begin(), text.end()};
}

TEST_F(PageRegionTest, APageWithTextGetsItsTextAndAZeroByte) {
    struct Case {
        const char* content;
        std::string stored;
    };
    const Case cases[] = {
        {"AB|R|ACD", std::string("ABCD\0", 5)},
        {"|R|R|A|A", std::string("|R|A\0", 5)},
        {"  X|R|A  ", std::string("X\0", 2)},
        {"\x81|R|A", std::string("\x81|R|A\0", 6)},
    };
    for (const auto& [content, stored] : cases) {
        build({content});
        EXPECT_EQ(slotBytes(1, stored.size()), bytesOf(stored)) << content;
    }
}

TEST_F(PageRegionTest, EmptyPagesAreErasedAndTextKeepsTheRestOfItsSlot) {
    workbench->image.store(slot(2), bytesOf("a longer text"));
    workbench->image.store(slot(3), bytesOf("old"));
    build({"", "X", "   ", " \t|R|A "});
    EXPECT_EQ(slotBytes(1), std::vector<std::uint8_t>(1024, 0xFF));
    EXPECT_EQ(slotBytes(2, 14), bytesOf(std::string("X\0", 2) + "longer text\xFF"))
        << "the bytes after the 0x00 keep what they held";
    EXPECT_EQ(slotBytes(3), std::vector<std::uint8_t>(1024, 0xFF)) << "spaces only";
    EXPECT_EQ(slotBytes(4), std::vector<std::uint8_t>(1024, 0xFF)) << "a marker only";
    EXPECT_EQ(slotBytes(128), std::vector<std::uint8_t>(1024, 0xFF));
}

// A text that does not fit its slot is cut at a whole character, with a warning; nothing
// lands in the next slot.
TEST_F(PageRegionTest, ATextTooLongForItsSlotIsCutAtAWholeCharacter) {
    const std::string fits(1023, 'a');
    const std::string ascii(1500, 'b');
    const std::string chinese = std::string(1022, 'c') + "\xB4\xAE" + "dd"; // 串 at 1022
    const auto warnings = build({fits, ascii, chinese});
    EXPECT_EQ(slotBytes(1), bytesOf(fits + '\0'));
    EXPECT_EQ(slotBytes(2), bytesOf(std::string(1023, 'b') + '\0'));
    EXPECT_EQ(slotBytes(3, 1023), bytesOf(std::string(1022, 'c') + '\0'));
    EXPECT_EQ(workbench->image.load(slot(4)), 0xFF);
    ASSERT_EQ(warnings.size(), 2u);
    EXPECT_NE(warnings[0].find("页面 2 "), std::string::npos) << warnings[0];
    EXPECT_NE(warnings[1].find("页面 3 "), std::string::npos) << warnings[1];

    std::vector<std::string> lastPageOnly(128);
    lastPageOnly[127] = ascii;
    const auto lastWarnings = build(lastPageOnly);
    EXPECT_EQ(lastWarnings.size(), 1u);
    EXPECT_EQ(workbench->image.load(slot(128) + 1023), 0x00);
    EXPECT_EQ(workbench->image.load(0x100000), 0xFF) << "the picture data region was touched";
}

} // namespace
} // namespace lumivert
