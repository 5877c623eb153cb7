#include "app/window/handler_guard.h"
#include "common/workbench_error.h"

#include <QStringList>
#include <functional>
#include <gtest/gtest.h>

namespace lumivert {
namespace {

struct GuardCase {
    const char* what;
    std::function<void()> fail;
    QString expectedMessage;
};

TEST(HandlerGuardTest, ShowsTheMessageOfAFailedHandlerAndSkipsItsRemainingSteps) {
    const GuardCase cases[] = {
        {"workbench error", [] { throw WorkbenchError("'x' is not a valid integer value"); },
         QStringLiteral("'x' is not a valid integer value")},
        {"Chinese message", [] { throw std::runtime_error("串口打开失败"); },
         QStringLiteral("串口打开失败")},
        {"not a std::exception", [] { throw 42; }, QStringLiteral("An unknown error occurred.")},
    };
    for (const auto& testCase : cases) {
        SCOPED_TRACE(testCase.what);
        QStringList messages;
        bool finished = false;
        runHandler(
            [&] {
                testCase.fail();
                finished = true;
            },
            [&](const QString& message) { messages.push_back(message); });
        EXPECT_FALSE(finished);
        EXPECT_EQ(messages, QStringList{testCase.expectedMessage});
    }
}

TEST(HandlerGuardTest, GoesOnAfterAFailure) {
    QStringList messages;
    const auto report = [&](const QString& message) { messages.push_back(message); };
    runHandler([] { throw WorkbenchError("first"); }, report);
    int runs = 0;
    runHandler([&] { ++runs; }, report);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(messages, QStringList{QStringLiteral("first")});
}

} // namespace
} // namespace lumivert
