#include "common/gbk_pieces.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace lumivert {
namespace {

// "串口" is B4 AE BF DA in GBK.
struct PiecesCase {
    const char* name;
    std::vector<std::string> pieces;
    std::vector<std::string> joined;
};

const PiecesCase piecesCases[] = {
    {"whole characters pass", {"OK\xB4\xAE", "\xBF\xDA\r\n"}, {"OK\xB4\xAE", "\xBF\xDA\r\n"}},
    {"a split character waits", {"OK\xB4", "\xAE\xBF", "\xDA"}, {"OK", "\xB4\xAE", "\xBF\xDA"}},
    {"a lone lead byte waits through an empty piece", {"\xB4", "", "\xAE"}, {"", "", "\xB4\xAE"}},
    // The second byte of a character is a lead byte too; it must not be taken for one.
    {"a trail byte that looks like a lead byte", {"\xB4\xAE", "A"}, {"\xB4\xAE", "A"}},
    {"a lead byte before a byte that cannot trail it", {"\xB4\r", "\xB4"}, {"\xB4\r", ""}},
    {"ascii only", {"BUP(", "80,232)\r"}, {"BUP(", "80,232)\r"}},
};

class GbkPieceJoinerTest : public ::testing::TestWithParam<PiecesCase> {};

TEST_P(GbkPieceJoinerTest, KeepsCharactersWholeAcrossPieces) {
    GbkPieceJoiner joiner;
    std::vector<std::string> joined;
    for (const auto& piece : GetParam().pieces) {
        joined.push_back(joiner.join(piece));
    }
    EXPECT_EQ(joined, GetParam().joined);
}

INSTANTIATE_TEST_SUITE_P(Pieces, GbkPieceJoinerTest, ::testing::ValuesIn(piecesCases),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             for (char& c : name) {
                                 c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             }
                             return name;
                         });

} // namespace
} // namespace lumivert
