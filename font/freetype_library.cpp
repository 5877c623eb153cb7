#include "font/freetype_library.h"

#include "common/workbench_error.h"

namespace lumivert {

FreeTypeLibrary::FreeTypeLibrary() {
    if (FT_Init_FreeType(&library_) != 0) {
        throw WorkbenchError("The font renderer cannot be started.");
    }
}

FreeTypeLibrary::~FreeTypeLibrary() {
    FT_Done_FreeType(library_);
}

} // namespace lumivert
