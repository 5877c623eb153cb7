#include "tests/support/pty_pair.h"
#include "tests/transfer/upload_check.h"
#include "tests/window/module_window.h"
#include "transfer/region_upload.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>
#include <QTimer>
#include <fstream>
#include <random>

namespace lumivert::testing {
namespace {

using std::chrono::milliseconds;

struct ButtonCase {
    const char* button;
    std::vector<PageRange> ranges;
};

const ButtonCase buttonCases[] = {
    {"up1", {{80, 768}}},   {"up2", {{848, 1024}}},
    {"up6", {{1872, 16}}},  {"up3", {{32, 32}, {1888, 1696}}},
    {"up4", {{3584, 512}}}, {"up5", {{64, 16}, {4096, 4096}}},
};

class UploadsTest : public ModuleWindowTest {
protected:
    // Scattered bytes in every region of the store the window loads.
    void storeScatteredImage() {
        auto workbench = std::make_unique<Workbench>();
        workbench->reset();
        std::mt19937 random(3);
        for (const std::int32_t first : {32, 64, 80, 848, 1872, 1888, 3584, 4096}) {
            workbench->image.store(std::int64_t{first} * 256, 0x00);
            for (int i = 0; i < 10; ++i) {
                const auto offset =
                    std::int64_t{first} * 256 + static_cast<std::int64_t>(random() % 12288);
                workbench->image.store(offset, static_cast<std::uint8_t>(random() % 255));
            }
        }
        storeImage(workbench->image);
    }

    void expectFinishedDisplay() {
        EXPECT_EQ(control<QLabel>("Label13")->text(), QString());
        EXPECT_EQ(control<QProgressBar>("pb1")->value(), 0);
        EXPECT_FALSE(window->longOperationRunning());
    }

    void writePageFile(int page, const std::string& bytes) {
        std::ofstream(std::filesystem::path("src") / ("Page" + std::to_string(page) + ".str"),
                      std::ios::binary)
            << bytes;
    }
};

// Each button sends the blocks of its regions that hold data, in order, one of them at the
// window's own read interval of 100 ms.
TEST_F(UploadsTest, EachButtonSendsTheBlocksOfItsRegionsThatHoldData) {
    storeScatteredImage();
    writePageFile(3, "3\r\n\r\nAB|R|ACD\r\n");
    for (const auto& [button, ranges] : buttonCases) {
        SCOPED_TRACE(button);
        VirtualModule module;
        module.start();
        openOn(module, std::string_view(button) == "up6" ? 100 : 5);
        press(button);
        std::vector<std::int32_t> expected;
        for (const auto& range : ranges) {
            const auto blocks = expectedBlocks(window->workbench().image, range.start, range.count);
            expected.insert(expected.end(), blocks.begin(), blocks.end());
        }
        EXPECT_FALSE(expected.empty());
        expectModuleReceived(module, window->workbench().image, expected);
        expectFinishedDisplay();
    }
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}

// While an upload runs, its progress shows, the other long operations are locked, received
// text keeps appearing and the port can be closed.
TEST_F(UploadsTest, ShowsProgressAndLocksTheOtherOperationsMeanwhile) {
    storeScatteredImage();
    VirtualModuleOptions slow;
    slow.delay = milliseconds(20);
    VirtualModule module(slow);
    module.start();
    openOn(module);
    QStringList captions;
    bool othersLocked = true;
    bool portUsable = true;
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, [&] {
        const QString caption = control<QLabel>("Label13")->text();
        if (captions.isEmpty() || captions.back() != caption) {
            captions << caption;
        }
        othersLocked = othersLocked && !control<QPushButton>("up1")->isEnabled() &&
                       !control<QPushButton>("Bsend")->isEnabled() &&
                       !control<QPushButton>("Button14")->isEnabled();
        portUsable = portUsable && control<QPushButton>("Button1")->isEnabled();
    });
    sampler.start(1);
    press("up1");
    sampler.stop();
    EXPECT_TRUE(captions.contains(QStringLiteral("写入中...(0/191)")))
        << captions.join(' ').toStdString();
    EXPECT_TRUE(othersLocked);
    EXPECT_TRUE(portUsable);
    EXPECT_TRUE(control<QPushButton>("up1")->isEnabled());
    EXPECT_TRUE(memoText("rxmemo").endsWith(QStringLiteral("OK\n")));
    expectFinishedDisplay();
}

TEST_F(UploadsTest, ASilentModuleEndsTheUploadWithAMessage) {
    storeScatteredImage();
    VirtualModuleOptions silent;
    silent.silent = true;
    VirtualModule module(silent);
    module.start();
    openOn(module, 100);
    press("up6");
    ASSERT_EQ(messages, QStringList{QStringLiteral("模块无应答：BUP(1872,232)")});
    EXPECT_TRUE(memoText("rxmemo").endsWith(QStringLiteral("\n模块无应答：BUP(1872,232)\n")));
    EXPECT_EQ(module.commands(), std::vector<std::string>{"BUP(1872,232)"});
    expectFinishedDisplay();
}

// A silent module: only noticing the closed port can end the upload before its time limit,
// which would say the module did not answer.
TEST_F(UploadsTest, ClosingThePortEndsTheUploadAtOnce) {
    storeScatteredImage();
    VirtualModuleOptions silent;
    silent.silent = true;
    VirtualModule module(silent);
    module.start();
    openOn(module);
    QTimer::singleShot(200, window.get(), [this] { press("Button1"); });
    press("up6");
    ASSERT_EQ(messages, QStringList{QStringLiteral("串口已关闭，不再等待应答：BUP(1872,232)")});
    expectFinishedDisplay();

    press("up6");
    ASSERT_EQ(messages.size(), 2);
    EXPECT_EQ(messages[1], QStringLiteral("串口未打开或已断开，无法发送：BUP(1872,232)"));
}

// A silent module: the upload ends without the message its time limit would give.
TEST_F(UploadsTest, ClosingTheWindowEndsTheUploadQuietly) {
    storeScatteredImage();
    VirtualModuleOptions silent;
    silent.silent = true;
    VirtualModule module(silent);
    module.start();
    openOn(module);
    window->show();
    QTimer::singleShot(200, window.get(), [this] { window->close(); });
    press("up5");
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
    EXPECT_EQ(module.commands().size(), 1u);
    expectFinishedDisplay();
}

// The page upload builds the pages region from the list first. Pages 3 and 6 have text, so
// the blocks of pages 1 and 5, which open their sectors, go with theirs; a text too long for
// its slot is cut, with a warning.
TEST_F(UploadsTest, ThePageUploadSendsThePageListAsItStands) {
    writePageFile(3, "3\r\n\r\n AB|R|ACD \r\n");
    writePageFile(6, "6\r\n\r\n" + std::string(1100, 'x') + "\r\n");
    VirtualModule module;
    module.start();
    openOn(module);
    press("up4");
    expectModuleReceived(module, window->workbench().image, {3584, 3592, 3600, 3604});
    const auto flash = module.flash();
    EXPECT_EQ(std::string(flash.begin() + 0xE0800, flash.begin() + 0xE0805),
              std::string("ABCD\0", 5));
    EXPECT_EQ(flash[0xE1400 + 1022], 'x');
    EXPECT_EQ(flash[0xE1400 + 1023], 0x00);
    EXPECT_TRUE(memoText("rxmemo").contains(QStringLiteral("页面 6 的内容有 1100 字节")))
        << memoText("rxmemo").toStdString();
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}

// The group's context menu: both items off at each start.
TEST_F(UploadsTest, TheUploadGroupOffersFramingAndChangedSectorsOff) {
    window = openWindow();
    auto* group = control<QGroupBox>("GroupBox4");
    EXPECT_EQ(group->contextMenuPolicy(), Qt::ActionsContextMenu);
    QStringList items;
    for (const QAction* item : group->actions()) {
        items << item->text();
        EXPECT_TRUE(item->isCheckable());
        EXPECT_FALSE(item->isChecked());
    }
    EXPECT_EQ(items, (QStringList{QStringLiteral("应答以回车换行结束（快速上传）"),
                                  QStringLiteral("只上传改动的扇区")}));
}

// Framed answers: a module that answers in two pieces 30 ms apart never gets a block before
// its answer. Changed sectors only: without a journal everything goes, with a notice; a
// second upload of the unchanged image sends nothing.
TEST_F(UploadsTest, FramedAndChangedOnlyUploadsFromTheMenu) {
    storeScatteredImage();
    VirtualModuleOptions split;
    split.splitPause = milliseconds(30);
    VirtualModule module(split);
    module.start();
    openOn(module);
    control<QAction>("replyFramingItem")->setChecked(true);
    control<QAction>("changedOnlyItem")->setChecked(true);
    press("up1");
    const auto full = module.blocks();
    EXPECT_EQ(full, expectedBlocks(window->workbench().image, 80, 768));
    EXPECT_TRUE(module.protocolErrors().empty()) << module.protocolErrors().front();
    EXPECT_TRUE(memoText("rxmemo").contains(QStringLiteral("没有上传记录")));

    press("up1");
    EXPECT_EQ(module.blocks().size(), full.size());
    EXPECT_TRUE(
        control<QStatusBar>("StatusBar1")->currentMessage().contains(QStringLiteral("跳过")));
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}

// The module's side of the line goes away during an upload: the upload ends at once naming
// the port, and the port is closed as by Button1.
TEST_F(UploadsTest, APortThatGoesAwayEndsTheUploadAndIsClosed) {
    storeScatteredImage();
    PtyPair line;
    window = openWindow();
    control<QComboBox>("cbcomm")->setEditText(QString::fromStdString(line.path()));
    press("Button1");
    QTimer::singleShot(100, window.get(), [&line] { line.closePeer(); });
    press("up6");
    const QString lost = QString::fromStdString("串口已断开：" + line.path());
    ASSERT_EQ(messages, QStringList{lost});
    EXPECT_EQ(memoText("rxmemo").count(lost), 1);
    EXPECT_FALSE(window->comm1().isOpen());
    EXPECT_EQ(control<QPushButton>("Button1")->text(), QStringLiteral("打开串口"));
    EXPECT_TRUE(control<QPushButton>("up6")->isEnabled());
    expectFinishedDisplay();
}

} // namespace
} // namespace lumivert::testing
