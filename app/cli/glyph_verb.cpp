#include "app/cli/glyph_verb.h"

#include "app/cli/render_options.h"
#include "common/gbk.h"
#include "common/workbench_error.h"
#include "font/cp936_text.h"
#include "font/glyph_packing.h"
#include "font/glyph_rasterizer.h"

#include <cstdio>
#include <memory>
#include <string>

namespace lumivert {
namespace {

// Rows of dots beyond this are more than a terminal shows.
constexpr std::int32_t kLargestPrintedCell = 1024;

std::string hexByte(std::uint8_t byte) {
    char text[4];
    std::snprintf(text, sizeof text, "%02X", byte);
    return text;
}

// A character as the terminal shows it; a code that stands for no character as its hex.
std::string shown(const TextCharacter& character) {
    std::string gbk;
    if (character.code > 0xFF) {
        gbk += static_cast<char>(character.code >> 8);
    }
    gbk += static_cast<char>(character.code & 0xFF);
    if (character.codePoint == 0) {
        return character.code > 0xFF ? hexByte(static_cast<std::uint8_t>(character.code >> 8)) +
                                           hexByte(static_cast<std::uint8_t>(character.code))
                                     : hexByte(static_cast<std::uint8_t>(character.code));
    }
    return gbkToUtf8(gbk);
}

class GlyphVerb : public Verb {
public:
    CLI::App* declare(CLI::App& parent) override {
        auto* command = parent.add_subcommand(
            "glyph", "Render one glyph: its dots, bytes, width and the face of each character");
        command->add_option("TEXT", text_, "Character(s) to render")->required();
        options_.declare(*command, true);
        return command;
    }

    void run(VerbStreams& streams) override {
        const GlyphParameters parameters = options_.parameters();
        const std::string text = utf8ToGbk(text_);

        auto workbench = std::make_unique<Workbench>();
        workbench->reset();
        GlyphRasterizer rasterizer;
        const std::int32_t width = rasterizer.render(*workbench, parameters, text);
        printDots(streams.out, rasterizer);
        printBytes(streams.out, rasterizer);
        streams.out << "width " << width << '\n';
        printFaces(streams.out, rasterizer, text);
    }

private:
    static void printDots(std::ostream& out, const GlyphRasterizer& rasterizer) {
        const GlyphCell cell = rasterizer.cell();
        if (cell.width > kLargestPrintedCell || cell.height > kLargestPrintedCell) {
            throw WorkbenchError("A cell of " + std::to_string(cell.width) + " x " +
                                 std::to_string(cell.height) + " dots is too large to print.");
        }
        for (int y = 1; y <= cell.height; ++y) {
            std::string row;
            for (int x = 1; x <= cell.width; ++x) {
                row += rasterizer.bitmap().ink(x, y) ? '#' : '.';
            }
            out << row << '\n';
        }
    }

    static void printBytes(std::ostream& out, const GlyphRasterizer& rasterizer) {
        const auto bytes = packGlyph(rasterizer.bitmap(), rasterizer.cell());
        out << "bytes " << bytes.size() << '\n';
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            out << hexByte(bytes[i]) << ((i % 16 == 15 || i + 1 == bytes.size()) ? '\n' : ' ');
        }
    }

    static void printFaces(std::ostream& out, const GlyphRasterizer& rasterizer,
                           const std::string& text) {
        std::vector<TextCharacter> characters;
        decodeCp936(text, characters);
        const auto& faces = rasterizer.facesUsed();
        for (std::size_t i = 0; i < characters.size() && i < faces.size(); ++i) {
            out << shown(characters[i]) << ' ' << faces[i]->family << ": " << faces[i]->path;
            if (faces[i]->index != 0) {
                out << " (face " << faces[i]->index << ')';
            }
            out << '\n';
        }
    }

    std::string text_;
    RenderOptions options_;
};

} // namespace

DeclaredVerb declareGlyphVerb(CLI::App& parent) {
    return declare(parent, std::make_unique<GlyphVerb>());
}

} // namespace lumivert
