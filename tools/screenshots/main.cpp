// Takes the README's screenshots: opens the window offscreen on a fresh copy of the demo
// working folder, brings each tab to a state worth showing through its own buttons, and
// grabs it into a PNG file. `make screenshots` writes them to docs/screenshots.
#include "app/window/run_window.h"
#include "app/window/tform3.h"
#include "tools/virtual-module/virtual_module.h"

#include <QApplication>
#include <QComboBox>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>

namespace {

using lumivert::TForm3;

// The window's repaints that wait on a short timer (the generation display, the memos).
void settle() {
    QEventLoop loop;
    QTimer::singleShot(300, &loop, &QEventLoop::quit);
    loop.exec();
}

template <typename Control> Control& control(TForm3& window, const char* name) {
    auto* found = window.findChild<Control*>(name);
    if (found == nullptr) {
        throw std::runtime_error(std::string("the window has no control ") + name);
    }
    return *found;
}

void press(TForm3& window, const char* button) {
    control<QPushButton>(window, button).click();
    settle();
}

class Shooter {
public:
    Shooter(TForm3& window, std::filesystem::path folder)
        : window_(window), folder_(std::move(folder)) {}

    void grab(int tab, const char* name) {
        control<QTabWidget>(window_, "PageControl1").setCurrentIndex(tab);
        settle();
        const auto file = folder_ / (std::string(name) + ".png");
        if (!window_.grab().save(QString::fromStdString(file.string()))) {
            throw std::runtime_error("cannot write " + file.string());
        }
        std::cout << file.string() << '\n';
    }

private:
    TForm3& window_;
    std::filesystem::path folder_;
};

// The serial tab: the port open on the stand-in module, two commands sent and answered.
void showConsole(TForm3& window, const lumivert::VirtualModule& module) {
    control<QComboBox>(window, "cbcomm").setEditText(QString::fromStdString(module.path()));
    press(window, "Button1");
    control<QPlainTextEdit>(window, "gscript")
        .setPlainText(QStringLiteral("DS16(0,0,'欢迎使用',15);\nDS24(0,20,'串口屏',2);"));
    press(window, "Bsend");
}

void takeScreenshots(const std::filesystem::path& output) {
    lumivert::VirtualModule module;
    module.start();
    TForm3 window([](const QString& message) {
        std::cerr << "screenshots: " << message.toStdString() << '\n';
    });
    window.show();
    // The folder as the menu's window shows it, rather than the temporary copy's path.
    control<QLabel>(window, "workingFolder").setText(QStringLiteral("工作目录：~/Lumivert"));
    Shooter shooter(window, output);

    showConsole(window, module);
    shooter.grab(0, "serial");

    // The glyph with the font editor's defaults (宋体, 24 dots), before a generation
    // leaves the editor on the last row it rendered.
    control<QLineEdit>(window, "Edit2").setText(QStringLiteral("薄"));
    press(window, "Button2");
    shooter.grab(1, "glyph");
    press(window, "Button10"); // the extracted-character fonts of the demo's rows
    shooter.grab(1, "fonts-generated");

    control<QLineEdit>(window, "Edit3").setText(QStringLiteral("1"));
    press(window, "Button14");
    shooter.grab(2, "picture");

    press(window, "Button16");
    shooter.grab(3, "colour");
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: screenshots DEMO-FOLDER OUTPUT-FOLDER\n";
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    int qtArgc = 1;
    QApplication application(qtArgc, argv);
    QApplication::setFont(lumivert::applicationFont());
    try {
        const auto output = std::filesystem::absolute(argv[2]);
        std::filesystem::create_directories(output);
        auto copy = std::filesystem::temp_directory_path() / "lumivert-screenshots";
        std::filesystem::remove_all(copy);
        std::filesystem::copy(argv[1], copy, std::filesystem::copy_options::recursive);
        std::filesystem::current_path(copy);
        takeScreenshots(output);
        std::filesystem::current_path(std::filesystem::temp_directory_path());
        std::filesystem::remove_all(copy);
    } catch (const std::exception& error) {
        std::cerr << "screenshots: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
