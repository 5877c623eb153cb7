// Picture conversion, one picture or all of them, and the batch button's context menu, whose
// checkable item dithers the pictures of both conversions.

#include "app/window/gbk_text.h"
#include "app/window/image_box.h"
#include "app/window/long_operation.h"
#include "app/window/memo_log.h"
#include "app/window/tform3.h"
#include "picture/picture_batch.h"
#include "picture/picture_conversion.h"

#include <QAction>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>

namespace lumivert {
namespace {

// A conversion as the picture tab shows it: the picture number in the number box, the
// picture on the picture view's 1500 x 1500 surface, the lines in the conversion log.
class PictureTab : public PictureSink {
public:
    PictureTab(QLineEdit& number, ImageBox& view, QPlainTextEdit& log)
        : number_(number), view_(view), log_(log) {}

    void pictureStarting(int number) override { number_.setText(QString::number(number)); }

    // Drawn over whatever an earlier picture left on the surface, which is not cleared.
    void pictureLoaded(const DecodedPicture& picture) override {
        const QImage decoded(picture.rgbx.data(), picture.keptWidth, picture.keptHeight,
                             qsizetype{DecodedPicture::kBytesPerPixel} * picture.keptWidth,
                             QImage::Format_RGBX8888);
        view_.setCanvasSize({kPictureViewSide, kPictureViewSide});
        QPainter painter(&view_.canvas());
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(0, 0, decoded);
        view_.update();
    }

    void logLine(const std::string& line) override { appendMemoLine(log_, fromGbk(line)); }

private:
    QLineEdit& number_;
    ImageBox& view_;
    QPlainTextEdit& log_;
};

} // namespace

void TForm3::buildBatchMenu() {
    ditherItem = new QAction(QStringLiteral("抖动（减少色带）"), Button15);
    ditherItem->setObjectName(QStringLiteral("ditherItem"));
    ditherItem->setCheckable(true);
    Button15->addAction(ditherItem);
    Button15->setContextMenuPolicy(Qt::ActionsContextMenu);
}

ColourReduction TForm3::colourReduction() const {
    return ditherItem->isChecked() ? ColourReduction::Dither : ColourReduction::Truncate;
}

void TForm3::Button14Click() {
    PictureTab tab(*Edit3, *Image3, *picmemo);
    convertPicture(workbench_, toGbk(Edit3->text()), tab, colourReduction());
}

// The batch converts each picture itself rather than through a click of Button14, which is
// locked with the other long operations while the batch runs.
void TForm3::Button15Click() {
    LongOperation operation(*this);
    PictureTab tab(*Edit3, *Image3, *picmemo);
    convertAllPictures(workbench_, tab, operation, colourReduction());
}

} // namespace lumivert
