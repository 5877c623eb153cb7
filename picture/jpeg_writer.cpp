#include "picture/jpeg_writer.h"

#include "common/file_error.h"

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>
#include <memory>
#include <string>

namespace lumivert {
namespace {

struct ErrorManager {
    jpeg_error_mgr library;
    std::jmp_buf jump;
};

[[noreturn]] void leaveEncoder(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

struct CompressorRelease {
    jpeg_compress_struct& info;
    ~CompressorRelease() { jpeg_destroy_compress(&info); }
};

void applySettings(jpeg_compress_struct& info, const JpegSettings& settings) {
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, settings.quality, TRUE);
    if (settings.fullChroma && !settings.greyscale) {
        for (int component = 0; component < info.num_components; ++component) {
            info.comp_info[component].h_samp_factor = 1;
            info.comp_info[component].v_samp_factor = 1;
        }
    }
    if (settings.progressive) {
        jpeg_simple_progression(&info);
    }
}

// Holds no object with a destructor of its own: the library's errors jump back here.
bool encodeGuarded(jpeg_compress_struct& info, ErrorManager& errors, std::FILE* file, int width,
                   int height, const std::uint8_t* pixels, const JpegSettings& settings) {
    if (setjmp(errors.jump) != 0) {
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = settings.greyscale ? 1 : 3;
    info.in_color_space = settings.greyscale ? JCS_GRAYSCALE : JCS_RGB;
    applySettings(info, settings);
    jpeg_start_compress(&info, TRUE);
    const auto rowBytes = static_cast<std::size_t>(width) * info.input_components;
    while (info.next_scanline < info.image_height) {
        // The library only reads the row; its interface takes it without const.
        auto* row = const_cast<JSAMPLE*>(pixels + info.next_scanline * rowBytes);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    return true;
}

} // namespace

void writeJpegFile(const std::filesystem::path& path, int width, int height,
                   std::span<const std::uint8_t> pixels, const JpegSettings& settings) {
    const auto expected = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) *
                          (settings.greyscale ? 1U : 3U);
    if (width <= 0 || height <= 0 || pixels.size() != expected) {
        throw cannotCreateFile(path, "The picture's size does not match its pixels.");
    }
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file) {
        throw cannotCreateFile(path, errno);
    }
    jpeg_compress_struct info{};
    ErrorManager errors{};
    info.err = jpeg_std_error(&errors.library);
    errors.library.error_exit = leaveEncoder;
    bool written = false;
    {
        const CompressorRelease release{info};
        written = encodeGuarded(info, errors, file.get(), width, height, pixels.data(), settings);
    }
    if (!written) {
        throw cannotCreateFile(path, "JPEG error #" + std::to_string(errors.library.msg_code));
    }
    if (std::fflush(file.get()) != 0) {
        throw cannotWriteFile(path, errno);
    }
}

} // namespace lumivert
