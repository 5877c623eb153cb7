// Loading and saving the image store: each moves the whole file in one read or one write
// and transforms the image in one pass.
#include "image/image_store.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <unistd.h>

namespace {

std::filesystem::path benchFolder() {
    auto folder =
        std::filesystem::temp_directory_path() / ("lumivert-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    return folder;
}

void BM_ImageStoreSave(benchmark::State& state) {
    const auto folder = benchFolder();
    lumivert::FlashImage image;
    lumivert::ImageStore store(folder / "sdata.tmp");
    for (auto _ : state) {
        store.save(image);
    }
    state.SetBytesProcessed(state.iterations() * lumivert::ImageStore::kFileSize);
    std::filesystem::remove_all(folder);
}

void BM_ImageStoreLoad(benchmark::State& state) {
    const auto folder = benchFolder();
    lumivert::FlashImage image;
    lumivert::ImageStore store(folder / "sdata.tmp");
    store.save(image);
    for (auto _ : state) {
        store.load(image);
        benchmark::DoNotOptimize(image.load(0));
    }
    state.SetBytesProcessed(state.iterations() * lumivert::ImageStore::kFileSize);
    std::filesystem::remove_all(folder);
}

} // namespace

BENCHMARK(BM_ImageStoreSave)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImageStoreLoad)->Unit(benchmark::kMillisecond);
