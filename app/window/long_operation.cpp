#include "app/window/long_operation.h"

#include "app/window/tform3.h"

#include <QCoreApplication>
#include <QTimer>

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

// The timer only wakes the event loop: when nothing else comes, its event ends the wait.
void LongOperation::wait(std::chrono::milliseconds most) {
    QTimer wakeUp;
    wakeUp.setSingleShot(true);
    wakeUp.setTimerType(Qt::PreciseTimer);
    wakeUp.start(most);
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

bool LongOperation::cancelled() {
    return form_.closeRequested_;
}

} // namespace lumivert
