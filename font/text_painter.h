#pragma once

#include "font/cp936_text.h"
#include "font/face_stack.h"
#include "font/glyph_bitmap.h"

#include <cstdint>
#include <span>
#include <vector>

namespace lumivert {

// Draws text onto the glyph bitmap by the placement rules of docs/glyphs.md: top-left
// alignment at (x, y), so the baseline lies the chosen face's ascent below y, on an opaque
// paper background as wide as the text and as high as the face's ascent plus descent. The
// caller has cleared the bitmap from (1, 1) on (GlyphBitmap::clearInside), so that only the
// background's part in row 0 or column 0 is left to paint.
// Each glyph is rendered on its own, monochrome, exactly as FreeType renders it, and goes at
// the pen position plus its bearing, clipped to the bitmap; the pen moves on by the glyph's
// width. Returns the width of the text in pixels; `facesUsed` receives the face
// of each character.
//
// A code that stands for no character is left blank: the pen moves on by the chosen
// face's missing-glyph width.
class TextPainter {
public:
    std::int32_t draw(GlyphBitmap& bitmap, FaceStack& faces,
                      std::span<const TextCharacter> characters, std::int64_t x, std::int64_t y,
                      std::vector<const FaceFile*>& facesUsed);

private:
    struct Glyph {
        FT_GlyphSlot slot;
        std::int32_t advance;
        bool blank;
        const FaceFile* face;
    };
    static Glyph load(FaceStack& faces, const TextCharacter& character);
    std::int64_t measure(FaceStack& faces, std::span<const TextCharacter> characters);
    static void blit(GlyphBitmap& bitmap, FT_GlyphSlot slot, std::int64_t penX,
                     std::int64_t baseline);
    static void blitBitmap(GlyphBitmap& bitmap, const FT_Bitmap& glyph, std::int64_t left,
                           std::int64_t top);
};

} // namespace lumivert
