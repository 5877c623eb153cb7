#pragma once

#include "font/cp936_text.h"
#include "font/face_finder.h"
#include "font/sized_face.h"

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace lumivert {

// The faces that draw text for one face name, font height and width: the chosen face and,
// for a character it lacks, the first installed face that has it, each at its own pixel
// size for the same request. Fallback faces are opened when first needed and kept.
class FaceStack {
public:
    FaceStack(FT_Library library, std::shared_ptr<const FaceChoice> choice, std::int32_t height,
              std::int32_t width);

    SizedFace& chosen() { return *faces_.front(); }

    // The face that draws a character: the chosen face when it has the character or when
    // the code stands for no character; else the first face that has it; else the chosen
    // face, which then draws its missing-glyph shape.
    SizedFace& faceFor(const TextCharacter& character);

private:
    SizedFace& face(std::size_t entry);
    std::size_t fallbackFor(char32_t codePoint);

    FT_Library library_;
    std::shared_ptr<const FaceChoice> choice_;
    std::int32_t height_;
    std::int32_t width_;
    std::vector<std::unique_ptr<SizedFace>> faces_; // by entry of the choice, opened on demand
    std::unordered_map<char32_t, std::size_t> fallbacks_;
};

// The face stacks of the last few face requests, so that switching between the font
// definitions of a generation opens no face twice.
class FaceCache {
public:
    explicit FaceCache(FT_Library library) : library_(library) {}

    // The stack for a face name (GBK), font height and width (0 for natural proportions).
    FaceStack& stack(const std::string& face, std::int32_t height, std::int32_t width);

private:
    struct Key {
        std::string face;
        std::int32_t height;
        std::int32_t width;
    };
    static constexpr std::size_t kKept = 8;

    FT_Library library_;
    std::vector<std::pair<Key, std::unique_ptr<FaceStack>>> stacks_; // most recent first
};

} // namespace lumivert
