#include "image/workbench.h"
#include "serial/comms_error.h"
#include "tests/transfer/linked_module.h"
#include "tests/transfer/raw_terminal.h"
#include "tests/transfer/upload_check.h"
#include "tools/virtual-module/paced_line.h"
#include "tools/virtual-module/virtual_module.h"

#include <future>
#include <gtest/gtest.h>
#include <memory>

namespace lumivert::testing {
namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

// The whole milliseconds `bytes` take at `baud`, 10 bits a byte.
milliseconds lineMilliseconds(std::int64_t bytes, std::int64_t baud) {
    return milliseconds(bytes * 10 * 1000 / baud);
}

// A line is never faster than its rate, and a byte counts as arrived from the nanosecond its
// last bit has.
TEST(PacedLineTest, BytesArriveAtTheLineTimeOfTheRate) {
    const PacedLine::Clock::time_point start{std::chrono::seconds(1000)};
    for (const std::uint32_t baud : {50u, 9600u, 115200u, 4000000u}) {
        for (const std::size_t count : {std::size_t{1}, std::size_t{11}, std::size_t{65536}}) {
            PacedLine line(baud);
            line.startAt(start);
            const auto arrival = line.arrivalOf(count);
            const auto exact =
                std::chrono::duration<double, std::nano>(static_cast<double>(count) * 1e10 / baud);
            EXPECT_GE(arrival - start, exact) << baud << " baud, " << count << " bytes";
            EXPECT_LT(arrival - start, exact + std::chrono::nanoseconds(2));
            EXPECT_EQ(line.arrivedBy(arrival, count + 5), count);
            EXPECT_EQ(line.arrivedBy(arrival - std::chrono::nanoseconds(1), count + 5), count - 1);
            EXPECT_EQ(line.arrivedBy(start - std::chrono::seconds(1), count), 0u);
        }
    }
}

// Bytes set off after the ones before them have arrived, never earlier.
TEST(PacedLineTest, BytesWaitForTheOnesBefore) {
    const PacedLine::Clock::time_point start{std::chrono::seconds(1000)};
    PacedLine line(9600);
    line.startAt(start);
    line.pass(10);
    const auto free = line.arrivalOf(0);
    EXPECT_EQ(free - start, line.lineTime(10));
    line.startAt(start + std::chrono::microseconds(1));
    EXPECT_EQ(line.arrivalOf(0), free);
    line.startAt(free + std::chrono::seconds(1));
    EXPECT_EQ(line.arrivalOf(1) - free, std::chrono::seconds(1) + line.lineTime(1));
    EXPECT_THROW(PacedLine(0), std::invalid_argument);
}

TEST(PacedLineTest, WakesAboutOnceAMillisecond) {
    const std::pair<std::uint32_t, std::size_t> cases[] = {
        {50, 1}, {9600, 1}, {19200, 1}, {115200, 11}, {4000000, 400}};
    for (const auto& [baud, bytes] : cases) {
        EXPECT_EQ(PacedLine(baud).bytesPerWake(), bytes) << baud;
    }
}

// A request of 1,024 bytes written at once is taken in no faster than the line brings it.
TEST(VirtualModulePacingTest, TakesInBytesNoFasterThanTheLine) {
    std::promise<Clock::time_point> taken;
    VirtualModuleOptions paced;
    paced.baud = 19200;
    paced.silent = true;
    paced.onLog = [&taken](const std::string&) { taken.set_value(Clock::now()); };
    VirtualModule module(paced);
    module.start();
    RawTerminal terminal(module.path());

    const auto sent = Clock::now();
    terminal.write(std::string(1023, 'C') + "\r");
    auto takenAt = taken.get_future();
    ASSERT_EQ(takenAt.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_GE(takenAt.get() - sent, lineMilliseconds(1024, 19200));
    EXPECT_EQ(module.commands(), std::vector<std::string>{std::string(1023, 'C')});
}

// A reply of 1,024 bytes leaves no faster than the line carries it, also when it is two
// replies or two pieces of one: the second sets off only when the first has gone.
TEST(VirtualModulePacingTest, RepliesLeaveNoFasterThanTheLine) {
    const struct {
        const char* what;
        std::size_t replySize;
        std::optional<milliseconds> splitPause;
        std::string requests;
    } cases[] = {
        {"one reply", 1024, std::nullopt, "A\r"},
        {"two replies", 512, std::nullopt, "A\rB\r"},
        {"a reply in two pieces", 1024, milliseconds(0), "A\r"},
    };
    for (const auto& [what, replySize, splitPause, requests] : cases) {
        VirtualModuleOptions paced;
        paced.baud = 19200;
        paced.reply = std::string(replySize, 'R');
        paced.splitPause = splitPause;
        VirtualModule module(paced);
        module.start();
        RawTerminal terminal(module.path());

        const auto sent = Clock::now();
        terminal.write(requests);
        EXPECT_EQ(terminal.read(1024, milliseconds(10000)), std::string(1024, 'R')) << what;
        EXPECT_GE(Clock::now() - sent, lineMilliseconds(1024, 19200)) << what;
    }
}

// An upload that waits for each reply, over a paced line with Sectors erased: every block
// arrives whole, and nothing comes before its reply.
TEST(VirtualModulePacingTest, AnUploadOverAPacedLineArrivesWhole) {
    auto workbench = std::make_unique<Workbench>();
    workbench->reset();
    for (std::int64_t at = 0x5000; at < 0x6400; at += 0x155) {
        workbench->image.store(at, static_cast<std::uint8_t>(at));
    }
    VirtualModuleOptions paced;
    paced.baud = 115200;
    paced.eraseSectors = true;
    LinkedModule line(paced);
    RecordingDisplay display;
    EXPECT_EQ(UploadPages(line.link, workbench->image, 80, 32, display), TransferEnd::Finished);
    expectModuleReceived(line.module, workbench->image, expectedBlocks(workbench->image, 80, 32));
}

// The far end goes away while the port is open, idle or in the middle of a paced reply: the
// port hears of it, the terminal is gone, and the module stops without a fault of its own.
TEST(VirtualModuleHangUpTest, APortOpenOnTheModuleSeesTheLineGo) {
    const struct {
        const char* what;
        std::optional<std::uint32_t> baud;
        std::string reply;
    } cases[] = {
        {"idle", std::nullopt, "OK\r\n"},
        {"in the middle of a reply", 9600, std::string(1024, 'R')},
    };
    for (const auto& [what, baud, reply] : cases) {
        VirtualModuleOptions options;
        options.baud = baud;
        options.reply = reply;
        LinkedModule line(options);
        bool hungUp = false;
        line.comm.setOnRequestHangup([&hungUp](TComm&) { hungUp = true; });
        const auto pumpUntil = [&line](const std::function<bool()>& done) {
            const auto deadline = Clock::now() + std::chrono::seconds(10);
            while (!done() && Clock::now() < deadline) {
                if (line.comm.waitForEvents(milliseconds(100))) {
                    line.comm.dispatchPending();
                }
            }
            return done();
        };
        const std::string request = "A\r";
        ASSERT_TRUE(line.comm.WriteData(reinterpret_cast<const std::uint8_t*>(request.data()),
                                        static_cast<std::uint16_t>(request.size())));
        ASSERT_TRUE(pumpUntil([&line] { return !line.received.empty(); })) << what;

        line.module.hangUp();
        EXPECT_TRUE(pumpUntil([&hungUp] { return hungUp; })) << what;
        line.comm.ClosePort();
        EXPECT_THROW(line.comm.OpenPort(), ECommsError) << what << ": the terminal is still there";
        EXPECT_TRUE(line.module.protocolErrors().empty()) << what;
        EXPECT_EQ(line.module.commands(), std::vector<std::string>{"A"}) << what;
    }
}

} // namespace
} // namespace lumivert::testing
