#pragma once

#include "app/window/memo_log.h"
#include "transfer/transfer_error.h"

#include <QPlainTextEdit>
#include <QString>

namespace lumivert {

// Runs a transfer to the module. When it fails, its message also goes to the receive memo,
// among the module's answers, before the handler's guard shows it.
template <typename Transfer> void runTransfer(QPlainTextEdit& rxmemo, Transfer&& transfer) {
    try {
        transfer();
    } catch (const TransferError& error) {
        appendMemoLine(rxmemo, QString::fromStdString(error.what()));
        throw;
    }
}

} // namespace lumivert
