#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace lumivert {

// Runs every step, even after one fails, and returns the messages of those that failed,
// in order. Used where a failed step must not cost the user the work of the others.
std::vector<std::string> runAllSteps(std::initializer_list<std::function<void()>> steps);

} // namespace lumivert
