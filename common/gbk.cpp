#include "common/gbk.h"

#include "common/gbk_chars.h"
#include "common/workbench_error.h"

#include <array>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <iconv.h>

namespace lumivert {
namespace {

// glibc's "GBK" is code page 936 as Windows has it ("CP936" is an alias of the same table):
// the euro sign at 0x80, A1AA the em dash, A844 the horizontal bar.
constexpr const char* gbkName = "GBK";
constexpr const char* utf8Name = "UTF-8";

bool inRange(unsigned char byte, unsigned char low, unsigned char high) {
    return byte >= low && byte <= high;
}

// Length of the well-formed UTF-8 sequence at the start of text, or 0 when the bytes there
// do not form one (stray continuation byte, overlong form, surrogate, past U+10FFFF, cut short).
std::size_t utf8SequenceLength(std::string_view text) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    unsigned char secondLow = 0x80;
    unsigned char secondHigh = 0xBF;
    if (lead < 0x80) {
        return 1;
    }
    if (inRange(lead, 0xC2, 0xDF)) {
        length = 2;
    } else if (inRange(lead, 0xE0, 0xEF)) {
        length = 3;
        secondLow = lead == 0xE0 ? 0xA0 : 0x80;
        secondHigh = lead == 0xED ? 0x9F : 0xBF;
    } else if (inRange(lead, 0xF0, 0xF4)) {
        length = 4;
        secondLow = lead == 0xF0 ? 0x90 : 0x80;
        secondHigh = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (text.size() < length || !inRange(byte(1), secondLow, secondHigh)) {
        return 0;
    }
    for (std::size_t i = 2; i < length; ++i) {
        if (!inRange(byte(i), 0x80, 0xBF)) {
            return 0;
        }
    }
    return length;
}

// Input bytes that one '?' stands for when the converter stops at the start of text.
// A whole character that the target cannot hold is one '?'; a malformed byte is one '?' of
// its own, and the bytes after it are looked at afresh.
std::size_t utf8BytesToReplace(std::string_view text) {
    const std::size_t length = utf8SequenceLength(text);
    return length == 0 ? 1 : length;
}

// A lead byte with a proper trail byte is one (unassigned) character.
std::size_t gbkBytesToReplace(std::string_view text) {
    return gbkCharacterLength(text, 0);
}

class Converter {
public:
    Converter(const char* to, const char* from)
        : to_(to), from_(from), descriptor_(iconv_open(to, from)) {}
    ~Converter() {
        if (available()) {
            iconv_close(descriptor_);
        }
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    std::string convert(std::string_view input, std::size_t (*bytesToReplace)(std::string_view)) {
        if (!available()) {
            throw WorkbenchError(std::string("The system cannot convert text from ") + from_ +
                                 " to " + to_ + ".");
        }
        iconv(descriptor_, nullptr, nullptr, nullptr, nullptr);

        std::string output;
        output.reserve(input.size() + input.size() / 2);
        std::array<char, 4096> buffer;
        // iconv's interface takes a non-const input pointer but never writes through it.
        char* in = const_cast<char*>(input.data());
        std::size_t inLeft = input.size();
        while (inLeft > 0) {
            char* out = buffer.data();
            std::size_t outLeft = buffer.size();
            const std::size_t result = iconv(descriptor_, &in, &inLeft, &out, &outLeft);
            const int error = errno;
            output.append(buffer.data(), static_cast<std::size_t>(out - buffer.data()));
            if (result != static_cast<std::size_t>(-1) || inLeft == 0 || error == E2BIG) {
                continue;
            }
            // EILSEQ (unconvertible or malformed) or EINVAL (cut short at the end).
            std::size_t skip = bytesToReplace(std::string_view(in, inLeft));
            skip = skip == 0 || skip > inLeft ? 1 : skip;
            output += '?';
            in += skip;
            inLeft -= skip;
            iconv(descriptor_, nullptr, nullptr, nullptr, nullptr);
        }
        return output;
    }

private:
    // iconv_open returns (iconv_t)-1 when it has no such converter.
    bool available() const { return reinterpret_cast<std::intptr_t>(descriptor_) != -1; }

    const char* to_;
    const char* from_;
    iconv_t descriptor_;
};

} // namespace

std::string utf8ToGbk(std::string_view utf8) {
    thread_local Converter converter(gbkName, utf8Name);
    return converter.convert(utf8, utf8BytesToReplace);
}

std::string gbkToUtf8(std::string_view gbk) {
    thread_local Converter converter(utf8Name, gbkName);
    return converter.convert(gbk, gbkBytesToReplace);
}

} // namespace lumivert
