#include "app/window/image_box.h"
#include "font/full_set_font.h"
#include "font/glyph_preview.h"
#include "image/image_store.h"
#include "tests/font/font_generation_fixtures.h"
#include "tests/window/window_fixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <fstream>

namespace lumivert::testing {
namespace {

// Every control a generation locks.
const char* const kLocked[] = {
    "Button2",  "Button3",  "Button4",  "Button5",  "Button6", "Button8",  "Button9", "Button10",
    "Button11", "Button12", "Button13", "Button18", "sg2",     "up1",      "up2",     "up3",
    "up4",      "up5",      "up6",      "Bsend",    "bsend2",  "Button14", "Button15"};

class FontGenerationTest : public WindowTest {
protected:
    void SetUp() override {
        window = openWindow();
        window->show();
        control<QTabWidget>("PageControl1")->setCurrentIndex(1); // the font tab
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    template <typename Control> Control* control(const char* name) {
        auto* found = window->findChild<Control*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    void press(const char* button) { control<QPushButton>(button)->click(); }

    QString cell(int column, int row) {
        return control<QTableWidget>("sg2")->item(row - 1, column)->text();
    }

    // The receive memo's lines, the unfinished last one included.
    qsizetype memoLines() {
        return control<QPlainTextEdit>("rxmemo")
            ->toPlainText()
            .split(u'\n', Qt::SkipEmptyParts)
            .size();
    }

    const Workbench& workbench() { return window->workbench(); }

    std::unique_ptr<TForm3> window;
};

TEST_F(FontGenerationTest, TheExtractedPassLeavesTheLastRowInTheEditor) {
    const qsizetype linesBefore = memoLines();
    press("Button10");
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
    EXPECT_EQ(imageBytes(workbench(), 14336, 4), (std::vector<std::uint8_t>{0, 0x20, 0, 0x1F}));
    EXPECT_EQ(workbench().generateMode, 0);
    EXPECT_EQ(memoLines(), linesBefore + 4);
    EXPECT_EQ(control<QLineEdit>("Edit2")->text(), QStringLiteral(" "));
    EXPECT_EQ(control<QLineEdit>("zh")->text(), QStringLiteral("64"));
    EXPECT_EQ(control<QLineEdit>("zw")->text(), QStringLiteral("32"));
    EXPECT_EQ(control<QComboBox>("cb1")->currentText(), QStringLiteral("64"));
    EXPECT_TRUE(control<QRadioButton>("rb2")->isChecked());
    for (int row = 1; row <= 8; ++row) {
        EXPECT_EQ(cell(9, row), QStringLiteral("编辑中")) << row;
    }
    EXPECT_FALSE(control<QWidget>("zh")->isEnabled()) << "the editor was opened";
}

// Driven through the generation's own message processing: nothing that moves the cursors,
// writes the image or chooses a row runs; afterwards every control is as it was.
TEST_F(FontGenerationTest, WhileAGenerationRunsTheOtherOperationsChangeNothing) {
    for (const bool editorOpen : {false, true}) {
        SCOPED_TRACE(editorOpen ? "editor open" : "editor closed");
        if (editorOpen) {
            press("Button12");
        }
        for (const char* upload : {"up1", "up2", "up3", "up4", "up5", "up6"}) {
            control<QWidget>(upload)->setEnabled(true);
        }
        std::map<std::string, bool> enabledBefore;
        for (const char* name : kLocked) {
            enabledBefore[name] = control<QWidget>(name)->isEnabled();
        }
        const bool editorBefore = control<QWidget>("zh")->isEnabled();

        bool ran = false;
        QTimer::singleShot(0, window.get(), [&] {
            ran = true;
            EXPECT_EQ(workbench().generateMode, 1);
            const auto image = imageCopy(workbench());
            const std::int32_t writeCursor = workbench().writeCursor;
            const std::int32_t indexCursor = workbench().indexCursor;
            const qsizetype lines = memoLines();
            const QString editorHeight = control<QLineEdit>("zh")->text();
            for (const char* name : kLocked) {
                EXPECT_FALSE(control<QWidget>(name)->isEnabled()) << name;
                if (auto* button = qobject_cast<QPushButton*>(control<QWidget>(name))) {
                    button->click();
                }
            }
            auto* grid = control<QTableWidget>("sg2");
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                              grid->visualItemRect(grid->item(2, 3)).center());
            EXPECT_TRUE(imageCopy(workbench()) == image) << "the image changed";
            EXPECT_EQ(workbench().writeCursor, writeCursor);
            EXPECT_EQ(workbench().indexCursor, indexCursor);
            EXPECT_EQ(memoLines(), lines);
            EXPECT_EQ(control<QLineEdit>("zh")->text(), editorHeight) << "a row was chosen";
        });
        press("Button10");
        EXPECT_TRUE(ran);
        EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();

        for (const char* name : kLocked) {
            EXPECT_EQ(control<QWidget>(name)->isEnabled(), enabledBefore[name]) << name;
        }
        EXPECT_EQ(control<QWidget>("zh")->isEnabled(), editorBefore);
        const qsizetype lines = memoLines();
        press("Button2"); // the test render works again, and stores nothing
        EXPECT_EQ(memoLines(), lines + 1);
        EXPECT_EQ(workbench().writeCursor, 256); // a half-width 64-dot glyph
    }
}

TEST_F(FontGenerationTest, TheSixteenDotSetShowsItsLastGlyph) {
    const qsizetype linesBefore = memoLines();
    press("Button13");
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
    EXPECT_EQ(control<QComboBox>("cb1")->currentText(), QStringLiteral("16"));
    EXPECT_EQ(control<QLineEdit>("Edit2")->text(), QStringLiteral("齄")); // F7 FE
    EXPECT_EQ(memoLines(), linesBefore + kGb2312Codes);
    EXPECT_EQ(workbench().generateMode, 0);
    EXPECT_EQ(workbench().writeCursor, 478784);

    GlyphParameters parameters; // the editor's defaults, at 16 dots
    parameters.dotSize = "16";
    EXPECT_EQ(imageBytes(workbench(), 378016, 32), glyphBytes(parameters, "\xD6\xD0"));
    auto fresh = std::make_unique<Workbench>();
    fresh->reset();
    GlyphRasterizer rasterizer;
    rasterizer.render(*fresh, parameters, "\xF7\xFE");
    QImage expected(kGlyphPreviewSide, kGlyphPreviewSide, QImage::Format_RGB32);
    drawGlyphPreview(rasterizer.bitmap(), rasterizer.cell(),
                     {reinterpret_cast<std::uint32_t*>(expected.bits()), expected.width(),
                      expected.height(), expected.bytesPerLine() / 4});
    EXPECT_TRUE(control<ImageBox>("Image2")->canvas() == expected) << "not the last glyph";
}

TEST_F(FontGenerationTest, AFailingRenderIsShownAndEverythingComesBack) {
    press("Button12");
    control<QLineEdit>("zh")->setText(QStringLiteral("x"));
    press("Button11");
    EXPECT_EQ(messages, QStringList{QStringLiteral("'x' is not a valid integer value")});
    EXPECT_EQ(control<QLineEdit>("Edit2")->text(), QStringLiteral("\u3000")); // A1 A1
    EXPECT_EQ(workbench().generateMode, 0);
    EXPECT_TRUE(control<QWidget>("Button2")->isEnabled());
    EXPECT_TRUE(control<QWidget>("zh")->isEnabled());
}

TEST_F(FontGenerationTest, ClosingTheWindowStopsTheSetAndStillSaves) {
    QTimer::singleShot(0, window.get(), [&] { window->close(); });
    press("Button13");
    EXPECT_LT(workbench().writeCursor, 217088 + 100 * 32);
    window.reset();
    FlashImage stored;
    ImageStore(storePath()).load(stored);
    EXPECT_EQ(stored.load(217088), 0x00); // the blank glyph of A1 A1
    EXPECT_EQ(stored.load(378016), 0xFF);
}

TEST_F(FontGenerationTest, TheAsciiFontComesFromWorkAsc) {
    press("Button18");
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith("Cannot open file \"")) << messages[0].toStdString();
    EXPECT_TRUE(messages[0].endsWith("/work/asc\". No such file or directory."));
    EXPECT_TRUE(workbench().image.isErased(0, kImageSize));

    std::ofstream("work/asc", std::ios::binary) << "ABC";
    press("Button18");
    EXPECT_EQ(messages.size(), 1);
    EXPECT_EQ(imageBytes(workbench(), 479232, 5), (std::vector<std::uint8_t>{'A', 'B', 'C', 0, 0}));
}

} // namespace
} // namespace lumivert::testing
