#pragma once

#include "image/image_store.h"
#include "tests/window/window_fixture.h"
#include "tools/virtual-module/virtual_module.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <memory>

namespace lumivert::testing {

// A window whose port is open on a virtual module, as a user opens it: the module's path
// typed into the port box and Button1 pressed.
class ModuleWindowTest : public WindowTest {
protected:
    template <typename Control> Control* control(const char* name) {
        auto* found = window->findChild<Control*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    void press(const char* button) { control<QPushButton>(button)->click(); }

    // Opens the window unless it is open, closing its port first when it is open. The read
    // interval of the port is short unless a test asks for the window's own 100 ms.
    void openOn(const VirtualModule& module, std::uint32_t readInterval = 5) {
        if (!window) {
            window = openWindow();
        }
        if (window->comm1().isOpen()) {
            press("Button1");
        }
        control<QComboBox>("cbcomm")->setEditText(QString::fromStdString(module.path()));
        window->comm1().setReadIntervalTimeout(readInterval);
        press("Button1");
        ASSERT_TRUE(window->comm1().isOpen());
    }

    // The store the window loads at start: this image.
    void storeImage(const FlashImage& image) { ImageStore(storePath()).save(image); }

    QString memoText(const char* name) { return control<QPlainTextEdit>(name)->toPlainText(); }

    std::unique_ptr<TForm3> window;
};

} // namespace lumivert::testing
