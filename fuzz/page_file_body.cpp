#include "common/text_file.h"
#include "fuzz/bodies.h"
#include "fuzz/scratch_folder.h"
#include "pages/page_files.h"

namespace lumivert::fuzz {

// What the next start reads of a row: its cells written as lines and split again, an empty
// cell coming back as one space.
void readPageFile(Input input) {
    const PageRow row = pageRowFromText(asText(input));
    for (const std::string& cell : row) {
        expect(cell.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos,
               "a cell of a page file holds no line break and no zero byte");
    }

    const auto folder = emptyScratchFolder("page_file");
    const auto errors = savePageFiles(folder, {row}, {});
    expect(errors.empty(), "a page file can be written");
    const PageRow again = pageRowFromText(readWholeFile(pageFilePath(folder, 1)));
    for (std::size_t cell = 0; cell < row.size(); ++cell) {
        expect(again[cell] == (row[cell].empty() ? " " : row[cell]),
               "a page file written and read again gives its row");
    }
}

} // namespace lumivert::fuzz
