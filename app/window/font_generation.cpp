// The font generations: the extracted-character fonts, the GB2312 sets and the ASCII font.

#include "app/window/tform3.h"

namespace lumivert {

void TForm3::Button10Click() {}

void TForm3::Button11Click() {}

void TForm3::Button13Click() {}

void TForm3::Button18Click() {}

} // namespace lumivert
