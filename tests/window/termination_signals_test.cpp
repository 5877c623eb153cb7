// A termination signal ends the run whatever dialog is open, and the shutdown still runs.
#include "app/window/quit_on_signal.h"
#include "app/window/run_window.h"
#include "tests/window/window_fixture.h"

#include <QApplication>
#include <QColorDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <chrono>
#include <csignal>
#include <functional>

namespace lumivert::testing {
namespace {

using namespace std::chrono_literals;

struct OpenDialog {
    const char* what;
    bool storeIsAFolder;                    // the start-up reports it in its error dialog
    std::function<bool(QWidget*)> isTheOne; // the modal dialog to wait for
    const char* buttonToClick;              // in the running window, to open it; or none
};

void PrintTo(const OpenDialog& dialog, std::ostream* out) {
    *out << dialog.what;
}

TForm3* shownWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<TForm3*>(widget);
            window != nullptr && window->isVisible()) {
            return window;
        }
    }
    return nullptr;
}

class TerminationSignalTest : public WindowTest,
                              public ::testing::WithParamInterface<OpenDialog> {};

TEST_P(TerminationSignalTest, ClosesTheDialogAndTheWindowAndRunsTheShutdown) {
    const OpenDialog& open = GetParam();
    if (open.storeIsAFolder) {
        std::filesystem::create_directory(storePath());
    }
    const TerminationSignals terminationSignals;

    // Watches the event loops as they run: opens the dialog where a click does it, raises
    // SIGTERM once the dialog is up, and ends everything if the signal was not heeded.
    bool dialogWasOpen = false;
    bool clicked = false;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!dialogWasOpen && modal != nullptr && open.isTheOne(modal)) {
            dialogWasOpen = true;
            ::raise(SIGTERM);
        } else if (open.buttonToClick != nullptr && !clicked && shownWindow() != nullptr) {
            clicked = true;
            // Clicked from an event of its own: the dialog's event loop then runs inside
            // that event, not inside this timer's, which does not fire again until it returns.
            QMetaObject::invokeMethod(shownWindow()->findChild<QPushButton*>(open.buttonToClick),
                                      &QPushButton::click, Qt::QueuedConnection);
        }
    });
    watcher.start(5ms);
    bool watchdogFired = false;
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [&] {
        watchdogFired = true;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            widget->close();
        }
        QCoreApplication::exit(1);
    });
    watchdog.start(20s);

    const int status = runMainWindow();

    EXPECT_TRUE(dialogWasOpen);
    EXPECT_FALSE(watchdogFired) << "the signal left the run going";
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(TerminationSignals::requested());
    // The shutdown wrote the lists back: the font files, and the store unless it is a folder.
    for (int n = 1; n <= 8; ++n) {
        EXPECT_TRUE(std::filesystem::is_regular_file("src/Font" + std::to_string(n) + ".str")) << n;
    }
    EXPECT_EQ(std::filesystem::is_regular_file(storePath()), !open.storeIsAFolder);
}

INSTANTIATE_TEST_SUITE_P(
    Dialogs, TerminationSignalTest,
    ::testing::Values(
        OpenDialog{"startUpErrorDialog", true,
                   [](QWidget* modal) { return qobject_cast<QMessageBox*>(modal) != nullptr; },
                   nullptr},
        OpenDialog{"colourDialog", false,
                   [](QWidget* modal) { return qobject_cast<QColorDialog*>(modal) != nullptr; },
                   "Button17"}),
    [](const auto& info) { return std::string(info.param.what); });

} // namespace
} // namespace lumivert::testing
