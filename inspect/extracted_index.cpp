#include "inspect/extracted_index.h"

#include "common/integer_parse.h"
#include "common/workbench_error.h"
#include "font/content_walk.h"
#include "font/extracted_layout.h"

namespace lumivert {
namespace {

std::optional<GlyphCell> rowCell(const GlyphParameters& parameters, const RegionMap& regions) {
    try {
        const GlyphCell cell = glyphCell(parseGbkInteger(parameters.dotSize), parameters.halfWidth);
        const std::int64_t regionSize = regions.offset(RegionMap::PageRegionBase) -
                                        regions.offset(RegionMap::ExtractedGlyphBase);
        if (cell.byteCount() > 0 && cell.byteCount() <= regionSize) {
            return cell;
        }
    } catch (const WorkbenchError&) {
    }
    return std::nullopt;
}

std::int64_t extractedCount(const FontEditorValues& values) {
    std::int64_t count = 0;
    for (ContentWalk walk(values.content, values.parameters.halfWidth); walk.next();) {
        count += walk.extracted() ? 1 : 0;
    }
    return count;
}

bool isEmptyEntry(const FlashImage& image, std::int64_t offset) {
    return image.isErased(offset, kExtractedIndexEntrySize);
}

// The row of the pair whose glyphs an entry's have the size of (see ExtractedEntry::row).
int rowOfEntry(const ExtractedRows& rows, int pair, int position, bool oneByte) {
    const auto first = static_cast<std::size_t>(pair) * 2;
    const ExtractedRow& odd = rows[first];
    const ExtractedRow& even = rows[first + 1];
    const bool oddFits = odd.parameters.halfWidth == oneByte;
    const bool evenFits = even.parameters.halfWidth == oneByte;
    if (oddFits && evenFits) {
        return position < odd.characters ? odd.row : even.row;
    }
    return oddFits ? odd.row : evenFits ? even.row : 0;
}

} // namespace

ExtractedRows extractedRows(const FontTable& table, const RegionMap& regions) {
    ExtractedRows rows;
    for (int row = 1; row <= kFontDefinitions; ++row) {
        ExtractedRow& shape = rows[static_cast<std::size_t>(row - 1)];
        const FontEditorValues values = table.rowValues(row);
        shape.row = row;
        shape.parameters = values.parameters;
        shape.cell = rowCell(values.parameters, regions);
        shape.characters = extractedCount(values);
    }
    return rows;
}

std::string ExtractedEntry::character() const {
    if (firstByte == 0) {
        return std::string(1, static_cast<char>(secondByte));
    }
    return {static_cast<char>(firstByte), static_cast<char>(secondByte)};
}

std::string pairName(int pair) {
    return "rows " + std::to_string(2 * pair + 1) + "-" + std::to_string(2 * pair + 2);
}

std::vector<ExtractedEntry> readExtractedIndex(const FlashImage& image, const RegionMap& regions,
                                               const ExtractedRows& rows) {
    std::vector<ExtractedEntry> entries;
    const std::int64_t glyphBase = regions.offset(RegionMap::ExtractedGlyphBase);
    for (int pair = 0; pair < kFontDefinitions / 2; ++pair) {
        const std::int64_t table = extractedIndexTable(regions, 2 * pair + 1);
        for (int position = 0; position < kExtractedIndexEntries; ++position) {
            const std::int64_t offset = table + std::int64_t{position} * kExtractedIndexEntrySize;
            if (isEmptyEntry(image, offset)) {
                break;
            }
            ExtractedEntry entry;
            entry.pair = pair;
            entry.position = position;
            entry.entryOffset = offset;
            entry.firstByte = image.load(offset);
            entry.secondByte = image.load(offset + 1);
            entry.address = image.load(offset + 2) << 8 | image.load(offset + 3);
            entry.glyphOffset = glyphBase + std::int64_t{entry.address} * kExtractedGlyphAlignment;
            entry.row = rowOfEntry(rows, pair, position, entry.firstByte == 0);
            if (entry.row != 0) {
                entry.cell = rows[static_cast<std::size_t>(entry.row - 1)].cell;
            }
            entries.push_back(entry);
        }
    }
    return entries;
}

} // namespace lumivert
