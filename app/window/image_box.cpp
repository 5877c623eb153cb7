#include "app/window/image_box.h"

#include <QPainter>

namespace lumivert {

ImageBox::ImageBox(QWidget* parent, int width, int height) : QWidget(parent) {
    setFixedSize(width, height);
}

QImage& ImageBox::canvas() {
    if (canvas_.isNull()) {
        canvas_ = QImage(size(), QImage::Format_RGB32);
        canvas_.fill(Qt::white);
    }
    return canvas_;
}

void ImageBox::setCanvasSize(QSize size) {
    if (hasCanvas() && canvas_.size() == size) {
        return;
    }
    QImage resized(size, QImage::Format_RGB32);
    resized.fill(Qt::white);
    if (hasCanvas()) {
        QPainter painter(&resized);
        painter.drawImage(0, 0, canvas_);
    }
    canvas_ = std::move(resized);
    update();
}

void ImageBox::paintEvent(QPaintEvent* /*event*/) {
    if (hasCanvas()) {
        QPainter painter(this);
        painter.drawImage(0, 0, canvas_);
    }
}

} // namespace lumivert
