#pragma once

#include "app/window/memo_log.h"
#include "transfer/module_channel.h"
#include "transfer/transfer_error.h"

#include <QPlainTextEdit>
#include <QString>

namespace lumivert {

// Runs a transfer to the module. When it fails, its message also goes to the receive memo,
// among the module's answers, before the handler's guard shows it; a lost port has already
// said so there.
template <typename Transfer>
void runTransfer(QPlainTextEdit& rxmemo, const ModuleChannel& channel, Transfer&& transfer) {
    try {
        transfer();
    } catch (const TransferError& error) {
        if (!channel.portLost()) {
            appendMemoLine(rxmemo, QString::fromStdString(error.what()));
        }
        throw;
    }
}

} // namespace lumivert
