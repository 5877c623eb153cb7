#include "common/gbk_pieces.h"

#include "common/gbk_chars.h"

namespace lumivert {
namespace {

// Whether `text` ends in a lead byte that still waits for its trail byte. A lead byte
// followed by a byte that cannot trail it is a byte of its own, as the GBK conversion
// treats it.
bool endsInLoneLeadByte(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        if (isGbkLeadByte(static_cast<unsigned char>(text[i])) && i + 1 == text.size()) {
            return true;
        }
        i += gbkCharacterLength(text, i);
    }
    return false;
}

} // namespace

std::string GbkPieceJoiner::join(std::string_view piece) {
    std::string text = std::move(waiting_);
    waiting_.clear();
    text.append(piece);
    if (endsInLoneLeadByte(text)) {
        waiting_ = text.back();
        text.pop_back();
    }
    return text;
}

} // namespace lumivert
