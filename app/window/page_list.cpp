// The page list and the page files.

#include "app/window/tform3.h"

namespace lumivert {

// The page list from the page files.
void TForm3::loadPageList() {}

// The page list into the page files.
void TForm3::savePageList() {}

void TForm3::sg1Click() {}

void TForm3::Button7Click() {}

} // namespace lumivert
