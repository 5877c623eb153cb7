#include "font/extracted_layout.h"

#include "common/integer_parse.h"
#include "common/workbench_error.h"
#include "font/content_walk.h"
#include "font/glyph_cell.h"

#include <array>
#include <cstdint>
#include <string>

namespace lumivert {
namespace {

constexpr int kPairs = kFontDefinitions / 2;

struct RowCount {
    std::int64_t positions = 0;
    std::int64_t characters = 0;
};

RowCount countRow(const FontTable& table, int row) {
    RowCount count;
    for (ContentWalk walk(table.cell(kContentColumn, row), table.halfWidth(row)); walk.next();) {
        ++count.positions;
        count.characters += walk.extracted() ? 1 : 0;
    }
    return count;
}

// a + b and a * b for counts that cannot be negative, held at the largest value rather than
// wrapping: a dot size of two thousand million makes glyphs of 2^59 bytes.
std::int64_t saturatedSum(std::int64_t a, std::int64_t b) {
    std::int64_t sum = 0;
    return __builtin_add_overflow(a, b, &sum) ? INT64_MAX : sum;
}

std::int64_t saturatedProduct(std::int64_t a, std::int64_t b) {
    std::int64_t product = 0;
    return __builtin_mul_overflow(a, b, &product) ? INT64_MAX : product;
}

// Where `count` glyphs of `size` bytes end when the first goes at `cursor`: each starts at a
// multiple of 8.
std::int64_t glyphsEnd(std::int64_t cursor, std::int64_t count, std::int64_t size) {
    if (cursor > INT64_MAX - kExtractedGlyphAlignment) {
        return INT64_MAX;
    }
    const std::int64_t first = alignedGlyphCursor(cursor);
    const std::int64_t spacing = alignedGlyphCursor(size);
    return saturatedSum(saturatedSum(first, saturatedProduct(count - 1, spacing)), size);
}

std::string refusal(const std::string& what) {
    return what + " Nothing was generated.";
}

} // namespace

std::int64_t checkExtractedSpace(const FontTable& table, const RegionMap& regions) {
    const std::int64_t glyphBase = regions.offset(RegionMap::ExtractedGlyphBase);
    const std::int64_t glyphEnd = regions.offset(RegionMap::PageRegionBase);
    std::array<std::int64_t, kPairs> entries{};
    std::int64_t cursor = glyphBase;
    std::int64_t positions = 0;
    for (int row = 1; row <= kFontDefinitions; ++row) {
        const RowCount count = countRow(table, row);
        positions += count.positions;
        std::int64_t& pairEntries = entries[static_cast<std::size_t>((row - 1) / 2)];
        if (count.characters == 0) {
            continue;
        }
        std::int32_t dotSize = 0;
        try {
            dotSize = parseGbkInteger(table.cell(kDotSizeColumn, row));
        } catch (const WorkbenchError&) {
            pairEntries += 1; // the entry written before its render fails
            break;
        }
        const std::int64_t glyphSize = glyphCell(dotSize, table.halfWidth(row)).byteCount();
        cursor = glyphsEnd(cursor, count.characters, glyphSize);
        pairEntries += count.characters;
    }
    for (int pair = 0; pair < kPairs; ++pair) {
        const std::int64_t listed = entries[static_cast<std::size_t>(pair)];
        if (listed > kExtractedIndexEntries) {
            throw WorkbenchError(refusal("Font rows " + std::to_string(2 * pair + 1) + " and " +
                                         std::to_string(2 * pair + 2) + " have " +
                                         std::to_string(listed) +
                                         " characters to extract; their index holds " +
                                         std::to_string(kExtractedIndexEntries) + "."));
        }
    }
    if (cursor > glyphEnd) {
        throw WorkbenchError(refusal(
            "The glyphs of the extracted characters need " + std::to_string(cursor - glyphBase) +
            " bytes; their region holds " + std::to_string(glyphEnd - glyphBase) + "."));
    }
    return positions;
}

} // namespace lumivert
