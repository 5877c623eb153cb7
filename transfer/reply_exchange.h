#pragma once

#include "transfer/module_link.h"

#include <cstdint>
#include <span>
#include <string>

namespace lumivert {

// One exchange with the module: starts the channel's answer, queues `bytes` on the port (in
// pieces of at most 65,535 bytes, the most one write takes) and lets the host dispatch
// events until the module has answered (module_channel.h: any bytes, or with a reply end an
// answer that holds it). Returns true then, false when the host cancels the operation
// meanwhile.
//
// Throws TransferError:
// - "串口已断开：" and the port's name when the port has gone away, before or during the
//   exchange;
// and, its message ending in `shownAs` (the command as the user knows it):
// - "串口未打开或已断开，无法发送：" when the port refuses the bytes (closed, or its writer
//   ended after a failure);
// - "串口已关闭，不再等待应答：" when the port is closed during the wait;
// - "模块无应答：" when no byte arrives within replyTimeLimit of the write;
// - "模块应答未以设定的结束符结束：" when bytes arrived in that time but not the reply end.
bool exchangeWithModule(ModuleLink& link, std::span<const std::uint8_t> bytes,
                        const std::string& shownAs);

// The same for text (GBK bytes).
bool exchangeWithModule(ModuleLink& link, const std::string& text, const std::string& shownAs);

// Waits until everything written to the channel's port has left its writer and the driver's
// output queue, for at most the line time of what is still unsent plus 2 s, so that closing
// the port afterwards loses nothing. Throws TransferError when that fails: "串口已断开：" and
// the port's name when the port went away, else a message naming the port and the bytes
// that may not have reached the module.
void waitUntilSent(ModuleChannel& channel);

// Dispatches the port's events for lateAnswerTime from now, and no longer, however many bytes
// keep arriving: the rest of the last answer reaches the receive handler.
void takeLateAnswers(ModuleChannel& channel);

// After the last exchange of an upload: lets the host dispatch the port's events until no
// bytes have been delivered for lateAnswerTime and the line time of a full read, for at most
// the time the module has to answer, so that answers still on their way (an upload that ran
// ahead of the module) are counted.
void awaitQuietLine(ModuleLink& link);

} // namespace lumivert
