#include "picture/jpeg_decoder.h"

#include "common/file_error.h"
#include "common/input_file.h"

#include <algorithm>
#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <jpeglib.h>
#include <memory>
#include <string>
#include <sys/stat.h>

namespace lumivert {
namespace {

constexpr int kGreyLevels = 236;

// Enough for the coefficients of any picture that can be converted; a larger progressive
// picture asks for more and is rejected by the library instead of exhausting the memory.
constexpr long kDecoderMemory = 256L * 1024 * 1024;

// libjpeg reports a fatal error by calling error_exit, which must not return. Ours jumps back
// into decodeGuarded; only the library's own C frames lie in between.
struct ErrorManager {
    jpeg_error_mgr library;
    std::jmp_buf jump;
};

[[noreturn]] void leaveDecoder(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

// Warnings (a file cut inside its scan data) are not errors, and nothing is printed.
void stayQuiet(j_common_ptr /*info*/) {}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

std::unique_ptr<std::FILE, FileCloser> openPictureFile(const std::filesystem::path& path) {
    UniqueFd input = openInputFile(path);
    std::unique_ptr<std::FILE, FileCloser> file(::fdopen(input.get(), "rb"));
    if (!file) {
        throw cannotOpenFile(path, errno);
    }
    input.release();
    return file;
}

// Releases the decompressor on every way out, an exception included.
struct DecompressorRelease {
    jpeg_decompress_struct& info;
    ~DecompressorRelease() { jpeg_destroy_decompress(&info); }
};

// The default settings, except that a greyscale picture is quantised in one pass. Colour
// comes out as red, green, blue and a fourth byte, the same values as the library's plain RGB
// output, in a form that the pixel walk reads a pixel at a time.
void chooseOutput(jpeg_decompress_struct& info) {
    if (info.out_color_space == JCS_GRAYSCALE) {
        info.quantize_colors = TRUE;
        info.desired_number_of_colors = kGreyLevels;
        info.two_pass_quantize = FALSE;
    } else {
        info.out_color_space = JCS_EXT_RGBX;
    }
}

// Copies the kept part of one decoded row into the picture, greys made into equal red, green
// and blue through the quantiser's colour map.
void keepRow(const jpeg_decompress_struct& info, const JSAMPLE* row, std::uint8_t* out,
             int keptWidth) {
    constexpr int kBytes = DecodedPicture::kBytesPerPixel;
    if (info.output_components == kBytes) {
        std::copy_n(row, static_cast<std::size_t>(keptWidth) * kBytes, out);
        return;
    }
    const JSAMPLE* greys = info.colormap[0];
    for (int x = 0; x < keptWidth; ++x, out += kBytes) {
        // Red, green and blue the grey, the fourth byte 0xFF, as the library fills it.
        const std::uint32_t pixel = 0xFF000000U | greys[row[x]] * 0x010101U;
        std::memcpy(out, &pixel, sizeof pixel);
    }
}

// Everything between setjmp and the library's calls; holds no object with a destructor of
// its own, so the jump skips nothing but the library's frames. Returns false on an error.
bool decodeGuarded(jpeg_decompress_struct& info, ErrorManager& errors, std::FILE* file,
                   int keptSide, DecodedPicture& picture, std::vector<JSAMPLE>& rowBuffer) {
    if (setjmp(errors.jump) != 0) {
        return false;
    }
    jpeg_create_decompress(&info);
    info.mem->max_memory_to_use = kDecoderMemory;
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    chooseOutput(info);
    jpeg_start_decompress(&info);

    picture.width = static_cast<int>(info.output_width);
    picture.height = static_cast<int>(info.output_height);
    picture.keptWidth = std::min(picture.width, keptSide);
    picture.keptHeight = std::min(picture.height, keptSide);
    const auto rowBytes =
        static_cast<std::size_t>(picture.keptWidth) * DecodedPicture::kBytesPerPixel;
    picture.rgbx.resize(rowBytes * static_cast<std::size_t>(picture.keptHeight));
    const bool directRows = info.output_components == DecodedPicture::kBytesPerPixel &&
                            picture.keptWidth == picture.width;
    if (!directRows) {
        rowBuffer.resize(static_cast<std::size_t>(info.output_width) *
                         static_cast<std::size_t>(info.output_components));
    }

    while (info.output_scanline < static_cast<JDIMENSION>(picture.keptHeight)) {
        std::uint8_t* out = picture.rgbx.data() + info.output_scanline * rowBytes;
        JSAMPROW row = directRows ? out : rowBuffer.data();
        jpeg_read_scanlines(&info, &row, 1);
        if (!directRows) {
            keepRow(info, row, out, picture.keptWidth);
        }
    }
    if (picture.keptHeight == picture.height) {
        jpeg_finish_decompress(&info);
    }
    return true;
}

} // namespace

DecodedPicture decodeJpegFile(const std::filesystem::path& path, int keptSide) {
    const auto file = openPictureFile(path);
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    info.err = jpeg_std_error(&errors.library);
    errors.library.error_exit = leaveDecoder;
    errors.library.output_message = stayQuiet;

    DecodedPicture picture;
    std::vector<JSAMPLE> rowBuffer;
    bool decoded = false;
    {
        const DecompressorRelease release{info};
        decoded = decodeGuarded(info, errors, file.get(), keptSide, picture, rowBuffer);
    }
    if (!decoded) {
        throw WorkbenchError("JPEG error #" + std::to_string(errors.library.msg_code));
    }
    return picture;
}

} // namespace lumivert
