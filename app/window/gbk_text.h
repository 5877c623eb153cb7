#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace lumivert {

// The widgets hold Unicode text; the core takes and gives GBK. A character that GBK cannot
// hold becomes '?'.
std::string toGbk(const QString& text);
QString fromGbk(std::string_view gbk);

} // namespace lumivert
