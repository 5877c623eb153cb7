// Rendering and packing one glyph, through the project's rasterizer and through a bare
// FreeType loop that loads, renders and packs the same glyphs at the same pixel size.
// Each iteration takes the next code of the 8,178-code GB2312 set, so a figure is the
// average over the set a full-set font generation renders. The target: the rasterizer
// within 1.5 times the bare loop at 16 dots.
#include "bench/bare_freetype.h"
#include "bench/ratio_reporter.h"
#include "font/glyph_rasterizer.h"

#include <benchmark/benchmark.h>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace lumivert;
using namespace lumivert::bench;

constexpr std::int32_t kGlyphBase = 0x35000; // the 16-dot font region

void BM_Rasterizer(benchmark::State& state) {
    const std::string dots = std::to_string(state.range(0));
    GlyphParameters parameters;
    parameters.dotSize = dots;
    parameters.fontHeight = dots;
    auto workbench = std::make_unique<Workbench>();
    workbench->reset();
    workbench->generateMode = 1;
    GlyphRasterizer rasterizer;
    const auto& codes = gb2312Codes();
    std::size_t next = 0;
    for (auto _ : state) {
        workbench->writeCursor = kGlyphBase;
        benchmark::DoNotOptimize(rasterizer.render(*workbench, parameters, codes[next]));
        next = (next + 1) % codes.size();
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_BareFreeType(benchmark::State& state) {
    const auto dots = static_cast<int>(state.range(0));
    BareFreeType bare(dots);
    const auto& codePoints = gb2312CodePoints();
    std::vector<std::uint8_t> glyph(static_cast<std::size_t>(dots * dots / 8));
    std::size_t next = 0;
    for (auto _ : state) {
        bare.render(codePoints[next], dots, glyph.data());
        benchmark::DoNotOptimize(glyph.data());
        next = (next + 1) % codePoints.size();
    }
    state.SetItemsProcessed(state.iterations());
}

// The machine may be busy with other work: each figure is the median of seven runs.
BENCHMARK(BM_Rasterizer)
    ->Arg(16)
    ->Arg(64)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(7)
    ->DisplayAggregatesOnly(true);
BENCHMARK(BM_BareFreeType)
    ->Arg(16)
    ->Arg(64)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(7)
    ->DisplayAggregatesOnly(true);

} // namespace

int main(int argc, char** argv) {
    return runInterleaved(argc, argv,
                          {{"16 dots, us/glyph", "BM_Rasterizer/16", "BM_BareFreeType/16"},
                           {"64 dots, us/glyph", "BM_Rasterizer/64", "BM_BareFreeType/64"}});
}
