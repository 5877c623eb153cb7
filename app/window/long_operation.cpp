#include "app/window/long_operation.h"

#include "app/window/tform3.h"

#include <QCoreApplication>

namespace lumivert {

LongOperation::LongOperation(TForm3& form) : form_(form) {
    form_.beginLongOperation();
}

LongOperation::~LongOperation() {
    form_.endLongOperation();
}

void LongOperation::pump() {
    QCoreApplication::processEvents();
}

bool LongOperation::cancelled() {
    return form_.closeRequested_;
}

} // namespace lumivert
