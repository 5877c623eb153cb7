// Uploads over a line paced to 115200 baud by the virtual module, against the line time of the
// bytes they move (both ways, 10 bits a byte): 64 blocks with framed answers at the window's
// read interval of 100 ms, the same without framing, and one changed Sector of the 16-dot
// font region sent alone by an upload of the changed Sectors.
#include "image/workbench.h"
#include "tests/support/temp_folder.h"
#include "tools/virtual-module/virtual_module.h"
#include "transfer/port_event_host.h"
#include "transfer/region_upload.h"
#include "transfer/upload_session.h"

#include <benchmark/benchmark.h>
#include <memory>

namespace {

using namespace lumivert;
using Clock = std::chrono::steady_clock;

constexpr std::uint32_t kBaud = 115200;
constexpr std::uint32_t kWindowReadInterval = 100;
constexpr std::size_t kAnswer = 4; // "OK\r\n"

class NoDisplay : public UploadDisplay {
public:
    void showCaption(const std::string& /*caption*/) override {}
    void showPosition(int /*position*/) override {}
};

double lineSeconds(double bytes) {
    return bytes * 10 / kBaud;
}

// The bytes of one block on the line: its command, the data, and two answers.
double blockBytes(std::int32_t page) {
    return static_cast<double>(blockCommand(page).size() + kFlashBlockSize + 2 * kAnswer);
}

// The 12-dot font region with data in its first 64 blocks, and every block of the 16-dot one.
std::unique_ptr<Workbench> fonts() {
    auto workbench = std::make_unique<Workbench>();
    workbench->reset();
    for (std::int64_t offset = 0x5000; offset < 0x5000 + 64 * 1024; offset += 97) {
        workbench->image.store(offset, static_cast<std::uint8_t>(offset));
    }
    for (std::int64_t offset = 0x35000; offset < 0x75000; offset += 97) {
        workbench->image.store(offset, static_cast<std::uint8_t>(offset));
    }
    return workbench;
}

// The virtual module on a line paced to 115200 baud, and a port on it at the window's read
// interval, its answers framed or not.
struct PacedLine {
    explicit PacedLine(bool framed) : module(pacedOptions()) {
        module.start();
        comm.setCommName(module.path());
        comm.setBaudRate(kBaud);
        comm.setReadIntervalTimeout(kWindowReadInterval);
        channel.setReplyEnd(framed ? "\r\n" : "");
        channel.openPort();
    }

    static VirtualModuleOptions pacedOptions() {
        VirtualModuleOptions options;
        options.baud = kBaud;
        options.eraseSectors = true;
        return options;
    }

    VirtualModule module;
    TComm comm{CommSettings::mainWindow()};
    ModuleChannel channel{comm};
    PortEventHost host{comm};
    ModuleLink link{channel, host};
};

void BM_SixtyFourBlocks(benchmark::State& state) {
    const bool framed = state.range(0) == 1;
    const auto workbench = fonts();
    PacedLine line(framed);
    const PageRange range{80, 64 * 4};
    NoDisplay display;
    double seconds = 0;
    double bytes = 0;
    for (auto _ : state) {
        UploadSession session(workbench->image, {range});
        const auto start = Clock::now();
        UploadPages(line.link, workbench->image, range.start, range.count, display, session);
        const std::chrono::duration<double> elapsed = Clock::now() - start;
        state.SetIterationTime(elapsed.count());
        seconds += elapsed.count();
        for (std::int32_t page = range.start; page < range.start + range.count; page += 4) {
            bytes += blockBytes(page);
        }
    }
    if (!line.module.protocolErrors().empty() && framed) {
        state.SkipWithError("a block reached the module before its answer");
    }
    state.counters["times_line_time"] = seconds / lineSeconds(bytes);
}

// The journal holds the region as a full upload left it; each round changes a byte in one
// Sector, whose four blocks are all that go.
void BM_OneChangedSectorOfTheSixteenDotFont(benchmark::State& state) {
    auto workbench = fonts();
    PacedLine line(true);
    const testing::TempFolder folder;
    const auto journalPath = folder / "upload.journal";
    const std::vector<PageRange> font16 = uploadRanges(UploadRegion::Font16, workbench->regionMap);
    {
        UploadJournal journal;
        for (std::int32_t sector = 848 / 16; sector < 1872 / 16; ++sector) {
            journal.record(sector,
                           hashBytes(workbench->image.image().subspan(
                               static_cast<std::size_t>(sector) * kSectorSize, kSectorSize)));
        }
        saveUploadJournal(journalPath, journal);
    }
    NoDisplay display;
    double seconds = 0;
    std::int64_t blocks = 0;
    std::int64_t round = 0;
    for (auto _ : state) {
        const std::int32_t page = 848 + 16 * static_cast<std::int32_t>(round++ % 64);
        workbench->image.store(std::int64_t{page} * 256 + 5, static_cast<std::uint8_t>(round));
        const auto start = Clock::now();
        UploadSession session(workbench->image, font16, journalPath, true);
        uploadRegion(line.link, workbench->image, workbench->regionMap, UploadRegion::Font16,
                     display, session);
        const std::chrono::duration<double> elapsed = Clock::now() - start;
        state.SetIterationTime(elapsed.count());
        seconds += elapsed.count();
        blocks += session.meter().blocksDone();
    }
    const double rounds = static_cast<double>(state.iterations());
    state.counters["blocks_sent"] = static_cast<double>(blocks) / rounds;
    state.counters["block_line_times"] = seconds / rounds / lineSeconds(blockBytes(848));
    state.counters["whole_region_block_line_times"] = 1024;
}

} // namespace

BENCHMARK(BM_SixtyFourBlocks)
    ->ArgName("framed")
    ->Arg(1)
    ->Arg(0)
    ->UseManualTime()
    ->Iterations(2)
    ->Unit(benchmark::kSecond);
BENCHMARK(BM_OneChangedSectorOfTheSixteenDotFont)
    ->UseManualTime()
    ->Iterations(8)
    ->Unit(benchmark::kMillisecond);
