// The window's event handlers. Each one that has no behaviour yet is an empty function,
// already connected to its control through the guard.

#include "app/window/tform3.h"

namespace lumivert {

// Serial tab.
void TForm3::cbcommChange() {}
void TForm3::Button1Click() {}
void TForm3::up1Click() {}
void TForm3::up2Click() {}
void TForm3::up3Click() {}
void TForm3::up4Click() {}
void TForm3::up5Click() {}
void TForm3::up6Click() {}
void TForm3::sg1Click() {}
void TForm3::Button7Click() {}
void TForm3::BsendClick() {}
void TForm3::bsend2Click() {}

// Font tab.
void TForm3::sg2Click() {}
void TForm3::Button3Click() {}
void TForm3::Button4Click() {}
void TForm3::runClick() {}
void TForm3::Button2Click() {}
void TForm3::drawClick() {}
void TForm3::Button10Click() {}
void TForm3::Button5Click() {}
void TForm3::Button6Click() {}
void TForm3::Button8Click() {}
void TForm3::Button9Click() {}
void TForm3::Button12Click() {}
void TForm3::Button11Click() {}
void TForm3::Button13Click() {}
void TForm3::Button18Click() {}

// Picture tab.
void TForm3::Button14Click() {}
void TForm3::Button15Click() {}

// Colour calculator.
void TForm3::Button17Click() {}
void TForm3::Button16Click() {}

} // namespace lumivert
