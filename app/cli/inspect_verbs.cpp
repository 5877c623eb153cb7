#include "app/cli/inspect_verbs.h"

#include "app/cli/stored_workbench.h"
#include "common/gbk.h"
#include "common/workbench_error.h"
#include "font/face_coverage.h"
#include "font/font_table.h"
#include "inspect/image_check.h"
#include "inspect/image_listing.h"
#include "inspect/png_file.h"
#include "inspect/region_sheet.h"

#include <string>

namespace lumivert {
namespace {

// The font definition rows the extracted fonts were generated from, as `fonts extracted`
// reads them.
ExtractedRows storedRows(const RegionMap& regions) {
    FontTable table;
    table.load("src");
    return extractedRows(table, regions);
}

void printLines(std::ostream& out, const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        out << gbkToUtf8(line) << '\n';
    }
}

std::string rightAligned(std::int64_t value, std::size_t width) {
    std::string text = std::to_string(value);
    return std::string(width > text.size() ? width - text.size() : 0, ' ') + text;
}

class ImageShowVerb : public Verb {
public:
    CLI::App* declare(CLI::App& parent) override {
        auto* command = parent.add_subcommand(
            "show", "The image decoded as the module reads it, one line an entry");
        command->add_option("TABLE", table_, "extracted, pictures, pages, gb12 or gb16")
            ->required()
            ->check(CLI::IsMember({"extracted", "pictures", "pages", "gb12", "gb16"}));
        command->add_option("--chars", characters_,
                            "The glyphs of these characters as dot rows, from the image's bytes "
                            "(extracted, gb12, gb16)");
        return command;
    }

    void run(VerbStreams& streams) override {
        StoredWorkbench stored;
        const FlashImage& image = stored.workbench().image;
        const RegionMap& regions = stored.workbench().regionMap;
        const std::string characters = utf8ToGbk(characters_);
        if (!characters.empty() && (table_ == "pictures" || table_ == "pages")) {
            throw WorkbenchError("--chars shows glyphs: it goes with extracted, gb12 or gb16.");
        }
        if (table_ == "extracted") {
            const auto entries = readExtractedIndex(image, regions, storedRows(regions));
            printLines(streams.out, characters.empty()
                                        ? listExtracted(entries)
                                        : showExtractedGlyphs(image, entries, characters));
        } else if (table_ == "pictures") {
            printLines(streams.out, listPictures(readPictureIndex(image, regions)));
        } else if (table_ == "pages") {
            printLines(streams.out, listPages(readPageSlots(image, regions)));
        } else {
            const FullSetFont font = table_ == "gb12" ? FullSetFont::Dots12 : FullSetFont::Dots16;
            printLines(streams.out, characters.empty()
                                        ? listFullSet(image, regions, font)
                                        : showFullSetGlyphs(image, regions, font, characters));
        }
    }

private:
    std::string table_;
    std::string characters_;
};

class ImageCheckVerb : public Verb {
public:
    CLI::App* declare(CLI::App& parent) override {
        auto* command = parent.add_subcommand(
            "check", "Check the image as the module will read it; exit 1 on a problem");
        command->add_option("--face", face_,
                            "The face the GB2312 sets were generated with (default 宋体)");
        return command;
    }

    // The problems, the table of the regions, then the summary; a problem makes the verb fail.
    void run(VerbStreams& streams) override {
        StoredWorkbench stored;
        const RegionMap& regions = stored.workbench().regionMap;
        CheckContext context{storedRows(regions)};
        if (!face_.empty()) {
            context.fullSetFace = utf8ToGbk(face_);
        }
        FaceCoverage faces;
        const CheckReport report = checkImage(stored.workbench().image, regions, context, faces);
        printLines(streams.out, report.problems);
        streams.out << "region                used      free  capacity\n";
        for (const RegionFill& region : report.regions) {
            std::string name(region.name);
            name.resize(std::max<std::size_t>(name.size(), 16), ' ');
            streams.out << name << rightAligned(region.used, 10)
                        << rightAligned(region.capacity - region.used, 10)
                        << rightAligned(region.capacity, 10) << '\n';
        }
        if (!report.problems.empty()) {
            const std::size_t count = report.problems.size();
            throw WorkbenchError("The flash image has " + std::to_string(count) +
                                 (count == 1 ? " problem." : " problems."));
        }
        streams.out << report.summary << '\n';
    }

private:
    std::string face_;
};

class ImageRenderVerb : public Verb {
public:
    CLI::App* declare(CLI::App& parent) override {
        auto* command = parent.add_subcommand(
            "render", "A contact sheet of a font region's glyphs or of the pictures (PNG)");
        command->add_option("REGION", region_, "extracted, gb12, gb16, ascii or pictures")
            ->required()
            ->check(CLI::IsMember({"extracted", "gb12", "gb16", "ascii", "pictures"}));
        command->add_option("FILE", file_, "The PNG file to write")->required();
        command->add_option("--chars", characters_, "Only the glyphs of these characters");
        command
            ->add_option("--scale", scale_,
                         "Pixels a dot (default 2 for the fonts, 1 for the pictures)")
            ->check(CLI::Range(1, 16));
        return command;
    }

    void run(VerbStreams& streams) override {
        const SheetRegion region = *sheetRegionNamed(region_);
        const std::string characters = utf8ToGbk(characters_);
        if (!characters.empty() && region == SheetRegion::Pictures) {
            throw WorkbenchError("--chars chooses glyphs: it goes with the font regions.");
        }
        StoredWorkbench stored;
        const RegionMap& regions = stored.workbench().regionMap;
        const auto sections =
            regionSheet(stored.workbench().image, regions, region, storedRows(regions), characters);
        const int scale = scale_ != 0 ? scale_ : region == SheetRegion::Pictures ? 1 : 2;
        const ContactSheet sheet = drawContactSheet(sections, scale);
        writePngFile(file_, sheet.raster);
        const std::size_t items = sheet.origins.size();
        const char* kind = region == SheetRegion::Pictures ? " picture" : " glyph";
        streams.out << items << kind << (items == 1 ? "" : "s") << ", " << sheet.raster.width()
                    << " x " << sheet.raster.height() << " pixels, in " << file_ << '\n';
    }

private:
    std::string region_;
    std::string file_;
    std::string characters_;
    int scale_ = 0;
};

} // namespace

std::vector<DeclaredVerb> declareInspectVerbs(CLI::App& image) {
    std::vector<DeclaredVerb> verbs;
    verbs.push_back(declare(image, std::make_unique<ImageShowVerb>()));
    verbs.push_back(declare(image, std::make_unique<ImageCheckVerb>()));
    verbs.push_back(declare(image, std::make_unique<ImageRenderVerb>()));
    return verbs;
}

} // namespace lumivert
