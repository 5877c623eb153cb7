#pragma once

#include <string>
#include <string_view>

namespace lumivert {

// Joins GBK text that arrives in pieces, as the module's answers do: a lead byte that ends
// one piece waits for the first byte of the next, so that a character split between two
// pieces comes out whole.
class GbkPieceJoiner {
public:
    // The text that is complete after `piece`: the byte left waiting by the piece before,
    // then `piece`, without a lead byte that ends it (which waits in turn).
    std::string join(std::string_view piece);

    // Whether a lead byte waits for the next piece.
    bool waiting() const { return !waiting_.empty(); }

private:
    std::string waiting_;
};

} // namespace lumivert
