// The colour calculator.

#include "app/window/tform3.h"

namespace lumivert {

void TForm3::Button16Click() {}

void TForm3::Button17Click() {}

} // namespace lumivert
