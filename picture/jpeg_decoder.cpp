#include "picture/jpeg_decoder.h"

#include "common/file_error.h"
#include "common/input_file.h"

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

// Far more than the coefficients of any picture small enough to be decoded need; should a
// picture ask for more, the library rejects it instead of exhausting the memory.
constexpr long kDecoderMemory = 256L * 1024 * 1024;

// libjpeg reports a fatal error by calling error_exit, which must not return. Ours jumps back
// into decodeGuarded; only decodeRows and the library's own C frames lie in between. The
// progress monitor jumps back the same way when a picture has too many scans.
struct ErrorManager {
    jpeg_error_mgr library;
    jpeg_progress_mgr progress;
    std::jmp_buf jump;
    bool tooManyScans = false;
};

[[noreturn]] void leaveDecoder(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

// Called before each step of reading the scans: each scan, even an empty one, costs a pass
// over every block of the picture, so a file of a hundred thousand scans would keep the
// decoder busy for many seconds.
void limitScans(j_common_ptr info) {
    if (reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > kMostJpegScans) {
        auto* errors = reinterpret_cast<ErrorManager*>(info->err);
        errors->tooManyScans = true;
        std::longjmp(errors->jump, 1);
    }
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

// Copies one decoded grey row into the picture, greys made into equal red, green and blue
// through the quantiser's colour map.
void keepGreyRow(const jpeg_decompress_struct& info, const JSAMPLE* row, std::uint8_t* out,
                 int width) {
    const JSAMPLE* greys = info.colormap[0];
    for (int x = 0; x < width; ++x, out += DecodedPicture::kBytesPerPixel) {
        // Red, green and blue the grey, the fourth byte 0xFF, as the library fills it.
        const std::uint32_t pixel = 0xFF000000U | greys[row[x]] * 0x010101U;
        std::memcpy(out, &pixel, sizeof pixel);
    }
}

// Decodes every row of a picture whose header has been read. Holds no object with a
// destructor: the library's errors jump over it.
void decodeRows(jpeg_decompress_struct& info, DecodedPicture& picture,
                std::vector<JSAMPLE>& rowBuffer) {
    chooseOutput(info);
    jpeg_start_decompress(&info);
    picture.keptWidth = picture.width;
    picture.keptHeight = picture.height;
    const auto rowBytes = static_cast<std::size_t>(picture.width) * DecodedPicture::kBytesPerPixel;
    picture.rgbx.resize(rowBytes * static_cast<std::size_t>(picture.height));
    const bool directRows = info.output_components == DecodedPicture::kBytesPerPixel;
    if (!directRows) {
        rowBuffer.resize(static_cast<std::size_t>(info.output_width) *
                         static_cast<std::size_t>(info.output_components));
    }
    while (info.output_scanline < info.output_height) {
        std::uint8_t* out = picture.rgbx.data() + info.output_scanline * rowBytes;
        JSAMPROW row = directRows ? out : rowBuffer.data();
        jpeg_read_scanlines(&info, &row, 1);
        if (!directRows) {
            keepGreyRow(info, row, out, picture.width);
        }
    }
    jpeg_finish_decompress(&info);
}

// Everything between setjmp and the library's calls; holds no object with a destructor of
// its own, so the jump skips nothing that needs undoing. Returns false on an error. The size
// comes from the frame header, read before any scan; a picture larger than `largestSide` goes
// no further.
bool decodeGuarded(jpeg_decompress_struct& info, ErrorManager& errors, std::FILE* file,
                   int largestSide, DecodedPicture& picture, std::vector<JSAMPLE>& rowBuffer) {
    if (setjmp(errors.jump) != 0) {
        return false;
    }
    jpeg_create_decompress(&info);
    info.mem->max_memory_to_use = kDecoderMemory;
    info.progress = &errors.progress;
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    picture.width = static_cast<int>(info.image_width);
    picture.height = static_cast<int>(info.image_height);
    if (picture.width <= largestSide && picture.height <= largestSide) {
        decodeRows(info, picture, rowBuffer);
    }
    return true;
}

} // namespace

DecodedPicture decodeJpegFile(const std::filesystem::path& path, int largestSide) {
    const auto file = openPictureFile(path);
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    info.err = jpeg_std_error(&errors.library);
    errors.library.error_exit = leaveDecoder;
    errors.library.output_message = stayQuiet;
    errors.progress.progress_monitor = limitScans;

    DecodedPicture picture;
    std::vector<JSAMPLE> rowBuffer;
    bool decoded = false;
    {
        const DecompressorRelease release{info};
        decoded = decodeGuarded(info, errors, file.get(), largestSide, picture, rowBuffer);
    }
    if (errors.tooManyScans) {
        throw WorkbenchError("The picture \"" + std::filesystem::absolute(path).string() +
                             "\" has more than " + std::to_string(kMostJpegScans) +
                             " scans and is not decoded.");
    }
    if (!decoded) {
        throw WorkbenchError("JPEG error #" + std::to_string(errors.library.msg_code));
    }
    return picture;
}

} // namespace lumivert
