#include "app/window/port_box.h"

namespace lumivert {

PortBox::PortBox(QWidget* parent) : QComboBox(parent) {}

void PortBox::showPopup() {
    emit aboutToShowPopup();
    QComboBox::showPopup();
}

} // namespace lumivert
