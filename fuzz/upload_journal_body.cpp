#include "fuzz/bodies.h"
#include "fuzz/scratch_folder.h"
#include "transfer/upload_journal.h"

namespace lumivert::fuzz {
namespace {

// A file much larger than a journal of every Sector (about 20 KB) is not read as one.
constexpr std::size_t kLongestJournal = 1 << 16;

// A journal that reads is written back as it was read, and reads again.
void expectReadsBack(const UploadJournal& journal) {
    const std::string text = journal.text();
    std::string problem;
    const auto again = UploadJournal::fromText(text, problem);
    expect(again.has_value() && problem.empty(), "a journal written reads again");
    expect(again->text() == text, "a journal read again is the journal written");
}

// Reads `text` as a journal; returns whether it is one.
bool read(std::string_view text) {
    std::string problem;
    const auto journal = UploadJournal::fromText(text, problem);
    expect(journal.has_value() == problem.empty(), "a journal that does not read says why");
    if (journal) {
        expectReadsBack(*journal);
    }
    return journal.has_value();
}

// The same text with a checksum line that matches it, so that what lies before the checksum
// is read line by line.
std::string withChecksum(std::string_view text) {
    const auto bytes = std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    return std::string(text) + "checksum " + hashText(hashBytes(bytes)) + "\n";
}

} // namespace

// The journal as an upload starts with it, from its file; and the input's lines read with a
// checksum that matches.
void readUploadJournal(Input input) {
    const std::string_view text = asText(input);
    const bool journal = read(text);
    read(withChecksum(text));

    const auto path = uploadJournalPath(emptyScratchFolder("upload_journal"));
    writeScratchFile(path, text);
    const LoadedJournal loaded = loadUploadJournal(path);
    expect(loaded.notice.empty() == (journal && text.size() <= kLongestJournal),
           "a journal file is used when it reads, and says why when it cannot be");
}

} // namespace lumivert::fuzz
