// The command console: sends the commands of gscript to the module.

#include "transfer/console.h"

#include "app/window/gbk_text.h"
#include "app/window/long_operation.h"
#include "app/window/memo_log.h"
#include "app/window/tform3.h"
#include "app/window/transfer_failure.h"
#include "common/line_split.h"

#include <QPlainTextEdit>

namespace lumivert {

// The memo's lines are its text's lines between line breaks, whatever the memo's width.
std::vector<std::string> TForm3::gscriptLines() const {
    return splitLines(toGbk(gscript->toPlainText()));
}

void TForm3::BsendClick() {
    const auto lines = gscriptLines();
    LongOperation operation(*this);
    ModuleLink link{channel_, operation};
    runTransfer(*rxmemo, channel_, [&] {
        sendLineByLine(link, lines,
                       [this](const std::string& echo) { appendMemoLine(*rxmemo, fromGbk(echo)); });
    });
}

// The echo ends with the carriage return sent; the memo shows it as the end of its line.
void TForm3::bsend2Click() {
    const auto lines = gscriptLines();
    LongOperation operation(*this);
    ModuleLink link{channel_, operation};
    runTransfer(*rxmemo, channel_, [&] {
        sendWhole(link, lines, [this](const std::string& echo) {
            appendMemoLine(*rxmemo, fromGbk(echo).chopped(1));
        });
    });
}

} // namespace lumivert
