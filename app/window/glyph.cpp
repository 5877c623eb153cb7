// The glyph render, its enlarged preview and the four nudge buttons.

#include "app/window/tform3.h"

namespace lumivert {

// The scratch bitmap glyphs are rendered into.
void TForm3::createGlyphBitmap() {}

void TForm3::releaseGlyphBitmap() {}

void TForm3::runClick() {}

void TForm3::Button2Click() {}

void TForm3::drawClick() {}

void TForm3::Button5Click() {}

void TForm3::Button6Click() {}

void TForm3::Button8Click() {}

void TForm3::Button9Click() {}

} // namespace lumivert
