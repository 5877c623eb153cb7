#pragma once

#include <string>

namespace lumivert {

// "1.1.0", or "1.1.0 (revision 0123456789ab)" for a program built from a git checkout; the
// revision ends in "-modified" when tracked files differed from it.
std::string programVersion();

} // namespace lumivert
