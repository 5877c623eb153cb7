// Uploading the whole picture data region (1,024 blocks, all holding data) to the virtual
// module, which answers at once, at the window's read interval of 100 ms and at 5 ms. Each
// block waits for two answers, and each answer is delivered one read interval after its last
// byte, so two read intervals per block are the floor. Beside it, the bare loop: the same
// exchanges over the same kind of line with write(), poll() and read() alone, waiting out the
// read interval after each answer as the port does.
#include "image/workbench.h"
#include "tools/virtual-module/virtual_module.h"
#include "transfer/block_upload.h"
#include "transfer/port_event_host.h"

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <memory>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

using namespace lumivert;
using Clock = std::chrono::steady_clock;

constexpr std::int32_t kPictureData = 4096;
constexpr std::int32_t kPictureDataPages = 4096;
constexpr int kBlocks = kPictureDataPages / 4;

std::unique_ptr<Workbench> pictureData() {
    auto workbench = std::make_unique<Workbench>();
    workbench->reset();
    for (std::int64_t offset = 0x100000; offset < 0x200000; ++offset) {
        workbench->image.store(offset, static_cast<std::uint8_t>(offset * 7 % 251));
    }
    return workbench;
}

class NoDisplay : public UploadDisplay {
public:
    void showCaption(const std::string& /*caption*/) override {}
    void showPosition(int /*position*/) override {}
};

void reportPerBlock(benchmark::State& state, double seconds, std::uint32_t interval) {
    const double perBlock = seconds * 1000 / (static_cast<double>(state.iterations()) * kBlocks);
    state.counters["ms_per_block"] = perBlock;
    state.counters["floor_ms_per_block"] = 2.0 * interval;
    state.counters["ms_beyond_floor_per_block"] = perBlock - 2.0 * interval;
}

void BM_UploadPictureData(benchmark::State& state) {
    const auto interval = static_cast<std::uint32_t>(state.range(0));
    const auto workbench = pictureData();
    VirtualModule module;
    module.start();
    TComm comm(CommSettings::mainWindow());
    comm.setCommName(module.path());
    comm.setBaudRate(115200);
    comm.setReadIntervalTimeout(interval);
    ModuleChannel channel(comm);
    channel.openPort();
    PortEventHost host(comm);
    ModuleLink link{channel, host};
    NoDisplay display;
    double total = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        UploadPages(link, workbench->image, kPictureData, kPictureDataPages, display);
        const std::chrono::duration<double> elapsed = Clock::now() - start;
        state.SetIterationTime(elapsed.count());
        total += elapsed.count();
    }
    if (!module.protocolErrors().empty() ||
        module.blocks().size() != static_cast<std::size_t>(kBlocks * state.iterations())) {
        state.SkipWithError("the module did not receive every block cleanly");
    }
    reportPerBlock(state, total, interval);
}

// Waits for the first byte of an answer, then until the line has been quiet for `interval`.
void awaitAnswer(int line, std::uint32_t interval) {
    char bytes[256];
    pollfd entry{line, POLLIN, 0};
    ::poll(&entry, 1, -1);
    while (::poll(&entry, 1, static_cast<int>(interval)) > 0) {
        if (::read(line, bytes, sizeof bytes) <= 0) {
            return;
        }
    }
}

void writeAll(int line, const std::uint8_t* bytes, std::size_t count) {
    while (count > 0) {
        const ssize_t written = ::write(line, bytes, count);
        if (written > 0) {
            bytes += written;
            count -= static_cast<std::size_t>(written);
        }
    }
}

void BM_BareExchanges(benchmark::State& state) {
    const auto interval = static_cast<std::uint32_t>(state.range(0));
    const auto workbench = pictureData();
    VirtualModule module;
    module.start();
    const int line = ::open(module.path().c_str(), O_RDWR | O_NOCTTY);
    termios settings{};
    ::tcgetattr(line, &settings);
    ::cfmakeraw(&settings);
    ::tcsetattr(line, TCSANOW, &settings);
    std::vector<std::string> commands;
    std::vector<std::array<std::uint8_t, 1024>> blocks(kBlocks);
    for (int block = 0; block < kBlocks; ++block) {
        commands.push_back(blockCommand(kPictureData + 4 * block));
        scrambleBlock(workbench->image, kPictureData + 4 * block, blocks[block]);
    }
    double total = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        for (int block = 0; block < kBlocks; ++block) {
            const std::string& command = commands[static_cast<std::size_t>(block)];
            writeAll(line, reinterpret_cast<const std::uint8_t*>(command.data()), command.size());
            awaitAnswer(line, interval);
            writeAll(line, blocks[static_cast<std::size_t>(block)].data(), 1024);
            awaitAnswer(line, interval);
        }
        const std::chrono::duration<double> elapsed = Clock::now() - start;
        state.SetIterationTime(elapsed.count());
        total += elapsed.count();
    }
    ::close(line);
    reportPerBlock(state, total, interval);
}

} // namespace

BENCHMARK(BM_BareExchanges)->Arg(5)->UseManualTime()->Iterations(3)->Unit(benchmark::kSecond);
BENCHMARK(BM_UploadPictureData)->Arg(5)->UseManualTime()->Iterations(3)->Unit(benchmark::kSecond);
BENCHMARK(BM_UploadPictureData)->Arg(100)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);
