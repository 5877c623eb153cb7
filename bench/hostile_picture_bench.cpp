// Pictures made to be slow, against reading their headers alone: a picture too large to be
// converted should cost what its header costs, and one with a hundred thousand empty scans
// what the first thousand cost.
#include "common/workbench_error.h"
#include "picture/jpeg_decoder.h"
#include "tests/picture/picture_fixtures.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <filesystem>
#include <jpeglib.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fixtures = lumivert::testing;

enum Picture {
    HugeHeaderManyScans, // 8000 x 8000 grey header, 20,000 empty scans
    LargeProgressive,    // a real 8000 x 6000 progressive picture without chroma subsampling
    ManyScans,           // 1499 x 1499 header, 100,000 empty scans
};

class HostileFolder {
public:
    HostileFolder()
        : folder_(std::filesystem::temp_directory_path() /
                  ("lumivert-hostile-" + std::to_string(::getpid()))) {
        std::filesystem::create_directories(folder_);
        fixtures::writeClaimedPicture(path(HugeHeaderManyScans), 8000, 8000, 20000,
                                      {.greyscale = true});
        const fixtures::Pixels grey{8000, 6000, false,
                                    std::vector<std::uint8_t>(std::size_t{8000} * 6000 * 3, 128)};
        fixtures::writePicture(path(LargeProgressive), grey,
                               {.fullChroma = true, .progressive = true});
        fixtures::writeClaimedPicture(path(ManyScans), 1499, 1499, 100000, {});
    }
    ~HostileFolder() { std::filesystem::remove_all(folder_); }
    HostileFolder(const HostileFolder&) = delete;
    HostileFolder& operator=(const HostileFolder&) = delete;

    std::filesystem::path path(int picture) const {
        return folder_ / (std::to_string(picture) + ".jpg");
    }

private:
    std::filesystem::path folder_;
};

const HostileFolder& hostile() {
    static const HostileFolder folder;
    return folder;
}

// The library's header reading and nothing else.
void readHeader(const std::filesystem::path& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    benchmark::DoNotOptimize(info.image_width);
    jpeg_destroy_decompress(&info);
    std::fclose(file);
}

void BM_BareHeaderRead(benchmark::State& state) {
    const auto path = hostile().path(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        readHeader(path);
    }
}

void BM_RefusedBySize(benchmark::State& state) {
    const auto path = hostile().path(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const lumivert::DecodedPicture picture = lumivert::decodeJpegFile(path);
        if (picture.isWhole()) {
            state.SkipWithError("the picture was decoded");
            break;
        }
    }
}

void BM_StoppedAtTheScanLimit(benchmark::State& state) {
    const auto path = hostile().path(ManyScans);
    for (auto _ : state) {
        try {
            lumivert::decodeJpegFile(path);
            state.SkipWithError("the picture was decoded");
            break;
        } catch (const lumivert::WorkbenchError&) {
        }
    }
}

} // namespace

BENCHMARK(BM_BareHeaderRead)
    ->Arg(HugeHeaderManyScans)
    ->Arg(LargeProgressive)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RefusedBySize)
    ->Arg(HugeHeaderManyScans)
    ->Arg(LargeProgressive)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StoppedAtTheScanLimit)->Unit(benchmark::kMillisecond);
