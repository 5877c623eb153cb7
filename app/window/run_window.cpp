#include "app/window/run_window.h"

#include "app/window/quit_on_signal.h"
#include "app/window/tform3.h"

#include <QApplication>
#include <QFont>
#include <cstdio>
#include <memory>

namespace lumivert {
namespace {

// The toolkit takes its own options (-platform, -style, -session ...) out of the arguments;
// anything it leaves is a mistake of the caller's.
bool argumentsAllUsed(int argc, char** argv) {
    if (argc < 2) {
        return true;
    }
    std::fprintf(stderr, "lumivert: unknown %s \"%s\"\nRun with --help for the list of verbs.\n",
                 argv[1][0] == '-' ? "option" : "argument", argv[1]);
    return false;
}

} // namespace

// Tahoma, 8 points; Chinese text, which Tahoma lacks, in WenQuanYi Micro Hei.
QFont applicationFont() {
    QFont font;
    font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("WenQuanYi Micro Hei")});
    font.setPointSize(8);
    return font;
}

int runWindow(int argc, char** argv) {
    QApplication application(argc, argv);
    if (!argumentsAllUsed(argc, argv)) {
        return 2;
    }
    QApplication::setFont(applicationFont());
    const TerminationSignals terminationSignals;
    return runMainWindow();
}

int runMainWindow() {
    auto window = std::make_unique<TForm3>();
    int status = 0;
    // A signal during the start-up's error dialogs has already ended the run: the event
    // loop would not see it, since it has not started yet.
    if (!TerminationSignals::requested()) {
        window->show();
        status = QApplication::exec();
    }
    window.reset();
    return status;
}

} // namespace lumivert
