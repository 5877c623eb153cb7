#include "common/gbk.h"
#include "common/gbk_pieces.h"
#include "common/line_split.h"
#include "fuzz/bodies.h"

#include <algorithm>

namespace lumivert::fuzz {
namespace {

// Whether `text` is well-formed UTF-8: no stray continuation byte, overlong form, surrogate,
// code past U+10FFFF or sequence cut short.
bool wellFormedUtf8(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        const auto lead = static_cast<unsigned char>(text[at]);
        const std::size_t length = lead < 0x80   ? 1
                                   : lead < 0xC2 ? 0
                                   : lead < 0xE0 ? 2
                                   : lead < 0xF0 ? 3
                                   : lead < 0xF5 ? 4
                                                 : 0;
        if (length == 0 || at + length > text.size()) {
            return false;
        }
        std::uint32_t code = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t i = 1; i < length; ++i) {
            const auto next = static_cast<unsigned char>(text[at + i]);
            if ((next & 0xC0) != 0x80) {
                return false;
            }
            code = code << 6 | (next & 0x3F);
        }
        const std::uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < smallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            return false;
        }
        at += length;
    }
    return true;
}

// The module's answers in pieces, shown as they come: a character split between two pieces
// comes out whole, so the pieces shown one by one read as the whole text shown at once.
void expectPiecesJoin(std::string_view text, std::size_t pieceLength, const std::string& whole) {
    GbkPieceJoiner joiner;
    std::string shown;
    for (std::size_t at = 0; at < text.size(); at += pieceLength) {
        shown += gbkToUtf8(joiner.join(text.substr(at, pieceLength)));
    }
    if (joiner.waiting()) {
        shown += gbkToUtf8(text.substr(text.size() - 1));
    }
    expect(shown == whole, "GBK text shown in pieces reads as the whole text");
}

void expectLines(std::string_view text) {
    std::size_t bytes = 0;
    for (const std::string& line : splitLines(text)) {
        expect(line.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos,
               "a line holds no line break and no zero byte");
        bytes += line.size();
    }
    expect(bytes <= text.size(), "the lines hold no more than the text");
}

} // namespace

// The first byte sets the length of the pieces (1 to 8); all the bytes are the text.
void convertGbkText(Input input) {
    const std::string_view text = asText(input);
    const std::string utf8 = gbkToUtf8(text);
    expect(wellFormedUtf8(utf8), "GBK text converts to well-formed UTF-8");
    expect(wellFormedUtf8(gbkToUtf8(utf8ToGbk(text))), "any text converts to GBK and back");
    expectLines(text);
    if (!input.empty()) {
        expectPiecesJoin(text, 1 + input[0] % 8, utf8);
    }
}

} // namespace lumivert::fuzz
