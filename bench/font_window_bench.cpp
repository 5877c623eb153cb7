// The 16-dot GB2312 set through the window: the click of the hidden button "按当前文字参数生产
// 16点阵字体" from the first glyph to the last, with the receive memo growing by a line per
// glyph and the glyph and its enlarged preview shown as the set goes. The target: at most 3 s.
#include "app/window/tform3.h"

#include <QApplication>
#include <QPushButton>
#include <QTabWidget>
#include <benchmark/benchmark.h>
#include <filesystem>
#include <unistd.h>

namespace {

// range(0): the tab in front, 0 the serial tab (where the receive memo shows every line) or
// 1 the font tab (where the generation buttons are).
void BM_WindowFullSet16(benchmark::State& state) {
    const auto folder = std::filesystem::temp_directory_path() /
                        ("lumivert-bench-fonts-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder / "work");
    std::filesystem::create_directories(folder / "src");
    std::filesystem::current_path(folder);
    {
        QStringList errors;
        lumivert::TForm3 window([&](const QString& message) { errors.push_back(message); });
        window.show();
        window.findChild<QTabWidget*>("PageControl1")
            ->setCurrentIndex(static_cast<int>(state.range(0)));
        QApplication::processEvents();
        auto* button = window.findChild<QPushButton*>("Button13");
        for (auto _ : state) {
            button->click();
            QApplication::processEvents(); // the last repaint
        }
        if (!errors.isEmpty()) {
            state.SkipWithError(errors.front().toStdString().c_str());
        }
    }
    std::filesystem::current_path(std::filesystem::temp_directory_path());
    std::filesystem::remove_all(folder);
}

} // namespace

BENCHMARK(BM_WindowFullSet16)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(3);
