#pragma once

#include "transfer/sector_hash.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace lumivert {

// What the module holds, as far as the workbench knows: for each Sector it has acknowledged,
// the hash of the 4,096 bytes it now holds there. A Sector not in the journal is unknown.
//
// As a file (work/upload.journal), UTF-8 text, a line each:
//   lumivert upload journal 1
//   <sector number> <hash, 32 hexadecimal digits>      (ascending, once each)
//   checksum <hash of every byte before this line>
class UploadJournal {
public:
    static constexpr int kVersion = 1;

    std::optional<SectorHash> sector(std::int32_t number) const;
    void record(std::int32_t number, const SectorHash& hash) { sectors_[number] = hash; }
    // Returns whether the sector was known.
    bool forget(std::int32_t number) { return sectors_.erase(number) > 0; }
    std::size_t size() const { return sectors_.size(); }

    std::string text() const;

    // The journal a file's text holds; none when the text is not a journal of this version
    // whose checksum matches, with the reason in `problem`.
    static std::optional<UploadJournal> fromText(std::string_view text, std::string& problem);

private:
    std::map<std::int32_t, SectorHash> sectors_;
};

// The upload journal file of a working folder: work/upload.journal.
std::filesystem::path uploadJournalPath(const std::filesystem::path& workFolder = "work");

// The journal as an upload starts with it: read from its file, or empty when the file is
// missing or cannot be used; `notice` then says why in one line, so that an upload of the
// changed Sectors only can tell the user it sends everything.
struct LoadedJournal {
    UploadJournal journal;
    std::string notice;
};
LoadedJournal loadUploadJournal(const std::filesystem::path& path);

// Writes the journal atomically (temporary file, flushed, renamed). Throws WorkbenchError.
void saveUploadJournal(const std::filesystem::path& path, const UploadJournal& journal);

// Deletes the journal file; nothing when there is none. Throws WorkbenchError when it exists
// and cannot be deleted.
void forgetUploadJournal(const std::filesystem::path& path);

} // namespace lumivert
