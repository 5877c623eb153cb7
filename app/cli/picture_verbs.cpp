#include "app/cli/picture_verbs.h"

#include "app/cli/stored_workbench.h"
#include "app/cli/terminal_progress.h"
#include "common/gbk.h"
#include "picture/colour_calculator.h"
#include "picture/picture_batch.h"
#include "picture/picture_conversion.h"

#include <exception>
#include <memory>
#include <string>

namespace lumivert {
namespace {

// The conversion log on standard output, line by line as it grows; a progress line on the
// terminal makes way for each.
class PrintedLog : public PictureSink {
public:
    PrintedLog(std::ostream& out, TerminalProgress* progress) : out_(out), progress_(progress) {}

    void logLine(const std::string& line) override {
        if (progress_ != nullptr) {
            progress_->clearLine();
        }
        out_ << gbkToUtf8(line) << '\n' << std::flush;
    }

private:
    std::ostream& out_;
    TerminalProgress* progress_;
};

class PicturesVerb : public Verb {
public:
    CLI::App* declare(CLI::App& parent) override {
        auto* command = parent.add_subcommand(
            "pictures", "Convert every pic/<n>.jpg, n = 1 to 512, into the flash image");
        command->add_flag("--dither", dither_,
                          "Floyd-Steinberg error diffusion to the module's colours (no banding)");
        return command;
    }

    // A failing picture ends the batch; the pictures before it stay converted and are saved,
    // as the window keeps them.
    void run(VerbStreams& streams) override {
        StoredWorkbench stored;
        std::exception_ptr failure;
        {
            TerminalProgress progress(streams.err, "pictures");
            PrintedLog log(streams.out, &progress);
            try {
                convertAllPictures(stored.workbench(), log, progress,
                                   dither_ ? ColourReduction::Dither : ColourReduction::Truncate);
            } catch (const std::exception&) {
                failure = std::current_exception();
            }
        }
        stored.save();
        if (failure) {
            std::rethrow_exception(failure);
        }
    }

private:
    bool dither_ = false;
};

class PictureVerb : public Verb {
public:
    CLI::App* declare(CLI::App& parent) override {
        auto* command = parent.add_subcommand(
            "picture", "Convert pic/TEXT.jpg as a preview: print its log lines, change nothing");
        command->add_option("TEXT", text_, "The picture number as typed (007 loads pic/007.jpg)")
            ->required();
        return command;
    }

    // The file name keeps the argument's bytes, which need not be UTF-8 nor fit GBK; the log
    // shows them as text.
    void run(VerbStreams& streams) override {
        auto workbench = std::make_unique<Workbench>();
        workbench->reset();
        PrintedLog log(streams.out, nullptr);
        convertPicture(*workbench, utf8ToGbk(text_), picturePathOfBytes(text_), log);
    }

private:
    std::string text_;
};

class ColourVerb : public Verb {
public:
    CLI::App* declare(CLI::App& parent) override {
        auto* command = parent.add_subcommand(
            "colour", "Print the module's 16-bit colour value, decimal and hex");
        command->add_option("RRGGBB", text_, "The colour as six hexadecimal digits")->required();
        return command;
    }

    void run(VerbStreams& streams) override {
        const ModuleColour colour = convertColourText(utf8ToGbk(text_));
        streams.out << colour.decimal << ' ' << colour.caption << '\n';
    }

private:
    std::string text_;
};

} // namespace

std::vector<DeclaredVerb> declarePictureVerbs(CLI::App& parent) {
    std::vector<DeclaredVerb> verbs;
    verbs.push_back(declare(parent, std::make_unique<PicturesVerb>()));
    verbs.push_back(declare(parent, std::make_unique<PictureVerb>()));
    verbs.push_back(declare(parent, std::make_unique<ColourVerb>()));
    return verbs;
}

} // namespace lumivert
