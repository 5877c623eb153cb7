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

// An upload adds its rate and the time it still needs, once it can tell.
TEST(TerminalProgress, AnUploadShowsItsRateAndTimeLeft) {
    std::ostringstream terminal;
    {
        TerminalProgress progress(terminal, "upload", true);
        progress.throughput(0.0, std::nullopt);
        progress.progress(0, 192);
        progress.throughput(11520.4, std::chrono::seconds(75));
        progress.progress(192, 192);
    }
    EXPECT_EQ(terminal.str(), "\rupload 0/192  0%  0 B/s\033[K"
                              "\rupload 192/192  100%  11520 B/s  1:15 left\033[K\n");
}

} // namespace
} // namespace lumivert
