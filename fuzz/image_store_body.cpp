#include "common/text_file.h"
#include "fuzz/bodies.h"
#include "fuzz/scratch_folder.h"
#include "image/image_store.h"

#include <algorithm>
#include <memory>

namespace lumivert::fuzz {
namespace {

// Twice the store's size: every length around it, and well past it.
constexpr std::size_t kLongestFile = 2 * static_cast<std::size_t>(ImageStore::kFileSize);

// The store file an input stands for. Three bytes or fewer are the file itself. Longer ones
// give the file's length in their first four bytes (little-endian, modulo kLongestFile) and
// its bytes in the rest, repeated to that length (zeros when there is no rest), so that a
// short input reaches every length.
std::string storeFile(Input input) {
    if (input.size() < 4) {
        return std::string(asText(input));
    }
    const std::uint32_t declared =
        input[0] | input[1] << 8 | input[2] << 16 | static_cast<std::uint32_t>(input[3]) << 24;
    const std::string_view pattern = asText(input.subspan(4));
    const std::size_t length = declared % kLongestFile;
    if (pattern.empty()) {
        return std::string(length, '\0');
    }
    std::string file(pattern);
    while (file.size() < length) {
        file += file;
    }
    file.resize(length);
    return file;
}

FlashImage& sharedImage() {
    static const auto image = std::make_unique<FlashImage>();
    return *image;
}

// Position p of the file holds image offset kImageSize - 1 - p XOR the mask; a position the
// file lacks counts as 0x00.
void expectLoaded(const FlashImage& image, std::string_view file) {
    const auto loaded = image.image();
    for (std::size_t offset = 0; offset < loaded.size(); ++offset) {
        const std::size_t position = loaded.size() - 1 - offset;
        const auto stored = position < file.size() ? static_cast<std::uint8_t>(file[position]) : 0;
        if (loaded[offset] != (stored ^ ImageStore::kMask)) {
            throw HarnessFault("image offset " + std::to_string(offset) +
                               " is loaded from its position of the store file");
        }
    }
    expect(image.load(kImageSize) == 0xFF, "the spare byte stays 0xFF");
}

} // namespace

// The store file loaded at start-up and saved, unchanged, at exit: the saved file is the one
// that was read, made up to the store's size with 0x00 where it was shorter.
void loadImageStore(Input input) {
    const std::string file = storeFile(input);
    const auto path = emptyScratchFolder("image_store") / "work" / "sdata.tmp";
    writeScratchFile(path, file);

    FlashImage& image = sharedImage();
    image.fill();
    ImageStore store(path);
    store.load(image);
    expectLoaded(image, file);
    store.save(image);

    std::string expected = file;
    expected.resize(std::max(file.size(), static_cast<std::size_t>(ImageStore::kFileSize)), '\0');
    expect(readWholeFile(path) == expected, "a store saved unchanged is the file that was read");
}

} // namespace lumivert::fuzz
