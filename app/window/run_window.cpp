#include "app/window/run_window.h"

#include "app/window/quit_on_signal.h"
#include "app/window/tform3.h"

#include <QApplication>
#include <QFont>
#include <memory>

namespace lumivert {
namespace {

// Tahoma, 8 points; Chinese text, which Tahoma lacks, in WenQuanYi Micro Hei.
QFont applicationFont() {
    QFont font;
    font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("WenQuanYi Micro Hei")});
    font.setPointSize(8);
    return font;
}

} // namespace

int runWindow(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setFont(applicationFont());
    quitOnTerminationSignals();
    auto window = std::make_unique<TForm3>();
    window->show();
    const int status = QApplication::exec();
    window.reset();
    return status;
}

} // namespace lumivert
