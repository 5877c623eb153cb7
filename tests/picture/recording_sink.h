#pragma once

#include "common/gbk.h"
#include "picture/picture_sink.h"

#include <string>
#include <vector>

namespace lumivert::testing {

// Keeps what a conversion shows: the log lines (as UTF-8) and the sizes of the pictures drawn,
// and what a batch announces.
class RecordingSink : public PictureSink {
public:
    void pictureStarting(int number) override { numbers.push_back(number); }
    void pictureLoaded(const DecodedPicture& picture) override {
        drawn.push_back(std::to_string(picture.width) + "x" + std::to_string(picture.height));
    }
    void logLine(const std::string& line) override { lines.push_back(gbkToUtf8(line)); }

    std::vector<int> numbers;
    std::vector<std::string> drawn;
    std::vector<std::string> lines;
};

} // namespace lumivert::testing
