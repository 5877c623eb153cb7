#include "font/face_stack.h"

#include "common/gbk.h"

#include <algorithm>

namespace lumivert {
namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

} // namespace

FaceStack::FaceStack(FT_Library library, std::shared_ptr<const FaceChoice> choice,
                     std::int32_t height, std::int32_t width)
    : library_(library), choice_(std::move(choice)), height_(height), width_(width) {
    faces_.resize(choice_->entries().size());
    face(0);
}

SizedFace& FaceStack::face(std::size_t entry) {
    auto& face = faces_[entry];
    if (!face) {
        const FaceChoice::Entry& chosen = choice_->entries()[entry];
        face = std::make_unique<SizedFace>(library_, chosen.file, height_, width_,
                                           chosen.otherStrikes);
    }
    return *face;
}

SizedFace& FaceStack::faceFor(const TextCharacter& character) {
    if (!character.assigned() || chosen().glyphIndex(character.codePoint) != 0) {
        return chosen();
    }
    const std::size_t entry = fallbackFor(character.codePoint);
    return entry == kNone ? chosen() : face(entry);
}

std::size_t FaceStack::fallbackFor(char32_t codePoint) {
    if (const auto known = fallbacks_.find(codePoint); known != fallbacks_.end()) {
        return known->second;
    }
    std::size_t found = kNone;
    for (std::size_t entry = 1; entry < faces_.size() && found == kNone; ++entry) {
        if (choice_->covers(entry, codePoint) && face(entry).glyphIndex(codePoint) != 0) {
            found = entry;
        }
    }
    fallbacks_.emplace(codePoint, found);
    return found;
}

FaceStack& FaceCache::stack(const std::string& face, std::int32_t height, std::int32_t width) {
    const auto kept = std::find_if(stacks_.begin(), stacks_.end(), [&](const auto& entry) {
        return entry.first.height == height && entry.first.width == width &&
               entry.first.face == face;
    });
    if (kept != stacks_.end()) {
        std::rotate(stacks_.begin(), kept, kept + 1);
        return *stacks_.front().second;
    }
    auto choice = FaceFinder::instance().find(gbkToUtf8(face));
    auto stack = std::make_unique<FaceStack>(library_, std::move(choice), height, width);
    if (stacks_.size() == kKept) {
        stacks_.pop_back();
    }
    stacks_.emplace(stacks_.begin(), Key{face, height, width}, std::move(stack));
    return *stacks_.front().second;
}

} // namespace lumivert
