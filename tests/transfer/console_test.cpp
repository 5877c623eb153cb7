#include "tests/transfer/linked_module.h"
#include "transfer/console.h"
#include "transfer/transfer_error.h"

#include <gtest/gtest.h>

namespace lumivert::testing {
namespace {

using std::chrono::milliseconds;
using Lines = std::vector<std::string>;

class ConsoleTest : public ::testing::Test {
protected:
    EchoLine echo() {
        return [this](const std::string& line) { echoes.push_back(line); };
    }

    Lines echoes;
};

TEST_F(ConsoleTest, SendsLineByLineOrWhole) {
    struct Case {
        const char* name;
        Lines lines;
        bool whole;
        Lines commands;
        Lines echoes;
    };
    const std::string gbkCommand = "DS12(0,0,'\xB4\xAE\xBF\xDA',15);";
    const Case cases[] = {
        {"two lines", {"AB", "  CD  "}, false, {"AB", "  CD  "}, {"send:AB", "send:  CD  "}},
        {"two lines whole", {"AB", "  CD  "}, true, {"ABCD"}, {"send:ABCD\r"}},
        {"no lines", {}, false, {}, {}},
        {"no lines whole", {}, true, {""}, {"send:\r"}},
        {"an empty line", {"A", "", "B"}, false, {"A", "", "B"}, {"send:A", "send:", "send:B"}},
        {"GBK text", {gbkCommand}, false, {gbkCommand}, {"send:" + gbkCommand}},
    };
    for (const auto& [name, lines, whole, commands, expectedEchoes] : cases) {
        SCOPED_TRACE(name);
        LinkedModule line;
        echoes.clear();
        const TransferEnd end =
            whole ? sendWhole(line.link, lines, echo()) : sendLineByLine(line.link, lines, echo());
        EXPECT_EQ(end, TransferEnd::Finished);
        EXPECT_EQ(line.module.commands(), commands);
        EXPECT_EQ(echoes, expectedEchoes);
        EXPECT_TRUE(line.module.protocolErrors().empty());
    }
}

// Longer than one write takes: the command still leaves whole, in order.
TEST_F(ConsoleTest, ALongLineGoesOutWhole) {
    LinkedModule line;
    std::string longLine;
    for (int i = 0; i < 15000; ++i) {
        longLine += std::to_string(i) + ',';
    }
    ASSERT_GT(longLine.size(), 65535u);
    EXPECT_EQ(sendLineByLine(line.link, {longLine, "END"}, echo()), TransferEnd::Finished);
    EXPECT_EQ(line.module.commands(), (Lines{longLine, "END"}));
}

// A reply that pauses for less than the read interval is one receive event and ends one
// wait. A longer pause splits it: its second piece ends the next wait before the module has
// answered, which the module sees as a command arriving before its reply.
TEST_F(ConsoleTest, ARepliesPauseShorterThanTheReadIntervalEndsOneWait) {
    VirtualModuleOptions split;
    split.splitPause = milliseconds(20);
    LinkedModule line(split, 100);
    EXPECT_EQ(sendLineByLine(line.link, {"A", "B", "C"}, echo()), TransferEnd::Finished);
    EXPECT_EQ(line.receiveEvents, 3);
    EXPECT_TRUE(line.module.protocolErrors().empty()) << line.module.protocolErrors().front();

    VirtualModuleOptions longSplit;
    longSplit.splitPause = milliseconds(150);
    LinkedModule early(longSplit, 20);
    sendLineByLine(early.link, {"A", "B", "C"}, echo());
    EXPECT_FALSE(early.module.protocolErrors().empty());
}

TEST_F(ConsoleTest, ASilentModuleEndsTheSendWithAMessage) {
    VirtualModuleOptions silent;
    silent.silent = true;
    LinkedModule line(silent, 100);
    try {
        sendLineByLine(line.link, {"AB", "CD"}, echo());
        FAIL() << "the send ended without an answer";
    } catch (const TransferError& error) {
        EXPECT_STREQ(error.what(), "模块无应答：AB");
    }
    EXPECT_EQ(line.module.commands(), Lines{"AB"});
    EXPECT_EQ(echoes, Lines{"send:AB"});
}

TEST_F(ConsoleTest, AClosedPortRefusesTheSend) {
    LinkedModule line;
    line.comm.ClosePort();
    try {
        sendWhole(line.link, {"AB"}, echo());
        FAIL() << "a refused write went unnoticed";
    } catch (const TransferError& error) {
        EXPECT_STREQ(error.what(), "串口未打开或已断开，无法发送：AB");
    }
}

} // namespace
} // namespace lumivert::testing
