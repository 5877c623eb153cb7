#include "app/cli/font_verbs.h"

#include "app/cli/render_options.h"
#include "app/cli/stored_workbench.h"
#include "app/cli/terminal_progress.h"
#include "font/ascii_font.h"
#include "font/extracted_fonts.h"
#include "font/full_set_font.h"

#include <array>
#include <exception>
#include <functional>
#include <memory>
#include <string>

namespace lumivert {
namespace {

// Runs a generation on the stored image and writes the image back, also when the generation
// fails part-way: what it wrote before stays, as in the window.
void generateInStore(const std::function<void(Workbench&)>& generation) {
    StoredWorkbench stored;
    std::exception_ptr failure;
    try {
        generation(stored.workbench());
    } catch (const std::exception&) {
        failure = std::current_exception();
    }
    stored.save();
    if (failure) {
        std::rethrow_exception(failure);
    }
}

std::string span(std::int64_t first, std::int64_t end) {
    return std::to_string(first) + " to " + std::to_string(end - 1);
}

class FullSetVerb : public Verb {
public:
    explicit FullSetVerb(FullSetFont font)
        : font_(font), options_(font == FullSetFont::Dots12 ? 12 : 16) {}

    CLI::App* declare(CLI::App& parent) override {
        const std::string name = font_ == FullSetFont::Dots12 ? "gb12" : "gb16";
        auto* command =
            parent.add_subcommand(name, std::string("Generate the whole GB2312 set at ") +
                                            fullSetDotSize(font_) + " dots into the flash image");
        options_.declare(*command, false);
        return command;
    }

    void run(VerbStreams& streams) override {
        generateInStore([&](Workbench& workbench) {
            const std::int32_t base = workbench.regionMap.offset(
                font_ == FullSetFont::Dots12 ? RegionMap::Font12Base : RegionMap::Font16Base);
            {
                GlyphRasterizer rasterizer;
                FontGenerationSink shown;
                TerminalProgress progress(streams.err,
                                          std::string("GB2312 ") + fullSetDotSize(font_) + " dots");
                generateFullSetFont(workbench, rasterizer, font_, options_.parameters(), shown,
                                    progress);
            }
            streams.out << kGb2312Codes << " glyphs at " << span(base, workbench.writeCursor)
                        << '\n';
        });
    }

private:
    FullSetFont font_;
    RenderOptions options_;
};

class AsciiVerb : public Verb {
public:
    CLI::App* declare(CLI::App& parent) override {
        return parent.add_subcommand("ascii", std::string("Copy the first 1560 bytes of ") +
                                                  kAsciiFontFile + " into the ASCII font region");
    }

    void run(VerbStreams& /*streams*/) override {
        generateInStore([](Workbench& workbench) { copyAsciiFont(workbench, kAsciiFontFile); });
    }
};

// How many characters each row gave.
class RowTally : public FontGenerationSink {
public:
    void rowLoaded(int row, const FontEditorValues& /*values*/) override { row_ = row; }
    void characterStarting(std::string_view /*character*/) override {
        ++characters[static_cast<std::size_t>(row_)];
    }

    std::array<int, kFontDefinitions + 1> characters{};

private:
    int row_ = 0;
};

class ExtractedVerb : public Verb {
public:
    CLI::App* declare(CLI::App& parent) override {
        return parent.add_subcommand("extracted", "Generate the eight extracted-character fonts "
                                                  "from src/Font<n>.str (or the default rows)");
    }

    void run(VerbStreams& streams) override {
        FontTable table;
        table.load("src");
        generateInStore([&](Workbench& workbench) {
            RowTally tally;
            {
                GlyphRasterizer rasterizer;
                FontEditorState editor;
                TerminalProgress progress(streams.err, "extracted characters");
                generateExtractedFonts(workbench, table, editor, rasterizer, tally, progress);
            }
            for (int row = 1; row <= kFontDefinitions; ++row) {
                const int characters = tally.characters[static_cast<std::size_t>(row)];
                streams.out << "row " << row << ": " << characters
                            << (characters == 1 ? " character\n" : " characters\n");
            }
            streams.out << "glyphs at "
                        << span(workbench.regionMap.offset(RegionMap::ExtractedGlyphBase),
                                workbench.writeCursor)
                        << '\n';
        });
    }
};

} // namespace

std::vector<DeclaredVerb> declareFontVerbs(CLI::App& parent) {
    auto* fonts = parent.add_subcommand("fonts", "Generate the fonts of the flash image");
    fonts->require_subcommand(1);
    std::vector<DeclaredVerb> verbs;
    verbs.push_back(declare(*fonts, std::make_unique<FullSetVerb>(FullSetFont::Dots12)));
    verbs.push_back(declare(*fonts, std::make_unique<FullSetVerb>(FullSetFont::Dots16)));
    verbs.push_back(declare(*fonts, std::make_unique<AsciiVerb>()));
    verbs.push_back(declare(*fonts, std::make_unique<ExtractedVerb>()));
    return verbs;
}

} // namespace lumivert
