// Every harness body over the inputs that once made it fail (tests/regressions/<harness>) and
// over its seeds, so that a fault the fuzzer found stays fixed and the seeds stay valid.
#include "common/text_file.h"
#include "fuzz/harness.h"
#include "fuzz/seed_corpus.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <ostream>

namespace lumivert::fuzz {
namespace {

using Bytes = std::span<const std::uint8_t>;

Bytes bytesOf(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

void runBody(const Harness& harness, const std::string& what, const std::string& bytes) {
    SCOPED_TRACE(what);
    try {
        harness.body(bytesOf(bytes));
    } catch (const std::exception& error) {
        ADD_FAILURE() << harness.name << " on " << what << ": " << error.what();
    }
}

class HarnessReplay : public ::testing::TestWithParam<Harness> {};

} // namespace

// A harness is shown by its name in the test's listing.
void PrintTo(const Harness& harness, std::ostream* out) {
    *out << harness.name;
}

namespace {

TEST_P(HarnessReplay, InputsThatOnceFailedPass) {
    const Harness& harness = GetParam();
    const std::filesystem::path folder =
        std::filesystem::path(LUMIVERT_REGRESSIONS) / std::string(harness.name);
    if (!std::filesystem::exists(folder)) {
        GTEST_SKIP() << "no inputs have failed " << harness.name;
    }
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        runBody(harness, entry.path().string(), readWholeFile(entry.path()));
    }
}

TEST_P(HarnessReplay, SeedsPass) {
    const Harness& harness = GetParam();
    const auto seeds = seedCorpus(harness.name);
    EXPECT_FALSE(seeds.empty());
    for (const Seed& seed : seeds) {
        runBody(harness, seed.name, seed.bytes);
    }
}

INSTANTIATE_TEST_SUITE_P(Harnesses, HarnessReplay,
                         ::testing::ValuesIn(harnesses().begin(), harnesses().end()),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace lumivert::fuzz
