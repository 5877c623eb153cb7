#include "app/window/long_operation.h"
#include "app/window/memo_log.h"
#include "tests/window/window_fixture.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

namespace lumivert::testing {
namespace {

using LongOperationTest = WindowTest;

TEST_F(LongOperationTest, LocksTheOtherOperationsAndGivesEachControlItsStateBack) {
    auto window = openWindow();
    auto* render = window->findChild<QPushButton*>("Button2");
    auto* commit = window->findChild<QPushButton*>("Button4"); // disabled with the editor
    auto* upload = window->findChild<QPushButton*>("up5");
    auto* grid = window->findChild<QTableWidget*>("sg2");
    upload->setEnabled(true);
    ASSERT_TRUE(render->isEnabled());
    ASSERT_FALSE(commit->isEnabled());
    {
        LongOperation operation(*window);
        EXPECT_TRUE(window->longOperationRunning());
        for (QWidget* control : {static_cast<QWidget*>(render), static_cast<QWidget*>(upload),
                                 static_cast<QWidget*>(grid)}) {
            EXPECT_FALSE(control->isEnabled()) << control->objectName().toStdString();
        }
        { LongOperation inner(*window); }
        EXPECT_FALSE(render->isEnabled()) << "an inner operation unlocked the controls";
    }
    EXPECT_FALSE(window->longOperationRunning());
    EXPECT_TRUE(render->isEnabled());
    EXPECT_TRUE(upload->isEnabled());
    EXPECT_TRUE(grid->isEnabled());
    EXPECT_FALSE(commit->isEnabled());
}

TEST_F(LongOperationTest, ClosingTheWindowCancelsTheOperation) {
    auto window = openWindow();
    window->show();
    LongOperation operation(*window);
    EXPECT_FALSE(operation.cancelled());
    QTimer::singleShot(0, window.get(), [&] { window->close(); });
    operation.pump();
    EXPECT_TRUE(operation.cancelled());
}

TEST(MemoLogTest, KeepsTheOldMemosLines) {
    QPlainTextEdit memo;
    appendMemoLine(memo, QStringLiteral("24"));
    appendMemoText(memo, QStringLiteral("OK"));
    appendMemoText(memo, QStringLiteral("\r\nAB"));
    appendMemoLine(memo, QStringLiteral("send:X"));
    appendMemoLine(memo, QString());
    EXPECT_EQ(memo.toPlainText().toStdString(), "24\nOK\nAB\nsend:X\n\n");
}

} // namespace
} // namespace lumivert::testing
