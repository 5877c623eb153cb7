#include "app/window/image_box.h"
#include "picture/rgb565.h"
#include "tests/picture/picture_fixtures.h"
#include "tests/window/window_fixture.h"

#include <QAction>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <map>

namespace lumivert::testing {
namespace {

// The picture tab of a window in a working directory with a `pic` folder.
class PictureTabTest : public WindowTest {
protected:
    PictureTabTest() {
        std::filesystem::create_directory("pic");
        window_ = openWindow();
        number_ = window_->findChild<QLineEdit*>("Edit3");
        log_ = window_->findChild<QPlainTextEdit*>("picmemo");
        view_ = window_->findChild<ImageBox*>("Image3");
        convertOne_ = window_->findChild<QPushButton*>("Button14");
        convertAll_ = window_->findChild<QPushButton*>("Button15");
    }

    static void picture(const std::string& name, const Pixels& pixels) {
        writePicture(std::filesystem::path("pic") / (name + ".jpg"), pixels,
                     {.quality = 100, .fullChroma = true});
    }

    QRgb viewPixel(int x, int y) const { return view_->canvas().pixel(x, y); }

    bool imageErased() const {
        const auto image = window_->workbench().image.image();
        return std::all_of(image.begin(), image.end(), [](std::uint8_t b) { return b == 0xFF; });
    }

    std::unique_ptr<TForm3> window_;
    QLineEdit* number_ = nullptr;
    QPlainTextEdit* log_ = nullptr;
    ImageBox* view_ = nullptr;
    QPushButton* convertOne_ = nullptr;
    QPushButton* convertAll_ = nullptr;
};

TEST_F(PictureTabTest, PreviewShowsAndLogsThePictureAndWritesNothing) {
    Pixels white = solidPixels(4, 3, 255, 255, 255);
    picture("1", white);
    writeFourColours("pic/7.jpg");
    number_->setText("1");
    convertOne_->click();
    number_->setText("7");
    convertOne_->click();

    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
    EXPECT_EQ(log_->toPlainText(), QStringLiteral("picmemo\n调入：1.jpg (宽:4  高:3)\n处理完成！\n"
                                                  "调入：7.jpg (宽:2  高:2)\n处理完成！\n"));
    EXPECT_EQ(view_->canvas().size(), QSize(1500, 1500));
    EXPECT_EQ(view_->size(), QSize(633, 305));
    EXPECT_EQ(qRed(viewPixel(0, 0)) & 0xF8, 0xF8);
    EXPECT_EQ(qGreen(viewPixel(1, 0)) & 0xFC, 0xFC);
    EXPECT_EQ(qBlue(viewPixel(0, 1)) & 0xF8, 0xF8);
    EXPECT_EQ(viewPixel(1, 1) | 0x070307, qRgb(255, 255, 255));
    EXPECT_EQ(viewPixel(3, 2), qRgb(255, 255, 255)) << "the earlier picture was cleared";
    EXPECT_TRUE(imageErased());
    EXPECT_EQ(window_->workbench().writeCursor, 2 * 12 + 2 * 4);
}

TEST_F(PictureTabTest, FailuresAreShownAndTheWindowGoesOn) {
    writeBytes("pic/3.jpg", {'G', 'I', 'F', '8', '9', 'a'});
    writeFourColours("pic/a.jpg");
    for (const char* text : {"2", "3", "a"}) {
        number_->setText(text);
        convertOne_->click();
    }
    ASSERT_EQ(messages.size(), 3);
    EXPECT_TRUE(messages[0].startsWith("Cannot open file \"")) << messages[0].toStdString();
    EXPECT_TRUE(messages[0].endsWith("/pic/2.jpg\". No such file or directory."));
    EXPECT_TRUE(messages[1].startsWith("JPEG error #")) << messages[1].toStdString();
    EXPECT_EQ(messages[2], QStringLiteral("'a' is not a valid integer value"));
    EXPECT_EQ(log_->toPlainText(), QStringLiteral("picmemo\n调入：a.jpg (宽:2  高:2)\n"));
}

// What the window shows each time the batch lets messages through.
struct Sighting {
    QString number;
    QString lastLine;
    QRgb topLeft;
    bool buttonsEnabled;
    int generateMode;
};

TEST_F(PictureTabTest, BatchShowsEachPictureAndLocksTheConversions) {
    picture("1", solidPixels(3, 3, 255, 0, 0));
    picture("2", solidPixels(3, 3, 0, 255, 0));
    picture("5", solidPixels(3, 3, 0, 0, 255));
    std::vector<Sighting> sightings;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        const QStringList lines = log_->toPlainText().split('\n', Qt::SkipEmptyParts);
        sightings.push_back({number_->text(), lines.back(), viewPixel(0, 0),
                             convertOne_->isEnabled() || convertAll_->isEnabled(),
                             window_->workbench().generateMode});
    });
    watcher.start(0);
    convertAll_->click();
    watcher.stop();

    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
    std::map<QString, QRgb> shown;
    for (const auto& sighting : sightings) {
        EXPECT_EQ(sighting.lastLine, QStringLiteral("处理完成！"));
        EXPECT_FALSE(sighting.buttonsEnabled);
        EXPECT_EQ(sighting.generateMode, 1);
        shown[sighting.number] = sighting.topLeft;
    }
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_GE(qRed(shown["1"]), 248);
    EXPECT_GE(qGreen(shown["2"]), 252);
    EXPECT_GE(qBlue(shown["5"]), 248);

    EXPECT_EQ(number_->text(), "5");
    EXPECT_EQ(log_->toPlainText().count(QStringLiteral("处理完成！")), 3);
    EXPECT_TRUE(convertOne_->isEnabled());
    EXPECT_TRUE(convertAll_->isEnabled());
    EXPECT_EQ(window_->workbench().generateMode, 0);
    EXPECT_EQ(window_->workbench().writeCursor, 1048576 + 3 * 18);
    EXPECT_EQ(window_->workbench().image.load(16384 + 8 * 5 + 7), 36);
}

TEST_F(PictureTabTest, FailingBatchEndsAtThatPicture) {
    picture("1", solidPixels(2, 2, 0, 0, 0));
    writeBytes("pic/2.jpg", {});
    picture("3", solidPixels(2, 2, 0, 0, 0));
    convertAll_->click();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith("JPEG error #")) << messages[0].toStdString();
    EXPECT_EQ(number_->text(), "2");
    EXPECT_EQ(window_->workbench().generateMode, 0);
    EXPECT_EQ(window_->workbench().image.load(16384 + 8 * 3), 0xFF);
    EXPECT_TRUE(convertOne_->isEnabled());
    EXPECT_TRUE(convertAll_->isEnabled());

    // A preview afterwards writes nothing.
    const std::uint8_t before = window_->workbench().image.load(1048576);
    std::filesystem::remove("pic/2.jpg");
    picture("2", solidPixels(2, 2, 255, 255, 255));
    number_->setText("2");
    convertOne_->click();
    EXPECT_EQ(window_->workbench().image.load(1048576), before);
}

// The batch button's context menu has one checkable item; checked, both conversions dither:
// the preview shows the module's colours and the batch stores exactly those.
TEST_F(PictureTabTest, TheBatchMenuItemDithersThePreviewAndTheBatch) {
    ASSERT_EQ(convertAll_->contextMenuPolicy(), Qt::ActionsContextMenu);
    ASSERT_EQ(convertAll_->actions().size(), 1);
    QAction* dither = convertAll_->actions().front();
    EXPECT_EQ(dither->text(), QStringLiteral("抖动（减少色带）"));
    EXPECT_TRUE(dither->isCheckable());
    EXPECT_FALSE(dither->isChecked());

    constexpr int kSide = 24;
    picture("1", photoPixels(kSide, kSide, false));
    const auto pixelBytes = [&] {
        std::vector<std::uint8_t> bytes;
        for (std::int64_t i = 0; i < std::int64_t{2} * kSide * kSide; ++i) {
            bytes.push_back(window_->workbench().image.load(1048576 + i));
        }
        return bytes;
    };
    convertAll_->click();
    const std::vector<std::uint8_t> truncated = pixelBytes();

    dither->setChecked(true);
    number_->setText("1");
    convertOne_->click();
    std::vector<QRgb> preview;
    for (int x = 0; x < kSide; ++x) {
        for (int y = 0; y < kSide; ++y) {
            preview.push_back(viewPixel(x, y));
        }
    }
    convertAll_->click();
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
    const std::vector<std::uint8_t> dithered = pixelBytes();
    EXPECT_NE(dithered, truncated);
    for (std::size_t i = 0; i < preview.size(); ++i) {
        const Rgb stored =
            rgbOf565(static_cast<std::uint16_t>(dithered[2 * i] << 8 | dithered[2 * i + 1]));
        EXPECT_EQ(preview[i], qRgb(stored.red, stored.green, stored.blue)) << i;
    }
}

} // namespace
} // namespace lumivert::testing
