// Makes the demo working directory's 8 x 16 ASCII font: the characters 0x20 to 0x7E drawn by
// the workbench's own glyph rasterizer as half-width 16-dot glyphs of 16 bytes each, one after
// another, then zeros up to the 1,560 bytes the ASCII font region takes. `make demo-asc`
// writes it to demo/work/asc.
#include "common/binary_file.h"
#include "font/ascii_font.h"
#include "font/glyph_packing.h"
#include "font/glyph_rasterizer.h"

#include <exception>
#include <iostream>
#include <memory>
#include <vector>

namespace {

constexpr int kFirstCharacter = 0x20;
constexpr int kLastCharacter = 0x7E;

std::vector<std::uint8_t> asciiFont() {
    lumivert::GlyphParameters parameters;
    parameters.dotSize = "16";
    parameters.halfWidth = true;
    parameters.fontHeight = "16";
    parameters.fontWidth = "8";
    auto workbench = std::make_unique<lumivert::Workbench>();
    workbench->reset();
    lumivert::GlyphRasterizer rasterizer;
    std::vector<std::uint8_t> font;
    for (int character = kFirstCharacter; character <= kLastCharacter; ++character) {
        rasterizer.render(*workbench, parameters, std::string(1, static_cast<char>(character)));
        const auto glyph = lumivert::packGlyph(rasterizer.bitmap(), rasterizer.cell());
        font.insert(font.end(), glyph.begin(), glyph.end());
    }
    font.resize(lumivert::kAsciiFontSize, 0);
    return font;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: demo-asc FILE\n";
        return 2;
    }
    try {
        lumivert::writeBinaryFile(argv[1], asciiFont());
    } catch (const std::exception& error) {
        std::cerr << "demo-asc: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
