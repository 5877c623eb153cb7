#include "common/run_all_steps.h"
#include "common/workbench_error.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace lumivert {
namespace {

TEST(RunAllSteps, RunsEveryStepAndCollectsFailuresInOrder) {
    std::vector<int> ran;
    const auto failures = runAllSteps({
        [&] { ran.push_back(1); },
        [&] {
            ran.push_back(2);
            throw WorkbenchError("first failed");
        },
        [&] {
            ran.push_back(3);
            throw 42;
        },
        [&] {
            ran.push_back(4);
            throw std::runtime_error("last failed");
        },
    });
    EXPECT_EQ(ran, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(failures, (std::vector<std::string>{"first failed", "An unknown error occurred.",
                                                  "last failed"}));
}

} // namespace
} // namespace lumivert
