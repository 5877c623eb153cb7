#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

namespace lumivert::fuzz {

using Input = std::span<const std::uint8_t>;

// What the program does with one input it reads, from the bytes on: a harness. Its body returns
// normally for every input; a crash, a leak, undefined behaviour, a hang or a HarnessFault is a
// fault of the program. The name is also that of its corpus, its dictionary and its folder of
// inputs that once failed (tests/regressions/<name>).
struct Harness {
    std::string_view name;
    void (*body)(Input input);
};

// Every harness, in the order `make fuzz` runs them.
std::span<const Harness> harnesses();

// The harness of that name; none when there is no such harness.
const Harness* findHarness(std::string_view name);

// A rule the program broke on an input: thrown by a body, never caught by one.
class HarnessFault : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

// Throws HarnessFault with `rule` unless it holds.
void expect(bool holds, std::string_view rule);

// The input as text: the bytes as they are.
inline std::string_view asText(Input input) {
    return {reinterpret_cast<const char*>(input.data()), input.size()};
}

} // namespace lumivert::fuzz
