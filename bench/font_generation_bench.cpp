// The whole 16-dot GB2312 set, 8,178 glyphs, headless: the generation the command line and
// the window run, against a bare FreeType loop that loads, renders and packs the same codes
// with the same face at the same pixel size. The target: at most 1.5 times the bare loop.
#include "bench/bare_freetype.h"
#include "bench/ratio_reporter.h"
#include "font/full_set_font.h"

#include <benchmark/benchmark.h>
#include <memory>
#include <vector>

namespace {

using namespace lumivert;
using namespace lumivert::bench;

constexpr int kDots = 16;

void BM_FullSetFont16(benchmark::State& state) {
    GlyphParameters parameters;
    parameters.fontHeight = std::to_string(kDots);
    auto workbench = std::make_unique<Workbench>();
    workbench->reset();
    GlyphRasterizer rasterizer;
    FontGenerationSink shown;
    OperationHost host;
    for (auto _ : state) {
        generateFullSetFont(*workbench, rasterizer, FullSetFont::Dots16, parameters, shown, host);
    }
    state.SetItemsProcessed(state.iterations() * kGb2312Codes);
}

void BM_BareFreeTypeSet16(benchmark::State& state) {
    BareFreeType bare(kDots);
    const auto& codePoints = gb2312CodePoints();
    std::vector<std::uint8_t> set(codePoints.size() * kDots * kDots / 8);
    for (auto _ : state) {
        std::uint8_t* glyph = set.data();
        for (const char32_t codePoint : codePoints) {
            bare.render(codePoint, kDots, glyph);
            glyph += kDots * kDots / 8;
        }
        benchmark::DoNotOptimize(set.data());
    }
    state.SetItemsProcessed(state.iterations() * kGb2312Codes);
}

// The machine may be busy with other work: each figure is the median of seven runs.
BENCHMARK(BM_FullSetFont16)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(7)
    ->DisplayAggregatesOnly(true);
BENCHMARK(BM_BareFreeTypeSet16)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(7)
    ->DisplayAggregatesOnly(true);

} // namespace

int main(int argc, char** argv) {
    return runInterleaved(
        argc, argv, {{"16-dot GB2312 set, ms", "BM_FullSetFont16/", "BM_BareFreeTypeSet16/"}});
}
