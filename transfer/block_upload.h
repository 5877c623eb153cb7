#pragma once

#include "image/flash_image.h"
#include "transfer/module_link.h"
#include "transfer/upload_session.h"

#include <cstdint>
#include <span>
#include <string>

namespace lumivert {

// Where the block upload shows how far it is: a caption and a position of 0 to 100 (the
// window's Label13 and pb1).
class UploadDisplay {
public:
    UploadDisplay() = default;
    virtual ~UploadDisplay() = default;
    UploadDisplay(const UploadDisplay&) = delete;
    UploadDisplay& operator=(const UploadDisplay&) = delete;

    virtual void showCaption(const std::string& caption) = 0; // UTF-8
    virtual void showPosition(int position) = 0;
};

// The command that announces the block at FlashPage `page`: "BUP(<page>,232)" and a
// carriage return.
std::string blockCommand(std::int32_t page);

// The block at FlashPage `page` as it goes on the line: byte m of the block XOR (m mod 256).
void scrambleBlock(const FlashImage& image, std::int32_t page,
                   std::span<std::uint8_t, kFlashBlockSize> out);

// Sends the FlashPages [start, start + count) to the module, a FlashBlock at a time: the
// blocks the session's plan sends (the sector rule's, or only those of changed Sectors), the
// others skipped; pages short of a whole block at the end are not sent. For each block: its
// command, the module's answer, the scrambled block, the module's answer
// (reply_exchange.h); the session hears of each block before it goes and once acknowledged.
//
// The display reads "写入中..." on entry, "写入中...(k/N-1)" at position k*100/N before
// block k of N, and an empty caption at position 0 once the upload ends, however it ends.
// Before each block the session's progress and the host's pump run; a cancelled host stops
// the upload there or during a wait. Throws TransferError when the port refuses, closes or
// goes away, or the module stays silent; the blocks after it are not sent.
TransferEnd UploadPages(ModuleLink& link, const FlashImage& image, std::int32_t start,
                        std::int32_t count, UploadDisplay& display, UploadSession& session);

// The same in a session of its own that keeps no journal.
TransferEnd UploadPages(ModuleLink& link, const FlashImage& image, std::int32_t start,
                        std::int32_t count, UploadDisplay& display);

} // namespace lumivert
