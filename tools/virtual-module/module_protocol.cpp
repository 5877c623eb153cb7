#include "tools/virtual-module/module_protocol.h"

#include <algorithm>
#include <string_view>

namespace lumivert {
namespace {

constexpr std::size_t kFlashSize = 0x200000;
constexpr auto kFlashEnd = static_cast<std::int64_t>(kFlashSize);
constexpr std::size_t kBlockSize = 1024;
constexpr std::int64_t kPageSize = 256;
constexpr std::int32_t kPagesPerSector = 16;

} // namespace

ModuleProtocol::ModuleProtocol(bool erasesSectors)
    : erasesSectors_(erasesSectors), flash_(kFlashSize, 0xFF) {
    data_.reserve(kBlockSize);
}

std::optional<ModuleProtocol::Request> ModuleProtocol::take(std::uint8_t byte) {
    return dataPage_ ? takeDataByte(byte) : takeCommandByte(byte);
}

std::optional<ModuleProtocol::Request> ModuleProtocol::takeCommandByte(std::uint8_t byte) {
    if (byte != '\r') {
        command_.push_back(static_cast<char>(byte));
        return std::nullopt;
    }
    Request request{command_};
    commands_.push_back(std::move(command_));
    command_.clear();
    dataPage_ = blockUploadPage(commands_.back());
    return request;
}

std::optional<ModuleProtocol::Request> ModuleProtocol::takeDataByte(std::uint8_t byte) {
    data_.push_back(byte);
    if (data_.size() < kBlockSize) {
        return std::nullopt;
    }
    const std::int64_t base = *dataPage_ * kPageSize;
    if (erasesSectors_ && *dataPage_ % kPagesPerSector == 0) {
        eraseSector(base);
    }
    storeBlock(base);
    blocks_.push_back(*dataPage_);
    data_.clear();
    dataPage_.reset();
    return Request{commands_.back() + " data"};
}

void ModuleProtocol::eraseSector(std::int64_t base) {
    const std::int64_t end = std::min(base + kPagesPerSector * kPageSize, kFlashEnd);
    for (std::int64_t offset = base; offset < end; ++offset) {
        flash_[static_cast<std::size_t>(offset)] = 0xFF;
    }
}

void ModuleProtocol::storeBlock(std::int64_t base) {
    for (std::size_t m = 0; m < kBlockSize; ++m) {
        const std::int64_t offset = base + static_cast<std::int64_t>(m);
        if (offset < kFlashEnd) {
            flash_[static_cast<std::size_t>(offset)] =
                static_cast<std::uint8_t>(data_[m] ^ (m & 0xFF));
        }
    }
}

std::optional<std::int32_t> ModuleProtocol::blockUploadPage(const std::string& command) {
    constexpr std::string_view kStart = "BUP(";
    constexpr std::string_view kEnd = ",232)";
    const std::string_view text(command);
    if (!text.starts_with(kStart) || !text.ends_with(kEnd)) {
        return std::nullopt;
    }
    const std::string_view digits =
        text.substr(kStart.size(), text.size() - kStart.size() - kEnd.size());
    if (digits.empty() || digits.size() > 9) {
        return std::nullopt;
    }
    std::int32_t page = 0;
    for (const char digit : digits) {
        if (digit < '0' || digit > '9') {
            return std::nullopt;
        }
        page = page * 10 + (digit - '0');
    }
    return page;
}

} // namespace lumivert
