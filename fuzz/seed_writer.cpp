// Writes the seed corpus of every harness: `fuzz-seeds DIR` makes DIR/<harness>/<seed>.
#include "fuzz/harness.h"
#include "fuzz/scratch_folder.h"
#include "fuzz/seed_corpus.h"

#include <exception>
#include <iostream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: fuzz-seeds DIR\n";
        return 2;
    }
    try {
        const std::filesystem::path root = std::filesystem::absolute(argv[1]);
        for (const auto& harness : lumivert::fuzz::harnesses()) {
            const auto folder = root / harness.name;
            std::filesystem::remove_all(folder);
            for (const auto& seed : lumivert::fuzz::seedCorpus(harness.name)) {
                lumivert::fuzz::writeScratchFile(folder / seed.name, seed.bytes);
            }
        }
    } catch (const std::exception& error) {
        std::cerr << "fuzz-seeds: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
