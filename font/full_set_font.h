#pragma once

#include "common/operation_host.h"
#include "font/font_generation_sink.h"
#include "font/glyph_cell.h"
#include "font/glyph_parameters.h"
#include "font/glyph_rasterizer.h"
#include "image/workbench.h"

#include <cstdint>
#include <string_view>

namespace lumivert {

// The two GB2312 fonts the module finds glyphs in by arithmetic on the character code: the
// glyph of (hi, lo) lies at base + ((hi - 0xA1) * 94 + (lo - 0xA1)) * glyph size.
enum class FullSetFont { Dots12, Dots16 };

// First bytes 0xA1 to 0xF7, second bytes 0xA1 to 0xFE: 8,178 codes, the ones GB2312 leaves
// unassigned included.
inline constexpr int kGb2312FirstLead = 0xA1;
inline constexpr int kGb2312LastLead = 0xF7;
inline constexpr int kGb2312FirstTrail = 0xA1;
inline constexpr int kGb2312LastTrail = 0xFE;
inline constexpr int kGb2312Codes =
    (kGb2312LastLead - kGb2312FirstLead + 1) * (kGb2312LastTrail - kGb2312FirstTrail + 1);

// Whether a GBK character (one or two bytes) is one of the set's codes.
bool inGb2312Set(std::string_view character);

// The dot size of the font, as the font tab's dot size box shows it: "12" or "16".
const char* fullSetDotSize(FullSetFont font);

// The cell of the font's glyphs as the module reads them, full-width: 12 x 16 or 16 x 16.
GlyphCell fullSetCell(FullSetFont font);

// Where the glyph of the code (lead, trail) of the set lies in the flash image.
std::int64_t fullSetGlyphOffset(const RegionMap& regions, FullSetFont font, int lead, int trail);

// Renders every code of the set, in code order, into the font's region with `parameters`
// (its dot size replaced by the font's), each glyph straight after the one before from the
// region's base. GenerateMode is 1 while it runs and 0 again on every way out. After each
// glyph `host` reports the progress and pumps; a cancelled generation stops there. A render
// that fails ends the generation with its error; the glyphs before it stay.
void generateFullSetFont(Workbench& workbench, GlyphRasterizer& rasterizer, FullSetFont font,
                         GlyphParameters parameters, FontGenerationSink& sink, OperationHost& host);

} // namespace lumivert
