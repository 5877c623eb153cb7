// The command console: sends the commands of gscript to the module.

#include "app/window/tform3.h"

namespace lumivert {

void TForm3::BsendClick() {}

void TForm3::bsend2Click() {}

} // namespace lumivert
