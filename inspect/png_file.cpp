#include "inspect/png_file.h"

#include "common/binary_file.h"
#include "common/workbench_error.h"

#include <png.h>

namespace lumivert {
namespace {

png_image imageOf(const Raster& raster) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(raster.width());
    image.height = static_cast<png_uint_32>(raster.height());
    image.format = PNG_FORMAT_RGB;
    return image;
}

} // namespace

std::vector<std::uint8_t> encodePng(const Raster& raster) {
    png_image image = imageOf(raster);
    png_alloc_size_t size = 0;
    const void* pixels = raster.bytes().data();
    std::vector<std::uint8_t> bytes;
    bool encoded = png_image_write_to_memory(&image, nullptr, &size, 0, pixels, 0, nullptr) != 0;
    if (encoded) {
        bytes.resize(size);
        encoded =
            png_image_write_to_memory(&image, bytes.data(), &size, 0, pixels, 0, nullptr) != 0;
        bytes.resize(size);
    }
    if (!encoded) {
        const std::string reason = image.message;
        png_image_free(&image);
        throw WorkbenchError("The picture cannot be encoded as PNG: " + reason);
    }
    return bytes;
}

void writePngFile(const std::filesystem::path& path, const Raster& raster) {
    writeBinaryFile(path, encodePng(raster));
}

} // namespace lumivert
