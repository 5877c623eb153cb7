#pragma once

#include <QImage>
#include <QWidget>

namespace lumivert {

// An image control: a fixed-size drawing surface that shows its canvas at true size and
// whose pixels can be read back. Until something draws on it, it shows nothing.
class ImageBox : public QWidget {
public:
    ImageBox(QWidget* parent, int width, int height);

    // The drawing surface, made white at the control's size on first use. Call update()
    // after drawing on it.
    QImage& canvas();

    // Gives the drawing surface its own size, which may be larger than the control; the
    // control then shows its top-left part. What the surface holds stays where it is.
    void setCanvasSize(QSize size);

    bool hasCanvas() const { return !canvas_.isNull(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage canvas_;
};

} // namespace lumivert
