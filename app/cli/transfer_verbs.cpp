#include "app/cli/transfer_verbs.h"

#include "app/cli/module_port.h"
#include "app/cli/stored_workbench.h"
#include "app/cli/terminal_progress.h"
#include "common/gbk.h"
#include "common/gbk_pieces.h"
#include "common/line_split.h"
#include "common/text_file.h"
#include "image/block_rule.h"
#include "transfer/console.h"
#include "transfer/page_files.h"
#include "transfer/page_region.h"
#include "transfer/port_event_host.h"
#include "transfer/region_upload.h"

#include <algorithm>
#include <iostream>
#include <iterator>
#include <map>

namespace lumivert {
namespace {

const std::map<std::string, UploadRegion> kRegionNames = {
    {"gb12", UploadRegion::Font12}, {"gb16", UploadRegion::Font16},
    {"ascii", UploadRegion::Ascii}, {"extracted", UploadRegion::Extracted},
    {"pages", UploadRegion::Pages}, {"pictures", UploadRegion::Pictures},
};

// The pages region from the page files of `src`, as the page upload builds it; the warnings
// of pages cut to fit go to `err`.
void buildPagesFromFiles(Workbench& workbench, std::ostream& err) {
    const LoadedPages loaded = loadPageFiles("src");
    if (!loaded.errors.empty()) {
        std::string message;
        for (const auto& error : loaded.errors) {
            message += (message.empty() ? "" : "\n") + error;
        }
        throw WorkbenchError(message);
    }
    std::vector<std::string> contents;
    for (const PageRow& row : loaded.rows) {
        contents.push_back(row[2]);
    }
    for (const auto& warning : buildPageRegion(workbench.image, workbench.regionMap, contents)) {
        err << warning << '\n';
    }
}

// The command line shows an upload's progress on its terminal line, not in captions.
class NoDisplay : public UploadDisplay {
public:
    void showCaption(const std::string& /*caption*/) override {}
    void showPosition(int /*position*/) override {}
};

class PagesVerb : public Verb {
public:
    CLI::App* declare(CLI::App& parent) override {
        return parent.add_subcommand(
            "pages",
            "Build the pages region of the flash image from the page files src/Page<n>.str");
    }

    void run(VerbStreams& streams) override {
        StoredWorkbench stored;
        buildPagesFromFiles(stored.workbench(), streams.err);
        stored.save();
    }
};

class UploadVerb : public Verb {
public:
    CLI::App* declare(CLI::App& parent) override {
        auto* command = parent.add_subcommand(
            "upload", "Upload regions to the module: gb12 gb16 ascii extracted pages pictures "
                      "(pages is built from the page files first)");
        command->add_option("REGION", regions_, "Regions to upload, in this order")
            ->required()
            ->check(CLI::IsMember(kRegionNames));
        port_.declare(*command);
        return command;
    }

    void run(VerbStreams& streams) override {
        StoredWorkbench stored;
        Workbench& workbench = stored.workbench();
        if (std::find(regions_.begin(), regions_.end(), "pages") != regions_.end()) {
            buildPagesFromFiles(workbench, streams.err);
            stored.save();
        }
        TComm comm(CommSettings::mainWindow());
        ReplyFlag replyFlag;
        comm.setOnReceiveData(
            [&replyFlag](TComm&, const std::uint8_t*, std::uint16_t) { replyFlag.raise(); });
        port_.open(comm);
        for (const auto& name : regions_) {
            const UploadRegion region = kRegionNames.at(name);
            std::int32_t blocks = 0;
            for (const PageRange& range : uploadRanges(region, workbench.regionMap)) {
                blocks += countBlocksToSend(workbench.image, range.start, range.count);
            }
            TerminalProgress progress(streams.err, "upload " + name);
            PortEventHost host(comm, progress);
            ModuleLink link{comm, replyFlag, host};
            NoDisplay display;
            uploadRegion(link, workbench.image, workbench.regionMap, region, display);
            streams.out << name << ": " << blocks << (blocks == 1 ? " block" : " blocks")
                        << " sent\n";
        }
    }

private:
    std::vector<std::string> regions_;
    ModulePortOptions port_;
};

class SendVerb : public Verb {
public:
    CLI::App* declare(CLI::App& parent) override {
        auto* command = parent.add_subcommand(
            "send", "Send console commands (UTF-8 text, a command a line) from FILE or standard "
                    "input to the module, each after the answer to the one before, and print the "
                    "answers");
        command->add_option("FILE", file_, "Text of the commands (default: standard input)");
        command->add_flag("--whole", whole_,
                          "Send the lines trimmed and joined as one command, as the window's "
                          "\"整体发送\" does");
        port_.declare(*command);
        return command;
    }

    void run(VerbStreams& streams) override {
        const std::string text = file_.empty()
                                     ? std::string(std::istreambuf_iterator<char>(std::cin), {})
                                     : readWholeFile(file_);
        const auto lines = splitLines(utf8ToGbk(text));
        TComm comm(CommSettings::mainWindow());
        ReplyFlag replyFlag;
        GbkPieceJoiner answers;
        comm.setOnReceiveData([&](TComm&, const std::uint8_t* bytes, std::uint16_t length) {
            replyFlag.raise();
            streams.out << gbkToUtf8(answers.join({reinterpret_cast<const char*>(bytes), length}))
                        << std::flush;
        });
        port_.open(comm);
        TerminalProgress progress(streams.err, "send");
        PortEventHost host(comm, progress);
        ModuleLink link{comm, replyFlag, host};
        const EchoLine noEcho = [](const std::string&) {};
        if (whole_) {
            sendWhole(link, lines, noEcho);
        } else {
            sendLineByLine(link, lines, noEcho);
        }
        printLateAnswers(comm);
    }

private:
    // An answer may come in more than one piece: the rest of the last one is printed as well,
    // until the line has been quiet for two read intervals.
    void printLateAnswers(TComm& comm) const {
        const std::chrono::milliseconds quiet(2 * port_.readInterval + 50);
        while (comm.waitForEvents(quiet)) {
            comm.dispatchPending();
        }
    }

    std::string file_;
    bool whole_ = false;
    ModulePortOptions port_;
};

} // namespace

std::vector<DeclaredVerb> declareTransferVerbs(CLI::App& parent) {
    std::vector<DeclaredVerb> verbs;
    verbs.push_back(declare(parent, std::make_unique<PagesVerb>()));
    verbs.push_back(declare(parent, std::make_unique<UploadVerb>()));
    verbs.push_back(declare(parent, std::make_unique<SendVerb>()));
    return verbs;
}

} // namespace lumivert
