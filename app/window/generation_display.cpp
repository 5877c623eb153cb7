#include "app/window/generation_display.h"

#include "app/window/gbk_text.h"
#include "app/window/glyph_view.h"
#include "app/window/memo_log.h"
#include "common/workbench_error.h"

#include <QLineEdit>

namespace lumivert {

GenerationDisplay::GenerationDisplay(QLineEdit& character, QPlainTextEdit& memo, ImageBox& glyph,
                                     ImageBox& preview, RowShower showRow)
    : character_(character), memo_(memo), glyph_(glyph), preview_(preview),
      showRow_(std::move(showRow)) {
    paintTimer_.setSingleShot(true);
    paintTimer_.setInterval(kPaintInterval);
    QObject::connect(&paintTimer_, &QTimer::timeout, [this] { paint(); });
}

GenerationDisplay::~GenerationDisplay() {
    paint();
}

void GenerationDisplay::rowLoaded(int row, const FontEditorValues& values) {
    if (showRow_) {
        showRow_(row, values);
    }
}

void GenerationDisplay::characterStarting(std::string_view character) {
    pendingCharacter_.assign(character);
    characterPending_ = true;
    paintSoon();
}

void GenerationDisplay::glyphRendered(const GlyphRasterizer& rasterizer, std::int32_t width) {
    pendingLines_ += QString::number(width);
    pendingLines_ += u'\n';
    rendered_ = &rasterizer;
    previewed_ = nullptr; // the preview shows this glyph once its pitch has been checked
}

void GenerationDisplay::glyphPreviewed(const GlyphRasterizer& rasterizer) {
    previewed_ = &rasterizer;
}

void GenerationDisplay::paintSoon() {
    if (!paintTimer_.isActive()) {
        paintTimer_.start();
    }
}

void GenerationDisplay::paint() {
    paintTimer_.stop();
    if (!pendingLines_.isEmpty()) {
        pendingLines_.chop(1); // the line break that appendMemoLine adds
        appendMemoLine(memo_, pendingLines_);
        pendingLines_.clear();
    }
    if (characterPending_) {
        character_.setText(fromGbk(pendingCharacter_));
        characterPending_ = false;
    }
    if (rendered_ != nullptr) {
        showRenderedGlyph(glyph_, *rendered_);
        rendered_ = nullptr;
    }
    if (previewed_ != nullptr) {
        try {
            showEnlargedGlyph(preview_, *previewed_);
        } catch (const WorkbenchError&) {
            // A render that failed after a glyph was previewed can leave a cell without a
            // pitch; the picture is then black, as a preview that fails leaves it.
        }
        previewed_ = nullptr;
    }
}

} // namespace lumivert
