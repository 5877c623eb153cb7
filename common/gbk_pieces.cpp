#include "common/gbk_pieces.h"

namespace lumivert {
namespace {

bool isLeadByte(unsigned char byte) {
    return byte >= 0x81 && byte <= 0xFE;
}

bool isTrailByte(unsigned char byte) {
    return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFE);
}

// Whether `text` ends in a lead byte that still waits for its trail byte. A lead byte
// followed by a byte that cannot trail it is a byte of its own, as the GBK conversion
// treats it.
bool endsInLoneLeadByte(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        if (!isLeadByte(static_cast<unsigned char>(text[i]))) {
            ++i;
        } else if (i + 1 == text.size()) {
            return true;
        } else {
            i += isTrailByte(static_cast<unsigned char>(text[i + 1])) ? 2 : 1;
        }
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
