#pragma once

#include "transfer/module_link.h"

#include <functional>
#include <string>
#include <vector>

namespace lumivert {

// Shows one echo line, "send:" and the text sent (GBK), where the module's answers appear.
using EchoLine = std::function<void(const std::string& line)>;

// Sends each line (GBK) as it stands followed by a carriage return, an empty line as a lone
// carriage return, echoing it first, and waits for the module's answer before the next
// (reply_exchange.h). No lines, nothing sent. Throws TransferError when the port refuses,
// closes or the module stays silent; the lines after it are not sent.
TransferEnd sendLineByLine(ModuleLink& link, const std::vector<std::string>& lines,
                           const EchoLine& echo);

// The lines without their leading and trailing characters of codes 0x00 to 0x20, joined
// with nothing between them, and a carriage return.
std::string wholeCommand(const std::vector<std::string>& lines);

// Sends wholeCommand(lines) once, echoed with its carriage return, and waits for the answer.
TransferEnd sendWhole(ModuleLink& link, const std::vector<std::string>& lines,
                      const EchoLine& echo);

} // namespace lumivert
