#pragma once

#include "image/flash_image.h"
#include "tools/virtual-module/virtual_module.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace lumivert::testing {

// The blocks an upload of the FlashPages [start, start + count) must send, worked out from
// the image's bytes: a block that opens a 4,096-byte sector when anything in the sector is
// not 0xFF, any other block when its own 1,024 bytes hold something that is not.
inline std::vector<std::int32_t> expectedBlocks(const FlashImage& image, std::int32_t start,
                                                std::int32_t count) {
    const auto bytes = image.image();
    const auto holdsData = [&bytes](std::int64_t from, std::int64_t length) {
        for (std::int64_t at = from; at < from + length && at < 0x200000; ++at) {
            if (bytes[static_cast<std::size_t>(at)] != 0xFF) {
                return true;
            }
        }
        return false;
    };
    std::vector<std::int32_t> pages;
    for (std::int32_t page = start; page + 4 <= start + count; page += 4) {
        if (holdsData(std::int64_t{page} * 256, page % 16 == 0 ? 4096 : 1024)) {
            pages.push_back(page);
        }
    }
    return pages;
}

// The module received exactly the blocks at `pages`, in that order, each announced by its
// own command, and its flash holds the image's bytes there and nothing anywhere else.
inline void expectModuleReceived(const VirtualModule& module, const FlashImage& image,
                                 const std::vector<std::int32_t>& pages) {
    EXPECT_TRUE(module.protocolErrors().empty()) << module.protocolErrors().front();
    EXPECT_EQ(module.blocks(), pages);
    std::vector<std::string> commands;
    commands.reserve(pages.size());
    for (const std::int32_t page : pages) {
        commands.push_back("BUP(" + std::to_string(page) + ",232)");
    }
    EXPECT_EQ(module.commands(), commands);

    const auto flash = module.flash();
    std::vector<bool> sent(flash.size() / 1024, false);
    for (const std::int32_t page : pages) {
        sent[static_cast<std::size_t>(page / 4)] = true;
    }
    std::size_t wrongBytes = 0;
    for (std::size_t at = 0; at < flash.size(); ++at) {
        const std::uint8_t expected = sent[at / 1024] ? image.image()[at] : 0xFF;
        wrongBytes += flash[at] != expected ? 1 : 0;
    }
    EXPECT_EQ(wrongBytes, 0u);
}

} // namespace lumivert::testing
