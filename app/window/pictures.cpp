// Picture conversion, one picture or all of them.

#include "app/window/tform3.h"

namespace lumivert {

void TForm3::Button14Click() {}

void TForm3::Button15Click() {}

} // namespace lumivert
