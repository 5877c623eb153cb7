#include "image/generate_mode_guard.h"
#include "image/workbench.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace lumivert {
namespace {

TEST(Workbench, ResetGivesTheStartUpState) {
    Workbench workbench;
    workbench.generateMode = 1;
    workbench.image.store(0x5000, 0x00);
    workbench.reset();

    EXPECT_EQ(workbench.generateMode, 0);
    const std::array<std::int32_t, 10> pages{16, 32, 64, 80, 848, 1872, 1888, 3584, 4096, 8192};
    EXPECT_EQ(workbench.regionMap.pages, pages);
    EXPECT_EQ(workbench.regionMap.offset(RegionMap::PictureDataBase), 0x100000);
    EXPECT_TRUE(workbench.image.isErased(0, kImageSize));
    EXPECT_EQ(workbench.image.load(kImageSize), 0xFF);
}

TEST(GenerateModeGuard, PutsTheModeBackOnEveryWayOut) {
    Workbench workbench;
    {
        GenerateModeGuard guard(workbench);
        EXPECT_EQ(workbench.generateMode, 1);
    }
    EXPECT_EQ(workbench.generateMode, 0);

    EXPECT_THROW(
        {
            GenerateModeGuard guard(workbench);
            throw std::runtime_error("picture cannot be decoded");
        },
        std::runtime_error);
    EXPECT_EQ(workbench.generateMode, 0);
}

} // namespace
} // namespace lumivert
