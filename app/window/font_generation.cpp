// The font generations: the extracted-character fonts, the GB2312 sets and the ASCII font.

#include "app/window/generation_display.h"
#include "app/window/long_operation.h"
#include "app/window/tform3.h"
#include "font/ascii_font.h"
#include "font/extracted_fonts.h"

#include <QComboBox>

namespace lumivert {

// Each row is loaded into the editor as the pass reaches it; the characters are those of the
// row as the table holds it.
void TForm3::Button10Click() {
    LongOperation operation(*this);
    GenerationDisplay display(
        *Edit2, *rxmemo, *Image1, *Image2,
        [this](int row, const FontEditorValues& values) { showLoadedFontRow(row, values); });
    generateExtractedFonts(workbench_, fontTable_, fontEditor_, glyphRasterizer(), display,
                           operation);
}

void TForm3::Button11Click() {
    generateFullSet(FullSetFont::Dots12);
}

void TForm3::Button13Click() {
    generateFullSet(FullSetFont::Dots16);
}

// The set is rendered with the editor's values as they stand when it starts.
void TForm3::generateFullSet(FullSetFont font) {
    LongOperation operation(*this);
    cb1->setCurrentText(QString::fromLatin1(fullSetDotSize(font)));
    GenerationDisplay display(*Edit2, *rxmemo, *Image1, *Image2);
    generateFullSetFont(workbench_, glyphRasterizer(), font, glyphParameters(), display, operation);
}

void TForm3::Button18Click() {
    copyAsciiFont(workbench_, kAsciiFontFile);
}

} // namespace lumivert
