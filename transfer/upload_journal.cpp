#include "transfer/upload_journal.h"

#include "common/atomic_file.h"
#include "common/file_error.h"
#include "common/folders.h"
#include "common/text_file.h"
#include "image/flash_layout.h"

#include <cerrno>
#include <charconv>
#include <exception>
#include <unistd.h>

namespace lumivert {
namespace {

constexpr std::string_view kHeading = "lumivert upload journal ";
constexpr std::string_view kChecksum = "checksum ";
constexpr std::int32_t kSectorCount = kImageSize / kSectorSize;
// A journal of every Sector takes about 20 KB; anything much larger is not one.
constexpr std::size_t kLongestJournal = 1 << 16;

SectorHash hashOfText(std::string_view text) {
    return hashBytes({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

std::string versionLine() {
    return std::string(kHeading) + std::to_string(UploadJournal::kVersion) + "\n";
}

// Splits off the line at the front of `text`, without its line feed; none when no line feed
// ends it.
std::optional<std::string_view> takeLine(std::string_view& text) {
    const std::size_t end = text.find('\n');
    if (end == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(end + 1);
    return line;
}

std::optional<std::int32_t> sectorNumber(std::string_view digits) {
    std::int32_t number = -1;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (error != std::errc() || end != digits.data() + digits.size() || number < 0 ||
        number >= kSectorCount) {
        return std::nullopt;
    }
    return number;
}

} // namespace

std::optional<SectorHash> UploadJournal::sector(std::int32_t number) const {
    const auto found = sectors_.find(number);
    if (found == sectors_.end()) {
        return std::nullopt;
    }
    return found->second;
}

std::string UploadJournal::text() const {
    std::string text = versionLine();
    for (const auto& [number, hash] : sectors_) {
        text += std::to_string(number) + " " + hashText(hash) + "\n";
    }
    return text + std::string(kChecksum) + hashText(hashOfText(text)) + "\n";
}

std::optional<UploadJournal> UploadJournal::fromText(std::string_view text, std::string& problem) {
    if (!text.starts_with(kHeading)) {
        problem = "不是上传记录";
        return std::nullopt;
    }
    if (!text.starts_with(versionLine())) {
        problem = "版本不符";
        return std::nullopt;
    }
    problem = "已损坏";
    const std::size_t checksumAt = text.rfind(std::string("\n") + std::string(kChecksum));
    if (checksumAt == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view body = text.substr(0, checksumAt + 1);
    std::string_view checksumLine = text.substr(checksumAt + 1 + kChecksum.size());
    if (checksumLine != hashText(hashOfText(body)) + "\n") {
        return std::nullopt;
    }
    std::string_view rest = body.substr(versionLine().size());
    UploadJournal journal;
    std::int32_t previous = -1;
    while (!rest.empty()) {
        const auto line = takeLine(rest);
        const std::size_t space = line ? line->find(' ') : std::string_view::npos;
        if (space == std::string_view::npos) {
            return std::nullopt;
        }
        const auto number = sectorNumber(line->substr(0, space));
        const auto hash = hashFromText(line->substr(space + 1));
        if (!number || !hash || *number <= previous) {
            return std::nullopt;
        }
        journal.record(*number, *hash);
        previous = *number;
    }
    problem.clear();
    return journal;
}

std::filesystem::path uploadJournalPath(const std::filesystem::path& workFolder) {
    return workFolder / "upload.journal";
}

LoadedJournal loadUploadJournal(const std::filesystem::path& path) {
    const std::string name = path.string();
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        return {{}, "没有上传记录 " + name + "，全部上传"};
    }
    std::string text;
    try {
        text = readWholeFile(path);
    } catch (const std::exception& failure) {
        return {{}, "上传记录 " + name + " 无法读取，全部上传：" + failure.what()};
    }
    if (text.size() > kLongestJournal) {
        return {{}, "上传记录 " + name + " 已损坏，全部上传"};
    }
    std::string problem;
    auto journal = UploadJournal::fromText(text, problem);
    if (!journal) {
        return {{}, "上传记录 " + name + " " + problem + "，全部上传"};
    }
    return {std::move(*journal), {}};
}

void saveUploadJournal(const std::filesystem::path& path, const UploadJournal& journal) {
    if (path.has_parent_path()) {
        createFolderIfMissing(path.parent_path());
    }
    const std::string text = journal.text();
    writeFileAtomically(path, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

void forgetUploadJournal(const std::filesystem::path& path) {
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) {
        throw cannotCreateFile(path, errno);
    }
}

} // namespace lumivert
