#pragma once

#include "font/face_finder.h"
#include "font/face_metrics.h"
#include "font/freetype_library.h"

#include <cstdint>
#include <vector>

namespace lumivert {

// One installed face opened at the size a font height and width ask for. Glyphs are
// loaded for monochrome output: from the face's embedded bitmaps where it has a strike
// of that pixel size and is not scaled, else from its outlines with hinting. A face made
// of bitmaps alone is drawn at the strike chooseStrike picks from all its files' strikes
// (`otherStrikes` names the files besides `file`), unscaled.
class SizedFace {
public:
    // Throws WorkbenchError when FreeType cannot open the face or give it that size.
    SizedFace(FT_Library library, FaceFile file, std::int32_t height, std::int32_t width,
              const std::vector<FaceFile>& otherStrikes = {});
    ~SizedFace();
    SizedFace(const SizedFace&) = delete;
    SizedFace& operator=(const SizedFace&) = delete;

    const FaceFile& file() const { return file_; }
    const FaceSize& size() const { return size_; }

    // The glyph of a character; 0 (the face's missing-glyph shape) when it has none.
    unsigned glyphIndex(char32_t codePoint) const;

    // Loads a glyph into the face's glyph slot: a bitmap, or a hinted outline in 1/64
    // pixels with its origin at (0, 0). Throws WorkbenchError when it cannot be loaded.
    FT_GlyphSlot load(unsigned glyphIndex);

    // The width the loaded glyph adds to a text, in pixels.
    std::int32_t advance(FT_GlyphSlot slot) const;

private:
    void open(FT_Library library);
    void setSize(std::int32_t height, std::int32_t width);
    void selectStrike(FT_Library library, std::int32_t height,
                      const std::vector<FaceFile>& otherStrikes);

    FaceFile file_;
    FT_Face face_ = nullptr;
    FaceUnits units_;
    FaceSize size_;
    FT_Int32 loadFlags_ = FT_LOAD_TARGET_MONO;
};

} // namespace lumivert
