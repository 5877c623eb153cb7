#include "fuzz/seed_corpus.h"

#include "common/gbk.h"
#include "common/text_file.h"
#include "font/font_table.h"
#include "fuzz/scratch_folder.h"
#include "image/image_store.h"
#include "pages/page_files.h"
#include "picture/jpeg_writer.h"
#include "transfer/upload_journal.h"

#include <cstdint>
#include <functional>
#include <map>
#include <set>

namespace lumivert::fuzz {
namespace {

using Seeds = std::vector<Seed>;

// The input, and the input cut after a quarter, a half, three quarters and all but its last
// byte: a file cut short by a download or a full disk.
void addWithTruncations(Seeds& seeds, const std::string& name, const std::string& bytes) {
    seeds.push_back({name, bytes});
    const std::size_t size = bytes.size();
    std::set<std::size_t> cuts{size / 4, size / 2, 3 * size / 4, size - 1};
    for (const std::size_t cut : cuts) {
        if (cut > 0 && cut < size) {
            seeds.push_back({name + ".cut" + std::to_string(cut), bytes.substr(0, cut)});
        }
    }
}

// Shading with a little noise, so that every stage of the decoder has work to do.
std::vector<std::uint8_t> shadedPixels(int width, int height, int components) {
    std::vector<std::uint8_t> pixels;
    std::uint32_t noise = 12345;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            for (int c = 0; c < components; ++c) {
                noise = noise * 1103515245 + 12345;
                const int shade = (x * 255 / std::max(width, 2) + y * 97 / std::max(height, 2) +
                                   c * 80 + static_cast<int>(noise >> 28)) %
                                  256;
                pixels.push_back(static_cast<std::uint8_t>(shade));
            }
        }
    }
    return pixels;
}

Seeds pictureSeeds() {
    struct Picture {
        const char* name;
        int width;
        int height;
        JpegSettings settings;
    };
    const Picture pictures[] = {
        {"four_colours", 2, 2, {.quality = 100, .fullChroma = true}},
        {"colour_16x16", 16, 16, {}},
        {"colour_17x9_444", 17, 9, {.quality = 75, .fullChroma = true}},
        {"grey_8x8", 8, 8, {.greyscale = true}},
        {"grey_33x7", 33, 7, {.quality = 50, .greyscale = true}},
        {"progressive_24x16", 24, 16, {.progressive = true}},
        {"progressive_grey_16x16", 16, 16, {.greyscale = true, .progressive = true}},
        {"widest_1499x1", 1499, 1, {.quality = 30}},
        {"too_wide_1500x1", 1500, 1, {.quality = 30}},
        {"too_tall_1x1500", 1, 1500, {.quality = 30, .greyscale = true}},
        // Wider than the picture view: only its left part is kept.
        {"wider_than_view_1600x2", 1600, 2, {.quality = 30}},
        {"grey_wider_than_view_1600x2", 1600, 2, {.quality = 30, .greyscale = true}},
    };
    const auto folder = emptyScratchFolder("seeds");
    Seeds seeds;
    for (const Picture& picture : pictures) {
        const auto path = folder / (std::string(picture.name) + ".jpg");
        const auto pixels =
            shadedPixels(picture.width, picture.height, picture.settings.greyscale ? 1 : 3);
        writeJpegFile(path, picture.width, picture.height, pixels, picture.settings);
        addWithTruncations(seeds, picture.name, readWholeFile(path));
    }
    return seeds;
}

Seeds pageFileSeeds() {
    const std::map<std::string, PageRow> rows = {
        {"unused", numberOnlyRow(7)},
        {"two_lines", {"5", utf8ToGbk("描述"), "AB|R|ACD"}},
        {"gbk_content", {"128", " ", utf8ToGbk("DS12(0,0,'串口命令',15);|R|ADS16(0,20,'丨',1);")}},
        // 0x81 0x7C is one character: its "|" starts no marker.
        {"bar_in_character", {"3", "x", "\x81|R|A|R|A"}},
    };
    const auto folder = emptyScratchFolder("seeds");
    Seeds seeds;
    for (const auto& [name, row] : rows) {
        savePageFiles(folder, {row}, {});
        addWithTruncations(seeds, name, readWholeFile(pageFilePath(folder, 1)));
    }
    seeds.push_back({"number_only", "12\r\n"});
    seeds.push_back({"four_lines", "1\r\na\r\nb\r\nc\r\n"});
    seeds.push_back({"bare_breaks", "2\nd\rc\n\r\n"});
    seeds.push_back({"zero_byte", std::string("4\r\nab\0cd\r\ne\r\n", 12)});
    return seeds;
}

// A font definition row's text as the table saves it: twelve cells, each a line.
std::string fontRowText(const std::vector<std::string>& cells) {
    FontTable table;
    std::string text;
    for (const auto& cell : cells) {
        text += cell + "\r\n";
    }
    table.setRowText(1, text);
    const auto folder = emptyScratchFolder("seeds");
    table.save(folder);
    return readWholeFile(folder / "Font1.str");
}

Seeds fontFileSeeds() {
    const std::string face = GlyphParameters{}.face;
    const std::string content = utf8ToGbk("中文字符，汉字ABC");
    const std::map<std::string, std::vector<std::string>> rows = {
        {"full_width", {"1", "24", "24", content, face, "24", "24", "0", "0"}},
        {"half_width", {"2", "12", "24", "ABCabc123", face, "12", "24", "0", "0"}},
        {"leading_zero", {"3", "24", "024", content, face, "24", "24", "-1", "2"}},
        {"not_a_number", {"4", "16", "abc", content, face, "16", "32", "0", "0"}},
        {"huge_dot_size", {"5", "1000000000", "2000000000", content, face, "48", "48", "0", "0"}},
        {"negative_dot_size", {"6", "-32", "-64", content, face, "32", "64", "0", "0"}},
        {"hexadecimal", {"7", "$40", "$40", content, face, "$40", "$40", "$0", "$0"}},
        {"being_edited",
         {"8", "32", "64", " ", face, "32", "64", "0", "0", editingStatus(), "x", "y"}},
    };
    Seeds seeds;
    for (const auto& [name, cells] : rows) {
        addWithTruncations(seeds, name, fontRowText(cells));
    }
    const auto folder = emptyScratchFolder("seeds");
    FontTable().save(folder);
    seeds.push_back({"default_row", readWholeFile(folder / "Font4.str")});
    seeds.push_back({"thirteen_lines", "1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n12\n13\n"});
    return seeds;
}

// The compact form image_store_body.cpp reads: the length in four bytes, then a pattern.
std::string storeDescription(std::uint32_t length, const std::string& pattern) {
    std::string text;
    for (int shift = 0; shift < 32; shift += 8) {
        text.push_back(static_cast<char>(length >> shift & 0xFF));
    }
    return text + pattern;
}

Seeds imageStoreSeeds() {
    constexpr std::uint32_t kSize = ImageStore::kFileSize;
    const std::string erased(1, static_cast<char>(0xFF ^ ImageStore::kMask));
    return {
        {"one_byte", "\x6B"},
        {"two_bytes", "ab"},
        {"empty_file", storeDescription(0, "")},
        {"erased_image", storeDescription(kSize, erased)},
        {"one_short", storeDescription(kSize - 1, erased)},
        {"image_only", storeDescription(kSize - 1, "\x12\x34\x56")},
        {"one_long", storeDescription(kSize + 1, erased + "\x3C")},
        {"three_million", storeDescription(3000000, "pattern")},
        {"one_thousand", storeDescription(1000, std::string("\x6B\x00", 2))},
    };
}

// The first byte, then the text. Appending, never "literal" + temporary: GCC 12's optimiser
// takes that insertion for an overlapping copy.
std::string startingWith(char first, const std::string& text) {
    std::string bytes(1, first);
    bytes += text;
    return bytes;
}

Seeds gbkTextSeeds() {
    return {
        {"console_command",
         startingWith('\x03', utf8ToGbk("DS12(0,0,'串口命令发送区，可以在此书写GPU命令',15);"))},
        {"lines", startingWith('\x01', utf8ToGbk("第一行\r\n第二行\n第三行\r\r\n"))},
        {"split_characters", startingWith('\0', utf8ToGbk("汉字汉字汉字"))},
        {"lone_lead_byte", std::string("\x02"
                                       "ab\x81",
                                       4)},
        {"euro_and_bar", "\x04\x80\x81\x7C|R|A\xA1\xAA"},
        {"utf8", "\x05\xE4\xB8\xAD\xE6\x96\x87 UTF-8"},
        {"malformed", "\x06\xC0\xAF\xED\xA0\x80\xF4\x90\x80\x80\xFF"},
        {"zero_byte", std::string("\x07line\0after\r\n", 13)},
    };
}

Seeds pageRegionSeeds() {
    std::string longText = "A";
    for (int i = 0; i < 550; ++i) {
        longText += utf8ToGbk("汉");
    }
    std::string manyRows;
    for (int page = 1; page <= 130; ++page) {
        manyRows += 'P';
        manyRows += std::to_string(page);
        manyRows += "|R|Aline\n";
    }
    Seeds seeds{
        {"markers", std::string("AB|R|ACD\n  spaced  \n\n|R|A\n")
                        .append(utf8ToGbk("中文|R|A页面"))
                        .append("\n")},
        {"long_text", longText + "\nshort\n"},
        {"many_rows", manyRows},
        {"blanks", " \t\r\n\x01\x20\n"},
    };
    return seeds;
}

// The arguments a user types, UTF-8, separated by zero bytes.
Seeds commandLineSeeds() {
    const std::vector<std::vector<std::string>> runs = {
        {"image", "info"},
        {"image", "export", "image.bin"},
        {"image", "infoo"},
        {"colour", "FF8000"},
        {"colour", "zz"},
        {"picture", "007"},
        {"picture", "\xFF\xFE"},
        {"pictures"},
        {"pages"},
        {"fonts", "ascii"},
        {"fonts", "extracted"},
        {"glyph", "A"},
        {"glyph", "中", "--dots", "24", "--half"},
        {"glyph", "AB", "--face", "WenQuanYi Micro Hei", "--height", "16", "--x", "-2"},
        {"upload", "--forget"},
        {"upload", "gb12", "pages"},
        {"send", "--whole"},
        {"--help"},
        {"picturs"},
    };
    Seeds seeds;
    for (const auto& run : runs) {
        std::string name = "args";
        std::string bytes;
        for (const auto& argument : run) {
            bytes += (bytes.empty() ? "" : std::string(1, '\0')) + argument;
            name += "_";
            for (const char c : argument) {
                name += std::isalnum(static_cast<unsigned char>(c)) != 0 ? c : '-';
            }
        }
        seeds.push_back({name, bytes});
    }
    return seeds;
}

// The module's bytes in the form serial_receive_body.cpp reads.
std::string moduleBytes(std::uint8_t flags, const std::string& replyEnd,
                        const std::vector<std::string>& pieces) {
    std::string bytes(1, static_cast<char>(flags));
    if (!replyEnd.empty()) {
        bytes += static_cast<char>(replyEnd.size() - 1);
        bytes += replyEnd;
    }
    for (const auto& piece : pieces) {
        bytes += static_cast<char>(piece.size());
        bytes += piece;
    }
    return bytes;
}

Seeds serialSeeds() {
    constexpr std::uint8_t kFramed = 1;
    constexpr std::uint8_t kGoesAway = 2;
    const std::vector<std::string> full(20, std::string(255, 'x'));
    return {
        {"answer", moduleBytes(0, "", {"OK\r\n"})},
        {"answer_in_pieces", moduleBytes(0, "", {"O", "K", "\r\n"})},
        {"framed_in_pieces", moduleBytes(kFramed, "\r\n", {"late\r\n", "O", "K\r", "\n"})},
        {"framed_twice", moduleBytes(kFramed, "\r\n", {"OK\r\nOK\r\n"})},
        {"framed_incomplete", moduleBytes(kFramed, "END", {"EN", "E", "N"})},
        {"goes_away", moduleBytes(kGoesAway, "", {"OK"})},
        {"framed_goes_away", moduleBytes(kFramed | kGoesAway, "\n", {"half"})},
        {"control_bytes", moduleBytes(0, "", {std::string("\x11\x13\x00\x7F\xFF\r\n\x03\x1A", 9)})},
        {"more_than_a_read", moduleBytes(0, "", full)},
        {"nothing", moduleBytes(0, "", {})},
    };
}

std::string journalText(const std::map<std::int32_t, std::string>& sectors) {
    UploadJournal journal;
    for (const auto& [number, bytes] : sectors) {
        journal.record(
            number, hashBytes({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()}));
    }
    return journal.text();
}

Seeds journalSeeds() {
    Seeds seeds;
    addWithTruncations(seeds, "empty", journalText({}));
    addWithTruncations(seeds, "sectors", journalText({{0, "a"}, {5, "b"}, {511, "c"}}));
    std::string other = journalText({{1, "d"}});
    other.replace(other.find(" 1\n"), 3, " 2\n");
    seeds.push_back({"other_version", other});
    seeds.push_back({"not_a_journal", "BUP(4096,232)\r"});
    return seeds;
}

} // namespace

std::vector<Seed> seedCorpus(std::string_view harness) {
    static const std::map<std::string_view, std::function<Seeds()>> kMakers = {
        {"jpeg_conversion", pictureSeeds},  {"page_file", pageFileSeeds},
        {"font_file", fontFileSeeds},       {"image_store", imageStoreSeeds},
        {"gbk_text", gbkTextSeeds},         {"page_region", pageRegionSeeds},
        {"command_line", commandLineSeeds}, {"serial_receive", serialSeeds},
        {"upload_journal", journalSeeds},
    };
    const auto found = kMakers.find(harness);
    return found == kMakers.end() ? Seeds{} : found->second();
}

} // namespace lumivert::fuzz
