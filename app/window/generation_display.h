#pragma once

#include "app/window/image_box.h"
#include "font/font_generation_sink.h"

#include <QString>
#include <QTimer>
#include <functional>
#include <string>

class QLineEdit;
class QPlainTextEdit;

namespace lumivert {

// A font generation as the font tab shows it: each render's text width as a line of the
// receive memo, each character in the test-character box, the glyph on the small picture
// and enlarged on the large one, each font definition row as it is loaded.
//
// All of it is shown on a short timer rather than for every glyph, so that thousands of
// glyphs are not held up by painting, and once more when the display goes at the end of the
// generation, so that it shows the last character handled whatever way the generation
// ended. The memo gets every line, the lines of one tick in one addition; text received
// meanwhile may come before the lines of the tick in which it arrived.
class GenerationDisplay : public FontGenerationSink {
public:
    using RowShower = std::function<void(int row, const FontEditorValues& values)>;

    GenerationDisplay(QLineEdit& character, QPlainTextEdit& memo, ImageBox& glyph,
                      ImageBox& preview, RowShower showRow = {});
    ~GenerationDisplay() override;
    GenerationDisplay(const GenerationDisplay&) = delete;
    GenerationDisplay& operator=(const GenerationDisplay&) = delete;

    void rowLoaded(int row, const FontEditorValues& values) override;
    void characterStarting(std::string_view character) override;
    void glyphRendered(const GlyphRasterizer& rasterizer, std::int32_t width) override;
    void glyphPreviewed(const GlyphRasterizer& rasterizer) override;

private:
    static constexpr int kPaintInterval = 40; // milliseconds

    void paintSoon();
    void paint();

    QLineEdit& character_;
    QPlainTextEdit& memo_;
    ImageBox& glyph_;
    ImageBox& preview_;
    RowShower showRow_;
    QTimer paintTimer_;

    // What waits for the next paint.
    QString pendingLines_;
    std::string pendingCharacter_;
    bool characterPending_ = false;
    const GlyphRasterizer* rendered_ = nullptr;
    const GlyphRasterizer* previewed_ = nullptr;
};

} // namespace lumivert
