// The port box reads the system's list afresh each time it opens.
#include "app/ports/serial_port_list.h"
#include "tests/window/window_fixture.h"

#include <QComboBox>
#include <QStringList>

namespace lumivert::testing {
namespace {

QStringList items(const QComboBox& box) {
    QStringList list;
    for (int i = 0; i < box.count(); ++i) {
        list << box.itemText(i);
    }
    return list;
}

using PortBoxTest = WindowTest;

TEST_F(PortBoxTest, OffersAnAdapterPluggedInAfterTheStart) {
    std::vector<std::string> plugged{"ttyUSB0"};
    ScopedSerialPortSource ports([&plugged] {
        std::vector<SerialPortEntry> entries;
        for (const auto& name : plugged) {
            entries.emplace_back().name = name;
        }
        return entries;
    });
    auto window = openWindow();
    window->show();
    auto* cbcomm = window->findChild<QComboBox*>("cbcomm");
    ASSERT_EQ(items(*cbcomm), QStringList{"ttyUSB0"});

    struct Step {
        std::vector<std::string> plugged;
        QString typed; // empty: keep what the box shows
        QStringList offered;
        QString shown;
    };
    const Step steps[] = {
        {{"ttyUSB0", "ttyACM0"}, {}, {"ttyACM0", "ttyUSB0"}, "ttyUSB0"},
        {{"ttyACM0"}, {}, {"ttyACM0"}, "ttyUSB0"},              // unplugged: still shown
        {{"ttyACM0"}, "/dev/pts/7", {"ttyACM0"}, "/dev/pts/7"}, // a typed path stays
        {{}, {}, {}, "/dev/pts/7"},
    };
    for (const Step& step : steps) {
        plugged = step.plugged;
        if (!step.typed.isEmpty()) {
            cbcomm->setEditText(step.typed);
        }
        cbcomm->showPopup();
        cbcomm->hidePopup();
        EXPECT_EQ(items(*cbcomm), step.offered) << step.shown.toStdString();
        EXPECT_EQ(cbcomm->currentText(), step.shown);
    }
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}

} // namespace
} // namespace lumivert::testing
