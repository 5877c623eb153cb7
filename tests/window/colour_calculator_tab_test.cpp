#include "tests/window/window_fixture.h"

#include <QColorDialog>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace lumivert::testing {
namespace {

class ColourCalculatorTabTest : public WindowTest {
protected:
    ColourCalculatorTabTest() {
        window_ = openWindow();
        input_ = window_->findChild<QLineEdit*>("Edit4");
        decimal_ = window_->findChild<QLineEdit*>("Edit5");
        caption_ = window_->findChild<QLabel*>("hexcolor");
        swatch_ = window_->findChild<QFrame*>("pcolor");
        convert_ = window_->findChild<QPushButton*>("Button16");
        pick_ = window_->findChild<QPushButton*>("Button17");
    }

    // The colour dialog as a user would answer it: browses to `colour`, then confirms or
    // cancels. Records the colour the dialog opened on.
    void answerDialog(QColor colour, bool confirm) {
        window_->setColourDialogRunner([this, colour, confirm](QColorDialog& dialog) {
            openedOn_.push_back(dialog.currentColor());
            dialog.setCurrentColor(colour);
            confirm ? dialog.accept() : dialog.reject();
            return dialog.result();
        });
    }

    QColor swatchColour() const { return swatch_->palette().color(QPalette::Window); }

    std::unique_ptr<TForm3> window_;
    QLineEdit* input_ = nullptr;
    QLineEdit* decimal_ = nullptr;
    QLabel* caption_ = nullptr;
    QFrame* swatch_ = nullptr;
    QPushButton* convert_ = nullptr;
    QPushButton* pick_ = nullptr;
    std::vector<QColor> openedOn_;
};

TEST_F(ColourCalculatorTabTest, ConvertsAndKeepsTheOutputsOnAnError) {
    convert_->click();
    EXPECT_EQ(decimal_->text(), "63488");
    EXPECT_EQ(caption_->text(), "(0xF800)");

    input_->setText("FF0000 ");
    convert_->click();
    input_->setText("");
    convert_->click();
    EXPECT_EQ(messages, (QStringList{"'$FF0000 ' is not a valid integer value",
                                     "'$' is not a valid integer value"}));
    EXPECT_EQ(decimal_->text(), "63488");
    EXPECT_EQ(caption_->text(), "(0xF800)");
}

TEST_F(ColourCalculatorTabTest, ChosenColourGoesIntoTheInputAndTheSwatch) {
    const QColor background = swatchColour();
    answerDialog(QColor(255, 128, 0), true);
    pick_->click();
    EXPECT_EQ(input_->text(), "FF8000");
    EXPECT_EQ(swatchColour(), QColor(255, 128, 0));
    EXPECT_EQ(decimal_->text(), "") << "the conversion ran";
    EXPECT_EQ(caption_->text(), QStringLiteral("(0x0000）"));
    EXPECT_NE(background, QColor(255, 128, 0));

    answerDialog(QColor(1, 2, 3), false);
    input_->setText("123456");
    pick_->click();
    EXPECT_EQ(input_->text(), "123456");
    EXPECT_EQ(swatchColour(), QColor(255, 128, 0));

    pick_->click();
    ASSERT_EQ(openedOn_.size(), 3u);
    EXPECT_EQ(openedOn_[0], QColor(Qt::black));
    EXPECT_EQ(openedOn_[1], QColor(255, 128, 0));
    EXPECT_EQ(openedOn_[2], QColor(255, 128, 0)) << "a cancelled choice was kept";
    EXPECT_EQ(window_->findChildren<QColorDialog*>().size(), 1);
}

} // namespace
} // namespace lumivert::testing
