#include "font/face_coverage.h"

#include "common/integer_parse.h"
#include "common/workbench_error.h"
#include "font/cp936_text.h"

#include <algorithm>
#include <vector>

namespace lumivert {
namespace {

bool hasInk(FT_GlyphSlot slot) {
    if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
        return slot->outline.n_contours > 0;
    }
    const FT_Bitmap& bitmap = slot->bitmap;
    const auto bytes = static_cast<std::size_t>(std::abs(bitmap.pitch)) * bitmap.rows;
    return bitmap.buffer != nullptr && std::any_of(bitmap.buffer, bitmap.buffer + bytes,
                                                   [](unsigned char b) { return b != 0; });
}

} // namespace

bool FaceCoverage::drawsInk(const GlyphParameters& parameters, std::string_view character) {
    std::vector<TextCharacter> characters;
    decodeCp936(character, characters);
    if (characters.size() != 1 || characters.front().codePoint == 0) {
        return false;
    }
    try {
        const std::int32_t height = parseGbkInteger(parameters.fontHeight);
        const std::int32_t width = parameters.halfWidth ? parseGbkInteger(parameters.fontWidth) : 0;
        SizedFace& face = faces_.stack(parameters.face, height, width).faceFor(characters.front());
        const unsigned index = face.glyphIndex(characters.front().codePoint);
        return index != 0 && hasInk(face.load(index));
    } catch (const WorkbenchError&) {
        return false;
    }
}

} // namespace lumivert
