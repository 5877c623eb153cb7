#pragma once

#include <string>
#include <string_view>

namespace lumivert {

// Conversions between UTF-8 (the widgets, the terminal) and GBK, code page 936 (everything
// the core, the files and the module handle).
//
// Neither conversion fails on its input: a character that GBK cannot hold becomes one '?',
// and so does each byte that is not valid in the source encoding; the conversion goes on
// after it. Both throw WorkbenchError only when the system has no GBK converter at all.

std::string utf8ToGbk(std::string_view utf8);
std::string gbkToUtf8(std::string_view gbk);

} // namespace lumivert
