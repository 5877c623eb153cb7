// The libFuzzer program of a harness: fuzz_<harness name>.
#include "fuzz/harness.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

const lumivert::fuzz::Harness* chosen = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** argv) {
    const std::string program = std::filesystem::path((*argv)[0]).filename().string();
    constexpr std::string_view kPrefix = "fuzz_";
    if (program.starts_with(kPrefix)) {
        chosen = lumivert::fuzz::findHarness(std::string_view(program).substr(kPrefix.size()));
    }
    if (chosen == nullptr) {
        std::fprintf(stderr, "%s: no harness of that name\n", program.c_str());
        std::exit(2);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    chosen->body({data, size});
    return 0;
}
