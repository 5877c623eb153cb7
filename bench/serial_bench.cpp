// The serial port component over a pseudo-terminal: how late a reply is raised after its
// last byte, and how fast WriteData moves bytes compared with a bare write() loop on the
// same pair.
#include "serial/tcomm.h"
#include "tests/support/pty_pair.h"

#include <atomic>
#include <benchmark/benchmark.h>
#include <thread>

namespace {

using lumivert::TComm;
using lumivert::testing::PtyPair;
using Clock = std::chrono::steady_clock;

// Reads the peer's side of the pair on a thread of its own, as fast as it can.
class PeerDrain {
public:
    explicit PeerDrain(const PtyPair& pty)
        : thread_([this, &pty] {
              std::vector<std::uint8_t> buffer(65536);
              while (!stop_) {
                  pollfd entry{pty.peer(), POLLIN, 0};
                  if (::poll(&entry, 1, 20) > 0) {
                      const ssize_t got = ::read(pty.peer(), buffer.data(), buffer.size());
                      if (got > 0) {
                          received_ += static_cast<std::size_t>(got);
                          received_.notify_all();
                      }
                  }
              }
          }) {}
    ~PeerDrain() {
        stop_ = true;
        thread_.join();
    }
    PeerDrain(const PeerDrain&) = delete;
    PeerDrain& operator=(const PeerDrain&) = delete;

    // Sleeps until the peer has `total` bytes, so that waiting takes no processor from the
    // threads that move the bytes.
    void waitFor(std::size_t total) const {
        for (std::size_t now = received_; now < total; now = received_) {
            received_.wait(now);
        }
    }

private:
    std::atomic<bool> stop_{false};
    std::atomic<std::size_t> received_{0};
    std::thread thread_;
};

// From the moment the peer's last byte is written to the OnReceiveData that carries it,
// dispatched as the command line's wait loop does. Counters: the delay beyond the read
// interval, in milliseconds.
void BM_ReplyDelay(benchmark::State& state) {
    const auto interval = static_cast<std::uint32_t>(state.range(0));
    PtyPair pty;
    TComm comm(lumivert::CommSettings::mainWindow());
    comm.setCommName(pty.path());
    comm.setReadIntervalTimeout(interval);
    Clock::time_point raised;
    comm.setOnReceiveData(
        [&](TComm&, const std::uint8_t*, std::uint16_t) { raised = Clock::now(); });
    comm.OpenPort();
    double beyond = 0;
    for (auto _ : state) {
        raised = {};
        pty.send("OK\r\n");
        const auto sent = Clock::now();
        while (raised == Clock::time_point{}) {
            if (comm.waitForEvents(std::chrono::milliseconds(1000))) {
                comm.dispatchPending();
            }
        }
        const std::chrono::duration<double> delay = raised - sent;
        state.SetIterationTime(delay.count());
        beyond += delay.count() * 1000 - interval;
    }
    state.counters["ms_beyond_interval"] =
        benchmark::Counter(beyond / static_cast<double>(state.iterations()));
}

constexpr std::size_t kVolume = 4 << 20;

// WriteData in pieces of 1,024 bytes (the upload's blocks) or 65,535 (the most one call
// takes) until 4 MB have reached the peer.
void BM_WriteData(benchmark::State& state) {
    const auto piece = static_cast<std::size_t>(state.range(0));
    PtyPair pty;
    TComm comm(lumivert::CommSettings::mainWindow());
    comm.setCommName(pty.path());
    comm.OpenPort();
    const std::vector<std::uint8_t> bytes(piece, 0x5A);
    std::size_t total = 0;
    PeerDrain drain(pty);
    for (auto _ : state) {
        for (std::size_t count = 0; count < kVolume / piece; ++count) {
            comm.WriteData(bytes.data(), static_cast<std::uint16_t>(piece));
        }
        total += kVolume / piece * piece;
        drain.waitFor(total);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(total));
}

// The bare loop on the same kind of pair: blocking write() of the same pieces.
void BM_BareWrite(benchmark::State& state) {
    const auto piece = static_cast<std::size_t>(state.range(0));
    PtyPair pty;
    const std::vector<std::uint8_t> bytes(piece, 0x5A);
    std::size_t total = 0;
    PeerDrain drain(pty);
    for (auto _ : state) {
        for (std::size_t count = 0; count < kVolume / piece; ++count) {
            std::size_t done = 0;
            while (done < piece) {
                const ssize_t written = ::write(pty.terminal(), bytes.data() + done, piece - done);
                done += written > 0 ? static_cast<std::size_t>(written) : 0;
            }
        }
        total += kVolume / piece * piece;
        drain.waitFor(total);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(total));
}

} // namespace

BENCHMARK(BM_ReplyDelay)
    ->Arg(100)
    ->Arg(5)
    ->UseManualTime()
    ->Iterations(20)
    ->Unit(benchmark::kMillisecond);
// Wall time, not CPU time: the bytes must have reached the peer.
BENCHMARK(BM_BareWrite)->Arg(1024)->Arg(65535)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteData)->Arg(1024)->Arg(65535)->UseRealTime()->Unit(benchmark::kMillisecond);
