#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

namespace lumivert {

// One FreeType library instance; the faces opened with it must go before it does.
class FreeTypeLibrary {
public:
    FreeTypeLibrary();
    ~FreeTypeLibrary();
    FreeTypeLibrary(const FreeTypeLibrary&) = delete;
    FreeTypeLibrary& operator=(const FreeTypeLibrary&) = delete;

    FT_Library get() const { return library_; }

private:
    FT_Library library_ = nullptr;
};

} // namespace lumivert
