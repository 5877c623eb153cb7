#pragma once

#include "transfer/module_link.h"

#include <cstdint>
#include <span>
#include <string>

namespace lumivert {

// One exchange with the module: lowers the reply flag, queues `bytes` on the port (in
// pieces of at most 65,535 bytes, the most one write takes) and lets the host dispatch
// events until the flag is raised again, that is until any bytes arrive. Returns true then,
// false when the host cancels the operation meanwhile.
//
// Throws TransferError, its message ending in `shownAs` (the command as the user knows it):
// - "串口未打开或已断开，无法发送：" when the port refuses the bytes (closed, or its writer
//   ended after a failure);
// - "串口已关闭，不再等待应答：" when the port is closed during the wait;
// - "模块无应答：" when no byte arrives within replyTimeLimit of the write.
bool exchangeWithModule(ModuleLink& link, std::span<const std::uint8_t> bytes,
                        const std::string& shownAs);

// The same for text (GBK bytes).
bool exchangeWithModule(ModuleLink& link, const std::string& text, const std::string& shownAs);

} // namespace lumivert
