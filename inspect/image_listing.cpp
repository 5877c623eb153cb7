#include "inspect/image_listing.h"

#include "common/gbk_chars.h"
#include "inspect/listing_format.h"

namespace lumivert {
namespace {

std::string cellSize(GlyphCell cell) {
    return std::to_string(cell.width) + " x " + std::to_string(cell.height);
}

std::string rowOf(const ExtractedEntry& entry) {
    if (entry.row == 0) {
        return "no row of the pair extracts its kind of character";
    }
    const std::string row = "row " + std::to_string(entry.row);
    return entry.cell ? row + ", " + cellSize(*entry.cell) : row + ", size unknown";
}

std::string placeOf(const PictureEntry& picture) {
    if (!picture.insideFlash) {
        return "past the end of the flash";
    }
    return picture.insideDataRegion ? "in the picture data region"
                                    : "outside the picture data region";
}

const char* setName(FullSetFont font) {
    return font == FullSetFont::Dots12 ? "gb12" : "gb16";
}

void appendGlyph(std::vector<std::string>& lines, const std::string& heading,
                 const DotMatrix& dots) {
    lines.push_back(heading);
    for (std::string& row : dotRows(dots)) {
        lines.push_back(std::move(row));
    }
}

} // namespace

std::vector<std::string> listExtracted(const std::vector<ExtractedEntry>& entries) {
    std::vector<std::string> lines;
    lines.reserve(entries.size());
    for (const ExtractedEntry& entry : entries) {
        lines.push_back(pairName(entry.pair) + "  entry " + std::to_string(entry.position) + "  " +
                        describeCharacter(entry.character()) + "  glyph " +
                        hexOffset(entry.glyphOffset) + "  " + rowOf(entry));
    }
    return lines;
}

std::vector<std::string> listPictures(const std::vector<PictureEntry>& pictures) {
    std::vector<std::string> lines;
    for (const PictureEntry& picture : pictures) {
        std::string line = "picture " + std::to_string(picture.number) + "  " +
                           std::to_string(picture.width) + " x " + std::to_string(picture.height) +
                           "  start " + hexOffset(picture.start);
        if (picture.byteCount() > 0) {
            line += "  pixels to " + hexOffset(picture.end() - 1);
        }
        lines.push_back(line + "  " + placeOf(picture));
    }
    return lines;
}

std::vector<std::string> listPages(const std::vector<PageSlot>& slots) {
    std::vector<std::string> lines;
    for (const PageSlot& slot : slots) {
        std::string line = "page " + std::to_string(slot.page) + "  ";
        switch (slot.state) {
        case PageSlot::State::Empty:
            line += "(empty)";
            break;
        case PageSlot::State::Text:
            line += slot.text;
            break;
        case PageSlot::State::Unterminated:
            line += "(no 0x00 in its slot) " + slot.text;
            break;
        }
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> listFullSet(const FlashImage& image, const RegionMap& regions,
                                     FullSetFont font) {
    const GlyphCell cell = fullSetCell(font);
    std::vector<std::string> lines;
    std::string character(2, '\0');
    for (int lead = kGb2312FirstLead; lead <= kGb2312LastLead; ++lead) {
        for (int trail = kGb2312FirstTrail; trail <= kGb2312LastTrail; ++trail) {
            character[0] = static_cast<char>(lead);
            character[1] = static_cast<char>(trail);
            const std::int64_t offset = fullSetGlyphOffset(regions, font, lead, trail);
            const char* state = image.isErased(offset, cell.byteCount()) ? "erased"
                                : glyphAt(image, offset, cell).blank()   ? "blank"
                                                                         : "dots";
            lines.push_back(describeCharacter(character) + "  " + hexOffset(offset) + "  " + state);
        }
    }
    return lines;
}

std::vector<std::string> dotRows(const DotMatrix& dots) {
    std::vector<std::string> rows;
    for (std::int32_t y = 0; y < dots.height(); ++y) {
        std::string row;
        for (std::int32_t x = 0; x < dots.width(); ++x) {
            row += dots.ink(x, y) ? '#' : '.';
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<std::string> showExtractedGlyphs(const FlashImage& image,
                                             const std::vector<ExtractedEntry>& entries,
                                             std::string_view text) {
    std::vector<std::string> lines;
    for (const std::string& character : gbkCharacters(text)) {
        bool found = false;
        for (const ExtractedEntry& entry : entries) {
            if (entry.character() != character) {
                continue;
            }
            found = true;
            const std::string heading = describeCharacter(character) + "  " + pairName(entry.pair) +
                                        ", entry " + std::to_string(entry.position) + "  glyph " +
                                        hexOffset(entry.glyphOffset) + "  " + rowOf(entry);
            appendGlyph(lines, heading,
                        entry.cell ? glyphAt(image, entry.glyphOffset, *entry.cell) : DotMatrix());
        }
        if (!found) {
            lines.push_back(describeCharacter(character) + "  in no extracted font");
        }
    }
    return lines;
}

std::vector<std::string> showFullSetGlyphs(const FlashImage& image, const RegionMap& regions,
                                           FullSetFont font, std::string_view text) {
    const GlyphCell cell = fullSetCell(font);
    std::vector<std::string> lines;
    for (const std::string& character : gbkCharacters(text)) {
        if (!inGb2312Set(character)) {
            lines.push_back(describeCharacter(character) + "  not in the GB2312 set");
            continue;
        }
        const std::int64_t offset =
            fullSetGlyphOffset(regions, font, static_cast<unsigned char>(character[0]),
                               static_cast<unsigned char>(character[1]));
        appendGlyph(lines,
                    describeCharacter(character) + "  " + setName(font) + "  glyph " +
                        hexOffset(offset) + "  " + cellSize(cell),
                    glyphAt(image, offset, cell));
    }
    return lines;
}

std::vector<std::string> gbkCharacters(std::string_view text) {
    std::vector<std::string> characters;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = gbkCharacterLength(text, at);
        characters.emplace_back(text.substr(at, length));
        at += length;
    }
    return characters;
}

} // namespace lumivert
