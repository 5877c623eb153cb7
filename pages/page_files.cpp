#include "pages/page_files.h"

#include "common/folders.h"
#include "common/line_split.h"
#include "common/text_file.h"

#include <algorithm>
#include <exception>

namespace lumivert {

PageRow numberOnlyRow(int page) {
    return {std::to_string(page), {}, {}};
}

std::filesystem::path pageFilePath(const std::filesystem::path& folder, int page) {
    return folder / ("Page" + std::to_string(page) + ".str");
}

PageRow pageRowFromText(std::string_view text) {
    PageRow row;
    const auto lines = splitLines(text);
    for (std::size_t cell = 0; cell < row.size() && cell < lines.size(); ++cell) {
        row[cell] = lines[cell].empty() ? " " : lines[cell];
    }
    return row;
}

LoadedPages loadPageFiles(const std::filesystem::path& folder) {
    LoadedPages loaded;
    for (int page = 1; page <= kPageCount; ++page) {
        const auto path = pageFilePath(folder, page);
        std::error_code ignored;
        if (!std::filesystem::exists(path, ignored)) {
            loaded.rows.push_back(numberOnlyRow(page));
            continue;
        }
        try {
            loaded.rows.push_back(pageRowFromText(readWholeFile(path)));
        } catch (const std::exception& error) {
            loaded.rows.push_back(numberOnlyRow(page));
            loaded.unreadable.push_back(page);
            loaded.errors.emplace_back(error.what());
        }
    }
    return loaded;
}

std::vector<std::string> savePageFiles(const std::filesystem::path& folder,
                                       const std::vector<PageRow>& rows,
                                       const std::vector<int>& skip) {
    createFolderIfMissing(folder);
    std::vector<std::string> errors;
    for (int page = 1; page <= static_cast<int>(rows.size()); ++page) {
        if (std::find(skip.begin(), skip.end(), page) != skip.end()) {
            continue;
        }
        const PageRow& row = rows[static_cast<std::size_t>(page - 1)];
        try {
            writeCrlfTextFile(pageFilePath(folder, page), {row.begin(), row.end()});
        } catch (const std::exception& error) {
            errors.emplace_back(error.what());
        }
    }
    return errors;
}

} // namespace lumivert
