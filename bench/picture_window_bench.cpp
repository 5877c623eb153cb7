// One 1499 x 1499 picture through the window: the click of "图片处理" from decoding to the
// picture on the view and the log lines in the memo.
#include "app/window/tform3.h"
#include "tests/picture/picture_fixtures.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <benchmark/benchmark.h>
#include <filesystem>
#include <unistd.h>

namespace {

void BM_WindowConvert1499(benchmark::State& state) {
    const auto folder = std::filesystem::temp_directory_path() /
                        ("lumivert-bench-window-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder / "pic");
    std::filesystem::create_directories(folder / "work");
    std::filesystem::create_directories(folder / "src");
    lumivert::testing::writePicture(folder / "pic" / "1.jpg",
                                    lumivert::testing::photoPixels(1499, 1499, false),
                                    {.quality = 85});
    std::filesystem::current_path(folder);
    {
        QStringList errors;
        lumivert::TForm3 window([&](const QString& message) { errors.push_back(message); });
        window.show();
        auto* button = window.findChild<QPushButton*>("Button14");
        for (auto _ : state) {
            button->click();
            QApplication::processEvents(); // the repaint
        }
        if (!errors.isEmpty()) {
            state.SkipWithError(errors.front().toStdString().c_str());
        }
    }
    std::filesystem::current_path(std::filesystem::temp_directory_path());
    std::filesystem::remove_all(folder);
}

} // namespace

BENCHMARK(BM_WindowConvert1499)->Unit(benchmark::kMillisecond);
