// The glyph render, its enlarged preview and the four nudge buttons.

#include "app/window/gbk_text.h"
#include "app/window/glyph_view.h"
#include "app/window/memo_log.h"
#include "app/window/tform3.h"
#include "common/integer_parse.h"
#include "common/workbench_error.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>

namespace lumivert {
namespace {

// Moves an offset field by one pixel; a field that is not a number stays as it is.
void nudge(QLineEdit& offset, int step) {
    const std::int32_t value = parseGbkInteger(toGbk(offset.text()));
    // As 32-bit arithmetic has it: the largest offset plus one is the smallest.
    const auto moved = static_cast<std::int32_t>(static_cast<std::uint32_t>(value) +
                                                 static_cast<std::uint32_t>(step));
    offset.setText(QString::number(moved));
}

} // namespace

// The scratch bitmap glyphs are rendered into, with the faces they are rendered with.
void TForm3::createGlyphBitmap() {
    glyphRasterizer_ = std::make_unique<GlyphRasterizer>();
}

void TForm3::releaseGlyphBitmap() {
    glyphRasterizer_.reset();
}

GlyphRasterizer& TForm3::glyphRasterizer() {
    if (!glyphRasterizer_) {
        throw WorkbenchError("The glyph bitmap could not be created at start.");
    }
    return *glyphRasterizer_;
}

GlyphParameters TForm3::glyphParameters() const {
    GlyphParameters parameters;
    parameters.face = toGbk(zt->text());
    parameters.dotSize = toGbk(cb1->currentText());
    parameters.halfWidth = rb2->isChecked();
    parameters.fontHeight = toGbk(zh->text());
    parameters.fontWidth = toGbk(zw->text());
    parameters.xOffset = toGbk(xp->text());
    parameters.yOffset = toGbk(yp->text());
    return parameters;
}

void TForm3::runClick() {
    GlyphRasterizer& rasterizer = glyphRasterizer();
    const std::int32_t width =
        rasterizer.render(workbench_, glyphParameters(), toGbk(Edit2->text()));
    appendMemoLine(*rxmemo, QString::number(width));
    showRenderedGlyph(*Image1, rasterizer);
}

// Renders the test character at the start of the image without storing it, and shows it.
void TForm3::Button2Click() {
    workbench_.writeCursor = 0;
    runClick();
    drawClick();
}

void TForm3::drawClick() {
    showEnlargedGlyph(*Image2, glyphRasterizer());
}

void TForm3::Button5Click() {
    nudge(*yp, -1);
    Button2Click();
}

void TForm3::Button6Click() {
    nudge(*yp, 1);
    Button2Click();
}

void TForm3::Button8Click() {
    nudge(*xp, -1);
    Button2Click();
}

void TForm3::Button9Click() {
    nudge(*xp, 1);
    Button2Click();
}

} // namespace lumivert
