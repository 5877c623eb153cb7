// Converting pictures that fill the whole picture data region (524,288 pixels) headless,
// beside a bare libjpeg decode of the same files with the same settings: the conversion's
// own work (pixel walk, RGB565, stores) is the difference between the two.
#include "picture/picture_batch.h"
#include "tests/picture/picture_fixtures.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <filesystem>
#include <jpeglib.h>
#include <memory>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kPictures = 8; // of 256 x 256 pixels: 524,288 in all
constexpr int kSide = 256;

// A working directory holding pic/1.jpg to pic/8.jpg, two of them greyscale.
class PictureFolder {
public:
    PictureFolder()
        : folder_(std::filesystem::temp_directory_path() /
                  ("lumivert-bench-" + std::to_string(::getpid()))) {
        std::filesystem::create_directories(folder_ / "pic");
        for (int number = 1; number <= kPictures; ++number) {
            const bool greyscale = number % 4 == 0;
            lumivert::testing::writePicture(
                path(number),
                lumivert::testing::photoPixels(kSide, kSide, greyscale,
                                               static_cast<unsigned>(number)),
                {.quality = 85});
        }
        std::filesystem::current_path(folder_);
    }
    ~PictureFolder() {
        std::filesystem::current_path(std::filesystem::temp_directory_path());
        std::filesystem::remove_all(folder_);
    }
    PictureFolder(const PictureFolder&) = delete;
    PictureFolder& operator=(const PictureFolder&) = delete;

    std::filesystem::path path(int number) const {
        return folder_ / "pic" / (std::to_string(number) + ".jpg");
    }

private:
    std::filesystem::path folder_;
};

PictureFolder& pictures() {
    static PictureFolder folder;
    return folder;
}

// The library's own loop: decode every row, nothing else.
void bareDecode(const std::filesystem::path& path, std::vector<JSAMPLE>& row) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    if (info.out_color_space == JCS_GRAYSCALE) {
        info.quantize_colors = TRUE;
        info.desired_number_of_colors = 236;
        info.two_pass_quantize = FALSE;
    }
    jpeg_start_decompress(&info);
    row.resize(static_cast<std::size_t>(info.output_width) * info.output_components);
    JSAMPROW rows[] = {row.data()};
    while (info.output_scanline < info.output_height) {
        jpeg_read_scanlines(&info, rows, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    std::fclose(file);
}

void BM_BareLibjpegDecode(benchmark::State& state) {
    const PictureFolder& folder = pictures();
    std::vector<JSAMPLE> row;
    for (auto _ : state) {
        for (int number = 1; number <= kPictures; ++number) {
            bareDecode(folder.path(number), row);
        }
        benchmark::DoNotOptimize(row.data());
    }
    state.SetItemsProcessed(state.iterations() * kPictures * kSide * kSide);
}

void BM_ConvertAllPictures(benchmark::State& state) {
    pictures();
    auto workbench = std::make_unique<lumivert::Workbench>();
    workbench->reset();
    lumivert::PictureSink sink;
    lumivert::OperationHost host;
    for (auto _ : state) {
        lumivert::convertAllPictures(*workbench, sink, host);
    }
    if (workbench->writeCursor != lumivert::kImageSize) {
        state.SkipWithError("the pictures did not fill the region");
    }
    state.SetItemsProcessed(state.iterations() * kPictures * kSide * kSide);
}

} // namespace

BENCHMARK(BM_BareLibjpegDecode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvertAllPictures)->Unit(benchmark::kMillisecond);
