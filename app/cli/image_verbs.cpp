#include "app/cli/image_verbs.h"

#include "app/cli/inspect_verbs.h"
#include "app/cli/stored_workbench.h"
#include "common/binary_file.h"
#include "image/region_table.h"

#include <cstdio>
#include <string>

namespace lumivert {
namespace {

std::string hex(std::int64_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%06llX", static_cast<unsigned long long>(value));
    return text;
}

std::string column(std::string text, std::size_t width) {
    text.resize(std::max(text.size(), width), ' ');
    return text;
}

class ImageInfoVerb : public Verb {
public:
    CLI::App* declare(CLI::App& parent) override {
        return parent.add_subcommand(
            "info", "Per region: FlashPages, offsets, bytes that are not 0xFF, blocks to send");
    }

    void run(VerbStreams& streams) override {
        StoredWorkbench stored;
        streams.out << column("region", 18) << column("FlashPages", 12) << column("offsets", 19)
                    << column("used bytes", 12) << "blocks to send\n";
        for (const auto& usage :
             regionUsage(stored.workbench().image, stored.workbench().regionMap)) {
            const Region& region = usage.region;
            streams.out << column(std::string(region.name), 18)
                        << column(std::to_string(region.firstPage) + "-" +
                                      std::to_string(region.firstPage + region.pageCount - 1),
                                  12)
                        << column(hex(region.firstOffset()) + "-" +
                                      hex(region.firstOffset() + region.size() - 1),
                                  19)
                        << column(std::to_string(usage.usedBytes), 12) << usage.blocksToSend
                        << '\n';
        }
    }
};

class ImageExportVerb : public Verb {
public:
    CLI::App* declare(CLI::App& parent) override {
        auto* command =
            parent.add_subcommand("export", "Write the 2,097,152 bytes of the flash image");
        command->add_option("FILE", file_, "File to write")->required();
        return command;
    }

    void run(VerbStreams& /*streams*/) override {
        StoredWorkbench stored;
        writeBinaryFile(file_, stored.workbench().image.image());
    }

private:
    std::string file_;
};

} // namespace

std::vector<DeclaredVerb> declareImageVerbs(CLI::App& parent) {
    auto* image = parent.add_subcommand("image", "Look at the flash image");
    image->require_subcommand(1);
    std::vector<DeclaredVerb> verbs;
    verbs.push_back(declare(*image, std::make_unique<ImageInfoVerb>()));
    verbs.push_back(declare(*image, std::make_unique<ImageExportVerb>()));
    for (auto& verb : declareInspectVerbs(*image)) {
        verbs.push_back(std::move(verb));
    }
    return verbs;
}

} // namespace lumivert
