#include "app/cli/transfer_verbs.h"

#include "app/cli/module_port.h"
#include "app/cli/stored_workbench.h"
#include "app/cli/terminal_progress.h"
#include "common/gbk.h"
#include "common/gbk_pieces.h"
#include "common/line_split.h"
#include "common/text_file.h"
#include "pages/page_files.h"
#include "pages/page_region.h"
#include "transfer/console.h"
#include "transfer/port_event_host.h"
#include "transfer/region_upload.h"
#include "transfer/reply_exchange.h"
#include "transfer/transfer_error.h"
#include "transfer/upload_journal.h"
#include "transfer/upload_session.h"

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
    for (const auto& warning : buildPageRegion(workbench.image, workbench.regionMap, loaded.rows)) {
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

// The warning of an upload whose answers came in more pieces than it made exchanges.
void warnOfRunningAhead(std::ostream& err, bool framed) {
    err << "warning: the module's answers came in more pieces than the upload sent commands and "
           "blocks, so it may have run ahead of the module; "
        << (framed ? "check that --reply-end is the end of every answer"
                   : "give --reply-end with the text the module's answers end with, or a longer "
                     "--read-interval")
        << ", and upload again\n";
}

class UploadVerb : public Verb {
public:
    CLI::App* declare(CLI::App& parent) override {
        auto* command = parent.add_subcommand(
            "upload", "Upload regions to the module: gb12 gb16 ascii extracted pages pictures "
                      "(pages is built from the page files first)");
        command->add_option("REGION", regions_, "Regions to upload, in this order")
            ->check(CLI::IsMember(kRegionNames));
        command->add_flag("--changed", changed_,
                          "Send only the sectors that differ from what the upload journal "
                          "work/upload.journal says the module holds");
        command->add_flag("--forget", forget_,
                          "Delete the upload journal first (after the module was changed or "
                          "erased otherwise), so that the next upload sends everything");
        port_.declare(*command, false);
        command->final_callback([this] { checkArguments(); });
        return command;
    }

    void run(VerbStreams& streams) override {
        if (forget_) {
            forgetUploadJournal(uploadJournalPath());
            streams.err << "upload journal deleted\n";
        }
        if (regions_.empty()) {
            return;
        }
        StoredWorkbench stored;
        Workbench& workbench = stored.workbench();
        if (std::find(regions_.begin(), regions_.end(), "pages") != regions_.end()) {
            buildPagesFromFiles(workbench, streams.err);
            stored.save();
        }
        upload(workbench, streams);
    }

private:
    void checkArguments() const {
        if (regions_.empty() && !forget_) {
            throw CLI::RequiredError("REGION");
        }
        if (!regions_.empty() && port_.port.empty()) {
            throw CLI::RequiredError("--port");
        }
    }

    std::vector<UploadRegion> regions() const {
        std::vector<UploadRegion> regions;
        for (const auto& name : regions_) {
            regions.push_back(kRegionNames.at(name));
        }
        return regions;
    }

    void upload(const Workbench& workbench, VerbStreams& streams) const {
        TComm comm(CommSettings::mainWindow());
        ModuleChannel channel(comm);
        port_.open(channel);
        UploadSession session(workbench.image, uploadRanges(regions(), workbench.regionMap),
                              uploadJournalPath(), changed_);
        printNotices(session, streams.err);
        const AnswerCounts before = channel.counts();
        TerminalProgress progress(streams.err, "upload");
        PortEventHost host(comm, progress);
        ModuleLink link{channel, host};
        try {
            for (const auto& name : regions_) {
                uploadOneRegion(link, workbench, name, session, streams.out, progress);
            }
            awaitQuietLine(link);
        } catch (const TransferError&) {
            session.answersOutnumberedExchanges(channel.counts() - before, framed());
            throw;
        }
        progress.clearLine();
        printNotices(session, streams.err);
        if (session.answersOutnumberedExchanges(channel.counts() - before, framed())) {
            warnOfRunningAhead(streams.err, framed());
        }
        if (!progress.toTerminal()) {
            streams.err << "upload: "
                        << session.meter().summary(UploadMeter::Clock::now(),
                                                   session.plan().sectorsSkipped())
                        << '\n';
        }
    }

    // A region is reported sent once its bytes have left the port, on a line of its own: the
    // progress line makes way for it.
    void uploadOneRegion(ModuleLink& link, const Workbench& workbench, const std::string& name,
                         UploadSession& session, std::ostream& out,
                         TerminalProgress& progress) const {
        const UploadRegion region = kRegionNames.at(name);
        std::int64_t blocks = 0;
        for (const PageRange& range : uploadRanges(region, workbench.regionMap)) {
            blocks += session.plan().blocksToSend(range);
        }
        NoDisplay display;
        uploadRegion(link, workbench.image, workbench.regionMap, region, display, session);
        waitUntilSent(link.channel);
        progress.clearLine();
        out << name << ": " << blocks << (blocks == 1 ? " block" : " blocks") << " sent\n";
    }

    static void printNotices(UploadSession& session, std::ostream& err) {
        for (const auto& notice : session.takeNotices()) {
            err << notice << '\n';
        }
    }

    bool framed() const { return !port_.replyEnd.empty(); }

    std::vector<std::string> regions_;
    bool changed_ = false;
    bool forget_ = false;
    ModulePortOptions port_;
};

// The commands of a send as text: a zero byte cannot go in a command (the module's text ends
// there), so text that holds one is refused, naming its line.
std::string commandText(const std::string& file) {
    std::string text = file.empty() ? std::string(std::istreambuf_iterator<char>(std::cin), {})
                                    : readWholeFile(file);
    const std::size_t zero = text.find('\0');
    if (zero != std::string::npos) {
        const auto line =
            1 + std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(zero), '\n');
        throw WorkbenchError((file.empty() ? std::string("standard input") : file) + ", line " +
                             std::to_string(line) +
                             ": a zero byte, which no command can carry; nothing was sent");
    }
    return text;
}

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
        const auto lines = splitLines(utf8ToGbk(commandText(file_)));
        TComm comm(CommSettings::mainWindow());
        ModuleChannel channel(comm);
        GbkPieceJoiner answers;
        channel.setOnReceived([&](const std::uint8_t* bytes, std::uint16_t length) {
            streams.out << gbkToUtf8(answers.join({reinterpret_cast<const char*>(bytes), length}))
                        << std::flush;
        });
        port_.open(channel);
        TerminalProgress progress(streams.err, "send");
        PortEventHost host(comm, progress);
        ModuleLink link{channel, host};
        const EchoLine noEcho = [](const std::string&) {};
        if (whole_) {
            sendWhole(link, lines, noEcho);
        } else {
            sendLineByLine(link, lines, noEcho);
        }
        waitUntilSent(channel);
        takeLateAnswers(channel);
    }

private:
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
