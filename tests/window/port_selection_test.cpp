#include "app/ports/serial_port_list.h"
#include "app/window/long_operation.h"
#include "tests/support/pty_pair.h"
#include "tests/window/window_fixture.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

namespace lumivert::testing {
namespace {

using std::chrono::milliseconds;

const QString kOpenFailed = QStringLiteral("打开串口出错\r\n此串口不存在或被占用");
const char* const kSendButtons[] = {"up1", "up2", "up3", "up4", "up5", "up6", "Bsend", "bsend2"};

// Runs the window's event loop until `done` holds or `timeout` passes: each round waits for
// the next event, the port's among them, or 10 ms.
bool processEventsUntil(const std::function<bool()>& done,
                        milliseconds timeout = std::chrono::seconds(5)) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeout.count()) {
            return false;
        }
        QEventLoop round;
        QTimer::singleShot(10, &round, &QEventLoop::quit);
        round.exec();
    }
    return true;
}

class PortSelectionTest : public WindowTest {
protected:
    void SetUp() override {
        window = openWindow();
        cbcomm = window->findChild<QComboBox*>("cbcomm");
        button = window->findChild<QPushButton*>("Button1");
        rxmemo = window->findChild<QPlainTextEdit*>("rxmemo");
    }

    void openOn(const std::string& path) {
        cbcomm->setEditText(QString::fromStdString(path));
        button->click();
    }

    std::vector<std::string> enabledSendButtons() const {
        std::vector<std::string> enabled;
        for (const char* name : kSendButtons) {
            if (window->findChild<QPushButton*>(name)->isEnabled()) {
                enabled.emplace_back(name);
            }
        }
        return enabled;
    }

    std::unique_ptr<TForm3> window;
    QComboBox* cbcomm = nullptr;
    QPushButton* button = nullptr;
    QPlainTextEdit* rxmemo = nullptr;
    PtyPair pty;
};

TEST(PortListTest, IsSortedIgnoringCaseAndNamesTheFirstPort) {
    TempFolder folder;
    std::filesystem::create_directory(folder / "src");
    std::filesystem::create_directory(folder / "work");
    WorkingDirectory inFolder(folder.path());
    ScopedSerialPortSource ports([] {
        std::vector<SerialPortEntry> entries;
        for (const char* name : {"COM2", "com3", "COM10", "COM1"}) {
            entries.emplace_back().name = name;
        }
        return entries;
    });
    TForm3 window([](const QString&) {});
    auto* cbcomm = window.findChild<QComboBox*>("cbcomm");
    QStringList items;
    for (int i = 0; i < cbcomm->count(); ++i) {
        items << cbcomm->itemText(i);
    }
    EXPECT_EQ(items, QStringList({"COM1", "COM10", "COM2", "com3"}));
    EXPECT_EQ(cbcomm->currentText(), "COM1");
    EXPECT_EQ(window.comm1().CommName(), "COM1");
    EXPECT_EQ(window.comm1().BaudRate(), 115200u);
    EXPECT_FALSE(window.comm1().Outx_XonXoffFlow());
    EXPECT_EQ(window.comm1().WriteTotalTimeoutMultiplier(), 2u);

    cbcomm->setEditText("/dev/pts/3");
    EXPECT_EQ(window.comm1().CommName(), "/dev/pts/3");
}

TEST_F(PortSelectionTest, OpeningEnablesTheSendButtonsAndClosingLeavesThemSo) {
    EXPECT_TRUE(enabledSendButtons().empty());
    openOn(pty.path());
    ASSERT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
    EXPECT_TRUE(window->comm1().isOpen());
    EXPECT_EQ(button->text(), QStringLiteral("关闭"));
    EXPECT_EQ(enabledSendButtons().size(), 8u);

    // Another name serves the next opening only.
    PtyPair other;
    cbcomm->setEditText(QString::fromStdString(other.path()));
    button->click();
    EXPECT_FALSE(window->comm1().isOpen());
    EXPECT_EQ(button->text(), QStringLiteral("打开"));
    EXPECT_EQ(enabledSendButtons().size(), 8u);

    button->click();
    EXPECT_TRUE(window->comm1().isOpen());
    window->comm1().WriteData(reinterpret_cast<const std::uint8_t*>("?"), 1);
    EXPECT_EQ(other.receive(1, std::chrono::seconds(5)).size(), 1u);
    EXPECT_EQ(pty.waitingBytes(), 0);
}

TEST_F(PortSelectionTest, TheRateIsTheShownItemsAtEachOpening) {
    auto* btl = window->findChild<QComboBox*>("btl");
    btl->setCurrentIndex(7);
    openOn(pty.path());
    EXPECT_EQ(window->comm1().BaudRate(), 256000u);
    button->click();

    btl->setEditText("12345");
    button->click();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0], "'' is not a valid integer value");
    EXPECT_FALSE(window->comm1().isOpen());
    EXPECT_EQ(button->text(), QStringLiteral("打开"));
}

// A failed opening shows the error and leaves the button closed, so the next press opens.
TEST_F(PortSelectionTest, AFailedOpeningLeavesTheButtonClosed) {
    openOn("lumivert-no-such-port");
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0], kOpenFailed);
    EXPECT_EQ(button->text(), QStringLiteral("打开串口"));
    EXPECT_FALSE(window->comm1().isOpen());
    EXPECT_TRUE(enabledSendButtons().empty());

    button->click();
    EXPECT_EQ(messages.size(), 2) << "the second press did not try again";
    openOn(pty.path());
    EXPECT_EQ(messages.size(), 2);
    EXPECT_TRUE(window->comm1().isOpen());
    EXPECT_EQ(button->text(), QStringLiteral("关闭"));
}

// Opening during a long operation, which holds the send buttons locked: they come back
// enabled when it ends.
TEST_F(PortSelectionTest, ButtonsEnabledDuringALongOperationStayEnabledAfterIt) {
    {
        LongOperation operation(*window);
        openOn(pty.path());
        EXPECT_TRUE(enabledSendButtons().empty());
    }
    EXPECT_EQ(enabledSendButtons().size(), 8u);
}

// Received bytes join the memo's last line as GBK text, a character split between two
// receive events whole, each event up to a zero byte; every event raises the reply flag.
TEST_F(PortSelectionTest, ReceivedTextAppearsInTheMemoAndRaisesTheReplyFlag) {
    window->comm1().setReadIntervalTimeout(10);
    openOn(pty.path());
    ASSERT_TRUE(window->comm1().isOpen());
    EXPECT_FALSE(window->replyFlag().raised());

    pty.send(std::string("OK\xB4"));
    ASSERT_TRUE(processEventsUntil([&] { return window->replyFlag().raised(); }));
    pty.send(std::string("\xAE\xBF\xDA\r\nnext"));
    ASSERT_TRUE(
        processEventsUntil([&] { return rxmemo->toPlainText().endsWith(QStringLiteral("next")); }));
    EXPECT_EQ(rxmemo->toPlainText(), QStringLiteral("串口命令接收区OK串口\nnext"));

    pty.send(std::string("A\0hidden", 8));
    ASSERT_TRUE(processEventsUntil(
        [&] { return rxmemo->toPlainText().endsWith(QStringLiteral("nextA")); }));
    // Bytes come in order: once the last one shows, "hidden" would have shown before it.
    pty.send(std::string("!"));
    ASSERT_TRUE(
        processEventsUntil([&] { return rxmemo->toPlainText().endsWith(QStringLiteral("!")); }));
    EXPECT_FALSE(rxmemo->toPlainText().contains(QStringLiteral("hidden")));
}

// The device goes away with the port open: the window closes it at once and says so; the
// button is back to its first caption, the send buttons stay enabled, and the next press
// opens again.
TEST_F(PortSelectionTest, APortWhosePeerWentAwayIsClosedAtOnce) {
    openOn(pty.path());
    pty.closePeer();
    ASSERT_TRUE(processEventsUntil([&] { return !window->comm1().isOpen(); }));
    EXPECT_EQ(button->text(), QStringLiteral("打开串口"));
    EXPECT_TRUE(rxmemo->toPlainText().contains(
        QString::fromStdString("\n串口已断开：" + pty.path() + "\n")))
        << rxmemo->toPlainText().toStdString();
    EXPECT_EQ(enabledSendButtons().size(), 8u);
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();

    PtyPair next;
    openOn(next.path());
    EXPECT_TRUE(window->comm1().isOpen());
    EXPECT_EQ(button->text(), QStringLiteral("关闭"));
}

} // namespace
} // namespace lumivert::testing
