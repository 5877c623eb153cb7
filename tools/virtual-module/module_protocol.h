#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lumivert {

// The module's side of the line, without the line itself: what the bytes that arrive ask
// for. A command is the text up to a carriage return. After the block-upload command
// "BUP(<page>,232)" the next 1,024 bytes are that block's data, scrambled as the workbench
// sends it (byte m XOR (m mod 256)); they are unscrambled into the flash image from
// FlashPage <page> on, bytes past the end of the 2 MB dropped. Every command and every block
// asks for a reply.
//
// The flash starts all 0xFF. A block is stored over what is there, or, when the module erases
// Sectors, the first block of a 4,096-byte Sector (FlashPage a multiple of 16) first erases
// that whole Sector to 0xFF, as the module's flash does.
class ModuleProtocol {
public:
    struct Request {
        std::string answering; // the command (GBK), or "<command> data" for a block
    };

    explicit ModuleProtocol(bool erasesSectors = false);

    // Takes one byte; returns the request it completes, if any.
    std::optional<Request> take(std::uint8_t byte);

    // Every command received, in order, without its carriage return (GBK).
    const std::vector<std::string>& commands() const { return commands_; }
    // The FlashPage of every block received, in order.
    const std::vector<std::int32_t>& blocks() const { return blocks_; }
    // The module's flash: 2,097,152 bytes, 0xFF where nothing was received.
    const std::vector<std::uint8_t>& flash() const { return flash_; }

    // The FlashPage of a block-upload command, if `command` is one.
    static std::optional<std::int32_t> blockUploadPage(const std::string& command);

private:
    std::optional<Request> takeCommandByte(std::uint8_t byte);
    std::optional<Request> takeDataByte(std::uint8_t byte);
    void eraseSector(std::int64_t base);
    void storeBlock(std::int64_t base);

    bool erasesSectors_;
    std::string command_;
    std::optional<std::int32_t> dataPage_;
    std::vector<std::uint8_t> data_;
    std::vector<std::string> commands_;
    std::vector<std::int32_t> blocks_;
    std::vector<std::uint8_t> flash_;
};

} // namespace lumivert
