#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lumivert::fuzz {

// A starting input of a harness's corpus.
struct Seed {
    std::string name;
    std::string bytes;
};

// The seeds of a harness: valid inputs of its kind as the program itself writes them, and
// truncations of them. None for a name that is no harness's.
std::vector<Seed> seedCorpus(std::string_view harness);

} // namespace lumivert::fuzz
