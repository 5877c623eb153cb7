#include "font/text_painter.h"

#include "common/workbench_error.h"

#include FT_OUTLINE_H

#include <algorithm>
#include <limits>

namespace lumivert {
namespace {

constexpr std::int64_t kBitmapEdge = GlyphBitmap::kSize;

int toPixel(std::int64_t coordinate) {
    return static_cast<int>(std::clamp<std::int64_t>(coordinate, -1, kBitmapEdge + 1));
}

bool isInk(const FT_Bitmap& glyph, const unsigned char* line, unsigned column) {
    switch (glyph.pixel_mode) {
    case FT_PIXEL_MODE_MONO:
        return (line[column / 8] & (0x80u >> (column % 8))) != 0;
    case FT_PIXEL_MODE_GRAY:
        return line[column] >= 0x80;
    case FT_PIXEL_MODE_BGRA:
        return line[column * 4 + 3] >= 0x80;
    default:
        return false;
    }
}

// Whether any part of an outline, its origin at the pen on the baseline, falls on the bitmap.
bool reachesBitmap(const FT_Outline& outline, std::int64_t penX, std::int64_t baseline) {
    FT_BBox box;
    FT_Outline_Get_CBox(&outline, &box);
    const auto pixelFloor = [](FT_Pos position) {
        return static_cast<std::int64_t>(position >> 6);
    };
    const auto pixelCeiling = [](FT_Pos position) {
        return static_cast<std::int64_t>((position + 63) >> 6);
    };
    return penX + pixelCeiling(box.xMax) > 0 && penX + pixelFloor(box.xMin) < kBitmapEdge &&
           baseline - pixelFloor(box.yMin) > 0 && baseline - pixelCeiling(box.yMax) < kBitmapEdge;
}

} // namespace

std::int32_t TextPainter::draw(GlyphBitmap& bitmap, FaceStack& faces,
                               std::span<const TextCharacter> characters, std::int64_t x,
                               std::int64_t y, std::vector<const FaceFile*>& facesUsed) {
    facesUsed.clear();
    const FaceSize& size = faces.chosen().size();
    // Everything from (1, 1) on has just been cleared to paper, so the background matters
    // only where the text starts in row 0 or column 0.
    if (x <= 0 || y <= 0) {
        const std::int64_t width = measure(faces, characters);
        bitmap.fill(toPixel(x), toPixel(y), toPixel(x + width),
                    toPixel(y + size.ascent + size.descent), false);
    }
    const std::int64_t baseline = y + size.ascent;
    std::int64_t pen = x;
    for (const TextCharacter& character : characters) {
        const Glyph glyph = load(faces, character);
        if (!glyph.blank) {
            blit(bitmap, glyph.slot, pen, baseline);
        }
        pen += glyph.advance;
        facesUsed.push_back(glyph.face);
    }
    return static_cast<std::int32_t>(
        std::min<std::int64_t>(pen - x, std::numeric_limits<std::int32_t>::max()));
}

TextPainter::Glyph TextPainter::load(FaceStack& faces, const TextCharacter& character) {
    SizedFace& face = faces.faceFor(character);
    const unsigned index = character.codePoint != 0 ? face.glyphIndex(character.codePoint) : 0;
    FT_GlyphSlot slot = face.load(index);
    return {slot, face.advance(slot), index == 0 && !character.assigned(), &face.file()};
}

std::int64_t TextPainter::measure(FaceStack& faces, std::span<const TextCharacter> characters) {
    std::int64_t width = 0;
    for (const TextCharacter& character : characters) {
        width += load(faces, character).advance;
    }
    return width;
}

// An outline is rendered into a bitmap of its own and copied, never rasterized into the
// shared bitmap: the rasterizer's drop-out control then works on the glyph's own box, as
// in FreeType's rendering of the glyph alone, so thin strokes keep every dot. An outline
// that lies wholly off the bitmap is not rendered at all.
void TextPainter::blit(GlyphBitmap& bitmap, FT_GlyphSlot slot, std::int64_t penX,
                       std::int64_t baseline) {
    if (slot->format == FT_GLYPH_FORMAT_OUTLINE && !reachesBitmap(slot->outline, penX, baseline)) {
        return;
    }
    if (slot->format != FT_GLYPH_FORMAT_BITMAP && FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) != 0) {
        throw WorkbenchError("A glyph of the face cannot be drawn at this size.");
    }
    blitBitmap(bitmap, slot->bitmap, penX + slot->bitmap_left, baseline - slot->bitmap_top);
}

void TextPainter::blitBitmap(GlyphBitmap& bitmap, const FT_Bitmap& glyph, std::int64_t left,
                             std::int64_t top) {
    const std::int64_t firstRow = std::max<std::int64_t>(0, -top);
    const std::int64_t endRow = std::min<std::int64_t>(glyph.rows, kBitmapEdge - top);
    const auto pitch = static_cast<std::ptrdiff_t>(glyph.pitch);
    const auto lineOf = [&](std::int64_t row) {
        return glyph.buffer + (pitch >= 0 ? row * pitch : (glyph.rows - 1 - row) * -pitch);
    };
    if (glyph.pixel_mode == FT_PIXEL_MODE_MONO && left >= 0 && left + glyph.width <= kBitmapEdge) {
        // A monochrome glyph that fits across the bitmap, as embedded bitmaps do: a byte
        // of eight pixels at a time.
        const auto shift = static_cast<unsigned>(left % 8);
        const auto bytes = static_cast<std::size_t>((glyph.width + 7) / 8);
        const auto lastMask = static_cast<std::uint8_t>(0xFFu << ((8 - glyph.width % 8) % 8));
        for (std::int64_t row = firstRow; row < endRow; ++row) {
            const unsigned char* line = lineOf(row);
            std::uint8_t* target = bitmap.rows() + (top + row) * GlyphBitmap::kPitch + left / 8;
            for (std::size_t i = 0; i < bytes; ++i) {
                const unsigned pixels = i + 1 == bytes ? line[i] & lastMask : line[i];
                target[i] = static_cast<std::uint8_t>(target[i] | (pixels >> shift));
                if (shift != 0 && (pixels << (8 - shift) & 0xFFu) != 0) {
                    target[i + 1] =
                        static_cast<std::uint8_t>(target[i + 1] | (pixels << (8 - shift)));
                }
            }
        }
        return;
    }
    const std::int64_t firstColumn = std::max<std::int64_t>(0, -left);
    const std::int64_t endColumn = std::min<std::int64_t>(glyph.width, kBitmapEdge - left);
    for (std::int64_t row = firstRow; row < endRow; ++row) {
        const unsigned char* line = lineOf(row);
        for (std::int64_t column = firstColumn; column < endColumn; ++column) {
            if (isInk(glyph, line, static_cast<unsigned>(column))) {
                bitmap.setPixel(static_cast<int>(left + column), static_cast<int>(top + row), true);
            }
        }
    }
}

} // namespace lumivert
