#include "transfer/console.h"

#include "common/gbk.h"
#include "common/gbk_chars.h"
#include "common/trim.h"
#include "transfer/reply_exchange.h"

namespace lumivert {
namespace {

constexpr const char* kEchoPrefix = "send:";

// The command as an error message names it: UTF-8, a long one cut short.
std::string shownCommand(const std::string& command) {
    constexpr std::size_t kLongestShown = 200;
    if (command.size() <= kLongestShown) {
        return gbkToUtf8(command);
    }
    return gbkToUtf8(cutAtCharacter(command, kLongestShown)) + "...";
}

} // namespace

TransferEnd sendLineByLine(ModuleLink& link, const std::vector<std::string>& lines,
                           const EchoLine& echo) {
    const auto total = static_cast<std::int64_t>(lines.size());
    for (std::int64_t done = 0; done < total; ++done) {
        const std::string& line = lines[static_cast<std::size_t>(done)];
        link.host.progress(done, total);
        echo(kEchoPrefix + line);
        if (!exchangeWithModule(link, line + '\r', shownCommand(line))) {
            return TransferEnd::Cancelled;
        }
    }
    link.host.progress(total, total);
    return TransferEnd::Finished;
}

std::string wholeCommand(const std::vector<std::string>& lines) {
    std::string command;
    for (const auto& line : lines) {
        command += trim(line);
    }
    return command + '\r';
}

TransferEnd sendWhole(ModuleLink& link, const std::vector<std::string>& lines,
                      const EchoLine& echo) {
    const std::string command = wholeCommand(lines);
    echo(kEchoPrefix + command);
    const std::string shownAs = shownCommand(command.substr(0, command.size() - 1));
    return exchangeWithModule(link, command, shownAs) ? TransferEnd::Finished
                                                      : TransferEnd::Cancelled;
}

} // namespace lumivert
