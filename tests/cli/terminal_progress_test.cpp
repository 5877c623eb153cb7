#include "app/cli/terminal_progress.h"

#include <gtest/gtest.h>
#include <sstream>

namespace lumivert {
namespace {

TEST(TerminalProgress, DrawsOneLineOnATerminalAndNothingElsewhere) {
    std::ostringstream terminal;
    {
        TerminalProgress progress(terminal, "gb16", true);
        progress.progress(0, 8178);
        progress.progress(1, 8178); // within the redraw interval: skipped
        progress.progress(8178, 8178);
    }
    EXPECT_EQ(terminal.str(), "\rgb16 0/8178  0%\rgb16 8178/8178  100%\n");

    std::ostringstream file;
    {
        TerminalProgress progress(file, "gb16", false);
        progress.progress(8178, 8178);
    }
    EXPECT_EQ(file.str(), "");
}

TEST(TerminalProgress, ClearedLineIsDrawnAgainAtTheNextStep) {
    std::ostringstream terminal;
    {
        TerminalProgress progress(terminal, "pictures", true);
        progress.clearLine(); // nothing drawn yet
        progress.progress(1, 512);
        progress.clearLine();
        progress.progress(2, 512);
    }
    EXPECT_EQ(terminal.str(), "\rpictures 1/512  0%\r\033[K\rpictures 2/512  0%\n");
}

} // namespace
} // namespace lumivert
