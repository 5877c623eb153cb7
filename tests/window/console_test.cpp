#include "common/gbk.h"
#include "tests/window/module_window.h"

namespace lumivert::testing {
namespace {

using Lines = std::vector<std::string>;

class ConsoleWindowTest : public ModuleWindowTest {
protected:
    void SetUp() override { module.start(); }

    void send(const char* button, const QString& text) {
        openOn(module);
        control<QPlainTextEdit>("gscript")->setPlainText(text);
        press(button);
    }

    VirtualModule module;
};

TEST_F(ConsoleWindowTest, SendsLineByLineWithAnEchoBeforeEachAnswer) {
    send("Bsend", QStringLiteral("AB\n  CD  "));
    EXPECT_EQ(module.commands(), (Lines{"AB", "  CD  "}));
    EXPECT_EQ(memoText("rxmemo"), QStringLiteral("串口命令接收区\nsend:AB\nOK\nsend:  CD  \nOK\n"));
    EXPECT_EQ(memoText("gscript"), QStringLiteral("AB\n  CD  ")) << "the send changed the memo";
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}

TEST_F(ConsoleWindowTest, SendsTheTrimmedLinesJoinedAsOneCommand) {
    send("bsend2", QStringLiteral("AB\n  CD  "));
    EXPECT_EQ(module.commands(), Lines{"ABCD"});
    EXPECT_EQ(memoText("rxmemo"), QStringLiteral("串口命令接收区\nsend:ABCD\nOK\n"));
}

TEST_F(ConsoleWindowTest, AnEmptyMemoSendsNothingLineByLineAndALoneReturnWhole) {
    send("Bsend", QString());
    EXPECT_TRUE(module.commands().empty());
    EXPECT_EQ(memoText("rxmemo"), QStringLiteral("串口命令接收区"));
    send("bsend2", QString());
    EXPECT_EQ(module.commands(), Lines{""});
    EXPECT_EQ(memoText("rxmemo"), QStringLiteral("串口命令接收区\nsend:\nOK\n"));
}

// However narrow the memo, a line is the text between line breaks; GBK goes out as GBK.
TEST_F(ConsoleWindowTest, ALineWiderThanTheMemoGoesOutWhole) {
    const QString line =
        QStringLiteral("DS12(0,0,'串口命令发送区，可以在此书写GPU命令，发送到屏',15);").repeated(4);
    openOn(module);
    control<QPlainTextEdit>("gscript")->setFixedWidth(120);
    send("Bsend", line);
    EXPECT_EQ(module.commands(), Lines{utf8ToGbk(line.toStdString())});
    EXPECT_TRUE(memoText("rxmemo").contains(QStringLiteral("send:") + line + u'\n'));
}

} // namespace
} // namespace lumivert::testing
