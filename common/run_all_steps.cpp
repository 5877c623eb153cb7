#include "common/run_all_steps.h"

#include <exception>

namespace lumivert {

std::vector<std::string> runAllSteps(std::initializer_list<std::function<void()>> steps) {
    std::vector<std::string> failures;
    for (const auto& step : steps) {
        try {
            step();
        } catch (const std::exception& error) {
            failures.emplace_back(error.what());
        } catch (...) {
            failures.emplace_back("An unknown error occurred.");
        }
    }
    return failures;
}

} // namespace lumivert
