// Rendering and packing one glyph, through the project's rasterizer and through a bare
// FreeType loop that loads, renders and packs the same glyphs at the same pixel size.
// Each iteration takes the next code of the 8,178-code GB2312 set, so a figure is the
// average over the set a full-set font generation renders. The target: the rasterizer
// within 1.5 times the bare loop at 16 dots.
#include "common/gbk.h"
#include "font/cp936_text.h"
#include "font/face_finder.h"
#include "font/face_metrics.h"
#include "font/glyph_parameters.h"
#include "font/glyph_rasterizer.h"

#include <benchmark/benchmark.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <array>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace lumivert;

constexpr std::int32_t kGlyphBase = 0x35000; // the 16-dot font region

// The GB2312 set: first bytes A1 to F7, second bytes A1 to FE.
const std::vector<std::string>& gb2312Codes() {
    static const std::vector<std::string> codes = [] {
        std::vector<std::string> all;
        for (int hi = 0xA1; hi <= 0xF7; ++hi) {
            for (int lo = 0xA1; lo <= 0xFE; ++lo) {
                all.push_back({static_cast<char>(hi), static_cast<char>(lo)});
            }
        }
        return all;
    }();
    return codes;
}

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

// The bare loop: one face at the pixel size the height asks for, each glyph loaded and
// rendered by FreeType, placed under the ascent and packed into column bytes.
class BareFreeType {
public:
    explicit BareFreeType(std::int32_t height) {
        FT_Init_FreeType(&library_);
        const FaceFile& file =
            FaceFinder::instance().find(gbkToUtf8(GlyphParameters{}.face))->chosen();
        FT_New_Face(library_, file.path.c_str(), file.index, &face_);
        const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face_, FT_SFNT_OS2));
        const FaceUnits units{face_->units_per_EM, os2->usWinAscent, os2->usWinDescent, 0, false};
        const FaceSize size = faceSize(units, height, 0);
        ascent_ = size.ascent;
        FT_Set_Pixel_Sizes(face_, 0, static_cast<FT_UInt>(size.ppem));
    }
    ~BareFreeType() {
        FT_Done_Face(face_);
        FT_Done_FreeType(library_);
    }
    BareFreeType(const BareFreeType&) = delete;
    BareFreeType& operator=(const BareFreeType&) = delete;

    void render(char32_t codePoint, int cellSize, std::uint8_t* out) {
        FT_Load_Glyph(face_, FT_Get_Char_Index(face_, codePoint),
                      FT_LOAD_RENDER | FT_LOAD_TARGET_MONO);
        const FT_Bitmap& bitmap = face_->glyph->bitmap;
        const int left = face_->glyph->bitmap_left;
        const int top = ascent_ - face_->glyph->bitmap_top;
        const auto ink = [&](int x, int y) {
            const int column = x - left;
            const int row = y - top;
            if (column < 0 || row < 0 || column >= static_cast<int>(bitmap.width) ||
                row >= static_cast<int>(bitmap.rows)) {
                return false;
            }
            return (bitmap.buffer[row * bitmap.pitch + column / 8] & (0x80 >> (column % 8))) != 0;
        };
        for (int x = 0; x < cellSize; ++x) {
            for (int group = 0; group < cellSize / 8; ++group) {
                std::uint8_t byte = 0;
                for (int bit = 0; bit < 8; ++bit) {
                    byte = static_cast<std::uint8_t>(byte | (ink(x, group * 8 + bit) << bit));
                }
                *out++ = byte;
            }
        }
    }

private:
    FT_Library library_ = nullptr;
    FT_Face face_ = nullptr;
    std::int32_t ascent_ = 0;
};

void BM_BareFreeType(benchmark::State& state) {
    const auto dots = static_cast<int>(state.range(0));
    BareFreeType bare(dots);
    std::vector<char32_t> codePoints;
    std::vector<TextCharacter> characters;
    for (const auto& code : gb2312Codes()) {
        decodeCp936(code, characters);
        codePoints.push_back(characters.front().codePoint);
    }
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

// Prints the runs as usual, then each size's ratio of the rasterizer to the bare loop, from
// the median CPU times.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
                microseconds_[run.run_name.function_name + "/" + run.run_name.args] =
                    run.GetAdjustedCPUTime();
            }
        }
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        for (const char* dots : {"16", "64"}) {
            const double ours = microseconds_[std::string("BM_Rasterizer/") + dots];
            const double bare = microseconds_[std::string("BM_BareFreeType/") + dots];
            if (bare > 0) {
                std::printf("%s dots: rasterizer %.2f us/glyph, bare FreeType %.2f us/glyph, "
                            "ratio %.2f\n",
                            dots, ours, bare, ours / bare);
            }
        }
    }

private:
    std::map<std::string, double> microseconds_;
};

} // namespace

// The runs of the two loops are interleaved, so that other work on the machine weighs on
// both alike.
int main(int argc, char** argv) {
    std::vector<char*> args(argv, argv + argc);
    std::string interleave = "--benchmark_enable_random_interleaving=true";
    args.insert(args.begin() + 1, interleave.data());
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
