#include "font/content_walk.h"

namespace lumivert {

bool ContentWalk::next() {
    position_ += length_;
    if (position_ >= content_.size()) {
        length_ = 0;
        extracted_ = false;
        return false;
    }
    const auto byte = static_cast<unsigned char>(content_[position_]);
    const bool twoBytes = byte > kLastSingleByte;
    const bool complete = !twoBytes || position_ + 1 < content_.size();
    length_ = twoBytes && complete ? 2 : 1;
    extracted_ = false;
    if (complete && twoBytes != halfWidth_) {
        const std::size_t code =
            twoBytes ? byte * 256u + static_cast<unsigned char>(content_[position_ + 1]) : byte;
        extracted_ = !handled_.test(code);
        handled_.set(code);
    }
    return true;
}

std::uint8_t ContentWalk::firstCodeByte() const {
    return length_ == 2 ? static_cast<std::uint8_t>(content_[position_]) : 0;
}

std::uint8_t ContentWalk::secondCodeByte() const {
    return static_cast<std::uint8_t>(content_[position_ + length_ - 1]);
}

} // namespace lumivert
