// The window's picture upload (up5) of the whole picture data region, 1,024 blocks, to the
// virtual module at a read interval of 5 ms: the same exchanges as the core's upload, with
// the window's event loop waiting for each answer. The floor is two read intervals a block.
#include "app/window/tform3.h"
#include "image/image_store.h"
#include "tests/support/temp_folder.h"
#include "tools/virtual-module/virtual_module.h"

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

using namespace lumivert;
using Clock = std::chrono::steady_clock;

constexpr int kBlocks = 1024;

void storePictureData() {
    auto workbench = std::make_unique<Workbench>();
    workbench->reset();
    for (std::int64_t offset = 0x100000; offset < 0x200000; ++offset) {
        workbench->image.store(offset, static_cast<std::uint8_t>(offset * 7 % 251));
    }
    ImageStore().save(workbench->image);
}

void BM_WindowUploadPictureData(benchmark::State& state) {
    const auto interval = static_cast<std::uint32_t>(state.range(0));
    testing::TempFolder folder;
    std::filesystem::create_directory(folder / "src");
    std::filesystem::create_directory(folder / "work");
    testing::WorkingDirectory inFolder(folder.path());
    storePictureData();
    VirtualModule module;
    module.start();
    QStringList messages;
    TForm3 window([&messages](const QString& message) { messages << message; });
    window.findChild<QComboBox*>("cbcomm")->setEditText(QString::fromStdString(module.path()));
    window.comm1().setReadIntervalTimeout(interval);
    window.findChild<QPushButton*>("Button1")->click();
    auto* upload = window.findChild<QPushButton*>("up5");
    double total = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        upload->click();
        const std::chrono::duration<double> elapsed = Clock::now() - start;
        state.SetIterationTime(elapsed.count());
        total += elapsed.count();
    }
    if (!messages.isEmpty() || !module.protocolErrors().empty() ||
        module.blocks().size() != static_cast<std::size_t>(kBlocks * state.iterations())) {
        state.SkipWithError("the module did not receive every block cleanly");
    }
    const double perBlock = total * 1000 / (static_cast<double>(state.iterations()) * kBlocks);
    state.counters["ms_per_block"] = perBlock;
    state.counters["floor_ms_per_block"] = 2.0 * interval;
    state.counters["ms_beyond_floor_per_block"] = perBlock - 2.0 * interval;
}

} // namespace

BENCHMARK(BM_WindowUploadPictureData)
    ->Arg(5)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kSecond);
