#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace lumivert {

// The page list holds pages 1 to 128.
inline constexpr int kPageCount = 128;

// One row of the page list: the page number, the description and the content (its lines
// joined by the line marker), GBK.
using PageRow = std::array<std::string, 3>;

// The row of an unused page: its number alone.
PageRow numberOnlyRow(int page);

// "<folder>/Page<page>.str".
std::filesystem::path pageFilePath(const std::filesystem::path& folder, int page);

// The row a page file's text gives: its lines (ended by CR, LF or CR LF; a zero byte ends the
// text) fill the cells in order, an empty line as one space so that its cell counts as
// filled; lines after the third are dropped, cells without a line stay empty.
PageRow pageRowFromText(std::string_view text);

// The page list as read from the page files of `folder`: pages 1 to 128, a missing file
// giving the row of its number alone. A file that exists but cannot be read gives that row
// too, and is listed in `unreadable` with its error, so that it is not overwritten.
struct LoadedPages {
    std::vector<PageRow> rows;
    std::vector<int> unreadable;
    std::vector<std::string> errors;
};
LoadedPages loadPageFiles(const std::filesystem::path& folder);

// Writes rows 1 to rows.size() to their page files in `folder`, each cell a line ended by
// CR LF, creating the folder when it is missing (throws WorkbenchError when it cannot); the
// pages in `skip` are left alone. Every file is tried; returns the errors.
std::vector<std::string> savePageFiles(const std::filesystem::path& folder,
                                       const std::vector<PageRow>& rows,
                                       const std::vector<int>& skip);

} // namespace lumivert
